// The Word export read back by python-docx: the table's heading row and rows against the
// data, the texts around the table, the page header and footer, and a file that appears
// whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/reports/prepare.h"
#include "report/docx.h"
#include "support/docxread.h"
#include "support/reportseason.h"
#include "support/testdb.h"

namespace vemora::report {
namespace {

namespace fs = std::filesystem;
using reports::Definition;
using reports::ReportData;
using Rows = std::vector<std::vector<std::string>>;

const char* kDefinition = R"(
side A4 liggende
margener 10 10 10 10
skrift 9
kolonne Nr     "Nr."        10 højre heltal
kolonne Navn   "Navn & by"  40
kolonne Beløb  "Beløb"      20 højre kr
sidehoved
  tekst 0 0 100 fed "Sektion <12>"
  tekst 0 = * højre "{titel}"
sidefod
  tekst 0 0 * midt "Side {side} af {sider}"
rapporthoved
  tekst 0 0 * fed "Kriterier: ""top""\nlinje to"
gruppehoved Grp
  tekst 0 0 * fed "Gruppe {Grp}"
  kolonneoverskrifter +1
detalje
  kolonnefelter
gruppefod Grp
  kolonnetekst Beløb 0 fed "{sum Beløb|kr}"
rapportfod
  tekst 0 0 * "I alt {antal} rækker"
)";

struct Bird {
    int grp, nr;
    std::string navn;
    double belob;
};

class DocxTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<Database> db = Database::create(folder.path() / "t.db");

    std::pair<std::shared_ptr<Definition>, ReportData> build(const std::vector<Bird>& birds) {
        db->exec("CREATE TABLE T (Grp INTEGER, Nr INTEGER, Navn TEXT, Beløb REAL)");
        Statement st = db->prepare("INSERT INTO T VALUES (?, ?, ?, ?)");
        for (const auto& b : birds) st.bindAll({b.grp, b.nr, b.navn, b.belob}).run();
        auto def = std::make_shared<Definition>(reports::parseDefinition(kDefinition, "T.RPT"));
        ReportData data = reports::buildReportData(*db, *def, "SELECT * FROM T ORDER BY Grp, Nr", "Resultatliste");
        return {def, std::move(data)};
    }
};

TEST_F(DocxTest, OneTableWithItsHeadingRowGroupRowsAndTheTextsAroundIt) {
    const std::vector<Bird> birds = {{0, 1, "O'Brien & Søn", 1234.5}, {0, 2, "<Ærø> \"Vest\"", 10},
                                     {1, 3, std::string("Bel\x07le"), 0}, {1, 4, "Åse", 99.95}};
    auto [def, data] = build(birds);
    const fs::path file = folder.path() / "liste.docx";
    std::string error;
    ASSERT_TRUE(writeDocx(*def, data, file, error)) << error;

    test::DocxContent doc = test::readDocx(file);
    ASSERT_TRUE(doc.ok) << doc.error;
    EXPECT_EQ(doc.title, "Resultatliste");
    EXPECT_TRUE(doc.landscape);
    std::vector<std::pair<std::string, std::string>> paragraphs;
    for (const auto& p : doc.paragraphs) paragraphs.emplace_back(p.style, p.text);
    // The first group's heading stands above the table; the report footer below it.
    EXPECT_EQ(paragraphs, (std::vector<std::pair<std::string, std::string>>{{"Heading 1", "Resultatliste"},
                                                                            {"Normal", "Kriterier: \"top\"\nlinje to"},
                                                                            {"Normal", "Gruppe 0"},
                                                                            {"Normal", "I alt 4 rækker"},
                                                                            {"Normal", ""}}));
    ASSERT_EQ(doc.tables.size(), 1u);
    // A control character cannot be in a Word file; the character is left out, not the whole file.
    const Rows expected = {{"Nr.", "Navn & by", "Beløb"},
                           {"1", "O'Brien & Søn", "1.234,50"},
                           {"2", "<Ærø> \"Vest\"", "10,00"},
                           {"", "", "1.244,50"},
                           {"Gruppe 1", "Gruppe 1", "Gruppe 1"},  // one cell across the table
                           {"3", "Belle", "0,00"},
                           {"4", "Åse", "99,95"},
                           {"", "", "99,95"}};
    EXPECT_EQ(doc.tables[0], expected);
    EXPECT_EQ(doc.header, std::vector<std::string>{"Sektion <12>\tResultatliste"});

    // The page number and count are Word's own fields, not the numbers of our pages.
    const std::string footer = docxParts(*def, data).at("word/footer1.xml");
    EXPECT_NE(footer.find("w:instr=\" PAGE \""), std::string::npos);
    EXPECT_NE(footer.find("w:instr=\" NUMPAGES \""), std::string::npos);
    EXPECT_EQ(doc.footer, std::vector<std::string>{"Side  af "});
}

TEST_F(DocxTest, FileIsReplacedWholeOrLeftAsItWas) {
    auto [def, data] = build({{0, 1, "Navn", 1}});
    const fs::path file = folder.path() / "liste.docx";
    std::ofstream(file) << "gammel";
    std::string error;
    const fs::path missing = folder.path() / "mangler" / "liste.docx";
    EXPECT_FALSE(writeDocx(*def, data, missing, error));
    EXPECT_EQ(error, "Word-filen " + missing.string() + " kan ikke skrives: mappen " + (folder.path() / "mangler").string() +
                         " findes ikke.");
    EXPECT_FALSE(writeDocx(*def, data, folder.path(), error));  // a folder is no file name

    ASSERT_TRUE(writeDocx(*def, data, file, error)) << error;
    EXPECT_TRUE(test::readDocx(file).ok);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"liste.docx", "t.db"}));  // no temporary file left beside it
}

// The shipped result list of the fixed season: every placed bird of the race is a row with
// the values the database holds, under the definition's headings.
TEST(DocxSeason, RaceResultListHoldsEveryPlacedBirdOfTheRace) {
    test::TestApp t;
    test::loadReportSeason(t.db());
    test::copyReportDefinitions(t.app.appPath);
    reports::PrintRequest r;
    r.race = 1;
    r.allBirds = true;
    reports::PreparedReport prepared;
    ASSERT_TRUE(reports::PreparePrint(t.app, r, prepared));
    ASSERT_TRUE(prepared.wordExport);
    ReportData data = reports::readReportData(t.app, prepared);
    const fs::path file = t.folder.path() / "kapres.docx";
    std::string error;
    ASSERT_TRUE(writeDocx(*prepared.definition, data, file, error)) << error;
    test::DocxContent doc = test::readDocx(file);
    ASSERT_TRUE(doc.ok) << doc.error;
    ASSERT_EQ(doc.tables.size(), 1u);
    const Rows& rows = doc.tables[0];
    EXPECT_EQ(rows.at(0), (std::vector<std::string>{"Plac.", "Ringnummer", "Køn", "For.", "Slag", "Navn", "Hjem kl",
                                                    "m/min", "Slag pl.", "Point", "Præmie", "Præmier"}));

    RowSet birds = t.db().query(
        "SELECT Ringnummer, Placering, Forening, Slag, Slag_Navn, Slag_Placering || '/' || Slag_Ialt FROM Deltagere "
        "WHERE Kapflyvning = 1 AND Placering > 0");
    std::map<std::string, std::vector<std::string>> expected;
    for (const auto& b : birds.rows)
        expected[b[0].toText()] = {std::to_string(b[1].toInt()), b[0].toText(), b[2].toText(), b[3].toText(), b[4].toText(), b[5].toText()};
    std::map<std::string, std::vector<std::string>> got;
    std::vector<std::string> divisions;
    for (size_t i = 1; i < rows.size(); ++i) {
        const auto& c = rows[i];
        if (std::all_of(c.begin(), c.end(), [&](const std::string& s) { return s == c[0]; })) {
            divisions.push_back(c[0]);
            continue;
        }
        ASSERT_EQ(c.size(), 12u);
        EXPECT_FALSE(got.count(c[1])) << c[1] << " twice";
        got[c[1]] = {c[0], c[1], c[3], c[4], c[5], c[8]};
    }
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(divisions.empty());  // the later divisions' headings are rows of the table
    ASSERT_GE(doc.paragraphs.size(), 3u);
    EXPECT_EQ(doc.paragraphs[0].text, "Kapflyvningsresultat");
    EXPECT_EQ(doc.paragraphs[1].text, "Uge 23  -  95 - Blå skema");
}

}  // namespace
}  // namespace vemora::report
