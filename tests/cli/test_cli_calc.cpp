// vemora-cli calc run as a program on a prepared program folder.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "core/calc/calc_fixture.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using namespace calctest;

struct CliRun {
    int exitCode;
    std::string output;  // stdout and stderr together
};

CliRun runCli(const std::filesystem::path& folder, const std::string& args) {
    std::string cmd = std::string(VEMORA_CLI_PATH) + " --folder '" + folder.string() + "' " + args + " 2>&1";
    CliRun r{-1, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 512> buf;
    while (fgets(buf.data(), buf.size(), p)) r.output += buf.data();
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

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

    CliRun week = runCli(t.folder.path(), "calc --week 23");
    EXPECT_EQ(week.exitCode, 0) << week.output;
    // In week order and then by colour code: the 91 race first.
    EXPECT_LT(week.output.find("91 - Orange"), week.output.find("95 - Sektion")) << week.output;
    EXPECT_EQ(raceField(db, a, "Beregn"), Value(0));
    EXPECT_EQ(raceField(db, b, "Beregn"), Value(0));
    EXPECT_EQ(raceField(db, later, "Beregn"), Value(1));
    EXPECT_EQ(birdField(db, a, "100-26-0002", "Placering"), Value(1));

    // A current race is left alone unless forced.
    db.execute("UPDATE Deltagere SET \"Meter / min\" = 1400 WHERE Kapflyvning = ? AND Ringnummer = '100-26-0001'", {a});
    EXPECT_EQ(runCli(t.folder.path(), "calc --race " + std::to_string(a)).exitCode, 0);
    EXPECT_EQ(birdField(db, a, "100-26-0001", "Placering"), Value(2));
    EXPECT_EQ(runCli(t.folder.path(), "calc --force --race " + std::to_string(a)).exitCode, 0);
    EXPECT_EQ(birdField(db, a, "100-26-0001", "Placering"), Value(1));

    // One failing race makes the run fail, with the error on the terminal; the others are done.
    addBird(db, later, "100-26-0003", 1100.0, {{"Sektion A", 7}});
    long long last = addRace(db, "96 - Sektion", {{"Uge", 25}});
    addBird(db, last, "100-26-0001", 1200.0);
    CliRun all = runCli(t.folder.path(), "calc --all");
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_NE(all.output.find("Fejl: "), std::string::npos) << all.output;
    EXPECT_EQ(raceField(db, last, "Beregn"), Value(0));

    EXPECT_EQ(runCli(t.folder.path(), "calc --race 999").exitCode, 1);
    EXPECT_NE(runCli(t.folder.path(), "calc").exitCode, 0);
}

}  // namespace
}  // namespace vemora
