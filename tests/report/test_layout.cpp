// Pages of the report engine: where bands break, what repeats on a new page, labels on a
// sheet, one diploma per page, alignment, and a PDF file that appears whole or not at all.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <filesystem>
#include <fstream>

#include "report/document.h"
#include "support/pagetexts.h"
#include "support/testdb.h"

namespace vemora::report {
namespace {

using reports::Definition;
using reports::ReportData;
using test::contains;
using test::pageTexts;

class LayoutTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<Database> db = Database::create(folder.path() / "t.db");

    // n rows: Grp = row / perGroup, Nr = row.
    void rows(int n, int perGroup) {
        db->exec("CREATE TABLE T (Grp INTEGER, Nr INTEGER, Navn TEXT)");
        Statement st = db->prepare("INSERT INTO T VALUES (?, ?, ?)");
        for (int i = 0; i < n; ++i) st.bindAll({i / perGroup, i, "Navn " + std::to_string(i)}).run();
    }

    std::unique_ptr<ReportDocument> document(const std::string& def, const std::string& sql = "SELECT * FROM T ORDER BY Nr") {
        auto d = std::make_shared<Definition>(reports::parseDefinition(def, "T.RPT"));
        auto data = std::make_shared<ReportData>(reports::buildReportData(*db, *d, sql, "Titel"));
        return std::make_unique<ReportDocument>(d, data, folder.path());
    }
};

// Ten-millimetre rows on a page with 100 mm of room: a header, ten rows.
const char* kGroups = R"(
side 100 x 130
margener 10 10 10 10
skrift 8
sidehoved
  tekst 0 0 * "Top"
  tekst 0 = * højre "Side {side} af {sider}"
gruppehoved Grp gentag hold 3 højde 10
  tekst 0 0 * fed "Gruppe {Grp}"
detalje højde 10
  tekst 0 0 * "{Navn}"
gruppefod Grp højde 10
  tekst 0 0 * "Sum {antal}"
)";

TEST_F(LayoutTest, GroupHeadersKeepTheirFirstRowsAndRepeatOnTheNextPage) {
    rows(14, 5);  // groups of 5, 5, 4
    auto doc = document(kGroups);
    // Page 1 holds group 0 (70 mm of 106.5); group 1's header would fit with one row, not
    // with three, so it starts page 2.
    auto p1 = pageTexts(*doc, 0);
    EXPECT_TRUE(contains(p1, "Sum 5"));
    EXPECT_FALSE(contains(p1, "Gruppe 1"));
    EXPECT_EQ(pageTexts(*doc, 1).at(2), "Gruppe 1");
    ASSERT_EQ(doc->pageCount(), 3);
    for (int p = 0; p < doc->pageCount(); ++p)
        EXPECT_TRUE(contains(pageTexts(*doc, p), "Side " + std::to_string(p + 1) + " af 3"));
    // No band crosses the bottom margin.
    for (int p = 0; p < doc->pageCount(); ++p)
        for (const auto& t : doc->pageTexts(p)) EXPECT_LT(t.pos.y(), 120 * 100) << t.text.toStdString();

    // A group of nine rows fills page 1; its footer goes on page 2 under the repeated header.
    db->exec("DROP TABLE T");
    rows(13, 9);
    doc = document(kGroups);
    auto p2 = pageTexts(*doc, 1);
    ASSERT_GE(p2.size(), 5u);
    EXPECT_EQ(p2[2], "Gruppe 0");
    EXPECT_EQ(p2[3], "Sum 9");
    EXPECT_EQ(p2[4], "Gruppe 1");
}

TEST_F(LayoutTest, WithoutRepeatAGroupContinuesWithoutItsHeader) {
    rows(20, 20);
    std::string def = kGroups;
    def.replace(def.find(" gentag"), 7, "");
    auto doc = document(def);
    ASSERT_EQ(doc->pageCount(), 3);
    EXPECT_EQ(pageTexts(*doc, 1).at(2), "Navn 9");
}

TEST_F(LayoutTest, RightAlignedNumbersEndAtTheirColumnsRightEdge) {
    rows(3, 3);
    auto doc = document(R"(
side A4 stående
margener 15 10 15 10
mellemrum 2
kolonne Navn "Navn" 30
kolonne Nr   "Nr"   20 højre tal2
detalje
  kolonnefelter
rapportfod
  kolonnetekst Nr 0 fed "{sum Nr|tal2}"
)");
    for (const auto& t : doc->pageTexts(0)) {
        if (t.text == "Navn 0" || t.text.startsWith("Navn")) {
            EXPECT_NEAR(t.pos.x(), 15 * 100, 0.5);
            continue;
        }
        QFontMetricsF fm(t.font);
        EXPECT_NEAR(t.pos.x() + fm.horizontalAdvance(t.text), (15 + 30 + 2 + 20) * 100, 5) << t.text.toStdString();
    }
    EXPECT_TRUE(contains(pageTexts(*doc, 0), "3,00"));
}

TEST_F(LayoutTest, LabelsFillTheSheetRowByRowAndDiplomasTakeAPageEach) {
    rows(20, 20);
    auto labels = document(R"(
side A4 stående
margener 0 0 0 0
etiketter 2 x 8
detalje
  tekst 5 5 90 "{Navn}"
)");
    ASSERT_EQ(labels->pageCount(), 2);
    auto first = labels->pageTexts(0);
    ASSERT_EQ(first.size(), 16u);
    EXPECT_EQ(first[1].text, "Navn 1");
    EXPECT_NEAR(first[1].pos.x() - first[0].pos.x(), 105 * 100, 1);
    EXPECT_NEAR(first[2].pos.y() - first[0].pos.y(), 297.0 / 8 * 100, 1);
    EXPECT_EQ(labels->pageTexts(1).size(), 4u);

    auto diplomas = document("side A4 stående\ndetalje nyside\n  tekst 0 100 * midt \"{Navn}\"");
    EXPECT_EQ(diplomas->pageCount(), 20);
    EXPECT_EQ(pageTexts(*diplomas, 19), (std::vector<std::string>{"Navn 19"}));
}

TEST_F(LayoutTest, WrappedTextMakesItsBandTallerAndPushesTheNextBand) {
    db->exec("CREATE TABLE T (Nr INTEGER, Navn TEXT); INSERT INTO T VALUES (1, 'kort'), (2, '" +
             std::string(40, 'x') + " " + std::string(40, 'y') + " " + std::string(40, 'z') + "'), (3, 'efter')");
    auto doc = document(R"(
detalje
  tekst 0 0 40 ombryd "{Navn}"
)");
    auto t = doc->pageTexts(0);
    ASSERT_EQ(t.size(), 3u);
    const double line = QFontMetricsF(t[0].font).lineSpacing();
    EXPECT_NEAR(t[1].pos.y() - t[0].pos.y(), line, 1);
    EXPECT_GT(t[2].pos.y() - t[1].pos.y(), 2.5 * line);
}

TEST_F(LayoutTest, PdfIsWrittenWholeOrNotAtAll) {
    rows(5, 5);
    auto doc = document(kGroups);
    std::string error;
    const auto target = folder.path() / "ud.pdf";
    std::ofstream(target) << "gammel";
    EXPECT_FALSE(writePdf(*doc, folder.path() / "mangler" / "ud.pdf", error));
    EXPECT_EQ(error, "PDF-filen " + (folder.path() / "mangler" / "ud.pdf").string() + " kan ikke skrives: mappen " +
                         (folder.path() / "mangler").string() + " findes ikke.");
    EXPECT_FALSE(writePdf(*doc, folder.path(), error));

    ASSERT_TRUE(writePdf(*doc, target, error)) << error;
    std::ifstream in(target, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) files += e.path().extension() != ".db";
    EXPECT_EQ(files, 1);  // no temporary file left beside it
}

}  // namespace
}  // namespace vemora::report
