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
        std::string y = std::to_string(year);
        long long r = race("95 - Blå skema", 20, y + "-05-16");
        bird(r, "001-25-0001", 1500.0, "001", "001");
        bird(r, "002-25-0002", 1400.0, "002", "001");
        race("92 - Grøn skema", 20, y + "-05-16");
    }
    test::ProcessResult cli(const std::string& args) {
        return test::runCommand(std::string(VEMORA_CLI_PATH) + " --folder " + test::shellQuote(t.folder.path().string()) +
                                " " + args);
    }
    std::string to() { return "--to " + test::shellQuote(out.string()); }
};

TEST(ExportCli, WritesTheChosenExportIntoTheFolder) {
    CliSeason s;
    auto total = s.cli("export total-stats " + s.to());
    EXPECT_EQ(total.exitCode, 0) << total.err;
    EXPECT_EQ(total.out, (s.out / ("SEKSTA" + s.yy + ".04")).string() + "\n");
    EXPECT_EQ(s.lines("SEKSTA" + s.yy + ".04").size(), 2u);

    // A club number is padded as the club box pads it.
    auto club = s.cli("export club-stats --club 2 " + s.to());
    EXPECT_EQ(club.exitCode, 0) << club.err;
    EXPECT_EQ(fileNames(s.out), (S{"SEKSTA" + s.yy + ".002", "SEKSTA" + s.yy + ".04"}));
    S lines = s.lines("SEKSTA" + s.yy + ".002");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 78u);

    // The club box's own text names the club too.
    auto one = s.cli("export plan --club '003 - Gamma' " + s.to());
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out, (s.out / "SEK003.DAT").string() + "\n");

    auto plan = s.cli("export plan " + s.to());
    EXPECT_EQ(plan.exitCode, 0) << plan.err;
    EXPECT_EQ(s.lines("SEK003.DAT"), s.lines("SEK001.DAT"));
    EXPECT_EQ(s.lines("SEK001.DAT").size(), 4u);  // the national race is not in the plan
    EXPECT_EQ(plan.err, "");
}

TEST(ExportCli, DiskettesAreTheFoldersInTurn) {
    CliSeason s;
    S media{(s.out / "a").string(), (s.out / "b").string(), (s.out / "c").string()};
    for (const auto& m : media) fs::create_directory(m);
    std::ofstream(fs::path(media[0]) / "gammel.txt") << "x";
    // OK for 001, No to emptying a, OK (b) for 001, OK (c) for 002, then Cancel for 003.
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

    // --yes empties a diskette that is not empty.
    auto total = s.cli("--yes export total-stats --diskettes " + media[0]);
    EXPECT_EQ(total.exitCode, 0) << total.err;
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

    calctest::setSettings(s.db, "Generelt", {{"Sektionsnavn", "Vestsektionen"}});
    auto section = s.cli("export total-stats " + s.to());
    EXPECT_EQ(section.exitCode, 1);
    EXPECT_NE(section.err.find("Fejl: Ukendt sektionsnummer."), std::string::npos) << section.err;

    s.race("96 - Gul skema", 52, std::to_string(s.year - 1) + "-12-28");
    auto old = s.cli("export club-stats " + s.to());
    EXPECT_EQ(old.exitCode, 1);
    EXPECT_NE(old.err.find("Fejl: Statistik kan kun udtrækkes for indeværende år."), std::string::npos) << old.err;
    EXPECT_TRUE(fileNames(s.out).empty());

    // The command line itself: an unknown export, both places or none.
    EXPECT_NE(s.cli("export stats " + s.to()).exitCode, 0);
    EXPECT_NE(s.cli("export plan " + s.to() + " --diskettes " + s.out.string()).exitCode, 0);
    EXPECT_NE(s.cli("export plan").exitCode, 0);
    EXPECT_TRUE(fileNames(s.out).empty());
}

}  // namespace
}  // namespace vemora
