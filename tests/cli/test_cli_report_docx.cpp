// vemora-cli report ... --docx: the result lists go to Word with the same choice of rows as
// the printed list; printouts that are no result list are refused and leave the file alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/docxread.h"
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

TEST(ReportDocx, WritesTheResultListsAndRefusesTheOtherPrintouts) {
    test::TestApp t;
    test::loadReportSeason(t.db());
    test::copyReportDefinitions(t.folder.path());
    const fs::path docx = t.folder.path() / "resultat.docx";

    // Each loft's best bird only, as the printed list without "alle beregnede duer".
    auto r = report(t.folder.path(), "race-results --race 4 --docx " + shellQuote(docx.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Kapflyvningsresultat (KAPRES.RPT)"), std::string::npos) << r.out;
    test::DocxContent doc = test::readDocx(docx);
    ASSERT_TRUE(doc.ok) << doc.error;
    ASSERT_EQ(doc.tables.size(), 1u);
    const long long lofts = t.db().query("SELECT count(*) FROM Deltagere WHERE Kapflyvning = 4 AND Slag_Placering = 1").rows[0][0].toInt();
    long long rows = 0;
    for (size_t i = 1; i < doc.tables[0].size(); ++i) rows += doc.tables[0][i][8].substr(0, 2) == "1/";
    EXPECT_EQ(rows, lofts);
    EXPECT_GT(lofts, 0);

    // The section winners in landscape, like their printout.
    const fs::path winners = t.folder.path() / "vindere.docx";
    r = report(t.folder.path(), "champ --section-winners --docx " + shellQuote(winners.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(test::readDocx(winners).landscape);

    std::ofstream(docx) << "forrige";
    r = report(t.folder.path(), "labels --docx " + shellQuote(docx.string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Fejl: Udskriften \"Adresselabels\" kan ikke gemmes som Word-fil."), std::string::npos) << r.err;
    EXPECT_EQ(test::readBytes(docx), "forrige");
    r = report(t.folder.path(), "race-results --race 1 --docx " + shellQuote((t.folder.path() / "mangler" / "x.docx").string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Word-filen"), std::string::npos) << r.err;
    EXPECT_EQ(report(t.folder.path(), "race-results --race 1 --pdf a.pdf --docx b.docx").exitCode == 0, false);
}

}  // namespace
}  // namespace vemora
