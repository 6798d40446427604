// The backup, restore and repair commands on the built tool, and a restore killed half way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

#include "core/db/database.h"
#include "support/files.h"
#include "support/process.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::test;
namespace fs = std::filesystem;

namespace {

// The part file on a diskette (named by the day of the backup), empty when there is none.
fs::path partIn(const fs::path& diskette) {
    for (const auto& e : fs::directory_iterator(diskette))
        if (e.path().filename().string().rfind("BKUP", 0) == 0 && e.path().filename() != "BKUP.CNT") return e.path();
    return {};
}

// A season of about 3.4 MB and three folders standing for diskettes.
struct Section {
    TempFolder f;
    fs::path prog = f.path() / "program", d1 = f.path() / "d1", d2 = f.path() / "d2", d3 = f.path() / "d3";
    fs::path db = prog / "SEKDATA.MDB";
    Section() {
        for (const auto& d : {prog, d1, d2, d3}) fs::create_directories(d);
        auto r = runCli(prog, "demo --clubs 3 --birds-per-club 280 --weeks 18-29");
        if (r.exitCode != 0) throw std::runtime_error(r.err);
    }
    std::string diskettes() const { return shellQuote(d1.string() + "," + d2.string() + "," + d3.string()); }
};

}  // namespace

TEST(CliBackup, AWholeDatabaseOverThreeDiskettesComesBackByteForByte) {
    Section s;
    auto b = runCli(s.prog, "--yes backup --total --diskettes " + s.diskettes() + " --part-size 1457664");
    ASSERT_EQ(b.exitCode, 0) << b.err;
    std::string backedUp = readBytes(s.db);
    ASSERT_GT(backedUp.size(), 2u * 1454080);
    ASSERT_LT(backedUp.size(), 3u * 1454080);
    for (const auto& d : {s.d1, s.d2, s.d3}) {
        EXPECT_FALSE(partIn(d).empty()) << d;
        EXPECT_EQ(fs::exists(d / "BKUP.CNT"), d != s.d3) << d;
    }

    ASSERT_EQ(runCli(s.prog, "repair").exitCode, 0);
    Database::open(s.db)->exec("DELETE FROM Kapflyvninger WHERE Uge > 20");
    auto r = runCli(s.prog, "--yes restore --total --diskettes " + s.diskettes());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(readBytes(s.db) == backedUp) << "the restored file differs from the one backed up";
}

TEST(CliBackup, WeekBackupRestoreAndTheirExitCodes) {
    Section s;
    auto week = runCli(s.prog, "backup --week 20 --to " + shellQuote(s.d1.string()));
    ASSERT_EQ(week.exitCode, 0) << week.err;
    EXPECT_EQ(week.out, (s.d1 / "BACKUP20.MDB").string() + "\n");
    EXPECT_EQ(runCli(s.prog, "--answers n backup --week 20 --to " + shellQuote(s.d1.string())).exitCode, 2);
    auto missing = runCli(s.prog, "restore --week 21 --from " + shellQuote(s.d1.string()));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Fejl: Fejl ved læsning af backup."), std::string::npos) << missing.err;
    Database::open(s.db)->exec("DELETE FROM Kapflyvninger WHERE Uge = 20");
    auto restored = runCli(s.prog, "restore --week 20 --from " + shellQuote(s.d1.string()));
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(restored.out.rfind("Uge 20: ", 0), 0u) << restored.out;
    EXPECT_GT(Database::open(s.db)->scalar("SELECT count(*) FROM Kapflyvninger WHERE Uge = 20").toInt(), 0);
    // One of --week and --total, one place.
    EXPECT_NE(runCli(s.prog, "backup --week 20 --total --to " + shellQuote(s.d1.string())).exitCode, 0);
    EXPECT_NE(runCli(s.prog, "backup --week 20").exitCode, 0);
    EXPECT_NE(runCli(s.prog, "restore --total --from a --diskettes b").exitCode, 0);
}

namespace {

pid_t startCli(std::vector<std::string> argv) {
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        int devnull = ::open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// Runs the command once to its end from the file `before`, then kills it at moments spread
// over that run time, each time from `before` again, and checks that the section database is
// then either `before` or what the whole run left, and sound.
void killAtRandomMoments(const Section& s, const std::vector<std::string>& args, const std::string& before, int runs,
                         unsigned seed) {
    std::vector<std::string> argv{VEMORA_CLI_PATH, "--folder", s.prog.string(), "--yes"};
    argv.insert(argv.end(), args.begin(), args.end());
    writeBytes(s.db, before);
    auto t0 = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(startCli(argv), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count();
    const std::string after = readBytes(s.db);

    std::mt19937 rng(seed);
    int sawBefore = 0, sawAfter = 0;
    for (int i = 0; i < runs; ++i) {
        writeBytes(s.db, before);
        pid_t pid = startCli(argv);
        usleep(static_cast<useconds_t>(std::uniform_int_distribution<long long>(0, whole)(rng)));
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        std::string now = readBytes(s.db);
        EXPECT_TRUE(now == before || now == after) << "run " << i << ": a file that is neither the old nor the new one";
        (now == before ? sawBefore : sawAfter)++;
        EXPECT_EQ(Database::open(s.db)->integrityCheck(), "ok") << "run " << i;
    }
    testing::Test::RecordProperty("killed_before_replace", sawBefore);
    testing::Test::RecordProperty("killed_after_replace", sawAfter);
}

int runsFromEnvironment(int fallback) {
    const char* v = std::getenv("VEMORA_KILL_RUNS");
    return v ? std::atoi(v) : fallback;
}

}  // namespace

TEST(CliRestore, KilledAtRandomMomentsLeavesTheOldOrTheRestoredDatabase) {
    Section s;
    ASSERT_EQ(runCli(s.prog, "--yes backup --total --diskettes " + s.diskettes() + " --part-size 1457664").exitCode, 0);
    Database::open(s.db)->exec("DELETE FROM Kapflyvninger WHERE Uge > 19; VACUUM");
    killAtRandomMoments(s, {"restore", "--total", "--diskettes", s.d1.string() + "," + s.d2.string() + "," + s.d3.string()},
                        readBytes(s.db), runsFromEnvironment(6), 1405);
}

TEST(CliBackup, KilledAtRandomMomentsLeavesTheOldOrTheCompactedDatabase) {
    Section s;
    Database::open(s.db)->exec("DELETE FROM Kapflyvninger WHERE Uge > 25");  // something to compact
    killAtRandomMoments(s, {"backup", "--total", "--to", s.d1.string()}, readBytes(s.db), runsFromEnvironment(4), 1014);
}

TEST(CliRepair, ADamagedDatabaseIsWrittenToOnlyAfterTheRepair) {
    Section s;
    damagePage(s.db, "Deltagere_Fart");
    std::string damaged = readBytes(s.db);
    auto calc = runCli(s.prog, "calc --all --force");
    EXPECT_EQ(calc.exitCode, 1);
    EXPECT_NE(calc.err.find("Fejl: Sektionsdatabasen er beskadiget"), std::string::npos) << calc.err;
    auto week = runCli(s.prog, "--yes restore --week 20 --from " + shellQuote(s.d1.string()));
    EXPECT_EQ(week.exitCode, 1);
    EXPECT_TRUE(readBytes(s.db) == damaged) << "a damaged file was written to";

    auto repair = runCli(s.prog, "repair");
    EXPECT_EQ(repair.exitCode, 0) << repair.err;
    EXPECT_EQ(Database::open(s.db)->integrityCheck(), "ok");
    EXPECT_EQ(runCli(s.prog, "calc --all --force").exitCode, 0);
}
