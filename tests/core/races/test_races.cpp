#include <gtest/gtest.h>

#include "core/domain/catalogue.h"
#include "core/races/racefields.h"
#include "core/races/races.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::races;

TEST(RacesWeek, OnlyListEntriesAreWeeksAndTwoDigitsFindTheColourCode) {
    EXPECT_TRUE(isWeekEntry("7"));
    EXPECT_TRUE(isWeekEntry("53"));
    for (const char* bad : {"54", "0", "07", "ab", "", "7 "}) EXPECT_FALSE(isWeekEntry(bad)) << bad;
    const auto list = creationColourCodes();
    EXPECT_EQ(matchColourCode("93", list), "93 - Hvid skema");
    EXPECT_EQ(matchColourCode("91 - anything", list), "91 - Orange skema");
    EXPECT_FALSE(matchColourCode("86", list));
    EXPECT_FALSE(matchColourCode("99", list));  // known, but not offered on creation
}

TEST(RacesCreate, PrivateRaceGetsPoolsBeregnAndTemplatesInStoredOrder) {
    test::TestApp t;
    Database& db = t.db();
    db.exec("UPDATE Markering SET Pulje_Puljepræmier = 1, Elite_Puljepræmier = 0, Z_Puljepræmier = 1, R_Puljepræmier = 1");
    // Stored out of value order: the copy keeps the template's own order.
    db.exec("INSERT INTO Kontantpræmier_Init (Antal, Værdi) VALUES (1, 50), (3, 100), (2, 75)");
    CreateResult r = CreateRace(t.app, "20", "95 - Blå skema");
    ASSERT_EQ(r.outcome, CreateOutcome::Created);
    EXPECT_EQ(test::rowsText(db, "SELECT Uge, Farvekode, Beregn, Pulje_Puljepræmier, Elite_Puljepræmier, Z_Puljepræmier, "
                                 "R_Puljepræmier FROM Kapflyvninger"),
              "20|95 - Blå skema|1|1|0|1|1\n");
    EXPECT_EQ(test::rowsText(db, "SELECT Kapflyvning, Antal, Værdi FROM Kontantpræmier ORDER BY rowid"),
              test::rowsText(db, "SELECT ?, 1, 50.0 UNION ALL SELECT ?, 3, 100.0 UNION ALL SELECT ?, 2, 75.0", {r.nr, r.nr, r.nr}));
    EXPECT_TRUE(t.ui.shown.empty());
}

// Each per-race table copies its own template: a distinct value per template shows a
// missing or crossed copy.
TEST(RacesCreate, EachOriginCopiesItsScalesAndSwitches) {
    test::TestApp t;
    Database& db = t.db();
    db.exec("UPDATE Markering SET Pulje_Puljepræmier = 1, Elite_Puljepræmier = 1, Z_Puljepræmier = 1, R_Puljepræmier = 1");
    const std::vector<std::pair<std::string, std::string>> tables{
        {"Kontantpræmier", "Kontantpræmier_Init"},     {"Slagpræmier", "Slagpræmier_Init"},
        {"Slagspilspræmier", "Slagspilspræmier_Init"}, {"P-spils-præmier", "P-spils-præmier_Init"},
        {"E-spils-præmier", "E-spils-præmier_Init"},   {"Z-spils-præmier", "Z-spils-præmier_init"},
        {"R-spils-præmier", "R-spils-præmier_init"}};
    for (size_t i = 0; i < tables.size(); ++i)
        db.execute("INSERT INTO " + sqlIdent(tables[i].second) + " (Antal, Værdi) VALUES (1, ?)", {10.0 * (i + 1)});
    auto copied = [&](long long nr) {
        std::string out;
        for (size_t i = 0; i < tables.size(); ++i) {
            Value v = db.scalar("SELECT group_concat(CAST(Værdi AS INTEGER)) FROM " + sqlIdent(tables[i].first) +
                                    " WHERE Kapflyvning = ?",
                                {nr});
            out += v.isNull() ? "-" : v.toText() == std::to_string(10 * (i + 1)) ? "x" : "?";
        }
        return out + " " + db.scalar("SELECT Beregn || Pulje_Puljepræmier || Elite_Puljepræmier || Z_Puljepræmier || "
                                     "R_Puljepræmier FROM Kapflyvninger WHERE Nr = ?",
                                     {nr})
                               .toText();
    };
    EXPECT_EQ(copied(InsertRace(db, 20, "97 - Privat", RaceOrigin::Dialog)), "xxxxxxx 11111");
    EXPECT_EQ(copied(InsertRace(db, 20, "91 - Orange skema", RaceOrigin::Dialog)), "------- 10000");
    // The import copies the older five scales and the P and E switches, for every kind of race.
    EXPECT_EQ(copied(InsertRace(db, 21, "95 - Blå skema", RaceOrigin::Import)), "xxxxx-- 11100");
    EXPECT_EQ(copied(InsertRace(db, 21, "92 - Grøn skema", RaceOrigin::Import)), "xxxxx-- 11100");
}

TEST(RacesCreate, RefusalsShowTheirMessageAndCreateNothing) {
    test::TestApp t;
    ASSERT_EQ(CreateRace(t.app, "20", "91 - Orange skema").outcome, CreateOutcome::Created);
    EXPECT_EQ(CreateRace(t.app, "20", "91 - Orange skema").outcome, CreateOutcome::Duplicate);
    EXPECT_EQ(CreateRace(t.app, "", "91 - Orange skema").outcome, CreateOutcome::NoWeek);
    EXPECT_EQ(CreateRace(t.app, "20", "").outcome, CreateOutcome::NoColourCode);
    EXPECT_EQ(t.ui.messages(), (std::vector<std::string>{
                                   "Fejl: Der er allerede oprettet kapflyvning af farvekode 91 i uge 20.",
                                   "Fejl: Der er ikke angivet nogen uge.",
                                   "Fejl: Der er ikke angivet nogen farvekode.",
                               }));
    for (const auto& s : t.ui.shown) EXPECT_EQ(s.icon, Icon::Exclamation);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger").toInt(), 1);
    // The busy pointer was switched off again every time.
    EXPECT_EQ(t.app.busyCounter, 0);
    EXPECT_EQ(t.ui.busyOn, t.ui.busyOff);
}

TEST(RacesCreate, FailedTemplateCopyKeepsTheRaceAndTheRowsCopiedSoFar) {
    test::TestApp t;
    // Letters in a template value cannot go into the per-race table's number field.
    t.db().exec("DROP TABLE \"R-spils-præmier_init\"; CREATE TABLE \"R-spils-præmier_init\" (Antal, Værdi)");
    t.db().exec("INSERT INTO \"R-spils-præmier_init\" VALUES (1, 'abc')");
    t.db().exec("INSERT INTO Kontantpræmier_Init (Antal, Værdi) VALUES (2, 100)");
    EXPECT_EQ(CreateRace(t.app, "20", "97 - Privat").outcome, CreateOutcome::Failed);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger WHERE Beregn = 1").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kontantpræmier").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM \"R-spils-præmier\"").toInt(), 0);
    ASSERT_EQ(t.ui.shown.size(), 1u);
    EXPECT_EQ(t.ui.shown[0].title, "Fejl");
}

TEST(RacesList, BeregnAfterOpeningDeleteCascadesAndStartRow) {
    test::TestApp t;
    Database& db = t.db();
    long long nr = CreateRace(t.app, "20", "95 - Blå skema").nr;
    db.execute("UPDATE Kapflyvninger SET Beregn = 0 WHERE Nr = ?", {nr});
    EXPECT_EQ(MarkForCalculation(db, RaceSelection::one(nr)), 1);
    EXPECT_EQ(db.scalar("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?", {nr}), Value(1));
    EXPECT_EQ(MarkForCalculation(db, RaceSelection::one(nr + 100)), 0);

    db.execute("INSERT INTO Foreninger (Nr) VALUES ('007')");
    db.execute("INSERT INTO Regnskab (Kapflyvning, Forening, AntalDuer) VALUES (?, '007', 12)", {nr});
    db.execute("INSERT INTO \"Z-spils-præmier\" (Kapflyvning, Værdi) VALUES (?, 10)", {nr});
    db.execute("INSERT INTO Deltagere (Kapflyvning, Ringnummer) VALUES (?, 'DAN-26-0001')", {nr});
    EXPECT_TRUE(DeleteRace(t.app, nr));
    for (const char* table : {"Kapflyvninger", "Regnskab", "Z-spils-præmier", "Deltagere"})
        EXPECT_EQ(db.scalar("SELECT count(*) FROM " + sqlIdent(table)).toInt(), 0) << table;

    using W = std::vector<std::optional<int>>;
    EXPECT_EQ(listStartRow(W{20, 24, 24, 25}, 23), 1);
    EXPECT_EQ(listStartRow(W{20, 24, 25}, 24), 1);
    EXPECT_EQ(listStartRow(W{10, 20, 21}, 23), 2);
    EXPECT_EQ(listStartRow(W{std::nullopt, 30}, 23), 1);
    EXPECT_EQ(listStartRow(W{}, 23), -1);
}

TEST(RacesReleaseDate, FormatsRewritingAndTheWeekRule) {
    EXPECT_EQ(slipdatoWhileTyping("130526"), "13-05-26");
    EXPECT_EQ(slipdatoWhileTyping("13-05-2026"), "13-05-26");
    EXPECT_FALSE(slipdatoWhileTyping("13-05-26"));
    EXPECT_FALSE(slipdatoWhileTyping("1305"));
    const std::string format = "Indtast dato i formatet DDMMÅÅ.";
    const std::string week20 = "Dato skal ligge indenfor uge 20 eller senest onsdag i efterfølgende uge.";
    // Week 20 of 2026 runs from Monday 11 May to Sunday 17 May. 2026 has 53 weeks, so week 1
    // of 2027 follows week 53; Wednesday 31 December 2025 already lies in week 1 of 2026.
    const struct {
        const char* text;
        const char* week;
        std::string error;  // empty: accepted
    } cases[] = {
        {"130526", "20", ""},     {"13052026", "20", ""},   {"13-05-26", "20", ""},   {"13-05-2026", "20", ""},
        {"110526", "20", ""},     {"200526", "20", ""},     {"210526", "20", week20}, {"100526", "20", week20},
        {"010126", "20", week20}, {"060127", "53", ""},     {"311225", "52", ""},     {"311225", "1", ""},
        {"070127", "53", "Dato skal ligge indenfor uge 53 eller senest onsdag i efterfølgende uge."},
        {"13.05.26", "20", format}, {"1-5-26", "20", format}, {"31-02-26", "9", "Ugyldig dato. " + format},
    };
    for (const auto& c : cases) {
        EntryCheck r = checkSlipdato(c.text, c.week, 2026);
        EXPECT_EQ(r.ok, c.error.empty()) << c.text << " in week " << c.week;
        if (!c.error.empty()) {
            EXPECT_EQ(r.error, c.error) << c.text;
        }
    }
    for (const char* ok : {"130526", "13052026", "13-05-26", "13-05-2026"})
        EXPECT_EQ(checkSlipdato(ok, "20", 2026).text, "13-05-26") << ok;
}

TEST(RacesReleaseTime, RewritingAndLimits) {
    EXPECT_EQ(sliptidWhileTyping("0705"), "07:05");
    EXPECT_FALSE(sliptidWhileTyping("075"));
    EXPECT_TRUE(checkSliptid("23:59").ok);
    EXPECT_TRUE(checkSliptid("00:00").ok);
    EXPECT_EQ(checkSliptid("24:00").error, "Ugyldig tidsangivelse. Indtast sliptid i formatet TT:MM.");
    EXPECT_EQ(checkSliptid("12:60").error, "Ugyldig tidsangivelse. Indtast sliptid i formatet TT:MM.");
    EXPECT_EQ(checkSliptid("7:5").error, "Indtast sliptid i formatet TT:MM.");
    EXPECT_EQ(checkSliptid("07.05").error, "Indtast sliptid i formatet TT:MM.");
}

TEST(RacesFields, SaveAndLoadRoundTrip) {
    test::TestApp t;
    long long nr = CreateRace(t.app, "20", "95 - Blå skema").nr;
    RaceControls c = LoadRace(t.db(), nr)->controls;
    EXPECT_TRUE(c["SlipDato"].isNull());
    EXPECT_TRUE(c["Kode"].isNull());
    c.insert_or_assign("Station", "007 - Padborg");  // chosen from the list
    for (auto [f, v] : std::vector<std::pair<const char*, Value>>{{"SlipDato", "20-05-26"}, {"Sliptid", "07:05"}, {"Gebyr", "150"},
                                                                   {"GebyrSlag", "0"}, {"LMU", "M"}, {"Kode", "Kode 2"},
                                                                   {"Kommentarer", ""}, {"Kl_P", 1}, {"Kl_R", 1}})
        c[f] = v;
    ASSERT_TRUE(SaveRace(t.app, nr, c));
    const std::string sql = "SELECT Station, SlipDato, Sliptid, Gebyr, Kode, Kommentarer, Kl_P, Kl_E FROM Kapflyvninger";
    EXPECT_EQ(test::rowsText(t.db(), sql), "007|2026-05-20|07:05|150|2|-|1|0\n");

    RaceRow back = *LoadRace(t.db(), nr);
    EXPECT_EQ(back.controls["SlipDato"], Value("20-05-2026"));
    EXPECT_EQ(back.controls["Kode"], Value("Kode 2"));
    back.controls["Kode"] = Value();
    ASSERT_TRUE(SaveRace(t.app, nr, back.controls));
    EXPECT_EQ(test::rowsText(t.db(), sql), "007|2026-05-20|07:05|150|-|-|1|0\n");

    back.controls["Gebyr"] = "abc";
    EXPECT_FALSE(SaveRace(t.app, nr, back.controls));
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Fejl ved lagring af kapflyvning."});
    EXPECT_EQ(test::rowsText(t.db(), sql), "007|2026-05-20|07:05|150|-|-|1|0\n");
}

TEST(RacesStations, PaddingLookupAndNames) {
    test::TestApp t;
    EXPECT_EQ(stationNumber("7"), "007");
    EXPECT_EQ(stationNumber("012 - Hamburg"), "012");
    StationLookup s = LeaveStation(t.app, "7");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.nr, "007");
    EXPECT_TRUE(s.added);
    EXPECT_EQ(s.name, "");
    EXPECT_TRUE(t.db().scalar("SELECT Navn FROM Stationer WHERE Nr = '007'").isNull());
    EXPECT_TRUE(stationListItems(t.db()).empty());  // unnamed stations are not offered

    ASSERT_TRUE(SaveStationName(t.app, "007", "Padborg"));
    ASSERT_TRUE(SaveStationName(t.app, "12", "Hamburg"));
    EXPECT_EQ(stationListItems(t.db()), (std::vector<std::string>{"007 - Padborg", "012 - Hamburg"}));
    s = LeaveStation(t.app, "007 - Padborg");
    EXPECT_FALSE(s.added);
    EXPECT_EQ(s.name, "Padborg");

    ASSERT_TRUE(SaveStationName(t.app, "7", ""));
    EXPECT_TRUE(t.db().scalar("SELECT Navn FROM Stationer WHERE Nr = '007'").isNull());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Stationer").toInt(), 2);

    EXPECT_FALSE(LeaveStation(t.app, "ab").ok);
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Fejl ved opdatering af stationsnr."});
}

TEST(RacesPrizes, GridRowsReadWrittenAndDeleted) {
    test::TestApp t;
    long long nr = CreateRace(t.app, "20", "95 - Blå skema").nr;
    Database& db = t.db();
    const int z = 5;  // Z-spils-præmier
    long long a = SavePrizeRow(db, z, nr, 0, Value(1), Value("100")).rowid;
    long long b = SavePrizeRow(db, z, nr, 0, Value(1), Value("250,5")).rowid;
    SavePrizeRow(db, z, nr, a, Value("3"), Value(100));
    auto rows = LoadPrizes(db, z, nr);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].rowid, b);
    EXPECT_EQ(rows[0].vaerdi, Value(250.5));
    EXPECT_EQ(rows[1].antal, Value(3));
    EXPECT_EQ(rows[1].kapflyvning, Value(nr));
    EXPECT_TRUE(LoadPrizes(db, 0, nr).empty());

    EXPECT_THROW(SavePrizeRow(db, z, nr, a, Value(""), Value(100)), DbError);
    EXPECT_THROW(SavePrizeRow(db, z, nr, a, Value("x"), Value(100)), DbError);
    EXPECT_THROW(SavePrizeRow(db, z, nr, a, Value(3), Value("250.5")), DbError);  // the key of the Z table
    EXPECT_EQ(LoadPrizes(db, z, nr)[1].antal, Value(3));

    DeletePrizeRow(db, z, b);
    rows = LoadPrizes(db, z, nr);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].rowid, a);
}
