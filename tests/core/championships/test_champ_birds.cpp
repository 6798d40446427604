// Single-bird standings on small seasons worked out by hand from the rules.
#include <gtest/gtest.h>

#include "core/championships/champ_fixture.h"

namespace vemora {
namespace {

using champtest::Season;

TEST(ChampBirds, CoefficientNeedsEnoughTopFifthPlacingsAndRanksLowestFirst) {
    Season s;
    std::vector<long long> c;
    for (int i = 0; i < 4; ++i) c.push_back(s.race("95 - C" + std::to_string(i), 20 + i));
    auto placed = [&](int race, const std::string& ring, int placering, const std::string& club = "001") {
        s.result(c[race], ring, {{"Placering", placering}, {"Kapflyvning_ialt", 20}, {"Point", 500.0}, {"Forening", club}});
    };
    for (auto [race, pl] : {std::pair{0, 1}, {1, 2}, {2, 4}, {3, 3}}) placed(race, "100-26-0001", pl);
    placed(0, "100-26-0002", 1);
    placed(1, "100-26-0002", 5);  // outside the best fifth of 20
    placed(2, "100-26-0002", 2);
    for (auto [race, pl] : {std::pair{0, 2}, {1, 3}, {2, 4}}) placed(race, "200-26-0001", pl, "002");

    s.champ("001", "Es-due-koefficient", {{"Antal_flyvninger", 3}}, c);
    ASSERT_TRUE(s.calc("001", true));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 2u);  // the bird with two such placings is left out
    const std::string x = "100-26-0001 001/001 Hansen";
    EXPECT_DOUBLE_EQ(st[x].points, 0.05 + 0.10 + 0.15);
    EXPECT_EQ(st[x].ring, Value("100-26-0001"));
    EXPECT_TRUE(st[x].points2.isNull());
    EXPECT_DOUBLE_EQ(st["200-26-0001 002/001 Hansen"].points, 0.45);
    EXPECT_EQ(st[x].placering, 1);
    // The coefficient is always shown with three decimals.
    EXPECT_EQ(s.cells(x), (std::vector<std::string>{"0,050", "0,100", "", "0,150", "", "", "", "", "", "", "", "", "", ""}));
}

// Long national flights and section flights with points falling by 100 per result.
struct QuotaSeason : Season {
    std::vector<long long> l, sec;
    QuotaSeason() {
        for (int i = 0; i < 3; ++i) l.push_back(race("91 - L" + std::to_string(i), 20 + i, {{"LMU", "L"}}));
        for (int i = 0; i < 4; ++i) sec.push_back(race("95 - S" + std::to_string(i), 24 + i));
    }
    void results(const std::string& ring, const std::vector<double>& lPoints, const std::vector<double>& sPoints,
                 const std::string& club = "001") {
        for (size_t i = 0; i < lPoints.size(); ++i)
            result(l[i], ring, {{"Point", lPoints[i]}, {"Placering", 1}, {"Kapflyvning_ialt", 10}, {"Forening", club}});
        for (size_t i = 0; i < sPoints.size(); ++i)
            result(sec[i], ring, {{"Point", sPoints[i]}, {"Placering", 1}, {"Kapflyvning_ialt", 10}, {"Forening", club}});
    }
    std::vector<long long> all() const {
        std::vector<long long> a = l;
        a.insert(a.end(), sec.begin(), sec.end());
        return a;
    }
};

TEST(ChampBirds, QuotasPerKindMustBeFilledExactly) {
    QuotaSeason s;
    s.results("100-26-0001", {900, 800, 700}, {600, 500, 400, 300});
    s.results("100-26-0002", {900}, {600, 500, 400, 300});  // one long flight short
    s.results("100-26-0003", {900, 800}, {600, 500});        // one free flight short
    s.champ("001", "Due/point", {{"Antal_flyvninger", 5}, {"Antal_L_flyvninger", 2}}, s.all());
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 1u);
    // Two long flights and three others; the third long flight does not count as a free one.
    EXPECT_EQ(st["100-26-0001 001/001 Hansen"].points, 900 + 800 + 600 + 500 + 400);

    // No overall count but one middle flight: every result counts, the middle ones only once.
    Season m;
    long long m1 = m.race("92 - M1", 20, {{"LMU", "M"}}), m2 = m.race("92 - M2", 21, {{"LMU", "M"}}), s1 = m.race("95 - S1", 22);
    for (auto [r, p] : {std::pair{m1, 400.0}, {m2, 500.0}, {s1, 300.0}})
        m.result(r, "100-26-0001", {{"Point", p}, {"Placering", 1}, {"Kapflyvning_ialt", 10}});
    m.result(s1, "100-26-0002", {{"Point", 300.0}, {"Placering", 1}, {"Kapflyvning_ialt", 10}});
    m.champ("001", "Due/point", {{"Antal_M_flyvninger", 1}}, {m1, m2, s1});
    ASSERT_TRUE(m.calc("001", true));
    auto mst = m.standings("001");
    ASSERT_EQ(mst.size(), 1u);  // the bird without a middle flight does not qualify
    EXPECT_EQ(mst["100-26-0001 001/001 Hansen"].points, 800);
    EXPECT_EQ(m.cells("100-26-0001 001/001 Hansen")[0], "");
    EXPECT_EQ(m.cells("100-26-0001 001/001 Hansen")[1], "500");
}

TEST(ChampBirds, BirdsPerLoftKeepsTheBestOfEachLoft) {
    QuotaSeason s;
    s.results("100-26-0001", {900, 800}, {600});
    s.results("100-26-0002", {500}, {});
    s.results("200-26-0001", {700}, {600}, "002");
    s.champ("001", "Due/point", {{"Antal_duer_pr_slag", 1}}, s.all());
    ASSERT_TRUE(s.calc("001"));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 2u);
    EXPECT_EQ(st["100-26-0001 001/001 Hansen"].placering, 1);
    EXPECT_EQ(st["200-26-0001 002/001 Hansen"].placering, 2);
}

TEST(ChampBirds, KilometerAndNorwegianValues) {
    Season s;
    long long a = s.race("95 - A", 20), b = s.race("95 - B", 21);
    s.result(a, "100-26-0001", {{"Point", 900.0}, {"Afstand", 300.5}, {"Placering", 1}, {"Kapflyvning_ialt", 10}});
    s.result(b, "100-26-0001", {{"Point", 800.0}, {"Placering", 4}, {"Kapflyvning_ialt", 10}});
    s.result(a, "100-26-0002", {{"Point", 700.0}, {"Afstand", 300.5}, {"Placering", 0}, {"Kapflyvning_ialt", 10}});
    s.champ("001", "Es-due-kilometer", {}, {a, b});
    ASSERT_TRUE(s.calc("001", true, true));
    auto st = s.standings("001");
    ASSERT_EQ(st.size(), 1u);  // a bird that was not placed takes no part
    EXPECT_EQ(st["100-26-0001 001/001 Hansen"].points, 1200.5 + 800);
    EXPECT_EQ(s.cells("100-26-0001 001/001 Hansen")[0], "1200,500");

    // Placings 1 and 4 of 10: 100 and 10; with the mean distance 300.5 the factor is 2 on race A.
    s.champ("002", "NO due/point", {}, {a, b});
    ASSERT_TRUE(s.calc("002"));
    EXPECT_EQ(s.standings("002")["100-26-0001 001/001 Hansen"].points, 110);
    s.champ("003", "NO es-due km-tillæg", {}, {a, b});
    ASSERT_TRUE(s.calc("003"));
    EXPECT_EQ(s.standings("003")["100-26-0001 001/001 Hansen"].points, 210);
    EXPECT_EQ(calctest::raceField(s.db, a, "Middelafstand"), Value(300.5));
}

}  // namespace
}  // namespace vemora
