#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/db/database.h"
#include "support/testdb.h"

using namespace vemora;

TEST(DbEngine, NestedTransactionsRollBackOnlyTheirOwnWork) {
    test::TestApp t;
    Database& db = t.db();
    {
        Transaction outer(db);
        db.exec("INSERT INTO Stationer (Nr) VALUES ('001')");
        {
            Transaction inner(db);
            db.exec("INSERT INTO Stationer (Nr) VALUES ('002')");
        }  // not committed: rolled back
        outer.commit();
    }
    EXPECT_EQ(db.scalar("SELECT group_concat(Nr) FROM Stationer"), Value("001"));
    try {
        Transaction tr(db);
        db.exec("INSERT INTO Stationer (Nr) VALUES ('003')");
        db.exec("INSERT INTO Stationer (Nr) VALUES ('001')");  // duplicate key
        tr.commit();
    } catch (const DbError&) {
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Stationer").toInt(), 1);
    EXPECT_FALSE(db.inTransaction());
}

TEST(DbEngine, BoundValuesKeepQuotesAndNulls) {
    test::TestApp t;
    Database& db = t.db();
    db.execute("INSERT INTO Foreninger (Nr, Navn, Kontakt) VALUES (?, ?, ?)", {"007", "O'Brien", Value()});
    RowSet rs = db.query("SELECT * FROM Foreninger WHERE Navn = " + sqlQuote("o'brien"));  // case-insensitive
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_TRUE(rs.get(0, "kontakt").isNull());  // field names without regard to case
    EXPECT_EQ(rs.get(0, "Nr"), Value("007"));
    EXPECT_EQ(sqlIdent("Meter / min"), "\"Meter / min\"");
}

TEST(DbEngine, ReplacingAStoredQueryWithABadTextKeepsTheOld) {
    test::TestApp t;
    Database& db = t.db();
    std::string before = db.viewSql("Q_Uger");
    EXPECT_NE(before.find("DISTINCT Uge"), std::string::npos);
    EXPECT_THROW(db.createOrReplaceView("Q_Uger", "SELECT Nonsense FROM NoSuchTable"), DbError);
    EXPECT_EQ(db.viewSql("Q_Uger"), before);
    db.createOrReplaceView("q_uger", "SELECT 53 AS Uge");
    EXPECT_EQ(db.scalar("SELECT Uge FROM Q_Uger"), Value(53));
}

TEST(DbEngine, DanishOrderPutsAeOeAaAfterZ) {
    EXPECT_LT(danishCompare("Zorro", "Ærø"), 0);
    EXPECT_LT(danishCompare("Ærø", "Østerby"), 0);
    EXPECT_LT(danishCompare("Østerby", "Åbenrå"), 0);
    EXPECT_EQ(danishCompare("ÅBENRÅ", "åbenrå"), 0);
    EXPECT_LT(danishCompare("abc", "abcd"), 0);
    test::TestApp t;
    t.db().exec("INSERT INTO Foreninger (Navn) VALUES ('Åbenrå'), ('Zorro'), ('ærø'), ('Aalborg'), ('Østerby')");
    RowSet rs = t.db().query("SELECT Navn FROM Foreninger ORDER BY Navn COLLATE DANSK");
    std::vector<std::string> names;
    for (auto& r : rs.rows) names.push_back(r[0].toText());
    EXPECT_EQ(names, (std::vector<std::string>{"Aalborg", "Zorro", "ærø", "Østerby", "Åbenrå"}));
}

TEST(DbEngine, CompactCopyAndIntegrity) {
    test::TestApp t;
    t.db().exec("INSERT INTO Stationer (Nr, Navn) VALUES ('001', 'Kruså')");
    auto copy = t.folder.path() / "kopi.mdb";
    t.db().compactInto(copy);
    auto other = Database::open(copy);
    EXPECT_EQ(other->scalar("SELECT Navn FROM Stationer"), Value("Kruså"));
    EXPECT_EQ(other->integrityCheck(), "ok");
    EXPECT_THROW(t.db().compactInto(copy), DbError);  // never over an existing file
    EXPECT_THROW(Database::create(copy), DbError);
}

TEST(DbStartup, ADamagedFileIsReportedAndNeverOverwritten) {
    test::TempFolder f;
    std::string garbage(4096, '\x5a');
    f.write("sekdata.mdb", garbage);
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    initAppState(app, f.path());
    EXPECT_FALSE(openSectionDatabase(app));
    EXPECT_EQ(app.db, nullptr);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_EQ(ui.shown[0].icon, Icon::Exclamation);
    std::ifstream in(f.path() / "sekdata.mdb", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), garbage);
    EXPECT_FALSE(std::filesystem::exists(f.path() / "SEKDATA.MDB") &&
                 !std::filesystem::equivalent(f.path() / "SEKDATA.MDB", f.path() / "sekdata.mdb"));
}

TEST(DbStartup, AMissingFolderGivesAMessageNotACrash) {
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    initAppState(app, "/nonexistent/vemora/folder");
    EXPECT_FALSE(openSectionDatabase(app));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_THROW(app.database(), DbError);
}

TEST(DbEngine, AMisspeltQuotedFieldIsAnErrorNotAText) {
    test::TestApp t;
    EXPECT_THROW(t.db().query("SELECT \"Meter / minut\" FROM Deltagere"), DbError);
    EXPECT_NO_THROW(t.db().query("SELECT \"Meter / min\" FROM Deltagere"));
}

TEST(DbStartup, ALockedFileGivesTheEnginesMessage) {
    test::TempFolder f;
    auto other = createSectionDatabase(f.path() / "SEKDATA.MDB");
    other->exec("BEGIN EXCLUSIVE");  // another program holds the file
    ScriptedUi ui;
    AppState app;
    app.ui = &ui;
    app.busyTimeout = std::chrono::milliseconds(20);  // the file stays held: no need to wait long
    initAppState(app, f.path());
    EXPECT_FALSE(openSectionDatabase(app));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_NE(ui.shown[0].text.find("kan ikke åbnes: database is locked"), std::string::npos) << ui.shown[0].text;
    other->exec("ROLLBACK");
    EXPECT_EQ(other->integrityCheck(), "ok");
}
