// Standings on small seasons worked out by hand, one per family of point rules. They anchor
// the literal reference the generated comparison trusts; the breadth is the comparison's.
#include <gtest/gtest.h>

#include "core/championships/champ_fixture.h"
#include "core/championships/champcalc.h"

namespace vemora {
namespace {

using champtest::Season;
using Cells = std::vector<std::string>;

// Cells are formatted as the section's reports always showed them: fifteen significant
// digits, halves away from zero, a decimal comma.
TEST(ChampLofts, CellFormat) {
    const std::tuple<double, int, const char*> cases[] = {
        {62.5, 0, "63"},           {0.5, 0, "1"},          {0.4999, 0, "0"},      {999.9995, 3, "1000,000"},
        {0.0005, 3, "0,001"},      {0.0004, 3, "0,000"},   {1e-9, 3, "0,000"},    {123456789.25, 0, "123456789"},
        {2.0004999999999997, 3, "2,001"},  // 2.0005 to fifteen digits
        {-2.5, 0, "-3"},
    };
    for (auto [v, decimals, text] : cases) EXPECT_EQ(championships::detail::formatPoints(v, decimals), text) << v;
}

// Four races: two long national flights, a middle one and a section flight; three lofts and
// a loft of a club that is not in the register.
TEST(ChampLofts, PointCountsTheBestBirdsAndFlightsUnderTheKindCaps) {
    Season s;
    long long r1 = s.race("91 - Orange skema", 20, {{"LMU", "L"}}), r2 = s.race("92 - Blå", 21, {{"LMU", "L"}}),
              r3 = s.race("93 - Grøn", 22, {{"LMU", "M"}}), r4 = s.race("95 - Sektion A", 23);
    int n = 0;
    auto bird = [&](long long r, double point, const std::string& club, const std::string& loft, const std::string& name) {
        s.result(r, "100-26-" + std::to_string(1000 + ++n), {{"Point", point}, {"Forening", club}, {"Slag", loft}, {"Slag_Navn", name}});
    };
    for (double p : {300.0, 500.0, 50.0, 200.0, 100.0}) bird(r1, p, "001", "001", "Hansen");
    for (auto [r, p] : {std::pair{r2, 900.0}, {r2, 0.0}, {r3, 100.0}, {r4, 700.0}}) bird(r, p, "001", "001", "Hansen");
    for (auto [r, p] : {std::pair{r1, 500.0}, {r2, 900.0}, {r3, 700.0}, {r4, 900.0}}) bird(r, p, "001", "002", "Madsen");
    bird(r1, 850, "002", "004", "Jensen");
    bird(r4, 850, "002", "004", "Jensen");
    bird(r1, 1000, "009", "001", "Uden forening");
    s.champ("001", "Point", {{"Antal_duer_pr_slag", 2}, {"Antal_flyvninger", 3}, {"Antal_L_flyvninger", 1}}, {r1, r2, r3, r4});
    ASSERT_TRUE(s.calc("001", true)) << s.t.ui.messages().back();
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 3u);  // the unregistered club's loft takes no part
    // Hansen: R1 500+300 (two best of five) L, R2 900 L, R3 100 M, R4 700 S. R2 counts first,
    // then the L cap shuts R1 out, then 700 and 100.
    EXPECT_EQ(st["001/001 Hansen"].points, 1700);
    EXPECT_EQ(s.cells("001/001 Hansen"), (Cells{"", "900", "100", "700", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(st["001/002 Madsen"].points, 2500);
    EXPECT_EQ(st["002/004 Jensen"].points, 1700);
    // Equal points and Points2 do not share a placing: the earlier standing goes first.
    EXPECT_EQ((std::vector<long long>{st["001/002 Madsen"].placering, st["001/001 Hansen"].placering, st["002/004 Jensen"].placering}),
              (std::vector<long long>{1, 2, 3}));
    EXPECT_EQ(s.db.scalar("SELECT F1 FROM CrosstabHeaders WHERE Page = 0"), Value("20\r\n91 Orange\r\nHamborg"));

    // Without counts every selected bird of every flight counts.
    s.champ("002", "Point", {}, {r1, r2, r3, r4});
    ASSERT_TRUE(s.calc("002"));
    EXPECT_EQ(s.standings("002")["001/001 Hansen"].points, 1150 + 900 + 100 + 700);
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
    s.champ("001", "NO Plac.point", {}, {n1, n2});
    ASSERT_TRUE(s.calc("001", true, true));
    auto st = s.standings("001");
    EXPECT_EQ(st["001/001 Hansen"].points, 202.5);
    // A loft whose only flight is worth nothing still stands, with 0 points.
    EXPECT_EQ(st["002/001 Berg"].points, 0);
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
    EXPECT_TRUE(calctest::raceField(s.db, k3, "Middelafstand").isNull());
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
}

TEST(ChampBirds, CoefficientNeedsEnoughTopFifthPlacingsAndRanksLowestFirst) {
    Season s;
    std::vector<long long> c;
    for (int i = 0; i < 4; ++i) c.push_back(s.race("95 - C" + std::to_string(i), 20 + i));
    auto placed = [&](int race, const std::string& ring, int placering, const std::string& club = "001") {
        s.result(c[race], ring, {{"Placering", placering}, {"Kapflyvning_ialt", 20}, {"Point", 500.0}, {"Forening", club}});
    };
    for (auto [race, pl] : {std::pair{0, 1}, {1, 2}, {2, 4}, {3, 3}}) placed(race, "100-26-0001", pl);
    for (auto [race, pl] : {std::pair{0, 1}, {1, 5}, {2, 2}}) placed(race, "100-26-0002", pl);  // 5 is outside the best fifth of 20
    for (auto [race, pl] : {std::pair{0, 2}, {1, 3}, {2, 4}}) placed(race, "200-26-0001", pl, "002");
    s.champ("001", "Es-due-koefficient", {{"Antal_flyvninger", 3}}, c);
    ASSERT_TRUE(s.calc("001", true));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 2u);  // the bird with two such placings is left out
    const std::string x = "100-26-0001 001/001 Hansen";
    EXPECT_DOUBLE_EQ(st[x].points, 0.05 + 0.10 + 0.15);
    EXPECT_DOUBLE_EQ(st["200-26-0001 002/001 Hansen"].points, 0.45);
    EXPECT_EQ(st[x].placering, 1);
    // The coefficient is always shown with three decimals.
    EXPECT_EQ(s.cells(x), (Cells{"0,050", "0,100", "", "0,150", "", "", "", "", "", "", "", "", "", ""}));
}

TEST(ChampBirds, QuotasPerKindMustBeFilledExactly) {
    Season s;
    std::vector<long long> races;
    for (int i = 0; i < 3; ++i) races.push_back(s.race("91 - L" + std::to_string(i), 20 + i, {{"LMU", "L"}}));
    for (int i = 0; i < 4; ++i) races.push_back(s.race("95 - S" + std::to_string(i), 24 + i));
    // Points per race, 0 where the bird did not fly: three long flights, then four others.
    const std::pair<const char*, std::vector<double>> birds[] = {
        {"100-26-0001", {900, 800, 700, 600, 500, 400, 300}},
        {"100-26-0002", {900, 0, 0, 600, 500, 400, 300}},  // one long flight short
        {"100-26-0003", {900, 800, 0, 600, 500, 0, 0}},    // one free flight short
    };
    for (const auto& [ring, points] : birds)
        for (size_t i = 0; i < points.size(); ++i)
            if (points[i] > 0) s.result(races[i], ring, {{"Point", points[i]}, {"Placering", 1}, {"Kapflyvning_ialt", 10}});
    s.champ("001", "Due/point", {{"Antal_flyvninger", 5}, {"Antal_L_flyvninger", 2}}, races);
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 1u);
    // Two long flights and three others; the third long flight does not count as a free one.
    EXPECT_EQ(st["100-26-0001 001/001 Hansen"].points, 900 + 800 + 600 + 500 + 400);
}

}  // namespace
}  // namespace vemora
