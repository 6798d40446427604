// The print preparation of a standing and what bad definitions and data lead to.
#include <gtest/gtest.h>

#include "core/championships/champ_fixture.h"

namespace vemora {
namespace {

using namespace championships;
using champtest::Season;

struct PrintSeason : Season {
    long long a, b;
    PrintSeason() {
        db.exec("UPDATE Generelt SET Sektionsnr = '012', Sektionsnavn = 'Sektion 12'");
        a = race("95 - A", 20);
        b = race("95 - B", 21);
        for (long long r : {a, b}) {
            result(r, "100-26-0001", {{"Point", 900.0}, {"Placering", 1}, {"Kapflyvning_ialt", 10}, {"Område", "O'B"}});
            result(r, "200-26-0001", {{"Point", 800.0}, {"Placering", 2}, {"Kapflyvning_ialt", 10}, {"Forening", "002"}});
        }
    }
};

TEST(ChampPrint, RewritesTheStoredQueryForTheChampionship) {
    PrintSeason s;
    s.champ("001", "Point", {{"Område", "O'B"}}, {s.a, s.b});
    s.champ("002", "Es-due-koefficient", {}, {s.a, s.b});
    ASSERT_TRUE(PrepareChampionshipPrint(s.app, "002", {}));
    ASSERT_TRUE(PrepareChampionshipPrint(s.app, "001", {}));
    RowSet q = s.db.query("SELECT * FROM \"Q Mesterskabsresultat\"");
    ASSERT_EQ(q.size(), 1u);  // only this championship's standing
    EXPECT_EQ(q.get(0, "Sektionsnr"), Value("012"));
    EXPECT_EQ(q.get(0, "Sektionsnavn"), Value("Sektion 12"));
    EXPECT_EQ(q.get(0, "Proportioner"), Value("Kun område = O'B. "));
    EXPECT_EQ(q.get(0, "Id"), Value("001/001 Hansen"));
    EXPECT_EQ(q.get(0, "Points"), Value(1800.0));
    EXPECT_EQ(s.t.ui.busyOn, s.t.ui.busyOff);
    EXPECT_GE(s.t.ui.busyOn, 1);

    ASSERT_TRUE(PrepareChampionshipPrint(s.app, "002", {true, false}));
    RowSet x = s.db.query("SELECT * FROM Q_Mesterskab_Crosstab ORDER BY Placering");
    ASSERT_EQ(x.size(), 2u);
    EXPECT_EQ(x.get(0, "TYPE"), Value("Koef."));
    EXPECT_EQ(x.get(0, "Ringnummer"), Value("100-26-0001"));
    EXPECT_EQ(x.get(0, "CrosstabResult.F1"), Value("0,100"));
    EXPECT_EQ(x.get(0, "CrosstabHeaders.F2"), Value("21\r\n95 B\r\nHamborg"));
    EXPECT_EQ(x.get(0, "CrosstabHeaders.Page"), Value(0));
    ASSERT_TRUE(PrepareChampionshipPrint(s.app, "001", {true, false}));
    EXPECT_EQ(s.db.scalar("SELECT TYPE FROM Q_Mesterskab_Crosstab"), Value("Point"));
}

TEST(ChampPrint, MissingEmptyAndUnknownChampionships) {
    PrintSeason s;
    s.db.exec("INSERT INTO Mesterskabsresultat (Mesterskabsnr, Id, Points) VALUES ('999', 'gammel', 5)");
    EXPECT_FALSE(CalcChampionship(s.app, "999", {}));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Fejl ved læsning af mesterskabsrecord.");
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsresultat WHERE Mesterskabsnr = '999'").toInt(), 1);
    EXPECT_FALSE(PrepareChampionshipPrint(s.app, "999", {}));

    // No races: an empty standing.
    s.champ("001", "Point");
    ASSERT_TRUE(s.calc("001", true));
    EXPECT_TRUE(s.standings("001").empty());
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM CrosstabHeaders").toInt(), 0);

    // Races deleted after they were chosen go out of the championship with them.
    long long c = s.race("95 - C", 22);
    s.result(c, "100-26-0001", {{"Point", 900.0}, {"Placering", 1}, {"Kapflyvning_ialt", 10}});
    s.champ("002", "Point", {}, {c});
    ASSERT_TRUE(s.calc("002"));
    EXPECT_EQ(s.standings("002").size(), 1u);
    s.db.execute("DELETE FROM Kapflyvninger WHERE Nr = ?", {c});
    ASSERT_TRUE(s.calc("002"));
    EXPECT_TRUE(s.standings("002").empty());
}

TEST(ChampPrint, RacesAreBroughtUpToDateFirst) {
    Season s;
    long long r = s.race("95 - A", 20, {{"Beregn", true}});
    calctest::addBird(s.db, r, "100-26-0001", 1200.0);
    calctest::addBird(s.db, r, "200-26-0001", 1000.0, {{"Forening", "002"}});
    s.champ("001", "Point", {}, {r});
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    EXPECT_EQ(st["001/001 "].points, 1000);  // the winner's points under the delivered settings
    EXPECT_EQ(st["002/001 "].points, 1000.0 * 1000 / 1200);
    EXPECT_EQ(calctest::raceField(s.db, r, "Beregn"), Value(0));

    // A race that cannot be computed stops the run; the old standing stays.
    s.db.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = ?", {r});
    calctest::addBird(s.db, r, "100-26-0002", 1100.0, {{"Sektion A", 7}});
    EXPECT_FALSE(s.calc("001"));
    EXPECT_EQ(s.standings("001").size(), 2u);
}

TEST(ChampPrint, AFailedStoreKeepsTheOldStandingsAndPages) {
    Season s;
    long long r = s.race("95 - A", 20);
    s.result(r, "100-26-0001", {{"Placering", 1}, {"Kapflyvning_ialt", 4}, {"Afstand", 300.0}});
    s.champ("001", "NO Km-tillæg", {}, {r});
    ASSERT_TRUE(s.calc("001", true));
    EXPECT_EQ(s.standings("001")["001/001 Hansen"].points, 200);
    s.db.exec("UPDATE Kapflyvninger SET Middelafstand = 1");
    s.db.exec("UPDATE Deltagere SET Placering = 2");
    s.db.exec("CREATE TRIGGER fuld BEFORE INSERT ON CrosstabResult BEGIN SELECT RAISE(ABORT, 'Disken er fuld'); END");
    EXPECT_FALSE(s.calc("001", true));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Disken er fuld");
    EXPECT_EQ(s.standings("001")["001/001 Hansen"].points, 200);
    EXPECT_EQ(s.cells("001/001 Hansen")[0], "200");
    EXPECT_EQ(calctest::raceField(s.db, r, "Middelafstand"), Value(1.0));
    EXPECT_EQ(s.t.ui.busyOn, s.t.ui.busyOff);
}

}  // namespace
}  // namespace vemora
