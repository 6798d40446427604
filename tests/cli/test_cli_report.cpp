// vemora-cli report on a fixed small season: every report definition renders to PDF, and the
// text of its pages (pdftotext -layout) is the checked-in expected text. A deliberate change of
// a layout is accepted by running the tests with VEMORA_UPDATE_GOLDEN=1, which rewrites the
// expected files in tests/data/reports/golden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/process.h"
#include "support/reportseason.h"
#include "support/testdb.h"

namespace vemora {
namespace {

namespace fs = std::filesystem;
using test::runCommand;
using test::shellQuote;

test::ProcessResult report(const fs::path& folder, const std::string& args) {
    return runCommand(std::string(VEMORA_CLI_PATH) + " --folder " + shellQuote(folder.string()) + " report " + args);
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string pdfText(const fs::path& pdf) { return runCommand("pdftotext -layout " + shellQuote(pdf.string()) + " -").out; }

struct GoldenCase {
    const char* definition;
    const char* args;
};

// One option combination per definition, each choosing that definition.
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
};

class ReportGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    static void SetUpTestSuite() {
        season_ = new test::TestApp;
        test::loadReportSeason(season_->db());
        test::copyReportDefinitions(season_->folder.path());
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
    const std::string expected = readFile(golden);
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
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return fs::path(info.param.definition).stem().string();
                         });

}  // namespace
}  // namespace vemora
