// vemora-cli export run as a program; it reads today's date from the clock, so the season is
// dated in the current year.
#include <gtest/gtest.h>

#include "core/stats/stats_fixture.h"
#include "support/process.h"

namespace vemora {
namespace {

using namespace statstest;
using S = std::vector<std::string>;

struct CliSeason : Season {
    int year = static_cast<int>(todayLocal().year());
    std::string yy = std::to_string(year % 100 + 100).substr(1);

    CliSeason() {
        long long r = race("95 - Blå skema", 20, std::to_string(year) + "-05-16");
        bird(r, "001-25-0001", 1500.0, "001", "001");
        bird(r, "002-25-0002", 1400.0, "002", "001");
    }
    test::ProcessResult cli(const std::string& args) { return test::runCli(t.folder.path(), args); }
    std::string to() { return "--to " + test::shellQuote(out.string()); }
};

TEST(ExportCli, FolderClubAndDiskettes) {
    CliSeason s;
    auto total = s.cli("export total-stats " + s.to());
    EXPECT_EQ(total.exitCode, 0) << total.err;
    EXPECT_EQ(total.out, (s.out / ("SEKSTA" + s.yy + ".04")).string() + "\n");
    EXPECT_EQ(total.err, "");

    // A bare number is padded as the club box pads it; the box's own text names a club too.
    EXPECT_EQ(s.cli("export club-stats --club 2 " + s.to()).exitCode, 0);
    EXPECT_EQ(s.cli("export plan --club '003 - Gamma' " + s.to()).exitCode, 0);
    EXPECT_EQ(fileNames(s.out), (S{"SEK003.DAT", "SEKSTA" + s.yy + ".002", "SEKSTA" + s.yy + ".04"}));

    // Each OK takes the next folder; No keeps a diskette that is not empty; Cancel ends with 2.
    S media{(s.out / "a").string(), (s.out / "b").string(), (s.out / "c").string()};
    for (const auto& m : media) fs::create_directory(m);
    std::ofstream(fs::path(media[0]) / "gammel.txt") << "x";
    auto r = s.cli("--answers ynyyc export plan --diskettes " + media[0] + "," + media[1] + "," + media[2]);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(r.err,
              "Ny diskette: Indsæt diskette for forening 001.\n"
              "Slet diskette: Disketten er ikke tom. Ønsker du at overskrive dens indhold?\n"
              "Ny diskette: Indsæt diskette for forening 001.\n"
              "Ny diskette: Indsæt diskette for forening 002.\n"
              "Ny diskette: Indsæt diskette for forening 003.\n");
    EXPECT_EQ(fileNames(media[0]), S{"gammel.txt"});
    EXPECT_EQ(fileNames(media[1]), S{"SEK001.DAT"});
    EXPECT_EQ(fileNames(media[2]), S{"SEK002.DAT"});
    EXPECT_EQ(s.cli("--yes export total-stats --diskettes " + media[0]).exitCode, 0);
    EXPECT_EQ(fileNames(media[0]), S{"SEKSTA" + s.yy + ".04"});
}

TEST(ExportCli, BadInputEndsWithAMessageAndExitCodeOne) {
    CliSeason s;
    auto missing = s.cli("export plan --to " + test::shellQuote((s.out / "mangler").string()));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Fejl: Folderen " + (s.out / "mangler").string() + " findes ikke.\n");
    auto unknown = s.cli("export club-stats --club 999 " + s.to());
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "Fejl: Forening 999 findes ikke.\n");

    s.race("96 - Gul skema", 52, std::to_string(s.year - 1) + "-12-28");
    auto old = s.cli("export club-stats " + s.to());
    EXPECT_EQ(old.exitCode, 1);
    EXPECT_NE(old.err.find("Fejl: Statistik kan kun udtrækkes for indeværende år."), std::string::npos) << old.err;

    // The command line itself: an unknown export, both places or none.
    EXPECT_NE(s.cli("export stats " + s.to()).exitCode, 0);
    EXPECT_NE(s.cli("export plan " + s.to() + " --diskettes " + s.out.string()).exitCode, 0);
    EXPECT_NE(s.cli("export plan").exitCode, 0);
    EXPECT_TRUE(fileNames(s.out).empty());
}

}  // namespace
}  // namespace vemora
