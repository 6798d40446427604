// vemora-cli report on a fixed small season: every report definition renders to PDF, and the
// text of its pages (pdftotext -layout) is the checked-in expected text. A deliberate change of
// a layout is accepted by running the tests with VEMORA_UPDATE_GOLDEN=1, which rewrites the
// expected files in tests/data/reports/golden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/calc/calc.h"
#include "support/files.h"
#include "support/process.h"
#include "support/reportseason.h"
#include "support/testdb.h"

namespace vemora {
namespace {

namespace fs = std::filesystem;
using test::runCommand;
using test::shellQuote;

test::ProcessResult report(const fs::path& folder, const std::string& args) { return test::runCli(folder, "report " + args); }

std::string pdfText(const fs::path& pdf) { return runCommand("pdftotext -layout " + shellQuote(pdf.string()) + " -").out; }

struct GoldenCase {
    const char* definition;
    const char* args;
};

// One option combination per definition, each choosing that definition: all 33.
const GoldenCase kCases[] = {
    {"KAPRES.RPT", "race-results --race 1 --all-birds"},
    {"KAPRES2.RPT", "race-results --race 1 --all-birds --across-divisions --no-points"},
    {"KAPRESF.RPT", "race-results --race 4 --club-marking"},
    {"KAPRES2F.RPT", "race-results --race 1 --all-birds --count 25% --across-divisions --club-marking --by-area"},
    {"MODTFIL.RPT", "race-results --race 2 --receipt-list"},
    {"KAPREGNS.RPT", "race-accounts --race 1"},
    {"Praemie.RPT", "prize-statement --all-clubs"},
    {"PraemieU.RPT", "prize-statement --all-clubs --week-totals"},
    {"PraemieM.RPT", "prize-statement --club 11 --member-totals --week 24"},
    {"SekRegns.RPT", "year-accounts --section"},
    {"ForRegns.RPT", "year-accounts --clubs --all-clubs"},
    {"ForRegnU.RPT", "year-accounts --clubs --club 23 --week-totals"},
    {"KAPFVIND.RPT", "champ --section-winners"},
    {"BankOvf.RPT", "bank --race 4"},
    {"Labels1.RPT", "labels --label-format 1"},
    {"Labels2.RPT", "labels --label-format 2"},
    {"Stat.RPT", "stats --order week --club 11"},
    {"Stat2.RPT", "stats --section-races-only --club 23 --loft 4"},
    {"kapfdipl.RPT", "diplomas --diploma races --count 2 --week 25"},
    {"Mestersk.RPT", "champ --champ 1"},
    {"Mesterd.RPT", "champ --champ 1 --decimals"},
    {"Mesterst.RPT", "champ --champ 1 --specify-points"},
    {"Mesterdt.RPT", "champ --champ 2 --specify-points --decimals"},
    {"fMest.RPT", "champ --champ 3"},
    {"fMestd.RPT", "champ --champ 3 --decimals"},
    {"fMestt.RPT", "champ --champ 3 --specify-points"},
    {"fMestdt.RPT", "champ --champ 3 --specify-points --decimals"},
    {"MESTHB.RPT", "champ --champ 4 --decimals"},
    {"Esdue.RPT", "champ --champ 5"},
    {"Esduet.RPT", "champ --champ 5 --specify-points --decimals"},
    {"Dmesters.RPT", "champ --champ 6"},
    {"Dmesterd.RPT", "champ --champ 7 --decimals"},
    {"mestdipl.RPT", "diplomas --diploma champ --champ 1"},
};

class ReportGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    static void SetUpTestSuite() {
        season_ = new test::TestApp;
        test::loadReportSeason(season_->db());
        test::copyReportDefinitions(season_->folder.path());
        // The results are computed, as they are in a season being printed: the section
        // winners and the race diplomas read the stored placings without computing them, and
        // each case may run in a process of its own.
        for (long long nr = 1; nr <= 5; ++nr) ASSERT_TRUE(CalcKapflyvning(season_->app, nr));
    }
    static void TearDownTestSuite() {
        delete season_;
        season_ = nullptr;
    }
    static test::TestApp* season_;
};

test::TestApp* ReportGolden::season_ = nullptr;

TEST_P(ReportGolden, PageTextIsTheExpectedText) {
    const GoldenCase& c = GetParam();
    const std::string name = fs::path(c.definition).stem().string();
    const fs::path pdf = season_->folder.path() / (name + ".pdf");
    auto r = report(season_->folder.path(), std::string(c.args) + " --pdf " + shellQuote(pdf.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(std::string("(") + c.definition + ")"), std::string::npos) << r.out;
    const std::string text = pdfText(pdf);
    ASSERT_FALSE(text.empty());

    const fs::path golden = fs::path(VEMORA_TEST_DATA) / "reports" / "golden" / (name + ".txt");
    if (std::getenv("VEMORA_UPDATE_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << text;
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; run with VEMORA_UPDATE_GOLDEN=1 to write it";
    const std::string expected = test::readBytes(golden);
    if (text == expected) return;
    std::istringstream a(text), b(expected);
    std::string la, lb;
    for (int line = 1;; ++line) {
        bool ga = static_cast<bool>(std::getline(a, la)), gb = static_cast<bool>(std::getline(b, lb));
        if (!ga && !gb) break;
        if (la != lb || ga != gb) {
            ADD_FAILURE() << c.definition << " differs from " << golden << " at line " << line << ":\n  got:      " << la
                          << "\n  expected: " << lb << "\n(a deliberate layout change: rerun with VEMORA_UPDATE_GOLDEN=1)";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Definitions, ReportGolden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& p) {
                             return fs::path(p.param.definition).stem().string();
                         });

// Bad choices and bad files end with a Danish message and exit code 1; the target file is
// never left half-written, and an existing one is kept.
TEST(ReportCommand, RefusesBadInputAndLeavesTheTargetAlone) {
    test::TestApp t;
    test::loadReportSeason(t.db());
    const fs::path folder = t.folder.path();
    // A data folder without definitions of its own prints with those delivered beside the program.
    auto plain = report(folder, "race-accounts --race 4 --pdf " + shellQuote((folder / "plain.pdf").string()));
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_TRUE(fs::exists(folder / "plain.pdf"));
    test::copyReportDefinitions(folder);
    const fs::path pdf = folder / "ud.pdf";
    std::ofstream(pdf) << "forrige udskrift";
    auto refused = [&](const std::string& args, const std::string& message) {
        auto r = report(folder, args + " --pdf " + shellQuote(pdf.string()));
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << "\n" << r.err;
        EXPECT_TRUE(test::readBytes(pdf) == "forrige udskrift") << args;
    };
    refused("race-results", "Fejl: Vælg en kapflyvning.");
    refused("race-results --race 77", "Fejl: Vælg en kapflyvning.");
    refused("prize-statement", "Fejl: Vælg en forening.");
    refused("race-results --race 1 --all-birds --count abc", "Fejl: Ugyldig angivelse.");
    refused("diplomas --diploma champ", "Fejl: Angiv mesterskab.");
    refused("diplomas --diploma champ --champ 88", "Fejl: Mesterskab kunne ikke findes.");

    fs::remove(folder / "BankOvf.RPT");
    refused("bank --race 1", "Fejl: Rapportdefinitionen BankOvf.RPT findes ikke i programmappen");
    std::ofstream(folder / "kapres.rpt") << "side A4 stående\ndetalje\n  tekst 0 0 10 \"{Ringnummer\"\n";
    fs::remove(folder / "KAPRES.RPT");
    refused("race-results --race 1", "Fejl: Fejl i rapportdefinitionen KAPRES.RPT, linje 3: \"{\" lukkes ikke");
    std::ofstream(folder / "kapres.rpt") << "detalje\n  tekst 0 0 10 \"{Ringnr}\"\n";
    refused("race-results --race 1", "Fejl: Rapportdefinitionen KAPRES.RPT bruger feltet \"Ringnr\"");

    test::copyReportDefinitions(folder);
    fs::remove(folder / "kapres.rpt");

    auto r = report(folder, "race-accounts --race 4 --pdf /dev/null/x.pdf");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Fejl: PDF-filen /dev/null/x.pdf kan ikke skrives: mappen /dev/null findes ikke."), std::string::npos)
        << r.err;

    // A calculation that fails stops the printout with the calculation's message.
    t.db().exec("UPDATE Deltagere SET \"Sektion A\" = 7 WHERE Kapflyvning = 4; UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = 4");
    r = report(folder, "bank --race 4 --pdf " + shellQuote(pdf.string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Fejl: Due "), std::string::npos) << r.err;
    EXPECT_TRUE(test::readBytes(pdf) == "forrige udskrift");

    // Counts as a secretary types them are accepted.
    for (const char* count : {"12,5%", "12.5", "5"}) {
        r = report(folder, std::string("race-results --race 2 --all-birds --count ") + shellQuote(count) + " --pdf " +
                               shellQuote((folder / "ok.pdf").string()));
        EXPECT_EQ(r.exitCode, 0) << count << r.err;
    }
    // Nothing asked for on the diplomas tab: nothing written.
    r = report(folder, "diplomas --pdf " + shellQuote((folder / "intet.pdf").string()));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(fs::exists(folder / "intet.pdf"));
    // No display and no platform named: the command paints offscreen by itself.
    r = runCommand("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " + std::string(VEMORA_CLI_PATH) + " --folder " +
                   shellQuote(folder.string()) + " report labels --pdf " + shellQuote((folder / "labels.pdf").string()));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_TRUE(fs::exists(folder / "labels.pdf"));
    // The command line itself refuses a kind it does not know and a missing target.
    EXPECT_NE(report(folder, "kapres --pdf x.pdf").exitCode, 0);
    EXPECT_NE(report(folder, "labels").exitCode, 0);
}

}  // namespace
}  // namespace vemora
