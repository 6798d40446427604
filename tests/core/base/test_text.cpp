#include <gtest/gtest.h>

#include <vector>

#include "core/base/dates.h"
#include "core/base/text.h"
#include "support/files.h"
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
    EXPECT_EQ(test::readBytes(f.path() / "UD.TXT"), "S\xf8nderborg \x80\r\n" + line + "\r\n");
    EXPECT_FALSE(Cp1252Writer(f.path() / "no" / "such" / "folder.txt").ok());
}

namespace {

std::vector<std::string> readLines(const test::TempFolder& f, const std::string& bytes, bool* wasUtf8 = nullptr) {
    Cp1252Reader r(f.write("file.txt", bytes));
    EXPECT_TRUE(r.isOpen());
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) {
        lines.push_back(line);
        EXPECT_EQ(r.lineNumber(), lines.size());
    }
    if (wasUtf8) *wasUtf8 = r.wasUtf8();
    return lines;
}

}  // namespace

TEST(Text, ReaderEndsLinesAtCrLfLfOrALoneCr) {
    test::TempFolder f;
    std::string head = "0123\r\n\r\n1aa\n\n2bb\r2cc\r";
    // The CR of the next CR LF is the last byte of the reader's first 64 KiB, its LF the first
    // byte of the second: still one line end.
    std::string longLine(65535 - head.size(), 'x');
    auto lines = readLines(f, head + longLine + "\r\nlast");
    EXPECT_EQ(lines, (std::vector<std::string>{"0123", "", "1aa", "", "2bb", "2cc", longLine, "last"}));
    EXPECT_EQ(readLines(f, "a\rb\r"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(readLines(f, "\r\n"), std::vector<std::string>{""});
    EXPECT_TRUE(readLines(f, "").empty());
    EXPECT_FALSE(Cp1252Reader(f.path() / "missing").isOpen());
    EXPECT_FALSE(Cp1252Reader(f.path()).isOpen());  // a folder
}

TEST(Text, ReaderTurnsUtf8IntoWindows1252AndLeavesWindows1252Alone) {
    test::TempFolder f;
    const std::string cp = "2S\xF8ren \x80 \xC6\xD8\xC5";  // "2Søren € ÆØÅ" in Windows-1252
    bool utf8 = true;
    EXPECT_EQ(readLines(f, cp + "\r\n", &utf8), std::vector<std::string>{cp});
    EXPECT_FALSE(utf8);
    // The same text written as UTF-8, with and without a byte-order mark.
    const std::string u = "2S\xC3\xB8ren \xE2\x82\xAC \xC3\x86\xC3\x98\xC3\x85";
    EXPECT_EQ(readLines(f, u + "\r\n", &utf8), std::vector<std::string>{cp});
    EXPECT_TRUE(utf8);
    EXPECT_EQ(readLines(f, "\xEF\xBB\xBF" + u + "\n" + u, &utf8), (std::vector<std::string>{cp, cp}));
    EXPECT_TRUE(utf8);
    // A mark before plain ASCII is dropped; a letter the code page lacks keeps its one position.
    EXPECT_EQ(readLines(f, "\xEF\xBB\xBF" "01233.A\r\n"), std::vector<std::string>{"01233.A"});
    EXPECT_EQ(readLines(f, "a\xC5\x82" "b\xF0\x9F\x90\xA6" "c"), std::vector<std::string>{"a?b?c"});
    // Anything that is not valid UTF-8 anywhere in the file leaves every line as it was:
    // Windows-1252 letters, an overlong form, a surrogate, a sequence cut off at the end.
    for (const std::string& odd : {std::string("\xC0\xAF"), std::string("\xED\xA0\x80"), std::string("\xC3")}) {
        EXPECT_EQ(readLines(f, u + "\r\n" + odd, &utf8), (std::vector<std::string>{u, odd})) << odd;
        EXPECT_FALSE(utf8);
    }
    EXPECT_EQ(readLines(f, u + "\r\n" + cp, &utf8), (std::vector<std::string>{u, cp}));
    EXPECT_FALSE(utf8);
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
