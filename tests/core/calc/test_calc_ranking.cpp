// The race calculation on small races worked out by hand, and how it fails. The breadth of
// the rules is the generated comparison's against the literal reference.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/calc/calc.h"
#include "core/calc/racecalc.h"
#include "core/calc/calc_fixture.h"
#include "support/testdb.h"
#include "core/import/importsupport.h"

namespace vemora {
namespace {

using namespace calctest;
using V = std::vector<Value>;

struct CalcRanking : ::testing::Test {
    test::TestApp t;
    Database& db = t.db();
    bool calc(long long race) { return CalcKapflyvning(t.app, race); }
};

TEST_F(CalcRanking, TiesShareAPlacingAndTheLowerLastFourRingComesFirst) {
    long long r = addRace(db, "95 - Sektion", {{"Kontantpræmier", true}});
    addScale(db, "Kontantpræmier", r, {{1, 40}, {1, 30}, {1, 20}, {1, 10}});
    addBird(db, r, "100-26-0001", 1200.0);
    addBird(db, r, "100-26-0009", 1100.0);  // tied with 0005; ring ends higher, so after it
    addBird(db, r, "200-26-0005", 1100.0);
    addBird(db, r, "100-26-0004", 1000.0);
    ASSERT_TRUE(calc(r));
    EXPECT_EQ(column(db, r, "Placering"), (V{1, 4, 2, 2}));  // rings 0001, 0004, 0009, 0005
    EXPECT_EQ(birdField(db, r, "200-26-0005", "Præmie"), Value(30.0));
    EXPECT_EQ(birdField(db, r, "100-26-0009", "Præmie"), Value(20.0));
    EXPECT_EQ(raceField(db, r, "Beregn"), Value(0));
    EXPECT_TRUE(t.ui.shown.empty());
}

TEST_F(CalcRanking, CodeGroupsArePlacedApartButPointsStayWholeRace) {
    setSettings(db, "Markering", {{"Hastighed_Andre", 100.0}});
    long long r = addRace(db, "95 - Sektion", {{"Kode", "2"}, {"Kontantpræmier", true}});
    addScale(db, "Kontantpræmier", r, {{1, 50}});
    addBird(db, r, "100-26-0001", 1000.0, {{"Kode2", "A"}});
    addBird(db, r, "100-26-0002", 900.0, {{"Kode2", "A"}});
    addBird(db, r, "100-26-0003", 800.0, {{"Kode2", "B"}});
    addBird(db, r, "100-26-0004", 500.0, {{"Kode2", Value()}});
    addBird(db, r, "100-26-0005", 50.0, {{"Kode2", Value()}});  // below the threshold
    ASSERT_TRUE(calc(r));
    EXPECT_EQ(column(db, r, "Placering"), (V{1, 2, 1, 1, Value()}));
    EXPECT_EQ(column(db, r, "Kapflyvning_ialt"), (V{2, 2, 1, 2, 2}));
    // Every group wins the whole cash scale.
    EXPECT_EQ(column(db, r, "Præmie"), (V{50.0, Value(), 50.0, 50.0, 0.0}));
    // 1000-scale points: against the race's best bird and its 4 ranked birds.
    EXPECT_EQ(birdField(db, r, "100-26-0003", "Points1000"), Value(800.0));
    EXPECT_EQ(birdField(db, r, "100-26-0003", "PointsPlac"), Value(500.0));
    EXPECT_EQ(birdField(db, r, "100-26-0004", "PointsPlac"), Value(250.0));
}

TEST_F(CalcRanking, ClearFlagReadsAndWritesNothing) {
    long long r = addRace(db, "95 - Sektion");
    addBird(db, r, "100-26-0001", 1500.0);
    ASSERT_TRUE(calc(r));
    std::vector<std::string> reads;
    sqlite3_set_authorizer(
        db.handle(),
        [](void* p, int action, const char* a, const char* b, const char*, const char*) {
            if (action == SQLITE_READ) static_cast<std::vector<std::string>*>(p)->push_back(std::string(a) + "." + b);
            return SQLITE_OK;
        },
        &reads);
    int changes = sqlite3_total_changes(db.handle());
    EXPECT_TRUE(calc(r));
    sqlite3_set_authorizer(db.handle(), nullptr, nullptr);
    EXPECT_EQ(sqlite3_total_changes(db.handle()), changes);
    for (const auto& x : reads) EXPECT_TRUE(x == "Kapflyvninger.Beregn" || x == "Kapflyvninger.Nr") << x;
    EXPECT_FALSE(reads.empty());
    EXPECT_EQ(t.ui.busyOn, 1);  // only the first call switched the busy pointer on
}

TEST_F(CalcRanking, ErrorsShowFejlAndTellWhetherTheRaceWasReset) {
    // A Null prize factor stops the calculation before anything is stored.
    setSettings(db, "Markering", {{"Præmiefaktor_A", Value()}});
    long long r = addRace(db, "95 - Sektion");
    addBird(db, r, "100-26-0001", 1500.0);
    EXPECT_FALSE(calc(r));
    ASSERT_EQ(t.ui.shown.size(), 1u);
    EXPECT_EQ(t.ui.shown[0].title, "Fejl");
    EXPECT_EQ(t.ui.shown[0].icon, Icon::Exclamation);
    EXPECT_EQ(raceField(db, r, "Beregn"), Value(1));

    // A bird in seven classes stops it after the race row was reset: it counts as current.
    setSettings(db, "Markering", {{"Præmiefaktor_A", 2.0}});
    db.execute("UPDATE Kapflyvninger SET RestA1 = 99 WHERE Nr = ?", {r});
    addBird(db, r, "100-26-0002", 1400.0, {{"Sektion A", 7}});
    EXPECT_FALSE(calc(r));
    EXPECT_EQ(t.ui.shown.size(), 2u);
    EXPECT_EQ(raceField(db, r, "Beregn"), Value(0));
    EXPECT_EQ(raceField(db, r, "RestA1"), Value(0.0));
    EXPECT_TRUE(birdField(db, r, "100-26-0001", "Placering").isNull());
    EXPECT_EQ(t.ui.busyOn, t.ui.busyOff);

    EXPECT_FALSE(calc(987654));  // no such race
}

TEST_F(CalcRanking, ResultsThatCannotBeWrittenLeaveTheRaceMarkedAndUnchanged) {
    long long r = addRace(db, "95 - Sektion");
    addBird(db, r, "100-26-0001", 1500.0);
    addBird(db, r, "100-26-0002", 1400.0);
    ASSERT_TRUE(calc(r));
    db.execute("UPDATE Deltagere SET \"Meter / min\" = 1600 WHERE Ringnummer = '100-26-0002'");
    db.execute("UPDATE Kapflyvninger SET Beregn = 1, RestKontant = 7 WHERE Nr = ?", {r});
    auto state = [&] { return test::rowsText(db, "SELECT * FROM Kapflyvninger ORDER BY Nr") + test::rowsText(db, "SELECT * FROM Deltagere ORDER BY Ringnummer"); };
    const std::string before = state();

    // Another program reads the file past the busy wait, so the results cannot be committed;
    // it lets go as soon as that wait is over.
    auto other = Database::open(db.path());
    other->exec("BEGIN");
    other->scalar("SELECT count(*) FROM Deltagere");
    db.setBusyTimeout(std::chrono::milliseconds(20));
    db.setWaitNotifier([&](bool waiting) {
        if (!waiting && other->inTransaction()) other->exec("COMMIT");
    });
    EXPECT_FALSE(calc(r));
    EXPECT_EQ(t.ui.shown.back().title, "Fejl");
    EXPECT_NE(t.ui.shown.back().text.find("(database is locked)"), std::string::npos) << t.ui.shown.back().text;
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(state(), before);

    // Held for good: the failed commit still ends the transaction, so the file is not kept
    // locked against the other program.
    db.setWaitNotifier({});
    other->exec("BEGIN");
    other->scalar("SELECT count(*) FROM Deltagere");
    EXPECT_FALSE(calc(r));
    EXPECT_FALSE(db.inTransaction());
    other->exec("COMMIT");
    EXPECT_EQ(state(), before);

    // The next calculation of stale races repairs it.
    ASSERT_TRUE(calc(r));
    EXPECT_EQ(column(db, r, "Placering"), (V{2, 1}));
    EXPECT_EQ(raceField(db, r, "Beregn"), Value(0));
}

// A class pool pays factor times stake until it is empty; a bird whose higher class is
// exhausted keeps the highest class it won.
TEST_F(CalcRanking, ExhaustedHigherClassLeavesTheHighestClassWon) {
    setSettings(db, "Markering", {{"Præmiefaktor_A", 4.0}});
    setSettings(db, "Indskud", {{"A_Klasse1", 5.0}, {"A_Klasse2", 5.0}, {"A_Klasse3", 5.0}});
    long long r = addRace(db, "96 - Sektion");
    addBird(db, r, "100-26-0001", 1500.0, {{"Sektion A", 3}});
    addBird(db, r, "100-26-0002", 1400.0, {{"Sektion A", 3}});
    for (int i = 13; i <= 20; ++i) addBird(db, r, "100-26-00" + std::to_string(i), 1000.0, {{"Sektion A", 2}});
    ASSERT_TRUE(calc(r));
    // Class 3's pool of 10 goes whole to the first bird.
    EXPECT_EQ(column(db, r, "Præmie")[0], Value(50.0));
    EXPECT_EQ(column(db, r, "Præmie")[1], Value(40.0));
    EXPECT_EQ((V{birdField(db, r, "100-26-0001", "PræmieretIKlasseA"), birdField(db, r, "100-26-0002", "PræmieretIKlasseA"),
                 birdField(db, r, "100-26-0002", "Antal præmier")}),
              (V{3, 2, 2}));
}

TEST_F(CalcRanking, PoolSwitchCapsTheGameAtTheStakes) {
    setSettings(db, "Indskud", {{"Kl_P", 25.0}});
    for (bool capped : {true, false}) {
        long long r = addRace(db, "95 - Sektion", {{"Kl_P", true}, {"Pulje_Puljepræmier", capped}});
        addScale(db, "P-spils-præmier", r, {{3, 100}});
        for (int i = 0; i < 10; ++i) addBird(db, r, "100-26-000" + std::to_string(i), 2000.0 - i, {{"Pulje", true}});
        ASSERT_TRUE(calc(r));
        V p = column(db, r, "Præmie");
        EXPECT_EQ(V(p.begin(), p.begin() + 4), (V{100.0, 100.0, capped ? 50.0 : 100.0, Value()})) << capped;
        EXPECT_EQ(column(db, r, "PræmieretIKlP")[2], Value(1));
        EXPECT_EQ(raceField(db, r, "RestPulje"), Value(0.0));
    }
}

TEST(CalcText, NocaseFoldAndLastCharacters) {
    EXPECT_EQ(calc::foldCase("AbÆ-Z"), "abÆ-z");
    EXPECT_EQ(calc::lastChars("123-26-0456", 4), "0456");
    EXPECT_EQ(calc::lastChars("ab", 4), "ab");
    EXPECT_EQ(calc::lastChars("x-æøåb", 4), "æøåb");
}

}  // namespace
}  // namespace vemora
