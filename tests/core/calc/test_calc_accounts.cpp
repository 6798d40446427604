// The race accounts per club ("Q Kapflyvningsregnskab") on a worked race.
#include <gtest/gtest.h>

#include "core/calc/calc_fixture.h"
#include "core/db/schema.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using namespace calctest;

struct CalcAccounts : ::testing::Test {
    test::TestApp t;
    Database& db = t.db();
    long long race = 0;

    void SetUp() override {
        setSettings(db, "Indskud", {{"A_Klasse1", 5.0}, {"A_Klasse2", 10.0}, {"Kl_P", 7.0}, {"Kl_E", 4.0}, {"Slagspil", 20.0}});
        setSettings(db, "Generelt", {{"Sektionsnr", "012"}});
        insertRow(db, "Stationer", {{"Nr", "042"}, {"Navn", "Hamburg"}});
        insertRow(db, "Foreninger", {{"Nr", "001"}, {"Navn", "Brevduen"}});
        race = addRace(db, "95 - Sektion",
                       {{"Gebyr", 150.0}, {"GebyrSlag", 500.0}, {"Station", "042"}, {"Kl_P", false}, {"Kl_E", true},
                        {"Slagspil_S", true}, {"Slagspil_A", false}});
        insertRow(db, "Regnskab", {{"Kapflyvning", race}, {"Forening", "001"}, {"AntalDuer", 10}, {"AntalA1", 2}, {"AntalA2", 3},
                                   {"AntalP", 4}, {"AntalE", 2}, {"AntalS", 1}, {"AntalA", 5}});
        insertRow(db, "Regnskab", {{"Kapflyvning", race}, {"Forening", "002"}, {"AntalDuer", 1}});
        insertRow(db, "Indbetalinger", {{"Kapflyvning", race}, {"Forening", "002"}, {"Indbetalt", 12345}});
        addBird(db, race, "100-26-0001", 1000.0, {{"Slag", "001"}});
        addBird(db, race, "100-26-0002", 1000.0, {{"Slag", "001"}});
        addBird(db, race, "100-26-0003", 1000.0, {{"Slag", "002"}});
        addBird(db, race, "100-26-0004", 1000.0, {{"Forening", "002"}, {"Slag", "001"}});
    }
    RowSet accounts() { return db.query("SELECT * FROM \"Q Kapflyvningsregnskab\" ORDER BY Forening"); }
};

TEST_F(CalcAccounts, StakesFeesAndPayments) {
    RowSet a = accounts();
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a.get(0, "Sektionsnr"), Value("012"));
    EXPECT_EQ(a.get(0, "Foreningsnavn"), Value("Brevduen"));
    EXPECT_EQ(a.get(0, "Navn"), Value("Hamburg"));
    EXPECT_EQ(a.get(0, "KFK"), Value("95"));
    // Class 1 is paid by every bird in one class or more, class 2 by those in two or more.
    EXPECT_EQ(a.get(0, "Indskud A1"), Value(25.0));
    EXPECT_EQ(a.get(0, "Indskud A2"), Value(30.0));
    // The race does not offer the P game.
    EXPECT_EQ(a.get(0, "Antal P"), Value(0));
    EXPECT_EQ(a.get(0, "Indskud P"), Value(0.0));
    EXPECT_EQ(a.get(0, "Indskud E"), Value(8.0));
    EXPECT_EQ(a.get(0, "Antal_A"), Value(0));
    EXPECT_EQ(a.get(0, "Slagspil"), Value(20.0));
    EXPECT_EQ(a.get(0, "Spil"), Value(63.0));
    EXPECT_EQ(a.get(0, "Sektion"), Value(83.0));
    // 150 øre for 10 birds and 500 øre for 2 lofts.
    EXPECT_EQ(a.get(0, "GebytIalt"), Value(25.0));
    EXPECT_EQ(a.get(0, "AfstemtBeløb"), Value(0));
    EXPECT_EQ(a.get(1, "AfstemtBeløb"), Value(123.45));
    EXPECT_EQ(a.get(1, "GebytIalt"), Value(6.5));
}

TEST_F(CalcAccounts, RestrictedToOneRace) {
    long long other = addRace(db, "96 - Sektion");
    insertRow(db, "Regnskab", {{"Kapflyvning", other}, {"Forening", "001"}, {"AntalDuer", 3}});
    EXPECT_EQ(db.query("SELECT * FROM \"Q Kapflyvningsregnskab\"").size(), 3u);
    RowSet one = db.query(kapflyvningsregnskabSql(other));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one.get(0, "Antal duer"), Value(3));
    EXPECT_TRUE(one.get(0, "GebytIalt").isNull());  // no fee set, no lofts counted
}

}  // namespace
}  // namespace vemora
