#include <gtest/gtest.h>

#include "core/app/startup.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

void fillSeason(Database& db) {
    db.exec(
        "INSERT INTO Foreninger (Nr, Navn) VALUES ('001', 'Brevduen');"
        "INSERT INTO Stationer (Nr, Navn) VALUES ('010', 'Hamburg');"
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode) VALUES (1, 20, '95 - Blå skema');"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer) VALUES (1, '123-25-0001');"
        "INSERT INTO Kontantpræmier (Kapflyvning, Værdi, Antal) VALUES (1, 100, 2);"
        "INSERT INTO Mesterskaber (RecNr, Nr) VALUES (1, '1');"
        "INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (1, 1);"
        "INSERT INTO ResModt (Uge, Forening, Resultat) VALUES (20, '001', 1);"
        "INSERT INTO ImportFejl (Forening, Uge, Tekst) VALUES ('001', 20, 'Ringnummer ikke anmeldt.');");
}

long long count(Database& db, const char* table) { return db.scalar(std::string("SELECT count(*) FROM ") + table).toInt(); }

}  // namespace

TEST(AppSeason, CancelOrNoDeletesNothing) {
    for (auto answers : {std::deque<Answer>{Answer::Cancel}, std::deque<Answer>{Answer::Ok, Answer::No}}) {
        test::TestApp t;
        fillSeason(t.db());
        t.ui.answers = answers;
        EXPECT_FALSE(StartSeason(t.app));
        EXPECT_EQ(count(t.db(), "Kapflyvninger"), 1);
        EXPECT_EQ(count(t.db(), "ImportFejl"), 1);
    }
}

TEST(AppSeason, YesDeletesTheRacesAndKeepsClubsAndSettings) {
    test::TestApp t;
    fillSeason(t.db());
    t.ui.answers = {Answer::Ok, Answer::Yes};
    EXPECT_TRUE(StartSeason(t.app));
    ASSERT_EQ(t.ui.shown.size(), 2u);
    EXPECT_EQ(t.ui.shown[0].text, "Alle kapflyvningsinformationer vil nu blive slettet.");
    EXPECT_EQ(t.ui.shown[0].title, "Info");
    EXPECT_EQ(t.ui.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(t.ui.shown[0].icon, Icon::Critical);
    EXPECT_EQ(t.ui.shown[0].defaultAnswer, Answer::Cancel);
    EXPECT_EQ(t.ui.shown[1].title, "Advarsel");
    EXPECT_EQ(t.ui.shown[1].buttons, Buttons::YesNo);
    EXPECT_EQ(t.ui.shown[1].defaultAnswer, Answer::No);
    EXPECT_EQ(t.ui.shown[1].text,
              "Alle kapflyvninger inklusive præmier samt deltagere og resultater indlæst fra Foreningssystemet vil blive "
              "slettet. Er du sikker på, at du vil fortsætte.");
    for (const char* gone : {"Kapflyvninger", "Deltagere", "Kontantpræmier", "Mesterskabsflyvninger", "ResModt", "ImportFejl"})
        EXPECT_EQ(count(t.db(), gone), 0) << gone;
    for (const char* kept : {"Foreninger", "Stationer", "Mesterskaber", "Generelt", "Markering"})
        EXPECT_EQ(count(t.db(), kept), 1) << kept;
    EXPECT_EQ(t.ui.busyOn, 1);
    EXPECT_EQ(t.app.busyCounter, 0);
}
