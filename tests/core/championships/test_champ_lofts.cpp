// Loft and club standings on small seasons worked out by hand from the rules.
#include <gtest/gtest.h>

#include "core/championships/champ_fixture.h"
#include "core/championships/champcalc.h"

namespace vemora {
namespace {

using champtest::Season;

// Four races: two long national flights, a middle one and a section flight; three lofts and
// a loft of a club that is not in the register.
struct PointSeason : Season {
    long long r1, r2, r3, r4;
    PointSeason() {
        r1 = race("91 - Orange skema", 20, {{"LMU", "L"}});
        r2 = race("92 - Blå", 21, {{"LMU", "L"}});
        r3 = race("93 - Grøn", 22, {{"LMU", "M"}});
        r4 = race("95 - Sektion A", 23);
        int n = 0;
        auto bird = [&](long long r, double point, const std::string& club, const std::string& loft, const std::string& name) {
            result(r, "100-26-" + std::to_string(1000 + ++n), {{"Point", point}, {"Forening", club}, {"Slag", loft}, {"Slag_Navn", name}});
        };
        for (double p : {300.0, 500.0, 50.0, 200.0, 100.0}) bird(r1, p, "001", "001", "Hansen");
        bird(r2, 900, "001", "001", "Hansen");
        bird(r2, 0, "001", "001", "Hansen");  // no points: not selected, and not one of the birds per race
        bird(r3, 100, "001", "001", "Hansen");
        bird(r4, 700, "001", "001", "Hansen");
        bird(r1, 500, "001", "002", "Madsen");
        bird(r2, 900, "001", "002", "Madsen");
        bird(r3, 700, "001", "002", "Madsen");
        bird(r4, 900, "001", "002", "Madsen");
        bird(r1, 850, "002", "004", "Jensen");
        bird(r4, 850, "002", "004", "Jensen");
        bird(r1, 1000, "009", "001", "Uden forening");
    }
};

TEST(ChampLofts, PointCountsTheBestBirdsAndFlightsUnderTheKindCaps) {
    PointSeason s;
    s.champ("001", "Point", {{"Antal_duer_pr_slag", 2}, {"Antal_flyvninger", 3}, {"Antal_L_flyvninger", 1}}, {s.r1, s.r2, s.r3, s.r4});
    ASSERT_TRUE(s.calc("001", true)) << s.t.ui.messages().back();
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 3u);  // the unregistered club's loft takes no part
    // Hansen: R1 500+300 (two best of five) L, R2 900 L, R3 100 M, R4 700 S. R2 counts first,
    // then the L cap shuts R1 out, then 700 and 100.
    EXPECT_EQ(st["001/001 Hansen"].points, 1700);
    EXPECT_EQ(s.cells("001/001 Hansen"), (std::vector<std::string>{"", "900", "100", "700", "", "", "", "", "", "", "", "", "", ""}));
    // Madsen: 500 L, 900 L, 700 M, 900 S: the earlier 900 first, then R1 is capped.
    EXPECT_EQ(st["001/002 Madsen"].points, 2500);
    // Jensen: only two flights, 850 each; the earlier one counts first.
    EXPECT_EQ(st["002/004 Jensen"].points, 1700);
    EXPECT_EQ(st["001/002 Madsen"].placering, 1);
    // Equal points and Points2 do not share a placing.
    EXPECT_EQ(st["001/001 Hansen"].placering, 2);
    EXPECT_EQ(st["002/004 Jensen"].placering, 3);
    EXPECT_EQ(st["001/001 Hansen"].points2, Value(0.0));
    EXPECT_EQ(st["001/001 Hansen"].slag, Value("001"));
    EXPECT_EQ(st["001/001 Hansen"].slagnavn, Value("Hansen"));

    // Without counts every selected bird of every flight counts.
    s.champ("002", "Point", {}, {s.r1, s.r2, s.r3, s.r4});
    ASSERT_TRUE(s.calc("002"));
    auto all = s.standings("002");
    EXPECT_EQ(all["001/001 Hansen"].points, 1150 + 900 + 100 + 700);
    EXPECT_EQ(all["001/002 Madsen"].points, 3000);

    // Three flights of 500, 900, 700, 900: both 900s and the 700.
    s.champ("003", "Point", {{"Antal_flyvninger", 3}}, {s.r1, s.r2, s.r3, s.r4});
    ASSERT_TRUE(s.calc("003", true));
    EXPECT_EQ(s.standings("003")["001/002 Madsen"].points, 2500);
    EXPECT_EQ(s.cells("001/002 Madsen")[0], "");
    // The page tables now hold this championship's pages only.
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM CrosstabResult").toInt(), 3);
    EXPECT_EQ(s.db.scalar("SELECT F1 FROM CrosstabHeaders WHERE Page = 0"), Value("20\r\n91 Orange\r\nHamborg"));
    EXPECT_EQ(s.db.scalar("SELECT F4 FROM CrosstabHeaders WHERE Page = 0"), Value("23\r\n95 Sektion\r\nHamborg"));
    EXPECT_TRUE(s.db.scalar("SELECT F5 FROM CrosstabHeaders WHERE Page = 0").isNull());
}

// Cells are formatted as the section's reports always showed them: fifteen significant
// digits, halves away from zero, a decimal comma.
TEST(ChampLofts, CellFormat) {
    using championships::detail::formatPoints;
    EXPECT_EQ(formatPoints(62.5, 0), "63");
    EXPECT_EQ(formatPoints(0.5, 0), "1");
    EXPECT_EQ(formatPoints(0.4999, 0), "0");
    EXPECT_EQ(formatPoints(1234.5678, 0), "1235");
    EXPECT_EQ(formatPoints(999.9995, 3), "1000,000");
    EXPECT_EQ(formatPoints(0.0005, 3), "0,001");
    EXPECT_EQ(formatPoints(0.0004, 3), "0,000");
    EXPECT_EQ(formatPoints(2.0004999999999997, 3), "2,001");  // 2.0005 to fifteen digits
    EXPECT_EQ(formatPoints(1e-9, 3), "0,000");
    EXPECT_EQ(formatPoints(123456789.25, 0), "123456789");
    EXPECT_EQ(formatPoints(-2.5, 0), "-3");
}

TEST(ChampLofts, CapsOnLongFlightsLeaveTheSecondOneOut) {
    Season s;
    long long l1 = s.race("91 - A", 20, {{"LMU", "L"}}), l2 = s.race("91 - B", 21, {{"LMU", "L"}}), m = s.race("92 - C", 22, {{"LMU", "M"}});
    s.result(l1, "100-26-0001", {{"Point", 900.0}});
    s.result(l2, "100-26-0001", {{"Point", 800.0}});
    s.result(m, "100-26-0001", {{"Point", 100.0}});
    s.champ("001", "Point", {{"Antal_flyvninger", 3}, {"Antal_L_flyvninger", 1}}, {l1, l2, m});
    ASSERT_TRUE(s.calc("001"));
    EXPECT_EQ(s.standings("001")["001/001 Hansen"].points, 1000);
}

TEST(ChampLofts, PagesHoldFourteenRacesEach) {
    Season s;
    std::vector<long long> races;
    for (int w = 0; w < 15; ++w) {
        races.push_back(s.race("95 - Sektion " + std::to_string(w), 20 + w));
        s.result(races.back(), "100-26-0001", {{"Point", 10.0 * (w + 1)}});
    }
    s.champ("001", "Point", {}, races);
    ASSERT_TRUE(s.calc("001", true));
    EXPECT_EQ(s.standings("001")["001/001 Hansen"].points, 1200);
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM CrosstabHeaders").toInt(), 2);
    EXPECT_EQ(s.db.scalar("SELECT F1 FROM CrosstabHeaders WHERE Page = 1"), Value("34\r\n95 Sektion\r\nHamborg"));
    EXPECT_TRUE(s.db.scalar("SELECT F2 FROM CrosstabHeaders WHERE Page = 1").isNull());
    EXPECT_EQ(s.cells("001/001 Hansen", 0)[13], "140");
    EXPECT_EQ(s.cells("001/001 Hansen", 1)[0], "150");
    EXPECT_EQ(s.cells("001/001 Hansen", 1)[1], "");
}

TEST(ChampLofts, NorwegianPlacingPointsAndDistanceFactors) {
    Season s;
    long long n1 = s.race("95 - A", 20), n2 = s.race("95 - B", 21);
    // Race of 10: placings 1, 3 give 100 and 40; placing 5 gives 100 - 120, so 0.
    s.result(n1, "100-26-0001", {{"Placering", 1}, {"Kapflyvning_ialt", 10}});
    s.result(n1, "100-26-0002", {{"Placering", 3}, {"Kapflyvning_ialt", 10}});
    s.result(n1, "200-26-0001", {{"Placering", 5}, {"Kapflyvning_ialt", 10}, {"Forening", "002"}, {"Slag_Navn", "Berg"}});
    // Race of 8: placing 2 gives 100 - 37.5.
    s.result(n2, "100-26-0001", {{"Placering", 2}, {"Kapflyvning_ialt", 8}});
    s.result(n2, "100-26-0003", {{"Placering", 0}, {"Kapflyvning_ialt", 8}});  // not placed
    s.champ("001", "NO Plac.point", {}, {n1, n2});
    ASSERT_TRUE(s.calc("001", true));
    auto st = s.standings("001");
    EXPECT_EQ(st["001/001 Hansen"].points, 202.5);
    // A loft whose only flight is worth nothing still stands, with 0 points.
    ASSERT_EQ(st.count("002/001 Berg"), 1u);
    EXPECT_EQ(st["002/001 Berg"].points, 0);
    EXPECT_EQ(st["002/001 Berg"].placering, 2);
    // Whole points round halves away from zero; with decimals three places and a comma.
    EXPECT_EQ(s.cells("001/001 Hansen")[1], "63");
    EXPECT_EQ(s.cells("002/001 Berg")[0], "0");
    ASSERT_TRUE(s.calc("001", true, true));
    EXPECT_EQ(s.cells("001/001 Hansen")[0], "140,000");
    EXPECT_EQ(s.cells("001/001 Hansen")[1], "62,500");

    // Distance factors: mean 300 km gives 2, 150 km gives 1, no distance gives 1 and Null.
    long long k1 = s.race("95 - K1", 30), k2 = s.race("95 - K2", 31), k3 = s.race("95 - K3", 32);
    for (auto [r, a, b] : {std::tuple{k1, Value(290.0), Value(310.0)}, {k2, Value(150.0), Value(150.0)}, {k3, Value(), Value()}}) {
        s.result(r, "100-26-0001", {{"Placering", 1}, {"Kapflyvning_ialt", 4}, {"Afstand", a}});
        s.result(r, "100-26-0009", {{"Placering", 0}, {"Kapflyvning_ialt", 4}, {"Afstand", b}});
    }
    s.champ("002", "NO Km-tillæg", {}, {k1, k2, k3});
    ASSERT_TRUE(s.calc("002"));
    EXPECT_EQ(s.standings("002")["001/001 Hansen"].points, 400);
    EXPECT_EQ(calctest::raceField(s.db, k1, "Middelafstand"), Value(300.0));
    EXPECT_EQ(calctest::raceField(s.db, k2, "Middelafstand"), Value(150.0));
    EXPECT_TRUE(calctest::raceField(s.db, k3, "Middelafstand").isNull());
    // Without factor rows every race has factor 1.
    s.db.exec("DELETE FROM KM_faktorer");
    ASSERT_TRUE(s.calc("002"));
    EXPECT_EQ(s.standings("002")["001/001 Hansen"].points, 300);
}

TEST(ChampLofts, HbCountsFastBirdsAndRanksEqualCountsByMeanPlacing) {
    Season s;
    long long h1 = s.race("95 - H1", 20), h2 = s.race("95 - H2", 21);
    auto bird = [&](long long r, const std::string& ring, double speed, Value plac, int ialt, const std::string& club) {
        s.result(r, ring, {{"Meter / min", speed}, {"Placering", plac}, {"Kapflyvning_ialt", ialt}, {"Forening", club},
                           {"Slag_Navn", club == "001" ? "A" : "B"}});
    };
    bird(h1, "100-26-0001", 1300, 1, 10, "001");
    bird(h1, "100-26-0002", 1200, 4, 10, "001");
    bird(h1, "100-26-0003", 1100, 6, 10, "001");
    bird(h1, "100-26-0004", 0, Value(), 10, "001");  // did not come home
    bird(h2, "100-26-0001", 1250, 2, 5, "001");
    bird(h1, "200-26-0001", 1250, 2, 10, "002");
    bird(h1, "200-26-0002", 1220, 3, 10, "002");
    bird(h2, "200-26-0001", 1300, 1, 5, "002");
    bird(h2, "200-26-0002", 1200, 3, 5, "002");

    s.champ("001", "HB", {}, {h1, h2});
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    EXPECT_EQ(st["001/001 A"].points, 4);
    EXPECT_DOUBLE_EQ(st["001/001 A"].points2.toDouble(), 375);  // (0.1 + 0.4 + 0.6 + 0.4) * 1000 / 4
    EXPECT_EQ(st["002/001 B"].points, 4);
    EXPECT_DOUBLE_EQ(st["002/001 B"].points2.toDouble(), 325);
    EXPECT_EQ(st["002/001 B"].placering, 1);

    // One flight: A's three birds beat B's two; B's equal flights go by the lower fraction.
    s.champ("002", "HB", {{"Antal_flyvninger", 1}}, {h1, h2});
    ASSERT_TRUE(s.calc("002"));
    st = s.standings("002");
    EXPECT_EQ(st["001/001 A"].points, 3);
    EXPECT_DOUBLE_EQ(st["002/001 B"].points2.toDouble(), 250);
    EXPECT_EQ(st["001/001 A"].placering, 1);

    // One bird per flight: the fastest of each loft.
    s.champ("003", "HB", {{"Antal_duer_pr_slag", 1}}, {h1, h2});
    ASSERT_TRUE(s.calc("003"));
    st = s.standings("003");
    EXPECT_DOUBLE_EQ(st["001/001 A"].points2.toDouble(), 250);
    EXPECT_DOUBLE_EQ(st["002/001 B"].points2.toDouble(), 200);

    // No bird counted at all: 0 points and no mean.
    s.champ("004", "HB", {{"Antal_duer_pr_slag", 0}}, {h1, h2});
    ASSERT_TRUE(s.calc("004"));
    EXPECT_EQ(s.standings("004")["001/001 A"].points, 0);
    EXPECT_TRUE(s.standings("004")["001/001 A"].points2.isNull());
}

TEST(ChampLofts, HalfPointsAndClubStandings) {
    Season s;
    long long q = s.race("95 - Q", 20);
    s.result(q, "100-26-0001", {{"Points1000", 1000.0}, {"PointsPlac", 1000.0}, {"Point", 1000.0}});
    s.result(q, "100-26-0002", {{"Points1000", 900.0}, {"PointsPlac", 800.0}, {"Point", 900.0}});
    s.result(q, "100-26-0003", {{"Points1000", 0.0}, {"PointsPlac", 500.0}, {"Point", 100.0}, {"Slag", "002"}, {"Slag_Navn", "Madsen"}});
    s.result(q, "100-26-0004", {{"Points1000", 0.0}, {"PointsPlac", 0.0}, {"Point", 0.0}});
    s.result(q, "200-26-0001", {{"Points1000", 990.0}, {"PointsPlac", 990.0}, {"Point", 990.0}, {"Forening", "002"}});
    s.champ("001", "½ points, ½ koef.", {}, {q});
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    EXPECT_EQ(st["001/001 Hansen"].points, 1850);
    EXPECT_EQ(st["001/002 Madsen"].points, 250);

    // The club is the unit: its two best birds of the race, whatever their loft.
    s.champ("002", "Forening/point", {{"Antal_duer_pr_slag", 2}}, {q});
    ASSERT_TRUE(s.calc("002", true));
    st = s.standings("002");
    ASSERT_EQ(st.size(), 2u);
    EXPECT_EQ(st["001 Alfa"].points, 1900);
    EXPECT_TRUE(st["001 Alfa"].slag.isNull());
    EXPECT_TRUE(st["001 Alfa"].slagnavn.isNull());
    EXPECT_EQ(st["002 Beta"].points, 990);
    EXPECT_EQ(s.cells("001 Alfa")[0], "1900");
}

}  // namespace
}  // namespace vemora
