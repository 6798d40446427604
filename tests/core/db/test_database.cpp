#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <fstream>

#include "core/db/database.h"
#include "support/files.h"
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
    EXPECT_EQ(danishCompare("ÅBENRÅ", "åbenrå"), 0);
    EXPECT_EQ(danishCompare("Ärø", "Ærø"), 0);  // Ä and Ö are the Swedish Æ and Ø
    EXPECT_EQ(danishCompare("Öland", "Øland"), 0);
    EXPECT_LT(danishCompare("abc", "abcd"), 0);
    test::TestApp t;
    t.db().exec(
        "INSERT INTO Foreninger (Navn) VALUES ('Åbenrå'), ('Zorro'), ('ærø'), ('Aalborg'), ('Østerby'), ('Ölme'), "
        "('Äbel'), ('Émile')");
    RowSet rs = t.db().query("SELECT Navn FROM Foreninger ORDER BY Navn COLLATE DANSK");
    std::vector<std::string> names;
    for (auto& r : rs.rows) names.push_back(r[0].toText());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Aalborg", "Zorro", "Äbel", "ærø", "Ölme", "Østerby", "Åbenrå", "Émile"}));
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
    test::Startup st(f.path());
    auto& [ui, app] = st;
    EXPECT_FALSE(openSectionDatabase(app));
    EXPECT_EQ(app.db, nullptr);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_EQ(ui.shown[0].icon, Icon::Exclamation);
    EXPECT_EQ(test::readBytes(f.path() / "sekdata.mdb"), garbage);
    EXPECT_FALSE(std::filesystem::exists(f.path() / "SEKDATA.MDB") &&
                 !std::filesystem::equivalent(f.path() / "SEKDATA.MDB", f.path() / "sekdata.mdb"));
}

TEST(DbStartup, AMissingFolderGivesAMessageNotACrash) {
    test::Startup st("/nonexistent/vemora/folder");
    auto& [ui, app] = st;
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

namespace {

// Lets the other program's lock go as soon as the wait for it is announced.
struct ReleasingUi : ScriptedUi {
    Database* other = nullptr;
    int busyWhileWaiting = -1;
    void notice(const std::string& text) override {
        ScriptedUi::notice(text);
        busyWhileWaiting = busyOn - busyOff;
        other->exec("COMMIT");
    }
};

}  // namespace

TEST(DbStartup, AFileAnotherProgramHoldsIsWaitedForWithTheBusyPointer) {
    EXPECT_EQ(AppState().busyTimeout, std::chrono::seconds(30));  // long enough to wait out an import
    test::TempFolder f;
    auto other = createSectionDatabase(f.path() / "SEKDATA.MDB");
    other->exec("BEGIN EXCLUSIVE");  // another program is writing
    ReleasingUi ui;
    ui.other = other.get();
    AppState app;
    app.ui = &ui;
    initAppState(app, f.path());
    EXPECT_TRUE(openSectionDatabase(app));
    EXPECT_EQ(ui.notices, std::vector<std::string>{
                              "Sektionsdatabasen bruges af et andet program. Venter op til 30 sekunder på, at den bliver ledig ..."});
    EXPECT_EQ(ui.busyWhileWaiting, 1);
    EXPECT_EQ(ui.busyOn, ui.busyOff);
    EXPECT_TRUE(ui.shown.empty());
}

TEST(DbStartup, AFileHeldPastTheWaitIsReportedInDanish) {
    test::TempFolder f;
    auto other = createSectionDatabase(f.path() / "SEKDATA.MDB");
    other->exec("BEGIN EXCLUSIVE");
    test::Startup st(f.path());
    auto& [ui, app] = st;
    app.busyTimeout = std::chrono::milliseconds(20);  // the file stays held: no need to wait long
    EXPECT_FALSE(openSectionDatabase(app));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_NE(ui.shown[0].text.find("Et andet program bruger SEKDATA.MDB. Prøv igen, når det andet program er færdigt "
                                    "(database is locked)."),
              std::string::npos)
        << ui.shown[0].text;
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices[0].find("op til 0,02 sekunder"), std::string::npos) << ui.notices[0];
    EXPECT_EQ(ui.busyOn, ui.busyOff);
    EXPECT_FALSE(app.db);
    other->exec("ROLLBACK");
    EXPECT_EQ(other->integrityCheck(), "ok");

    // A write that waits in vain once the file is open says the same.
    ASSERT_TRUE(openSectionDatabase(app));
    other->exec("BEGIN IMMEDIATE");
    try {
        app.database().execute("UPDATE Generelt SET CheckResFiler = 1");
        ADD_FAILURE() << "the write did not wait for the other program";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "Et andet program bruger SEKDATA.MDB. Prøv igen, når det andet program er færdigt "
                                         "(database is locked).");
    }
    EXPECT_EQ(ui.notices.size(), 2u);
    other->exec("ROLLBACK");
}

TEST(DbStartup, AWriteProtectedFileIsReportedAtOnce) {
    test::TempFolder f;
    createSectionDatabase(f.path() / "SEKDATA.MDB").reset();
    namespace fs = std::filesystem;
    fs::permissions(f.path() / "SEKDATA.MDB", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Opened by a user who may not write the file (the root user may write anything).
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
            test::Startup st(f.path());
            bool opened = openSectionDatabase(st.app);
            bool said = st.ui.shown.size() == 1 && st.ui.shown[0].text.find("er skrivebeskyttet") != std::string::npos;
            std::_Exit(opened ? 1 : said ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(DbStartup, OnlyRegularFilesAreRead) {
    test::TempFolder f;
    auto ini = f.path() / "CONFIG.INI";
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    auto land = std::async(std::launch::async, [&] { return readLand(f.path()); });
    if (land.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        std::ofstream(ini) << "[Generelt]\nLand=SE\n";  // a writer at last, so the reader can end
        FAIL() << "a pipe named CONFIG.INI held the start-up";
    }
    EXPECT_EQ(land.get(), "DK");
    // A device in the database's place is refused before the engine reads it.
    std::filesystem::create_symlink("/dev/null", f.path() / "SEKDATA.MDB");
    test::Startup st(f.path());
    auto& [ui, app] = st;
    EXPECT_FALSE(openSectionDatabase(app));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("det er ikke en almindelig fil"), std::string::npos) << ui.shown[0].text;
}
