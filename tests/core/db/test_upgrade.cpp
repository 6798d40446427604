// The upgrade from every kind of older file: the result must be a new database in every
// object, with the rows kept, filled and reset as the steps say.
#include <gtest/gtest.h>

#include "core/base/text.h"
#include "core/db/schema.h"
#include "core/db/upgrade.h"
#include "support/files.h"
#include "support/olddb.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::test;

namespace {

struct Case {
    int version;
    VersionField field = VersionField::Number;
    bool relations = true;
};

std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string n = "V" + std::to_string(info.param.version);
    if (info.param.field == VersionField::Missing) n += "WithoutVersionField";
    if (info.param.field == VersionField::Null) n += "VersionNull";
    if (!info.param.relations) n += "WithoutRelations";
    return n;
}

// Values that a step sets on every existing row, with the last step that sets them.
Value resetTo(int version, const std::string& table, const std::string& field) {
    struct Reset {
        int lastStep;
        const char *table, *field;
        Value value;
    };
    static const std::vector<Reset> resets{
        {29, "Kapflyvninger", "Beregn", 1},          {7, "Deltagere", "Begynder", 0},
        {7, "Deltagere", "Pensionist", 0},           {7, "Mesterskaber", "Type", "Point"},
        {7, "Mesterskaber", "Kun_Begyndere", 0},     {7, "Mesterskaber", "Kun_Pensionister", 0},
        {13, "Kapflyvninger", "RestZ", 0},           {13, "Kapflyvninger", "RestR", 0},
        {13, "Indskud", "Kl_Z", 0},                  {13, "Indskud", "Kl_R", 0},
        {13, "Regnskab", "AntalZ", 0},               {13, "Regnskab", "AntalR", 0},
        {28, "Kapflyvninger", "GebyrSlag", 0},       {32, "Markering", "MestPoint91", 1000},
    };
    for (const auto& r : resets)
        if (r.lastStep >= version && iequals(r.table, table) && iequals(r.field, field)) return r.value;
    return Value("<kept>");
}

std::map<std::string, RowSet> allRows(Database& db) {
    std::map<std::string, RowSet> out;
    for (const auto& t : db.tableNames()) out[t] = db.query("SELECT * FROM " + sqlIdent(t) + " ORDER BY rowid");
    return out;
}

std::map<std::string, std::string> freshSchema() {
    TempFolder f;
    auto db = createSectionDatabase(f.path() / "SEKDATA.MDB");
    return schemaDump(*db);
}

void expectSameSchema(Database& db) {
    static const auto fresh = freshSchema();
    auto got = schemaDump(db);
    for (const auto& [object, text] : fresh) {
        auto it = got.find(object);
        if (it == got.end()) ADD_FAILURE() << "missing " << object;
        else EXPECT_EQ(it->second, text) << object;
    }
    for (const auto& [object, text] : got) EXPECT_TRUE(fresh.count(object)) << "extra " << object;
}

class UpgradeFrom : public testing::TestWithParam<Case> {};

}  // namespace

TEST_P(UpgradeFrom, EndsAsANewDatabaseWithItsRowsKeptFilledAndReset) {
    const Case c = GetParam();
    TempFolder folder;
    buildOldDatabase(folder.path() / "SEKDATA.MDB", {c.version, c.field, c.relations});
    std::map<std::string, RowSet> before;
    {
        auto old = Database::open(folder.path() / "SEKDATA.MDB");
        before = allRows(*old);
    }

    Startup st(folder.path());
    auto& [ui, app] = st;
    int steps = 0;
    ASSERT_EQ(openSectionDatabaseWith(app, [&] { ++steps; }), OpenResult::Ready) << testing::PrintToString(ui.messages());
    EXPECT_TRUE(ui.shown.empty()) << testing::PrintToString(ui.messages());
    EXPECT_EQ(steps, 35 - c.version);
    Database& db = *app.db;
    EXPECT_EQ(readSchemaVersion(db), 35);
    expectSameSchema(db);

    for (const auto& [table, rows] : before) {
        SCOPED_TRACE(table);
        RowSet now = db.query("SELECT * FROM " + sqlIdent(table) + " ORDER BY rowid");
        if (iequals(table, "Generelt")) continue;  // its version is the one value that changes
        ASSERT_EQ(now.size(), rows.size());
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t i = 0; i < rows.columns.size(); ++i) {
                const std::string& field = rows.columns[i];
                Value want = resetTo(c.version, table, field);
                if (want == Value("<kept>")) want = rows.rows[r][i];
                EXPECT_EQ(now.get(r, field), want) << field << " row " << r;
            }
    }
    EXPECT_EQ(db.scalar("SELECT Sektionsnavn FROM Generelt"), Value("Sektion 17"));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Generelt").toInt(), 1);

    if (c.version <= 2) {
        // Counted from the birds and loft games: race, club, birds, cocks, hens, E, P, A1, A3,
        // B1, B6, and lofts in S, A, U, X.
        RowSet acc = db.query(
            "SELECT Kapflyvning, Forening, AntalDuer, AntalHanner, AntalHunner, AntalE, AntalP, AntalA1, AntalA3, AntalB1, "
            "AntalB6, AntalS, AntalA, AntalU, AntalX, AntalA2 + AntalA4 + AntalA5 + AntalA6 + AntalB2 + AntalB3 + AntalB4 + "
            "AntalB5 + AntalZ + AntalR FROM Regnskab ORDER BY Kapflyvning, Forening");
        std::vector<std::vector<Value>> want{
            {1, "001", 2, 1, 1, 1, 1, 1, 1, 1, 0, 2, 0, 1, 1, 0},
            {1, "002", 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0},
            {1, "003", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
            {2, "002", 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        };
        EXPECT_EQ(acc.rows, want);
    }
    RowSet km = db.query("SELECT KM, Faktor FROM KM_faktorer ORDER BY KM");
    if (c.version <= 30) EXPECT_EQ(km.size(), 5u);
    else EXPECT_EQ(km.rows, (std::vector<std::vector<Value>>{{200, 1.7}}));

    // The relations hold, also where the old file had none.
    db.exec("DELETE FROM Kapflyvninger WHERE Nr = 1");
    for (const char* t : {"Deltagere", "Regnskab", "Slagspil", "Indbetalinger", "Kontantpræmier", "Z-spils-præmier",
                          "Mesterskabsflyvninger"})
        EXPECT_EQ(db.scalar("SELECT count(*) FROM " + sqlIdent(t) + " WHERE Kapflyvning = 1").toInt(), 0) << t;
    EXPECT_EQ(db.integrityCheck(), "ok");
}

INSTANTIATE_TEST_SUITE_P(Versions, UpgradeFrom,
                         testing::Values(Case{0}, Case{0, VersionField::Missing, false}, Case{0, VersionField::Null},
                                         Case{1}, Case{2}, Case{3}, Case{7}, Case{12}, Case{13}, Case{14}, Case{18},
                                         Case{22}, Case{28}, Case{29}, Case{30}, Case{31}, Case{33}, Case{34}),
                         caseName);

TEST(Upgrade, ACurrentFileMarkedOlderRunsEveryStepAgainWithoutAMessageAndStaysAsItWas) {
    // Every object is already there: tables, fields, the distance factors' keys, the widened
    // field. Nothing may be reported and nothing may change but the version.
    TestApp t;
    auto before = schemaDump(t.db());
    t.db().exec("UPDATE Generelt SET Version = 0; UPDATE Deltagere SET ForeningskrydsT = NULL");
    EXPECT_EQ(UpgradeDatabase(t.db(), t.ui), UpgradeResult::Upgraded);
    EXPECT_TRUE(t.ui.shown.empty()) << testing::PrintToString(t.ui.messages());
    EXPECT_EQ(schemaDump(t.db()), before);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM KM_faktorer").toInt(), 5);
    // A current file runs nothing.
    EXPECT_EQ(UpgradeDatabase(t.db(), t.ui), UpgradeResult::Current);
}

TEST(Upgrade, AnExistingPrizeTableWithoutItsKeyAndRelationIsCompleted) {
    TempFolder f;
    auto file = f.path() / "SEKDATA.MDB";
    buildOldDatabase(file, {12});
    {
        auto db = Database::open(file);
        db->exec("CREATE TABLE \"Z-spils-præmier\" (Kapflyvning INTEGER, Værdi DOUBLE)");
        db->exec("INSERT INTO \"Z-spils-præmier\" VALUES (1, 40), (2, 30)");
    }
    auto db = Database::open(file);
    ScriptedUi ui;
    EXPECT_EQ(UpgradeDatabase(*db, ui), UpgradeResult::Upgraded) << testing::PrintToString(ui.messages());
    expectSameSchema(*db);
    EXPECT_EQ(db->scalar("SELECT group_concat(Værdi || '/' || Antal) FROM \"Z-spils-præmier\""), Value("40.0/1,30.0/1"));
    db->exec("DELETE FROM Kapflyvninger WHERE Nr = 2");
    EXPECT_EQ(db->scalar("SELECT count(*) FROM \"Z-spils-præmier\"").toInt(), 1);
}

namespace {

// A file at version 24 that has lost Mesterskaber: the steps 24, 25, 28, 30 and 34 that
// change it fail.
std::filesystem::path brokenFile(const TempFolder& f) {
    auto file = f.path() / "SEKDATA.MDB";
    buildOldDatabase(file, {24});
    auto db = Database::open(file);
    db->exec("PRAGMA foreign_keys = OFF; DROP TABLE Mesterskaber_Duer; DROP TABLE Mesterskaber");
    return file;
}

}  // namespace

TEST(Upgrade, StepErrorsAreAskedAboutAndLeaveTheVersionSoTheyRunAgain) {
    TempFolder f;
    auto file = brokenFile(f);
    {
        auto db = Database::open(file);
        ScriptedUi ui({Answer::Yes});  // then the default: Yes to every later one
        EXPECT_EQ(UpgradeDatabase(*db, ui), UpgradeResult::Incomplete);
        ASSERT_GE(ui.shown.size(), 5u);
        const auto& q = ui.shown[0];
        EXPECT_TRUE(q.question);
        EXPECT_EQ(q.title, "Fejl");
        EXPECT_EQ(q.buttons, Buttons::YesNoCancel);
        EXPECT_EQ(q.icon, Icon::Question);
        EXPECT_EQ(q.text.rfind("Fejlkode: 1: ", 0), 0u) << q.text;
        EXPECT_NE(q.text.find("Mesterskaber"), std::string::npos) << q.text;
        EXPECT_NE(q.text.find("\n\nFejl ved opgradering af database. Vil du se andre fejlmeddelelser?"), std::string::npos);
        EXPECT_EQ(readSchemaVersion(*db), 24);
        // What could be done was done.
        EXPECT_TRUE(db->hasColumn("Deltagere", "ForeningskrydsT"));
        EXPECT_EQ(db->scalar("SELECT count(*) FROM KM_faktorer").toInt(), 5);
    }
    {
        auto db = Database::open(file);
        ScriptedUi ui({Answer::No});
        EXPECT_EQ(UpgradeDatabase(*db, ui), UpgradeResult::Incomplete);
        EXPECT_EQ(ui.shown.size(), 1u);  // No: no further messages
        EXPECT_EQ(readSchemaVersion(*db), 24);
    }
}

TEST(Upgrade, CancelAtAnErrorLeavesTheFileAsItWas) {
    TempFolder f;
    auto file = brokenFile(f);
    std::string before = readBytes(file);
    Startup st(f.path(), {Answer::Cancel});
    auto& [ui, app] = st;
    EXPECT_EQ(openSectionDatabaseWith(app), OpenResult::Ended);
    EXPECT_EQ(app.db, nullptr);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(readBytes(file), before);
}

TEST(Upgrade, AFileFromANewerProgramIsReportedAndOpenedForReadingOnly) {
    TempFolder f;
    {
        auto db = createSectionDatabase(f.path() / "SEKDATA.MDB");
        db->exec("UPDATE Generelt SET Version = 36; INSERT INTO Foreninger (Nr, Navn) VALUES ('001', 'Alfa')");
    }
    std::string before = readBytes(f.path() / "SEKDATA.MDB");
    Startup st(f.path());
    auto& [ui, app] = st;
    EXPECT_EQ(openSectionDatabaseWith(app), OpenResult::ReadOnly);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_NE(ui.shown[0].text.find("version 36"), std::string::npos) << ui.shown[0].text;
    EXPECT_EQ(app.database().scalar("SELECT Navn FROM Foreninger"), Value("Alfa"));
    try {
        app.database().exec("DELETE FROM Foreninger");
        ADD_FAILURE() << "a write went through";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), newerVersionMessage(36));
    }
    app.db.reset();
    EXPECT_EQ(readBytes(f.path() / "SEKDATA.MDB"), before);
}

TEST(Upgrade, ADamagedFileIsReportedAndNothingIsWrittenIntoIt) {
    TempFolder f;
    auto file = f.path() / "SEKDATA.MDB";
    createSectionDatabase(file)->exec("UPDATE Generelt SET Version = 30");  // an upgrade would write into it
    damagePage(file, "Stationer");
    std::string before = readBytes(file);
    Startup st(f.path());
    auto& [ui, app] = st;
    EXPECT_EQ(openSectionDatabaseWith(app), OpenResult::ReadOnly);
    ASSERT_EQ(ui.shown.size(), 1u);
    const std::string& text = ui.shown[0].text;
    EXPECT_EQ(ui.shown[0].title, "Fejl");
    EXPECT_NE(text.find("beskadiget"), std::string::npos) << text;
    EXPECT_NE(text.find("reparer"), std::string::npos) << text;
    EXPECT_NE(text.find("backup"), std::string::npos) << text;
    EXPECT_THROW(app.database().exec("INSERT INTO Foreninger (Nr) VALUES ('001')"), DbError);
    app.db.reset();
    EXPECT_EQ(readBytes(file), before);
}

TEST(Upgrade, AFieldTheSchemaDoesNotKnowStaysAfterTheKnownOnesWithItsValues) {
    TempFolder f;
    auto file = f.path() / "SEKDATA.MDB";
    buildOldDatabase(file, {0});
    Database::open(file)->exec("ALTER TABLE Kapflyvninger ADD COLUMN Vejr VARCHAR(20); UPDATE Kapflyvninger SET Vejr = 'Sol'");
    auto db = Database::open(file);
    ScriptedUi ui;
    ASSERT_EQ(UpgradeDatabase(*db, ui), UpgradeResult::Upgraded) << testing::PrintToString(ui.messages());
    auto cols = db->columns("Kapflyvninger");
    const auto& fresh = findTable("Kapflyvninger")->fields;
    ASSERT_EQ(cols.size(), fresh.size() + 1);
    for (size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(cols[i].name, fresh[i].name);
    EXPECT_EQ(cols.back().name, "Vejr");
    EXPECT_EQ(db->scalar("SELECT group_concat(Vejr) FROM Kapflyvninger"), Value("Sol,Sol"));
    EXPECT_EQ(db->integrityCheck(), "ok");
}
