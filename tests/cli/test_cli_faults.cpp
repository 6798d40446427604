// Every command of vemora-cli on a section database it cannot use as it is: write-protected,
// held by another program, or with a damaged race table. Each must answer "Fejl: " with the
// reason and exit code 1 where it meets the problem, and never end by a signal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "core/calc/calc_fixture.h"
#include "core/import/importsupport.h"
#include "support/process.h"
#include "support/testdb.h"

namespace vemora {
namespace {

namespace fs = std::filesystem;

enum class Fault { WriteProtected, Held, DamagedRaces };

struct Command {
    const char* args;  // after --folder; FILE stands for a club result file, OUT for a folder
    bool touchesRaces;  // reads the race table, so a damaged one stops it
    bool writes;
};

// Today's commands, each in the forms that reach the database differently.
const Command kCommands[] = {
    {"init", true, false},  // its check of the whole file finds the damaged table
    {"import FILE --yes", true, true},
    {"import FILE --check-results --yes", true, true},
    {"calc --all", true, true},
    {"calc --all --force", true, true},
    {"calc --race 1", true, true},
    {"demo --clubs 1 --weeks 20 --birds-per-club 5", true, true},
    {"export plan --to OUT", true, false},
    {"export total-stats --to OUT", true, true},  // every race is calculated first
};

// A section with one stale race and its birds, and a club file for that week.
fs::path prepare(const test::TempFolder& f) {
    test::TestApp t;
    fs::copy_file(t.folder.path() / "SEKDATA.MDB", f.path() / "SEKDATA.MDB");
    auto db = Database::open(f.path() / "SEKDATA.MDB");
    long long r = calctest::addRace(*db, "95 - Blå skema");
    calctest::addBird(*db, r, "123-25-0001", 1200.0);
    db->execute("INSERT INTO Foreninger (Nr, Navn) VALUES ('123', 'Ørnen')");
    db->exec("UPDATE Generelt SET Sektionsnavn = 'Sektion 12'");
    Date day{std::chrono::year(2026), std::chrono::June, std::chrono::day(6)};
    return f.write("SEK12301.U23", test::joinLines({formatHeader("123", "3.A"), formatRace("95", day, "", "101", " Flensborg"),
                                                    formatBird(test::makeBird("95", "001", "123-25-0002"), Layout::L6)}));
}

// Garbage over the race table's first page, the rest of the file sound.
void damageRaces(const fs::path& file) {
    long long root, pageSize;
    {
        auto db = Database::open(file);
        root = db->scalar("SELECT rootpage FROM sqlite_master WHERE name = 'Kapflyvninger'").toInt();
        pageSize = db->scalar("PRAGMA page_size").toInt();
    }
    std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
    io.seekp((root - 1) * pageSize);
    io << std::string(static_cast<size_t>(pageSize), '\xA5');
}

std::string cli(const fs::path& folder, const std::string& args, bool asOtherUser) {
    // The root user may write a write-protected file; the tool then runs as nobody.
    std::string prefix = asOtherUser && ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    return prefix + test::shellQuote(VEMORA_CLI_PATH) + " --folder " + test::shellQuote(folder.string()) + " --wait 0.05 " + args;
}

TEST(CliFaults, EveryCommandAnswersFejlWithTheReasonAndExitCode1) {
    for (Fault fault : {Fault::WriteProtected, Fault::Held, Fault::DamagedRaces}) {
        for (const Command& c : kCommands) {
            test::TempFolder f;
            fs::path clubFile = prepare(f);
            fs::path db = f.path() / "SEKDATA.MDB";
            std::unique_ptr<Database> other;
            const char* reason = "";
            bool fails = false;
            switch (fault) {
                case Fault::WriteProtected:
                    fs::permissions(db, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
                    reason = "er skrivebeskyttet";
                    fails = true;  // refused when it is opened
                    break;
                case Fault::Held:
                    other = Database::open(db);
                    other->exec("BEGIN IMMEDIATE");  // another program is writing
                    reason = "Et andet program bruger SEKDATA.MDB";
                    fails = c.writes;
                    break;
                case Fault::DamagedRaces:
                    damageRaces(db);
                    reason = "database disk image is malformed";
                    fails = c.touchesRaces;
                    break;
            }
            std::string args = c.args;
            if (auto p = args.find("FILE"); p != std::string::npos) args.replace(p, 4, test::shellQuote(clubFile.string()));
            if (auto p = args.find("OUT"); p != std::string::npos) {
                fs::create_directory(f.path() / "ud");
                args.replace(p, 3, test::shellQuote((f.path() / "ud").string()));
            }
            auto r = test::runCommand(cli(f.path(), args, fault == Fault::WriteProtected));
            std::string what = std::string(c.args) + " / fault " + std::to_string(static_cast<int>(fault)) + "\n" + r.err;
            EXPECT_EQ(r.exitCode, fails ? 1 : 0) << what;
            EXPECT_EQ(r.err.find("terminate called"), std::string::npos) << what;
            if (fails) {
                EXPECT_NE(r.err.find("Fejl: "), std::string::npos) << what;
                EXPECT_NE(r.err.find(reason), std::string::npos) << what;
            }
            // A write that waited said so first.
            if (fault == Fault::Held && c.writes) {
                EXPECT_NE(r.err.find("Sektionsdatabasen bruges af et andet program. Venter op til 0,05 sekunder"), std::string::npos)
                    << what;
            }
            if (other) {
                other->exec("ROLLBACK");
                EXPECT_EQ(other->integrityCheck(), "ok") << what;
            }
        }
    }
}

TEST(CliFaults, AWeekOutsideTheSeasonIsARefusedFileName) {
    test::TempFolder f;
    prepare(f);
    for (const char* name : {"SEK12301.U0", "SEK12301.U99"}) {
        fs::path file = f.write(name, test::joinLines({formatHeader("123", "3.A")}));
        auto r = test::runCommand(cli(f.path(), "import --yes " + test::shellQuote(file.string()), false));
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_EQ(r.err, std::string("Fejl: Filnavnet ") + name + " er ikke en foreningsfil (SEK<forening>01.U<uge>).\n");
    }
    auto db = Database::open(f.path() / "SEKDATA.MDB");
    EXPECT_EQ(db->scalar("SELECT count(*) FROM ResModt").toInt(), 0);
}

}  // namespace
}  // namespace vemora
