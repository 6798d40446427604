// Reading report definitions: the table of columns becomes placed texts, and a wrong file is
// refused with a Danish message that names the file and the line.
#include <gtest/gtest.h>

#include "core/base/text.h"
#include "core/reports/definition.h"
#include "support/testdb.h"

namespace vemora::reports {
namespace {

TEST(ReportDefinition, ColumnsBecomeTextsPlacedSideBySide) {
    Definition d = parseDefinition(R"(# a comment
side A4 liggende
margener 10 11 12 13
skrift "DejaVu Serif" 10
mellemrum 2
sortering Forening, Uge faldende
kolonne Placering "Plac."  8 højre heltal
kolonne "{Slag_Placering}/{Slag_Ialt}" "Slag pl." 12 midt
kolonne "" "Beløb" 20 højre
gruppehoved Forening, Slag nyside gentag hold 3 hvis Slag
  kolonneoverskrifter +1.5 str 7
detalje
  kolonnefelter
gruppefod Forening Slag
  kolonnetekst Beløb = fed "{sum Præmie|kr|uden0}"
)",
                                   "TEST.RPT");
    EXPECT_TRUE(d.landscape);
    EXPECT_DOUBLE_EQ(d.pageWidth, 297);
    EXPECT_DOUBLE_EQ(d.marginBottom, 13);
    EXPECT_EQ(d.font.family, "DejaVu Serif");
    ASSERT_EQ(d.sort.size(), 2u);
    EXPECT_TRUE(d.sort[1].descending);

    // The header and the footer name the same fields, so they are one group.
    ASSERT_EQ(d.groups.size(), 1u);
    const Band& h = d.groups[0].header;
    EXPECT_TRUE(h.newPage && h.repeat);
    EXPECT_EQ(h.keep, 3);
    EXPECT_EQ(h.ifField, "Slag");
    ASSERT_EQ(h.items.size(), 3u);
    EXPECT_DOUBLE_EQ(h.items[1].x, 10);  // 8 + 2
    EXPECT_DOUBLE_EQ(h.items[2].x, 24);  // 8 + 2 + 12 + 2
    EXPECT_EQ(h.items[0].ymode, YMode::Below);
    EXPECT_DOUBLE_EQ(h.items[0].y, 1.5);
    EXPECT_EQ(h.items[1].ymode, YMode::SameLine);
    EXPECT_TRUE(h.items[0].font.bold);
    EXPECT_DOUBLE_EQ(h.items[0].font.size, 7);

    const Band& det = d.detail;
    ASSERT_EQ(det.textCount, 3);
    EXPECT_EQ(det.items[0].align, Align::Right);
    EXPECT_EQ(det.items[0].text.segments[0].format.kind, FormatKind::Integer);
    EXPECT_EQ(det.items[1].text.segments.size(), 3u);  // field, "/", field

    const Item& sum = d.groups[0].footer.items.at(0);
    EXPECT_DOUBLE_EQ(sum.x, 24);
    EXPECT_DOUBLE_EQ(sum.width, 20);
    EXPECT_EQ(sum.align, Align::Right);
    ASSERT_EQ(sum.text.segments.size(), 1u);
    EXPECT_EQ(sum.text.segments[0].kind, Segment::Aggregated);
    EXPECT_EQ(sum.text.segments[0].text, "Præmie");
    EXPECT_TRUE(sum.text.segments[0].format.blankZero);
}

TEST(ReportDefinition, TextsAndItemsReadTheirOptions) {
    Definition d = parseDefinition(R"(side 102 x 37
etiketter 1 x 1
sidehoved
  tekst 0 0 * midt "Side {side} af {sider} - {titel} {{x}}"
detalje
  tekst 5 3,5 60 fed kursiv str 12 ombryd hvis Navn "{Navn}\nnæste linje"
  streg 0 + * tykkelse 0.5
  boks 1 2 30 10
  billede 1 2 30 10 "LOGO.BMP"
)",
                                   "L.RPT");
    EXPECT_DOUBLE_EQ(d.pageWidth, 102);
    ASSERT_TRUE(d.labels.has_value());
    const auto& ph = d.pageHeader.items[0].text.segments;
    ASSERT_EQ(ph.size(), 7u);
    EXPECT_EQ(ph[1].kind, Segment::Page);
    EXPECT_EQ(ph[3].kind, Segment::Pages);
    EXPECT_EQ(ph[5].kind, Segment::Title);
    EXPECT_EQ(ph[6].text, " {x}");
    const Item& t = d.detail.items[0];
    EXPECT_DOUBLE_EQ(t.y, 3.5);
    EXPECT_TRUE(t.wrap && t.font.bold && t.font.italic);
    EXPECT_EQ(t.ifField, "Navn");
    EXPECT_EQ(t.text.segments.at(1).text, "\nnæste linje");
    EXPECT_LT(d.detail.items[1].width, 0);
    EXPECT_EQ(d.detail.items[2].kind, Item::Box);
    EXPECT_EQ(d.detail.items[3].image, "LOGO.BMP");
}

TEST(ReportDefinition, MistakesAreNamedWithFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"detalje\n  tekts 0 0 10 \"x\"", "linje 2: ukendt nøgleord \"tekts\""},
        {"detalje\n  tekst 0 0 10 \"x", "linje 2: anførselstegnet lukkes ikke"},
        {"tekst 0 0 10 \"x\"\ndetalje", "linje 1: \"tekst\" står før den første sektion"},
        {"detalje\n  tekst 0 0 10 \"{sum Præmie}\"", "linje 2: summer og antal kan kun bruges i gruppefødder og rapportfoden"},
        {"detalje\n  tekst 0 0 10 \"{side}\"", "linje 2: {side} og {sider} kan kun bruges i sidehoved og sidefod"},
        {"detalje\n  tekst 0 0 10 \"{Præmie|kroner}\"", "linje 2: ukendt format \"kroner\""},
        {"detalje\n  tekst 0 0 10 \"{Præmie\"", "linje 2: \"{\" lukkes ikke"},
        {"side A4 skæv\ndetalje", "linje 1: papirets retning skal være \"stående\" eller \"liggende\""},
        {"margener 10 x 10 10\ndetalje", "linje 1: \"x\" er ikke et tal"},
        {"detalje gentag", "linje 1: \"gentag\" gælder kun gruppehoveder"},
        {"kolonne Navn \"Navn\" 20\ndetalje\n  kolonnetekst Adresse 0 \"x\"", "linje 3: der er ingen kolonne \"Adresse\""},
        {"detalje\n  kolonnefelter", "linje 2: \"kolonnefelter\" kræver, at kolonnerne er beskrevet før den"},
        {"formel A = (B + 2\ndetalje", "linje 1: \")\" mangler i formlen \"A\""},
        {"etiketter 2 x 8\ngruppehoved Nr\ndetalje", "linje 2: en etiketrapport kan ikke have grupper"},
        {"detalje\ndetalje", "linje 2: sektionen står der allerede"},
        {"sidehoved\n  tekst 0 0 10 \"x\"", "sektionen \"detalje\" mangler"},
    };
    for (const auto& c : cases) {
        try {
            parseDefinition(c.text, "KAPRES.RPT");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const DefinitionError& e) {
            std::string m = e.what();
            EXPECT_EQ(m.rfind("Fejl i rapportdefinitionen KAPRES.RPT", 0), 0u) << m;
            EXPECT_NE(m.find(c.message), std::string::npos) << m;
        }
    }
}

TEST(ReportDefinition, FilesAreFoundWithoutRegardToCaseAndMayBeInTheWindowsCodePage) {
    test::TempFolder f;
    f.write("kapres.rpt", "detalje\n  tekst 0 0 10 \"" + utf8ToCp1252("Præmie på én linje") + "\"\n");
    Definition d = loadDefinition(f.path(), "KAPRES.RPT");
    EXPECT_EQ(d.detail.items[0].text.segments[0].text, "Præmie på én linje");

    try {
        loadDefinition(f.path(), "Stat.RPT");
        ADD_FAILURE();
    } catch (const DefinitionError& e) {
        EXPECT_EQ(std::string(e.what()), "Rapportdefinitionen Stat.RPT findes ikke i programmappen " + f.path().string() + ".");
    }
}

}  // namespace
}  // namespace vemora::reports
