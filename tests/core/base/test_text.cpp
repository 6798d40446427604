#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/base/dates.h"
#include "core/base/text.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

// Windows-1252 0x80..0x9F as the code page defines them; 0 where it defines nothing.
const char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::string utf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) out += static_cast<char>(cp);
    else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace

TEST(Text, Windows1252TableAndEveryByteRoundTrips) {
    for (int b = 0x80; b < 0xA0; ++b) {
        std::string byte(1, static_cast<char>(b));
        char32_t cp = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : static_cast<char32_t>(b);
        EXPECT_EQ(cp1252ToUtf8(byte), utf8(cp)) << std::hex << b;
    }
    EXPECT_EQ(cp1252ToUtf8("R\xe6v \xf8l \xe5 \xc6\xd8\xc5"), "Ræv øl å ÆØÅ");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);  // the five undefined bytes included
    EXPECT_EQ(utf8ToCp1252("日 \xff"), "? ?");        // not in the code page; broken UTF-8
}

TEST(Text, WriterPlacesFixedWidthFieldsAndEndsLinesWithCrLf) {
    std::string line = "2";
    placeField(line, 4, 5, "Åse Kjærgård");  // cut to the width
    placeField(line, 2, 2, "9");              // padded
    EXPECT_EQ(line, "29 \xc5se K");
    test::TempFolder f;
    {
        Cp1252Writer w(f.path() / "UD.TXT");
        w.line("Sønderborg €");
        w.encodedLine(line);
        EXPECT_TRUE(w.ok());
    }
    std::ifstream in(f.path() / "UD.TXT", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), "S\xf8nderborg \x80\r\n" + line + "\r\n");
    EXPECT_FALSE(Cp1252Writer(f.path() / "no" / "such" / "folder.txt").ok());
}

TEST(Text, CaseInsensitiveEqualityFoldsDanishLetters) {
    EXPECT_TRUE(iequals("SEKDATA.MDB", "sekdata.mdb"));
    EXPECT_TRUE(iequals("Z-spils-præmier_INIT", "z-SPILS-PRÆMIER_init"));
    EXPECT_TRUE(iequals("ÆØÅÄÖ", "æøåäö"));
    EXPECT_FALSE(iequals("Ærø", "Aerø"));
    EXPECT_FALSE(iequals("×", "÷"));  // the one Latin-1 pair that is no letter
    EXPECT_FALSE(iequals("abc", "abcd"));
    EXPECT_FALSE(iequals("\xc3", "\xe3"));  // broken UTF-8 compares as bytes
}

TEST(Text, NumbersAsTypedOrStored) {
    struct Case {
        const char* text;
        std::optional<double> value;
        bool whole;
    };
    const Case cases[] = {
        {"7", 7, true},       {"\t7 ", 7, true},   {"-12", -12, true},   {"+3", 3, true},
        {"1,5", 1.5, false},  {"2.25", 2.25, false}, {",5", 0.5, false}, {"3.", 3, false},
        {"", {}, false},      {" ", {}, false},    {"7abc", {}, false},  {"1,5,3", {}, false},
        {"1e3", {}, false},   {"-", {}, false},    {",", {}, false},     {"1 000", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumber(c.text), c.value) << "'" << c.text << "'";
        EXPECT_EQ(isWholeNumber(c.text), c.whole) << "'" << c.text << "'";
    }
}

TEST(Text, PaddingMidAndCharacters) {
    EXPECT_EQ(padZero("7", 3), "007");
    EXPECT_EQ(padZero("1234", 3), "1234");
    EXPECT_EQ(mid("SEK12301", 4, 3), "123");
    EXPECT_EQ(mid("abc", 9), "");
    EXPECT_EQ(utf8Length("Ålborg"), 6u);
    EXPECT_EQ(trim(" \t x y \t"), "x y");
}

TEST(Dates, StoredDatesShowAsDayMonthYear) {
    EXPECT_EQ(danishDate("2026-05-09"), "09-05-2026");
    EXPECT_EQ(danishDate("2026-05-09 07:15:00"), "09-05-2026");
    EXPECT_EQ(danishDate("09-05-26"), "09-05-26");  // not ISO: as stored
    EXPECT_EQ(danishDate("2026-02-30"), "2026-02-30");
}
