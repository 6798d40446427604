// The fixed-width fields of the race plan and the statistics lines, position by position.
#include <gtest/gtest.h>

#include "core/stats/statformat.h"

using namespace vemora;

namespace {

struct NumberCase {
    Value v;
    int intDigits, decimals;
    const char* expected;
};

TEST(StatFormat, NumbersRoundHalfAwayFromZeroOnTheirDecimalValue) {
    const NumberCase cases[] = {
        {1000.005, 4, 2, "1000,01"},  // the double lies just below ...,005
        {2.675, 4, 2, "0002,68"},
        {0.125, 4, 2, "0000,13"},
        {12.5, 5, 0, "00013"},
        {-12.5, 5, 0, "-00013"},
        {12.4999, 5, 0, "00012"},
        {999.995, 4, 2, "1000,00"},  // the carry runs into a new digit
        {9.999996, 5, 5, "00010,00000"},
        {333.333333333333, 5, 5, "00333,33333"},
        {0.000005, 5, 5, "00000,00001"},
        {1e-7, 5, 5, "00000,00000"},
        {-0.001, 4, 2, "0000,00"},  // no minus on a zero
        {123456.789, 4, 2, "123456,79"},
        {1e21, 5, 0, "1000000000000000000000"},
        {Value(125), 5, 0, "00125"},
        {Value(-7), 5, 0, "-00007"},
        {Value(9007199254740993LL), 5, 0, "9007199254740993"},  // whole numbers never pass through a double
        {Value(0.0), 5, 5, "00000,00000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.v, c.intDigits, c.decimals), c.expected) << c.v.toText();
}

StatRow fullRow() {
    StatRow r;
    r.uge = 23;
    r.kk = "95";
    r.hastighed = 1234.567;
    r.ringnummer = "123-45-6789";
    r.forening = "7";
    r.kodenr = "12";
    r.nrEgne = 1;
    r.antalEgne = 4;
    r.nrForening = 3;
    r.antalForening = 120;
    r.nrSektion = 19;
    r.antalSektion = 100;
    r.station = "5";
    r.point = 987.654321;
    r.antalSlag = 40;
    return r;
}

TEST(StatFormat, StatisticsLineNullRules) {
    StatRow r;  // every field Null
    std::string expected = "9" "00" "  " "       " "         " "000" "000" "00000" "00000" "00000" "00000" "00000" "00000"
                           "00000" "000" "00000.00000" "00000";
    EXPECT_EQ(statLine(r, true), expected);
    EXPECT_EQ(statLine(r, false).size(), 78u);
}

TEST(StatFormat, StatisticsLineOverlongAndOddValues) {
    StatRow r = fullRow();
    r.hastighed = 12345.678;  // "12345,68": its last seven characters
    r.nrEgne = 123456;
    r.antalSlag = 1234567.0;
    r.kk = "9";
    r.station = "Ø1";
    r.forening = "ő";  // no such letter in Windows-1252
    std::string line = statLine(r, true);
    ASSERT_EQ(line.size(), 81u);
    EXPECT_EQ(line.substr(3, 2), " 9");
    EXPECT_EQ(line.substr(5, 7), "2345,68");
    EXPECT_EQ(line.substr(21, 3), "00?");
    EXPECT_EQ(line.substr(27, 5), "23456");
    EXPECT_EQ(line.substr(62, 3), std::string("0\xD8" "1"));
    EXPECT_EQ(line.substr(76, 5), "34567");

    // Ring numbers by position: the hyphens of a proper one fall out, a damaged one keeps the
    // columns after it in place.
    const std::pair<const char*, const char*> rings[] = {
        {"045-24-1234", "045241234"}, {"123-45-67", "123455-67"}, {"AB", "ABAB     "}, {"", "         "}};
    for (auto [ring, due] : rings) {
        r.ringnummer = ring;
        EXPECT_EQ(statLine(r, false).substr(12, 9), due) << ring;
        EXPECT_EQ(statLine(r, false).size(), 78u) << ring;
    }
}

TEST(StatFormat, PlanRaceLine) {
    PlanRace r;
    r.uge = 7;
    r.farvekode = "95 - Blå skema";
    r.station = "12";
    r.gebyr = 125;
    r.lmu = "m";
    r.klP = true;
    r.klE = false;
    r.klZ = 1;
    r.klR = Value();
    r.slagspilS = true;
    r.slagspilA = false;
    r.slagspilU = true;
    r.slagspilX = true;
    r.gebyrSlag = 12.5;
    //                   wk   cc   stn   fee      L   P   E   Z   R   S   A   U   X   reserved       loft fee
    std::string expected = "07" "95" "012" "00125" "2" "1" "0" "1" "0" "1" "0" "1" "1" "         " "00013";
    EXPECT_EQ(planRaceLine(r), expected);
    EXPECT_EQ(expected.size(), 35u);

    PlanRace empty;  // a race with nothing filled in
    EXPECT_EQ(planRaceLine(empty), "00" "00" "000" "00000" "0" "00000000" "         " "00000");
    const std::pair<Value, const char*> lmu[] = {{"L", "1"}, {"l", "1"}, {"U", "3"}, {"X", "0"}, {"LM", "0"}};
    for (const auto& [v, c] : lmu) {
        r.lmu = v;
        EXPECT_EQ(planRaceLine(r).substr(12, 1), c) << v.toText();
    }
}

TEST(StatFormat, StakesLine) {
    EXPECT_EQ(stakesLine(std::nullopt), std::string(39, '0'));
    PlanStakes s;
    for (int i = 0; i < 6; ++i) {
        s.a[i] = i + 1;
        s.b[i] = 10.0 * (i + 1);
    }
    s.b[5] = Value();
    s.klP = 2.5;
    s.klE = 15;
    s.slagspil = 100;
    s.klZ = Value();
    s.klR = 7;
    EXPECT_EQ(stakesLine(s), "010203040506" "102030405000" "003" "015" "100" "000" "007");
}

}  // namespace
