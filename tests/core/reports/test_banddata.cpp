// The band data of a printout: group breaks, headers from the first row of a group, footers
// from the last with their totals, conditions, sorting and the Danish formats.
#include <gtest/gtest.h>

#include "core/reports/banddata.h"
#include "support/testdb.h"

namespace vemora::reports {
namespace {

TEST(ReportFormat, NumbersDatesTimesAndCrossesAreDanish) {
    EXPECT_EQ(danishNumber(1234567.5, 2), "1.234.567,50");
    EXPECT_EQ(danishNumber(999.995, 2), "1.000,00");
    EXPECT_EQ(danishNumber(2.675, 2), "2,68");  // half away from zero, though stored as 2.67499..
    EXPECT_EQ(danishNumber(-1234.5, 0), "-1.235");
    EXPECT_EQ(danishNumber(-0.001, 2), "0,00");
    EXPECT_EQ(danishNumber(0.05, 1), "0,1");
    EXPECT_EQ(clockTime("7:05"), "07:05:00");
    EXPECT_EQ(clockTime("07.05.09"), "07:05:09");
    EXPECT_EQ(clockTime("7:5:61x"), "7:5:61x");

    auto fmt = [](const Value& v, const char* f) {
        Format format;
        EXPECT_TRUE(parseFormat(f, format)) << f;
        return formatValue(v, format);
    };
    EXPECT_EQ(fmt(1234.5, "kr"), "1.234,50");
    EXPECT_EQ(fmt(Value(), "kr"), "");
    EXPECT_EQ(fmt(0.0, "kr|uden0"), "");
    EXPECT_EQ(fmt("12,5", "tal2"), "12,50");  // a number kept as text
    EXPECT_EQ(fmt("abc", "tal2"), "abc");
    EXPECT_EQ(fmt(2.5, "heltal"), "3");
    EXPECT_EQ(fmt("2026-06-06", "dato"), "06-06-2026");
    EXPECT_EQ(fmt(1, "kryds"), "X");
    EXPECT_EQ(fmt(0, "kryds"), "");
    EXPECT_EQ(fmt(1234.5678, "tekst"), "1234.5678");
    Format general;
    EXPECT_EQ(formatValue(1234.5, general), "1234,5");
    EXPECT_EQ(formatValue(7, general), "7");
    Format f;
    EXPECT_FALSE(parseFormat("kroner", f));
    EXPECT_FALSE(parseFormat("uden0|kr", f));
}

class BandDataTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<Database> db = Database::create(folder.path() / "t.db");

    void SetUp() override {
        db->exec(
            "CREATE TABLE T (Klub TEXT, Slag TEXT, Navn TEXT, Beløb DOUBLE, Flag INTEGER);"
            "INSERT INTO T VALUES ('001', 'A', 'Ib', 10, 1), ('001', 'A', 'Bo', 2.5, 0), ('001', 'B', 'Åse', NULL, 1),"
            "('002', 'A', 'Ole', 100, 0), ('002', 'A', NULL, 1000.25, 1);");
    }

    // Each instance as band letter and its texts: "H0 001", "D Ib|10,00".
    std::vector<std::string> run(const std::string& def, const std::string& sql = "SELECT * FROM T") {
        Definition d = parseDefinition(def, "T.RPT");
        ReportData data = buildReportData(*db, d, sql, "Titlen");
        std::vector<std::string> out;
        for (const auto& in : data.instances) {
            const Band& b = d.band(in.band);
            std::string s = b.kind == BandKind::GroupHeader   ? "H" + std::to_string(b.level)
                            : b.kind == BandKind::GroupFooter ? "F" + std::to_string(b.level)
                            : b.kind == BandKind::Detail      ? "D"
                            : b.kind == BandKind::ReportHeader ? "RH"
                                                               : "RF";
            for (int t = 0; t < b.textCount; ++t) s += (t ? "|" : " ") + std::string(data.text(in.firstText + t));
            out.push_back(s);
        }
        return out;
    }
};

TEST_F(BandDataTest, GroupsBreakOnTheirFieldsAndFootersCarryTheirTotals) {
    auto got = run(R"(
rapporthoved
  tekst 0 0 10 "{titel}: {Klub}"
gruppehoved Klub
  tekst 0 0 10 "{Klub}"
gruppehoved Slag
  tekst 0 0 10 "{Slag}"
detalje
  tekst 0 0 10 "{Navn}"
  tekst 0 0 10 "{Beløb|kr}"
gruppefod Slag
  tekst 0 0 10 "{Slag} {antal} {antal Beløb} {sum Beløb|kr}"
gruppefod Klub
  tekst 0 0 10 "{Navn} {min Beløb|tal1} {maks Beløb|tal1} {gns Beløb|tal2}"
rapportfod
  tekst 0 0 10 "{antal} {sum Beløb|kr}"
)");
    std::vector<std::string> expected = {
        "RH Titlen: 001", "H0 001", "H1 A", "D Ib|10,00", "D Bo|2,50", "F1 A 2 2 12,50", "H1 B", "D Åse|",
        "F1 B 1 0 0,00",  // the footer takes the group's last row; a sum of nothing is 0
        "F0 Åse 2,5 10,0 6,25", "H0 002", "H1 A", "D Ole|100,00", "D |1.000,25", "F1 A 2 2 1.100,25", "F0  100,0 1.000,3 550,13",
        "RF 5 1.112,75"};
    EXPECT_EQ(got, expected);
}

TEST_F(BandDataTest, ConditionsHiddenBandsSortingAndFormulas) {
    auto got = run(R"(
sortering Beløb faldende
formel Dobbelt = Beløb * 2 + [Flag]
formel Del = Beløb / Flag
formel Nul = Beløb / 0
detalje skjul
gruppefod Flag hvis Flag
  tekst 0 0 10 "{Flag}: {sum Dobbelt|tal1} {Del|tal1}{Nul}"
  tekst 0 0 10 hvis Navn "{Navn}"
rapportfod
  tekst 0 0 10 "{sum Beløb|tal2}"
)");
    // Sorted by amount, highest first; a group is a run of equal values, so Flag makes four
    // runs; only runs with Flag true are printed; Null counts as 0 in a formula.
    std::vector<std::string> expected = {"F0 1: 2.001,5 1.000,3|", "F0 1: 21,0 10,0|Ib", "F0 1: 1,0 0,0|Åse", "RF 1.112,75"};
    EXPECT_EQ(got, expected);
}

TEST_F(BandDataTest, UnknownFieldsNameTheDefinitionAndDuplicateColumnsAreNumbered) {
    EXPECT_THROW(
        {
            try {
                run("detalje\n  tekst 0 0 10 \"{Adresse}\"");
            } catch (const DefinitionError& e) {
                EXPECT_STREQ(e.what(), "Rapportdefinitionen T.RPT bruger feltet \"Adresse\", som ikke findes i udskriftens data.");
                throw;
            }
        },
        DefinitionError);
    auto got = run("detalje\n  tekst 0 0 10 \"{Navn} {navn:1} {NAVN:2}\"",
                   "SELECT a.Navn, b.Navn, 'x' AS Navn FROM T a JOIN T b ON a.Klub = b.Klub AND a.Navn < b.Navn "
                   "ORDER BY a.Navn, b.Navn LIMIT 1");
    EXPECT_EQ(got, (std::vector<std::string>{"D Bo Ib x"}));
}

TEST_F(BandDataTest, WithoutRowsOnlyTheReportBandsArePrintedAndPageBandsKeepThePageNumber) {
    Definition d = parseDefinition(R"(
sidefod
  tekst 0 0 10 "{Klub} side {side} af {sider}"
rapporthoved
  tekst 0 0 10 "[{Klub}]"
gruppehoved Klub
  tekst 0 0 10 "{Klub}"
detalje
  tekst 0 0 10 "{Navn}"
rapportfod
  tekst 0 0 10 "{antal}"
)",
                                   "T.RPT");
    ReportData none = buildReportData(*db, d, "SELECT * FROM T WHERE 0", "x");
    ASSERT_EQ(none.instances.size(), 2u);
    EXPECT_EQ(none.text(0), "[]");
    EXPECT_EQ(none.text(1), "0");
    EXPECT_EQ(none.rowCount, 0u);

    ReportData some = buildReportData(*db, d, "SELECT * FROM T", "x");

    EXPECT_EQ(ReportData::pageText(some.pageFooterTexts.at(0), 2, 13), "001 side 2 af 13");
    EXPECT_EQ(some.firstRowValue("navn"), "Ib");
    EXPECT_EQ(some.rowCount, 5u);
}

TEST_F(BandDataTest, TableHeadingsTakeTheirFieldsFromTheFirstRow) {
    Definition d = parseDefinition(R"(
sortering Beløb faldende
kolonne Navn "Navn i {Klub}" 30
kolonne Beløb "{titel}" 20 højre kr
detalje
  kolonnefelter
)",
                                   "T.RPT");
    ReportData data = buildReportData(*db, d, "SELECT * FROM T WHERE Beløb IS NOT NULL", "Beløb");
    EXPECT_EQ(data.columnHeadings, (std::vector<std::string>{"Navn i 002", "Beløb"}));
    ASSERT_EQ(data.instances.size(), 4u);
    EXPECT_EQ(data.text(data.instances[0].firstText + 1), "1.000,25");
}

}  // namespace
}  // namespace vemora::reports
