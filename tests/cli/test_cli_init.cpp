#include <gtest/gtest.h>

#include "core/db/schema.h"
#include "support/olddb.h"
#include "support/process.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::test;

TEST(CliInit, CreatesADatabaseEverySqliteToolReads) {
    TempFolder f;
    auto r = runCli(f.path(), "init");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Version 35\n");
    auto db = f.path() / "SEKDATA.MDB";
    ASSERT_TRUE(std::filesystem::exists(db));
    // The sqlite3 shell knows nothing of the program's own collation or functions: every
    // table and stored query must still be readable there.
    std::string script;
    for (auto& t : schemaTables()) script += "SELECT count(*) FROM " + sqlIdent(t.name) + ";";
    for (auto& v : schemaViews()) script += "SELECT count(*) FROM " + sqlIdent(v.name) + ";";
    script += "SELECT Version FROM Generelt;";
    auto sh = runCommand("sqlite3 -bail " + shellQuote(db.string()) + " " + shellQuote(script));
    EXPECT_EQ(sh.exitCode, 0) << sh.err;
    EXPECT_EQ(sh.err, "");
    EXPECT_NE(sh.out.rfind("35\n"), std::string::npos);
    // A second init finds the database and leaves it alone.
    auto again = runCli(f.path(), "init");
    EXPECT_EQ(again.exitCode, 0);
}

TEST(CliInit, AMissingFolderFailsWithADanishMessage) {
    auto r = runCli("/nonexistent/vemora", "init");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Fejl: Programmappen"), std::string::npos) << r.err;
}

TEST(CliInit, UpgradesAnOlderDatabaseAndRefusesANewerOne) {
    TempFolder f;
    buildOldDatabase(f.path() / "SEKDATA.MDB", {12});
    auto r = runCli(f.path(), "init");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Version 35\n");
    Database::open(f.path() / "SEKDATA.MDB")->exec("UPDATE Generelt SET Version = 40");
    auto newer = runCli(f.path(), "init");
    EXPECT_EQ(newer.exitCode, 1);
    EXPECT_NE(newer.err.find("Fejl: Sektionsdatabasen har version 40"), std::string::npos) << newer.err;
    EXPECT_EQ(newer.out, "");
}
