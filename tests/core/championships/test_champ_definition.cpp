// Championship definitions: input rules, races and member birds, saving and deleting, the
// criteria text. Which birds each criterion lets take part is the generated comparison's.
#include <gtest/gtest.h>

#include "core/championships/champ_fixture.h"
#include "core/championships/definition.h"

namespace vemora {
namespace {

using namespace championships;
using champtest::Season;

TEST(ChampDefinition, InputRules) {
    EXPECT_EQ(RewriteRingnr("123456789"), "123-45-6789");
    EXPECT_EQ(RewriteRingnr("12345678"), "12345678");
    EXPECT_TRUE(IsRingnr("123-45-6789"));
    EXPECT_FALSE(IsRingnr("123-45-678"));
    EXPECT_FALSE(IsRingnr("123-4a-6789"));
    EXPECT_EQ(TypeForKey('h'), "HB");
    EXPECT_EQ(TypeForKey('\b'), "Point");
    EXPECT_EQ(TypeForKey('M'), "Es-due-kilometer");
    EXPECT_EQ(TypeForKey('x'), std::nullopt);
    EXPECT_EQ(NormalizeType("NO Km-tillæg"), "NO Km-tillæg");
    EXPECT_EQ(NormalizeType("hb"), "Point");
    EXPECT_EQ(UpperType("NO es-due km-tillæg"), "NO ES-DUE KM-TILLÆG");
    EXPECT_EQ(ChampionshipTypes().size(), 11u);
    // The captions the dialog's tests do not reach.
    EXPECT_EQ(CaptionsForType("Due/point").p, "private flyvning(er) pr. due");
    EXPECT_EQ(CaptionsForType("Es-due-kilometer").flights, "kapflyvning(er) pr. due");
}

TEST(ChampDefinition, RacesAndMemberBirds) {
    Season s;
    long long a = s.race("95 - Sektion", 21), b = s.race("91 - Orange", 20), c = s.race("85 - Privat", 22);
    long long rec = s.champ("001", "Point");
    ASSERT_TRUE(AddRace(s.app, rec, a));
    EXPECT_FALSE(AddRace(s.app, rec, a));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Kapflyvning er allerede tilmeldt mesterskab.");
    ASSERT_TRUE(AddRace(s.app, rec, b));
    RowSet in = ChampionshipRaces(s.db, rec);
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in.get(0, "Regi"), Value("Ryx"));
    EXPECT_EQ(in.get(1, "Regi"), Value("Sektion"));
    EXPECT_EQ(in.get(0, "Station2"), Value("007 Hamborg"));
    RowSet avail = AvailableRaces(s.db, rec);
    ASSERT_EQ(avail.size(), 1u);
    EXPECT_EQ(avail.get(0, "Id"), Value("22 - 85 - Privat (Hamborg)"));
    RemoveRace(s.db, rec, a);
    EXPECT_EQ(AvailableRaces(s.db, rec).size(), 2u);
    (void)c;

    EXPECT_FALSE(AddMemberBird(s.app, rec, "123-45-678"));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Angiv ringnummer.");
    ASSERT_TRUE(AddMemberBird(s.app, rec, "200-25-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0001"));
    EXPECT_FALSE(AddMemberBird(s.app, rec, "100-26-0001"));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Ringnummer er allerede tilmeldt mesterskabet.");
    // By serial number, then the whole ring number.
    EXPECT_EQ(MemberBirds(s.db, rec), (std::vector<std::string>{"100-26-0001", "100-26-0002", "200-25-0002"}));
    DeleteMemberBirds(s.db, rec, {"100-26-0002", "200-25-0002"});
    EXPECT_EQ(MemberBirds(s.db, rec), (std::vector<std::string>{"100-26-0001"}));
    ClearMemberBirds(s.db, rec);
    EXPECT_TRUE(MemberBirds(s.db, rec).empty());
}

TEST(ChampDefinition, SaveAndDelete) {
    Season s;
    long long rec = NewChampionship(s.db);
    EXPECT_EQ(s.db.scalar("SELECT Type FROM Mesterskaber WHERE RecNr = ?", {rec}), Value("Point"));
    ASSERT_TRUE(SaveDefinition(s.app, rec, {{"Nr", "005"}, {"Titel", ""}, {"Antal_flyvninger", "3"}, {"Kun_begyndere", true}}));
    RowSet row = s.db.query("SELECT * FROM Mesterskaber WHERE RecNr = ?", {rec});
    EXPECT_EQ(row.get(0, "Nr"), Value("005"));
    EXPECT_TRUE(row.get(0, "Titel").isNull());
    EXPECT_EQ(row.get(0, "Kun_Begyndere"), Value(1));
    // A number box holding letters cannot reach the number field.
    EXPECT_FALSE(SaveDefinition(s.app, rec, {{"Antal_flyvninger", "tre"}}));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Fejl ved lagring af mesterskab.");

    long long r = s.race("95 - A", 20);
    s.result(r, "100-26-0001", {{"Point", 10.0}, {"Begynder", true}});
    s.db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {rec, r});
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0001"));
    ASSERT_TRUE(s.calc("005"));
    long long twin = s.champ("005", "HB");
    ASSERT_TRUE(DeleteChampionship(s.app, rec));
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsflyvninger").toInt(), 0);
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskaber_Duer").toInt(), 0);
    // Another championship still carries the number, so the standings stay until it goes too.
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsresultat").toInt(), 1);
    ASSERT_TRUE(DeleteChampionship(s.app, twin));
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsresultat").toInt(), 0);
}

TEST(ChampDefinition, CriteriaTextForEveryCombination) {
    Season s;
    const std::vector<std::pair<int, std::string>> combos{
        {0, ""},
        {1, "Kun begyndere. "},
        {2, "Kun juniorer. "},
        {3, "Kun begyndere + juniorer. "},
        {4, "Kun pensionister. "},
        {5, "Kun begyndere + pensionister. "},
        {6, "Kun juniorer + pensionister. "},
        {7, "Kun begyndere + juniorer + pensionister. "},
    };
    for (const auto& [bits, text] : combos) {
        std::string nr = "10" + std::to_string(bits);
        s.champ(nr, "Point", {{"Kun_Begyndere", (bits & 1) != 0}, {"Kun_juniorduer", (bits & 2) != 0}, {"Kun_Pensionister", (bits & 4) != 0}});
        EXPECT_EQ(CriteriaText(s.db, nr), text) << bits;
    }

    long long rec = s.champ("200", "Point",
                            {{"Kun_sportsduer", true}, {"Ekskl_Sportsduer", true}, {"Kun_foreningsafkrydsede", true},
                             {"Foreningsmarkering1", "B"}, {"Kun_Kode1", "1"}, {"Kun_Kode3", "x"}, {"Område", "O'B"},
                             {"Årgang", "25"}, {"Ekskl_Årgang", "24"}, {"Køn", "A"}, {"Antal_duer_pr_slag", 1}, {"TopProc", 20},
                             {"Antal_flyvninger", 5}, {"Antal_L_flyvninger", 3}, {"Antal_M_flyvninger", 1},
                             {"Antal_S_flyvninger", 2}, {"Antal_P_flyvninger", 1}});
    ASSERT_TRUE(AddMemberBird(s.app, rec, "200-25-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0009"));
    EXPECT_EQ(CriteriaText(s.db, "200"),
              "Deltagende ringnumre: 100-26-0009, 200-25-0002. Kun sportsduer. Udelad sportsduer. Kun foreningsmarkerede duer. "
              "Kun foreningsmarkering = B. Kun kode 1 = 1. Kun kode 3 = x. Kun område = O'B. Kun årgang 25. Eksklusiv årgang 24. "
              "Kun køn A. 1 due pr. kapflyvning. Kun top 20 %. 5 kapflyvninger medtalt. 3 langdistanceflyvninger medtalt. "
              "1 mellemdistanceflyvning medtalt. 2 sektionsflyvninger medtalt. 1 privatflyvning medtalt. ");
    s.champ("201", "Point", {{"Antal_duer_pr_slag", 2}, {"Antal_flyvninger", 1}, {"Antal_L_flyvninger", 1}});
    EXPECT_EQ(CriteriaText(s.db, "201"), "2 duer pr. kapflyvning. 1 kapflyvning medtalt. 1 langdistanceflyvning medtalt. ");
    EXPECT_EQ(CriteriaText(s.db, "999"), "");
}

}  // namespace
}  // namespace vemora
