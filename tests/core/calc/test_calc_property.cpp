// The in-memory race calculation against the slow row-by-row one on generated races.
#include <gtest/gtest.h>

#include "core/calc/calc.h"
#include "core/calc/literal_calc.h"
#include "core/calc/race_gen.h"
#include "support/testdb.h"

namespace vemora {
namespace {

void expectSameRows(Database& fast, Database& slow, const std::string& sql, const std::string& what) {
    RowSet a = fast.query(sql), b = slow.query(sql);
    ASSERT_EQ(a.size(), b.size()) << what;
    int reported = 0;
    for (size_t r = 0; r < a.size(); ++r)
        for (size_t c = 0; c < a.columns.size(); ++c)
            if (!(a.rows[r][c] == b.rows[r][c]) && reported++ < 10)
                ADD_FAILURE() << what << " row " << r << " (" << a.rows[r][0].toText() << " " << a.rows[r][1].toText() << ") field "
                              << a.columns[c] << ": fast " << (a.rows[r][c].isNull() ? "Null" : a.rows[r][c].toText()) << ", literal "
                              << (b.rows[r][c].isNull() ? "Null" : b.rows[r][c].toText());
}

struct CalcProperty : ::testing::TestWithParam<unsigned> {};

TEST_P(CalcProperty, InMemoryEqualsLiteralPasses) {
    test::TestApp fastApp, slowApp;
    Database& fast = fastApp.db();
    Database& slow = slowApp.db();
    std::mt19937 rngFast(GetParam()), rngSlow(GetParam());
    std::vector<long long> races;
    auto round = [&](bool newRace) {
        calcgen::randomSettings(fast, rngFast);
        calcgen::randomSettings(slow, rngSlow);
        if (newRace) {
            calcgen::Shape shape;
            shape.birds = std::uniform_int_distribution<int>(0, 60)(rngFast);
            std::uniform_int_distribution<int>(0, 60)(rngSlow);
            long long nr = calcgen::addRace(fast, rngFast, shape);
            ASSERT_EQ(calcgen::addRace(slow, rngSlow, shape), nr);
            races.push_back(nr);
        }
    };
    auto calcAll = [&] {
        for (long long nr : races) {
            ASSERT_TRUE(CalcKapflyvning(fastApp.app, nr)) << fastApp.ui.messages().back();
            Transaction tr(slow);
            calctest::literalCalc(slow, nr);
            tr.commit();
        }
    };
    for (int i = 0; i < 6; ++i) {
        round(true);
        calcAll();
    }
    // Recalculate everything under other settings, on top of the stored results.
    fast.exec("UPDATE Kapflyvninger SET Beregn = 1");
    slow.exec("UPDATE Kapflyvninger SET Beregn = 1");
    round(false);
    calcAll();
    expectSameRows(fast, slow, "SELECT * FROM Deltagere ORDER BY Kapflyvning, Ringnummer", "Deltagere");
    expectSameRows(fast, slow, "SELECT * FROM Kapflyvninger ORDER BY Nr", "Kapflyvninger");
    // The races had birds placed at all (the generator is not degenerate).
    EXPECT_GT(fast.scalar("SELECT count(*) FROM Deltagere WHERE Placering > 0").toInt(), 0);
}

// A few seeds catch a broken pass at once; the other seventeen reach the rare shapes.
INSTANTIATE_TEST_SUITE_P(CalcSeeds, CalcProperty, ::testing::Values(1u, 2u, 3u));
INSTANTIATE_TEST_SUITE_P(SlowCalcSeeds, CalcProperty, ::testing::Range(4u, 21u));

}  // namespace
}  // namespace vemora
