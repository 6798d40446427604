// Prize distribution and remainders of the race calculation on small worked races.
#include <gtest/gtest.h>

#include "core/calc/calc.h"
#include "core/calc/calc_fixture.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using namespace calctest;
using V = std::vector<Value>;

struct CalcPrizes : ::testing::Test {
    test::TestApp t;
    Database& db = t.db();
    void calc(long long race) {
        ASSERT_TRUE(CalcKapflyvning(t.app, race));
        EXPECT_TRUE(t.ui.shown.empty());
    }
    // Birds 100-26-0000 .. in falling speed.
    void birds(long long race, int count, Fields f = {}) {
        for (int i = 0; i < count; ++i) addBird(db, race, "100-26-" + std::string(i < 10 ? "000" : "00") + std::to_string(i), 2000.0 - i, f);
    }
};

TEST_F(CalcPrizes, ClassPoolPaysFactorTimesStakeUntilEmpty) {
    setSettings(db, "Markering", {{"Præmiefaktor_A", 4.0}});
    setSettings(db, "Indskud", {{"A_Klasse1", 5.0}});
    long long r = addRace(db, "95 - Sektion");
    birds(r, 10, {{"Sektion A", 1}});
    calc(r);
    V prizes = column(db, r, "Præmie");
    EXPECT_EQ(V(prizes.begin(), prizes.begin() + 4), (V{20.0, 20.0, 10.0, Value()}));
    EXPECT_EQ(column(db, r, "PræmieretIKlasseA")[2], Value(1));
    EXPECT_EQ(raceField(db, r, "RestA1"), Value(0.0));
}

TEST_F(CalcPrizes, ExhaustedHigherClassLeavesTheHighestClassWon) {
    setSettings(db, "Markering", {{"Præmiefaktor_A", 4.0}});
    setSettings(db, "Indskud", {{"A_Klasse1", 5.0}, {"A_Klasse2", 5.0}, {"A_Klasse3", 5.0}});
    long long r = addRace(db, "96 - Sektion");
    addBird(db, r, "100-26-0001", 1500.0, {{"Sektion A", 3}});
    addBird(db, r, "100-26-0002", 1400.0, {{"Sektion A", 3}});
    for (int i = 3; i <= 10; ++i) addBird(db, r, "100-26-00" + std::to_string(10 + i), 1000.0, {{"Sektion A", 2}});
    calc(r);
    // Class 3's pool of 10 goes whole to the first bird.
    EXPECT_EQ(birdField(db, r, "100-26-0001", "Præmie"), Value(50.0));
    EXPECT_EQ(birdField(db, r, "100-26-0001", "PræmieretIKlasseA"), Value(3));
    EXPECT_EQ(birdField(db, r, "100-26-0002", "Præmie"), Value(40.0));
    EXPECT_EQ(birdField(db, r, "100-26-0002", "PræmieretIKlasseA"), Value(2));
    EXPECT_EQ(birdField(db, r, "100-26-0002", "Antal præmier"), Value(2));
}

TEST_F(CalcPrizes, CashScaleAndItsRemainder) {
    long long five = addRace(db, "95 - Sektion", {{"Kontantpræmier", true}});
    addScale(db, "Kontantpræmier", five, {{2, 50}, {3, 100}, {4, 0}});
    birds(five, 6);
    calc(five);
    EXPECT_EQ(column(db, five, "Præmie"), (V{100.0, 100.0, 100.0, 50.0, 50.0, Value()}));
    EXPECT_EQ(column(db, five, "Antal præmier"), (V{1, 1, 1, 1, 1, Value()}));
    EXPECT_EQ(raceField(db, five, "RestKontant"), Value(0.0));

    long long four = addRace(db, "95 - Sektion", {{"Kontantpræmier", true}});
    addScale(db, "Kontantpræmier", four, {{3, 100}, {2, 50}});
    birds(four, 4);
    calc(four);
    EXPECT_EQ(raceField(db, four, "RestKontant"), Value(50.0));

    // Without the race's flag the scale is not played and nothing is left over.
    long long off = addRace(db, "95 - Sektion", {{"Kontantpræmier", false}});
    addScale(db, "Kontantpræmier", off, {{3, 100}});
    birds(off, 2);
    calc(off);
    EXPECT_EQ(column(db, off, "Præmie"), (V{Value(), Value()}));
    EXPECT_EQ(raceField(db, off, "RestKontant"), Value(0.0));
}

TEST_F(CalcPrizes, PoolSwitchCapsTheGameAtTheStakes) {
    setSettings(db, "Indskud", {{"Kl_P", 25.0}});
    for (bool capped : {true, false}) {
        long long r = addRace(db, "95 - Sektion", {{"Kl_P", true}, {"Pulje_Puljepræmier", capped}});
        addScale(db, "P-spils-præmier", r, {{3, 100}});
        birds(r, 10, {{"Pulje", true}});
        calc(r);
        V p = column(db, r, "Præmie");
        if (capped)
            EXPECT_EQ(V(p.begin(), p.begin() + 4), (V{100.0, 100.0, 50.0, Value()}));
        else
            EXPECT_EQ(V(p.begin(), p.begin() + 4), (V{100.0, 100.0, 100.0, Value()}));
        EXPECT_EQ(column(db, r, "PræmieretIKlP")[2], Value(1));
        EXPECT_EQ(column(db, r, "PræmieretIKlP")[3], Value(0));
        EXPECT_EQ(raceField(db, r, "RestPulje"), Value(0.0));
    }
}

TEST_F(CalcPrizes, LoftPrizeAndLoftGameOncePerLoft) {
    long long r = addRace(db, "95 - Sektion", {{"Slagpræmier", true}, {"Slagspil_S", true}});
    addScale(db, "Slagpræmier", r, {{1, 30}, {1, 20}});
    addScale(db, "Slagspilspræmier", r, {{2, 15}});
    insertRow(db, "Slagspil", {{"Kapflyvning", r}, {"Forening", "001"}, {"Slag", "001"}, {"Slagspil_S", true}});
    addBird(db, r, "100-26-0001", 1500.0, {{"Slag", "001"}});
    addBird(db, r, "100-26-0002", 1400.0, {{"Slag", "001"}});
    addBird(db, r, "100-26-0003", 1300.0, {{"Slag", "002"}});
    calc(r);
    EXPECT_EQ(column(db, r, "Præmie"), (V{45.0, Value(), 20.0}));
    EXPECT_EQ(column(db, r, "Antal præmier"), (V{2, Value(), 1}));
    EXPECT_EQ(column(db, r, "PræmieretIKlS"), (V{1, 0, 0}));
    EXPECT_EQ(raceField(db, r, "RestSlag"), Value(0.0));
    EXPECT_EQ(raceField(db, r, "RestSlagspil"), Value(15.0));
}

TEST_F(CalcPrizes, NationalRacePaysNoClassesAndKeepsThePools) {
    setSettings(db, "Markering", {{"Præmiefaktor_A", 4.0}, {"Præmiefaktor_B", 2.0}});
    setSettings(db, "Indskud", {{"A_Klasse1", 5.0}, {"A_Klasse2", 3.0}, {"B_Klasse1", 7.0}});
    long long r = addRace(db, "91 - Orange skema");
    birds(r, 3, {{"Sektion A", 2}, {"Sektion B", 1}});
    calc(r);
    EXPECT_EQ(column(db, r, "Præmie"), (V{Value(), Value(), Value()}));
    EXPECT_EQ(column(db, r, "PræmieretIKlasseA"), (V{Value(), Value(), Value()}));
    EXPECT_EQ(raceField(db, r, "RestA1"), Value(15.0));
    EXPECT_EQ(raceField(db, r, "RestA2"), Value(9.0));
    EXPECT_EQ(raceField(db, r, "RestB1"), Value(21.0));
    EXPECT_EQ(raceField(db, r, "RestA3"), Value(0.0));
}

TEST_F(CalcPrizes, RecalculationClearsEarlierPrizes) {
    long long r = addRace(db, "95 - Sektion", {{"Kontantpræmier", true}});
    addScale(db, "Kontantpræmier", r, {{1, 100}});
    addBird(db, r, "100-26-0001", 1500.0);
    addBird(db, r, "100-26-0002", 1400.0);
    calc(r);
    EXPECT_EQ(column(db, r, "Præmie"), (V{100.0, Value()}));
    db.execute("UPDATE Deltagere SET \"Meter / min\" = 1600 WHERE Ringnummer = '100-26-0002'");
    db.execute("UPDATE Kapflyvninger SET Beregn = 1");
    calc(r);
    EXPECT_EQ(column(db, r, "Præmie"), (V{Value(), 100.0}));
    EXPECT_EQ(column(db, r, "Placering"), (V{2, 1}));
}

}  // namespace
}  // namespace vemora
