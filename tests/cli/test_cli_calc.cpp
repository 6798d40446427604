// vemora-cli calc run as a program on a prepared program folder.
#include <gtest/gtest.h>

#include "core/calc/calc_fixture.h"
#include "support/process.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using namespace calctest;

TEST(CalcCli, ComputesTheChosenRacesAndReportsFailures) {
    test::TestApp t;
    Database& db = t.db();
    long long a = addRace(db, "95 - Sektion", {{"Uge", 23}});
    long long b = addRace(db, "91 - Orange", {{"Uge", 23}});
    long long later = addRace(db, "95 - Sektion", {{"Uge", 24}});
    for (long long r : {a, b, later}) {
        addBird(db, r, "100-26-0001", 1200.0);
        addBird(db, r, "100-26-0002", 1300.0);
    }

    auto week = test::runCli(t.folder.path(), "calc --week 23");
    EXPECT_EQ(week.exitCode, 0) << week.err;
    // In week order and then by colour code: the 91 race first.
    EXPECT_EQ(week.err, "Uge 23, 91 - Orange (nr. " + std::to_string(b) + "): beregnet\nUge 23, 95 - Sektion (nr. " +
                            std::to_string(a) + "): beregnet\n");
    EXPECT_EQ(raceField(db, a, "Beregn"), Value(0));
    EXPECT_EQ(raceField(db, b, "Beregn"), Value(0));
    EXPECT_EQ(raceField(db, later, "Beregn"), Value(1));
    EXPECT_EQ(birdField(db, a, "100-26-0002", "Placering"), Value(1));

    // A current race is left alone unless forced.
    db.execute("UPDATE Deltagere SET \"Meter / min\" = 1400 WHERE Kapflyvning = ? AND Ringnummer = '100-26-0001'", {a});
    EXPECT_EQ(test::runCli(t.folder.path(), "calc --race " + std::to_string(a)).exitCode, 0);
    EXPECT_EQ(birdField(db, a, "100-26-0001", "Placering"), Value(2));
    EXPECT_EQ(test::runCli(t.folder.path(), "calc --force --race " + std::to_string(a)).exitCode, 0);
    EXPECT_EQ(birdField(db, a, "100-26-0001", "Placering"), Value(1));

    // One failing race makes the run fail, with the error on the terminal; the others are done.
    addBird(db, later, "100-26-0003", 1100.0, {{"Sektion A", 7}});
    long long last = addRace(db, "96 - Sektion", {{"Uge", 25}});
    addBird(db, last, "100-26-0001", 1200.0);
    auto all = test::runCli(t.folder.path(), "calc --all");
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_NE(all.err.find("Fejl: "), std::string::npos) << all.err;
    EXPECT_EQ(raceField(db, last, "Beregn"), Value(0));

    EXPECT_EQ(test::runCli(t.folder.path(), "calc --race 999").exitCode, 1);
    EXPECT_EQ(test::runCli(t.folder.path(), "calc").exitCode, 106);  // a race choice is required
}

}  // namespace
}  // namespace vemora
