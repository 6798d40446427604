// Open forms learn of commits through the observers of the application state.
#include <gtest/gtest.h>

#include "core/app/startup.h"
#include "core/races/races.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

struct Recorder {
    std::vector<std::set<std::string>> commits;
    ChangeObserver callback() {
        return [this](const ChangeSet& c) { commits.push_back(c.tables); };
    }
};

}  // namespace

TEST(AppChanges, ObserversHearEachCommitWithItsTables) {
    test::TestApp t;
    Recorder r;
    Subscription s = t.app.observe(r.callback());
    Database& db = t.db();

    db.execute("INSERT INTO Stationer (Nr, Navn) VALUES ('001', 'Kruså')");
    ASSERT_EQ(r.commits.size(), 1u);
    EXPECT_EQ(r.commits[0], (std::set<std::string>{"Stationer"}));

    db.query("SELECT * FROM Stationer");  // reading commits nothing
    db.execute("UPDATE Stationer SET Navn = 'x' WHERE Nr = 'nope'");
    EXPECT_EQ(r.commits.size(), 1u);

    {
        Transaction tr(db);
        db.execute("INSERT INTO Foreninger (Nr) VALUES ('007')");
        {
            Transaction inner(db);
            db.execute("INSERT INTO Postnr (Postnr) VALUES ('6200')");
            inner.commit();
        }
        EXPECT_EQ(r.commits.size(), 1u);  // nothing until the outermost commit
        tr.commit();
    }
    ASSERT_EQ(r.commits.size(), 2u);
    EXPECT_EQ(r.commits[1], (std::set<std::string>{"Foreninger", "Postnr"}));

    {
        Transaction tr(db);
        db.execute("INSERT INTO Foreninger (Nr) VALUES ('008')");
    }  // rolled back: nothing changed
    EXPECT_THROW(db.execute("INSERT INTO Stationer (Nr) VALUES ('001')"), DbError);  // a failed statement neither
    db.exec("INSERT INTO ImportFejl (Forening, Uge) VALUES ('007', 20)");
    db.exec("DELETE FROM ImportFejl");  // a whole table emptied at once is heard too
    ASSERT_EQ(r.commits.size(), 4u);
    EXPECT_EQ(r.commits[3], (std::set<std::string>{"ImportFejl"}));

    // Dropping and creating a stored query still works with the DELETE rule in place.
    db.createOrReplaceView("Q_Uger", "SELECT 53 AS Uge");
    EXPECT_EQ(db.scalar("SELECT Uge FROM Q_Uger"), Value(53));
}

TEST(AppChanges, CascadesAndCoreFunctionsReachTheObservers) {
    test::TestApp t;
    Recorder r;
    Subscription s = t.app.observe(r.callback());
    long long nr = races::CreateRace(t.app, "20", "95 - Blå skema").nr;
    ASSERT_EQ(r.commits.size(), 1u);
    EXPECT_TRUE(ChangeSet{r.commits[0]}.touches("kapflyvninger"));
    t.db().execute("INSERT INTO Deltagere (Kapflyvning, Ringnummer) VALUES (?, '123-26-0001')", {nr});
    races::DeleteRace(t.app, nr);
    ChangeSet last{r.commits.back()};
    EXPECT_TRUE(last.touchesAny({"Deltagere"}));  // went with the race
    EXPECT_TRUE(last.touches("Kapflyvninger"));
}

TEST(AppChanges, SubscriptionsEndAndSurviveAReopenedDatabase) {
    test::TestApp t;
    Recorder kept, dropped;
    Subscription s1 = t.app.observe(kept.callback());
    std::optional<Subscription> s2(t.app.observe(dropped.callback()));
    // An observer that ends another one while the commit is being told.
    Subscription s3 = t.app.observe([&](const ChangeSet&) { s2.reset(); });
    t.db().execute("INSERT INTO Postnr (Postnr) VALUES ('1000')");
    t.db().execute("INSERT INTO Postnr (Postnr) VALUES ('2000')");
    EXPECT_EQ(kept.commits.size(), 2u);
    EXPECT_EQ(dropped.commits.size(), 1u);  // ended during the first commit, after its own turn

    // The database opened again, as a restore does: the same observers hear its commits.
    t.app.db.reset();
    ASSERT_TRUE(openSectionDatabase(t.app));
    t.db().execute("INSERT INTO Postnr (Postnr) VALUES ('3000')");
    EXPECT_EQ(kept.commits.size(), 3u);
    s1.reset();
    t.db().execute("INSERT INTO Postnr (Postnr) VALUES ('4000')");
    EXPECT_EQ(kept.commits.size(), 3u);
}
