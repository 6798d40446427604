// The in-memory championship calculations against the literal row-by-row ones, on generated
// seasons and definitions of every type and criterion. A few seeds run by default; the
// environment variable VEMORA_CHAMP_SEEDS asks for more (the "slow" CTest entry runs 150).
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/championships/champ_gen.h"
#include "core/championships/championships.h"
#include "core/championships/definition.h"
#include "core/championships/literal_champ.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using championships::ChampOptions;

struct Snapshot {
    RowSet results, headers, cells, distances;
};

Snapshot snapshot(Database& db, const std::string& nr) {
    return {db.query("SELECT * FROM Mesterskabsresultat WHERE Mesterskabsnr = ? ORDER BY rowid", {nr}),
            db.query("SELECT * FROM CrosstabHeaders ORDER BY rowid"), db.query("SELECT * FROM CrosstabResult ORDER BY rowid"),
            db.query("SELECT Nr, Middelafstand FROM Kapflyvninger ORDER BY Nr")};
}

std::string show(const Value& v) { return v.isNull() ? "Null" : v.toText(); }

void expectSame(const RowSet& fast, const RowSet& literal, const std::string& what) {
    ASSERT_EQ(fast.size(), literal.size()) << what;
    int reported = 0;
    for (size_t r = 0; r < fast.size(); ++r)
        for (size_t c = 0; c < fast.columns.size(); ++c)
            if (!(fast.rows[r][c] == literal.rows[r][c]) && reported++ < 8)
                ADD_FAILURE() << what << " row " << r << " field " << fast.columns[c] << ": fast " << show(fast.rows[r][c])
                              << ", literal " << show(literal.rows[r][c]);
}

int seedCount() {
    const char* env = std::getenv("VEMORA_CHAMP_SEEDS");
    return env ? std::atoi(env) : 4;
}

TEST(ChampProperty, InMemoryEqualsLiteralWalk) {
    size_t resultRows = 0, qualifyingBirdTypes = 0;
    for (int seed = 1; seed <= seedCount(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        test::TestApp t;
        Database& db = t.db();
        // Hundreds of small commits; the file's safety on power loss is not under test.
        db.exec("PRAGMA synchronous = OFF");
        std::mt19937 rng(static_cast<unsigned>(seed));
        champgen::SeasonShape shape;
        shape.races = champgen::pick(rng, std::vector<int>{0, 3, 9, 16, 30});
        shape.clubs = champgen::between(rng, 2, 5);
        auto rings = champgen::makeSeason(t.app, rng, shape);
        int n = 0;
        for (const auto& type : champgen::generatedTypes()) {
            for (int variant = 0; variant < 2; ++variant) {
                std::string nr = champgen::pad(++n, 3);
                SCOPED_TRACE(type + " " + nr);
                champgen::makeDefinition(db, rng, nr, type, rings);
                ChampOptions o{champgen::coin(rng, 0.7), champgen::coin(rng)};
                db.exec("UPDATE Kapflyvninger SET Middelafstand = -1");
                ASSERT_TRUE(championships::CalcChampionship(t.app, nr, o)) << t.ui.messages().back();
                Snapshot fast = snapshot(db, nr);
                db.exec("UPDATE Kapflyvninger SET Middelafstand = -1");
                {
                    Transaction tr(db);
                    ASSERT_TRUE(champtest::literalChampionship(db, nr, o.specifyPoints, o.decimals));
                    tr.commit();
                }
                Snapshot literal = snapshot(db, nr);
                expectSame(fast.results, literal.results, "Mesterskabsresultat");
                if (o.specifyPoints) {
                    expectSame(fast.headers, literal.headers, "CrosstabHeaders");
                    expectSame(fast.cells, literal.cells, "CrosstabResult");
                }
                expectSame(fast.distances, literal.distances, "Middelafstand");
                resultRows += fast.results.size();
                if (!championships::IsLoftOrClubType(type) && !fast.results.empty()) ++qualifyingBirdTypes;
            }
        }
    }
    // The generator is not degenerate: standings had rows, birds qualified.
    EXPECT_GT(resultRows, 50u);
    EXPECT_GT(qualifyingBirdTypes, 2u);
}

}  // namespace
}  // namespace vemora
