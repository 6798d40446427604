#include <gtest/gtest.h>

#include <type_traits>

#include "core/base/text.h"
#include "core/import/clubfile.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

struct NameCase {
    const char* name;
    bool listed;
    const char* club;
    const char* week;
};

// A line of blanks with texts placed at 1-based positions.
std::string lineWith(std::initializer_list<std::pair<size_t, std::string>> parts, size_t length = 0) {
    std::string s(length, ' ');
    for (const auto& [pos, text] : parts) {
        if (s.size() < pos - 1 + text.size()) s.resize(pos - 1 + text.size(), ' ');
        s.replace(pos - 1, text.size(), text);
    }
    return s;
}

std::string text(const Value& v) { return v.isNull() ? "-" : v.toText(); }
template <typename T>
std::string text(const std::optional<T>& k) {
    if (!k) return "~";  // not in the layout, or left as it was
    if constexpr (std::is_same_v<T, Value>) return text(*k);
    else if constexpr (std::is_same_v<T, bool>) return *k ? "1" : "0";
    else return *k;
}

// Every field of a bird line, in the order of the line.
std::string describe(const BirdRecord& b) {
    std::string out = b.cc + " " + text(b.slag) + " " + b.ring + " " + text(b.kon) + " " + (b.sportsdue ? "X" : ".") + " " +
                      std::to_string(b.sektionA) + std::to_string(b.sektionB) + std::to_string(b.gruppeA) +
                      std::to_string(b.gruppeB) + " " + (b.pulje ? "P" : ".") + (b.elite ? "E" : ".") + " " + text(b.hjemkomst) +
                      " " + text(b.korrigeret) + " " + text(b.dogn) + " " + text(b.speed) + " |";
    for (const std::string& f : {text(b.foreningskryds), text(b.foreningskrydsT), text(b.junior), text(b.pensionist),
                                 text(b.begynder), text(b.kode[0]) + text(b.kode[1]) + text(b.kode[2]), text(b.klZ),
                                 text(b.klR), text(b.afstand), text(b.omrade), text(b.slagNavn)})
        out += " " + f;
    return out;
}

}  // namespace

TEST(ImportReader, FileNamingRule) {
    const NameCase cases[] = {
        {"SEK12301.U23", true, "123", "23"},   {"sek12301.u5", true, "123", "5"},   {"SEK1201.U23", true, "12", "23"},
        {"SEK00701.U53", true, "007", "53"},   {"SEK1.U2", false, "", ""},          {"SEK12301.U", false, "", ""},
        {"SEK12301.X23", false, "", ""},       {"XEK12301.U23", false, "", ""},     {"SEK12301", false, "", ""},
        // A week the season cannot have is refused like any other bad name.
        {"SEK12301.U01", true, "123", "01"},   {"SEK12301.U0", false, "", ""},      {"SEK12301.U00", false, "", ""},
        {"SEK12301.U54", false, "", ""},       {"SEK12301.U99", false, "", ""},     {"SEK00701.U123", false, "", ""},
        {"SEK12301.U2a", false, "", ""},       {"SEK12301.U-1", false, "", ""},
    };
    for (const auto& c : cases) {
        auto n = parseClubFileName(c.name);
        ASSERT_EQ(n.has_value(), c.listed) << c.name;
        if (!n) continue;
        EXPECT_EQ(n->club, c.club) << c.name;
        EXPECT_EQ(n->week, c.week) << c.name;
        std::string entry = clubFileEntry(*n);
        EXPECT_EQ(entry, std::string("Forening ") + c.club + " uge " + c.week);
        ClubFileName back = entryToClubFile(entry);
        EXPECT_EQ(back.club, c.club);
        EXPECT_EQ(back.week, c.week);
    }
}

TEST(ImportReader, FolderListingAndPathFromEntry) {
    test::TempFolder f;
    f.write("SEK12301.U23", "0123\r\n");
    f.write("SEK00701.U9", "");
    f.write("sek04501.u23", "");
    f.write("SEK1.U2", "");
    f.write("SEK12301.U", "");
    f.write("SEK12301.U99", "");
    f.write("README.TXT", "");
    std::filesystem::create_directory(f.path() / "SEK99901.U1");  // a folder, not a file
    auto entries = listClubFiles(f.path());
    EXPECT_EQ(entries, (std::vector<std::string>{"Forening 007 uge 9", "Forening 123 uge 23", "Forening 045 uge 23"}));
    EXPECT_EQ(clubFilePath(f.path(), "Forening 123 uge 23"), f.path() / "SEK12301.U23");
    // The case of the file on disk is found even where names are case-sensitive.
    EXPECT_EQ(clubFilePath(f.path(), "Forening 045 uge 23").filename(), "sek04501.u23");
    EXPECT_TRUE(listClubFiles(f.path() / "missing").empty());
}

TEST(ImportReader, VersionSelectsLayoutAsText) {
    const std::pair<const char*, Layout> cases[] = {
        {"", Layout::L1},    {"1.1", Layout::L1}, {"1.2", Layout::L2},  {"2.1", Layout::L2}, {"2.2", Layout::L3},
        {"3.0", Layout::L3}, {"3.1", Layout::L4}, {"3.10", Layout::L4}, {"3.7", Layout::L4}, {"3.8", Layout::L5},
        {"3.9", Layout::L5}, {"3.A", Layout::L6}, {"3.B", Layout::L6},  {"4", Layout::L6},
    };
    for (const auto& [v, l] : cases) EXPECT_EQ(layoutForVersion(v), l) << v;
    // The examples of the header line: 01233.8 is L5, 01233.A L6, 01233.10 L4.
    EXPECT_EQ(layoutForVersion(parseHeader("01233.8").version), Layout::L5);
    EXPECT_EQ(layoutForVersion(parseHeader("01233.A").version), Layout::L6);
    EXPECT_EQ(layoutForVersion(parseHeader("01233.10").version), Layout::L4);
    for (Layout l : {Layout::L1, Layout::L2, Layout::L3, Layout::L4, Layout::L5, Layout::L6})
        EXPECT_EQ(layoutForVersion(versionForLayout(l)), l);
}

TEST(ImportReader, HeaderClubVersionAndName) {
    HeaderRecord h = parseHeader("01233.8");
    EXPECT_EQ(h.club, "123");
    EXPECT_EQ(h.version, "3.8");
    EXPECT_TRUE(h.name.isNull());
    h = parseHeader("0123\xC6r\xF8 3.A");  // "Ærø 3.A": the name stops three before the end
    EXPECT_EQ(h.name, Value("Ærø "));
    EXPECT_EQ(parseHeader("01").club, "1");
}

TEST(ImportReader, BirdFieldsUpToPosition52) {
    std::string line = lineWith({{1, "2"}, {2, "95"}, {4, "012"}, {7, "123"}, {10, "26"}, {12, "4567"}, {16, "U"},
                                 {17, "X"}, {18, "3"}, {19, "6"}, {20, "1"}, {21, "2"}, {22, "X"}, {24, "071533"},
                                 {30, "071600"}, {36, "2"}, {37, "        1234.567"}});
    EXPECT_EQ(describe(parseBird(line, Layout::L1)),
              "95 012 123-26-4567 U X 3612 P. 07:15:33 07:16:00 2 1234.567 | ~ ~ ~ ~ ~ ~~~ ~ ~ ~ ~ -");
}

TEST(ImportReader, ShortLineReadsAsBlanks) {
    EXPECT_EQ(describe(parseBird("295", Layout::L6)), "95 -    -  -     - . 0000 .. - - - - | ~ - ~ ~ ~ ~~~ 0 0 - - -");
}

// Every field from position 53 by layout: position of the club cross, junior, pensioner,
// beginner, first code, Z, R, distance, area and loft name (0 = not in the layout).
struct LayoutCase {
    Layout layout;
    size_t kryds, junior, pens, begyn, kode, z, r, afstand, omrade, navn;
    const char* fields;  // as read
};

TEST(ImportReader, PositionsFrom53ByLayout) {
    const LayoutCase cases[] = {
        {Layout::L1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 53, "| ~ ~ ~ ~ ~ ~~~ ~ ~ ~ ~ Søren O'Brien"},
        {Layout::L2, 53, 54, 0, 0, 0, 0, 0, 0, 0, 55, "| 1 K 1 ~ ~ ~~~ ~ ~ ~ ~ Søren O'Brien"},
        {Layout::L3, 53, 54, 55, 56, 57, 60, 61, 0, 0, 62, "| 1 K 1 1 1 789 1 1 ~ ~ Søren O'Brien"},
        {Layout::L4, 53, 54, 55, 56, 57, 60, 61, 62, 0, 69, "| 1 K 1 1 1 789 1 1 123.456 ~ Søren O'Brien"},
        {Layout::L5, 53, 54, 55, 56, 57, 60, 61, 62, 69, 74, "| 1 K 1 1 1 789 1 1 123.456 Øst Søren O'Brien"},
        {Layout::L6, 53, 63, 64, 65, 66, 69, 70, 71, 78, 83, "| 1 K 1 1 1 789 1 1 123.456 Øst Søren O'Brien"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        std::string line = lineWith({{1, "295"}, {7, "123"}, {10, "26"}, {12, "4567"}}, 52);
        auto place = [&](size_t pos, const std::string& s) {
            if (!pos) return;
            if (line.size() < pos - 1 + s.size()) line.resize(pos - 1 + s.size(), ' ');
            line.replace(pos - 1, s.size(), s);
        };
        place(c.kryds, "K");
        place(c.junior, "J");
        place(c.pens, "P");
        place(c.begyn, "B");
        place(c.kode, "789");
        place(c.z, "Z");
        place(c.r, "R");
        place(c.afstand, "0123456");
        place(c.omrade, utf8ToCp1252(" Øst "));
        line.resize(c.navn - 1, ' ');
        line += utf8ToCp1252("Søren O'Brien");
        std::string fields = describe(parseBird(line, c.layout));
        EXPECT_EQ(fields.substr(fields.find('|')), c.fields);
    }
}

TEST(ImportReader, FlagsCodesAndDistanceConversions) {
    // L6: a club cross text of ten characters, trimmed; a junior mark other than J is False.
    std::string line = lineWith({{1, "295"}, {53, " AB       "}, {63, "N"}, {71, "01234 6"}}, 90);
    // Position 53 blank: the cross is left as it was; "01234 6" is no distance; the name is
    // the rest of the line, unchanged.
    std::string fields = describe(parseBird(line, Layout::L6));
    EXPECT_EQ(fields.substr(fields.find('|')), "| ~ AB 0 ~ ~ ~~~ 0 0 - - " + std::string(8, ' '));
}

TEST(ImportReader, RaceRecord) {
    RaceRecord r = parseRace("195120697 7.15   007 Sankt Hans' Plads  ", 2026);
    EXPECT_EQ(r.cc, "95");
    ASSERT_TRUE(r.date);
    EXPECT_EQ(isoDate(*r.date), "1997-06-12");
    EXPECT_EQ(r.timeField, " 7.15");
    EXPECT_EQ(r.time, "7.15");
    EXPECT_EQ(r.station, "007");
    EXPECT_EQ(r.stationName, "Sankt Hans' Plads");

    r = parseRace("19512ab56     ", 2026);
    EXPECT_FALSE(r.date);
    EXPECT_TRUE(r.time.empty());
    EXPECT_FALSE(r.station);
    EXPECT_EQ(r.stationName, "");
    // A day past the month's end rolls over as a date serial does.
    EXPECT_EQ(isoDate(*parseRace("191310226", 2026).date), "2026-03-03");
    EXPECT_EQ(isoDate(*parseRace("191010180", 2026).date), "1980-01-01");
}

TEST(ImportReader, PaymentLoftGameAndFactorLines) {
    PaymentRecord p = parsePayment("4950000012500");
    EXPECT_EQ(p.cc, "95");
    EXPECT_EQ(p.amount, Value(12500));
    EXPECT_TRUE(parsePayment("495").amount.isNull());

    FactorRecord f = parseFactor("501000001250");
    EXPECT_EQ(f.km, Value(100));
    EXPECT_EQ(f.faktor, Value(1.25));

    LoftGameRecord g = parseLoftGame("395012M\xF8ller");
    EXPECT_EQ(g.slag, "012");
    EXPECT_EQ(g.slagNavn, Value("Møller"));
    EXPECT_TRUE(parseLoftGame("395012").slagNavn.isNull());
}

TEST(ImportReader, LettersInNumberFieldsAreRefused) {
    std::string good = lineWith({{1, "29501212326"}, {12, "4567"}, {24, "071533"}, {37, "1234.5"}}, 60);
    EXPECT_NO_THROW(parseBird(good, Layout::L4));
    const std::pair<size_t, std::string> bad[] = {{18, "x"}, {19, "B"}, {20, "-"}, {24, "07x533"}, {24, "256000"},
                                                  {36, "a"}, {37, "12ab"},  {37, "1.2.3"}};
    for (const auto& [pos, text] : bad) {
        std::string line = good;
        line.replace(pos - 1, text.size(), text);
        EXPECT_THROW(parseBird(line, Layout::L4), ClubFileDataError) << pos << " " << text;
    }
    EXPECT_THROW(parsePayment("49500001250AB"), ClubFileDataError);
    EXPECT_THROW(parseFactor("5010A0001250"), ClubFileDataError);
    EXPECT_THROW(parseFactor("5"), ClubFileDataError);
    EXPECT_THROW(colourIndex("9A"), ClubFileDataError);
    EXPECT_EQ(colourIndex("07"), 7);
    // A decimal comma is taken like a point.
    EXPECT_EQ(parseBird(lineWith({{1, "295"}, {37, "  1234,5"}}), Layout::L1).speed, Value(1234.5));
}
