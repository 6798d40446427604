// Week backups: the file they write, and the merge back through the race number map.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "backup_support.h"
#include "core/backup/backup.h"

using namespace vemora;
using namespace vemora::test;

namespace {

const std::vector<std::string> kNine = weekBackupTables();
std::vector<std::string> withAccounts() {
    auto t = kNine;
    t.push_back("Regnskab");
    return t;
}

}  // namespace

TEST(WeekBackup, HoldsTheWeeksRowsOfTheNineTablesWithTheSectionsFieldsAndNothingElse) {
    TestApp t;
    fillSeason(t);
    TempFolder dest;
    ASSERT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    ASSERT_EQ(t.ui.messages().back(), "Info: Backup-kopiering færdig.");
    EXPECT_EQ(t.ui.shown.back().icon, Icon::None);

    auto backup = Database::open(dest.path() / "BACKUP20.MDB");
    EXPECT_EQ(backup->tableNames().size(), 9u);
    EXPECT_EQ(backup->scalar("SELECT count(*) FROM sqlite_master WHERE type <> 'table'").toInt(), 0);  // no index, no view
    for (const auto& table : kNine) {
        SCOPED_TRACE(table);
        auto want = t.db().columns(table), got = backup->columns(table);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].name, want[i].name);
            EXPECT_EQ(got[i].declaredType, want[i].declaredType);
            EXPECT_FALSE(got[i].primaryKey);
        }
        EXPECT_TRUE(backup->query("SELECT * FROM pragma_foreign_key_list(?)", {table}).empty());
    }
    // Race numbers unchanged, and only week 20's rows.
    EXPECT_EQ(backup->query("SELECT Nr FROM Kapflyvninger ORDER BY Nr").rows,
              t.db().query("SELECT Nr FROM Kapflyvninger WHERE Uge = 20 ORDER BY Nr").rows);
    EXPECT_EQ(backup->scalar("SELECT count(*) FROM Deltagere").toInt(),
              t.db().scalar("SELECT count(*) FROM Deltagere JOIN Kapflyvninger ON Nr = Kapflyvning WHERE Uge = 20").toInt());
    EXPECT_GT(backup->scalar("SELECT count(*) FROM Kontantpræmier").toInt(), 0);
    EXPECT_GT(backup->scalar("SELECT count(*) FROM Slagspil").toInt(), 0);
    EXPECT_GT(backup->scalar("SELECT count(*) FROM Indbetalinger").toInt(), 0);

    // A week without races still gives the nine tables.
    ASSERT_EQ(backupWeek(t.app, dest.path(), 33), BackupOutcome::Done);
    auto empty = Database::open(dest.path() / "BACKUP33.MDB");
    EXPECT_EQ(empty->tableNames().size(), 9u);
    for (const auto& table : kNine) EXPECT_EQ(empty->scalar("SELECT count(*) FROM " + sqlIdent(table)).toInt(), 0);
}

TEST(WeekBackup, AnExistingFileIsOverwrittenOnlyOnYesAndAnUnwritableDestinationIsReported) {
    TestApp t;
    fillSeason(t, {20});
    TempFolder dest;
    auto file = dest.write("BACKUP20.MDB", "an older backup");
    t.ui.answers = {Answer::No};
    EXPECT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Stopped);
    const auto& q = t.ui.shown.back();
    EXPECT_EQ(q.text, "Filen " + file.string() + " eksisterer allerede. Ønsker du at overskrive den.");
    EXPECT_EQ(q.title, "Overskriv");
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(std::filesystem::file_size(file), 15u);
    t.ui.answers = {Answer::Yes};
    EXPECT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    EXPECT_GT(Database::open(file)->scalar("SELECT count(*) FROM Deltagere").toInt(), 0);
    // A destination that cannot be written to.
    EXPECT_EQ(backupWeek(t.app, file, 20), BackupOutcome::Failed);
    EXPECT_EQ(t.ui.shown.back().text.rfind("Fejl ved lagring af backup.", 0), 0u);
}

TEST(WeekRestore, DeletedRacesComeBackWithTheSameRowsUnderNewNumbers) {
    TestApp t;
    fillSeason(t);
    auto before = weekRows(t.db(), 20, withAccounts());
    auto otherWeek = weekRows(t.db(), 21, withAccounts());
    TempFolder dest;
    ASSERT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    RowSet oldNumbers = t.db().query("SELECT Nr FROM Kapflyvninger WHERE Uge = 20");
    t.db().exec("DELETE FROM Kapflyvninger WHERE Uge = 20");

    WeekRestoreSummary s;
    ASSERT_EQ(restoreWeek(t.app, dest.path(), 20, &s), BackupOutcome::Done) << testing::PrintToString(t.ui.messages());
    EXPECT_EQ(s.races, static_cast<int>(oldNumbers.size()));
    EXPECT_EQ(s.newRaces, s.races);
    EXPECT_EQ(weekRows(t.db(), 20, withAccounts()), before);  // the accounts are counted again as the import did
    EXPECT_EQ(weekRows(t.db(), 21, withAccounts()), otherWeek);
    for (auto& r : oldNumbers.rows)
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger WHERE Nr = ?", {r[0]}).toInt(), 0);
    EXPECT_EQ(t.db().integrityCheck(), "ok");
}

TEST(WeekRestore, ExistingRacesAreUpdatedInPlaceAndRowsNotInTheBackupStay) {
    TestApp t;
    fillSeason(t, {20});
    TempFolder dest;
    ASSERT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    auto before = weekRows(t.db(), 20, kNine);
    long long race = t.db().scalar("SELECT min(Nr) FROM Kapflyvninger").toInt();
    std::string ring = t.db().scalar("SELECT min(Ringnummer) FROM Deltagere WHERE Kapflyvning = ?", {race}).toText();
    // Changes after the backup: a speed, a comment, a prize count, a bird and a payment that
    // the backup does not know.
    t.db().execute("UPDATE Deltagere SET \"Meter / min\" = 1 WHERE Kapflyvning = ? AND Ringnummer = ?", {race, ring});
    t.db().execute("UPDATE Kapflyvninger SET Kommentarer = 'efter backup' WHERE Nr = ?", {race});
    t.db().execute("UPDATE Kontantpræmier SET Antal = 99 WHERE Kapflyvning = ?", {race});
    t.db().execute("INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening) VALUES (?, 'DK-99-9999', '001')", {race});
    t.db().execute("DELETE FROM Indbetalinger WHERE Kapflyvning = ?", {race});

    ASSERT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    EXPECT_EQ(t.db().scalar("SELECT min(Nr) FROM Kapflyvninger").toInt(), race);
    auto after = weekRows(t.db(), 20, kNine);
    auto& birds = after["Deltagere"];
    auto extra = std::find_if(birds.begin(), birds.end(), [](auto& l) { return l.find("DK-99-9999") != std::string::npos; });
    ASSERT_NE(extra, birds.end());  // the bird the backup does not hold stays
    birds.erase(extra);
    EXPECT_EQ(after, before);
}

TEST(WeekRestore, PrizesAreMatchedByTheirValue) {
    TestApp t;
    t.db().exec(
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode) VALUES (5, 20, '95 - Blå skema');"
        "INSERT INTO Kontantpræmier (Kapflyvning, Værdi, Antal) VALUES (5, 100, 1), (5, 50, 2), (5, 12.5, 3)");
    TempFolder dest;
    ASSERT_EQ(backupWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    t.db().exec("UPDATE Kontantpræmier SET Antal = 0; DELETE FROM Kontantpræmier WHERE Værdi = 50");
    ASSERT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    EXPECT_EQ(t.db().query("SELECT Værdi, Antal FROM Kontantpræmier WHERE Kapflyvning = 5 ORDER BY Værdi DESC").rows,
              (std::vector<std::vector<Value>>{{100.0, 1}, {50.0, 2}, {12.5, 3}}));
}

TEST(WeekRestore, ABackupFromAnotherSectionWhoseRacesCollideIsRefusedAndChangesNothing) {
    TestApp other;
    other.db().exec(
        "INSERT INTO Foreninger (Nr, Navn) VALUES ('501', 'Fremmed');"
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode, Station) VALUES (1, 20, '91 - Orange skema', '300');"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening) VALUES (1, 'DK-05-0001', '501')");
    TempFolder dest;
    ASSERT_EQ(backupWeek(other.app, dest.path(), 20), BackupOutcome::Done);

    TestApp t;
    t.db().exec(
        "INSERT INTO Foreninger (Nr, Navn) VALUES ('001', 'Egen');"
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode, Station) VALUES (9, 20, '91 - Orange skema', '007');"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening) VALUES (9, 'DK-01-0001', '001')");
    auto before = weekRows(t.db(), 20, kNine);
    EXPECT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Failed);
    EXPECT_EQ(t.ui.shown.back().title, "Fejl");
    EXPECT_NE(t.ui.shown.back().text.find("anden sektion"), std::string::npos) << t.ui.shown.back().text;
    EXPECT_EQ(weekRows(t.db(), 20, kNine), before);

    // With a club in common it is the section's own backup, merged as usual.
    t.db().exec("INSERT INTO Foreninger (Nr, Navn) VALUES ('501', 'Ny')");
    EXPECT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Done);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning = 9").toInt(), 2);
}

TEST(WeekRestore, AMissingOrForeignFileIsReported) {
    TestApp t;
    TempFolder dest;
    EXPECT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Failed);
    EXPECT_EQ(t.ui.shown.back().text, "Fejl ved læsning af backup.\n\nFilen " + (dest.path() / "BACKUP20.MDB").string() +
                                          " findes ikke.");
    Database::create(dest.path() / "backup20.mdb")->exec("CREATE TABLE Kapflyvninger (Nr, Uge, Farvekode)");
    EXPECT_EQ(restoreWeek(t.app, dest.path(), 20), BackupOutcome::Failed);
    EXPECT_NE(t.ui.shown.back().text.find("er ikke en ugebackup"), std::string::npos) << t.ui.shown.back().text;
    dest.write("BACKUP21.MDB", std::string(5000, 'x'));
    EXPECT_EQ(restoreWeek(t.app, dest.path(), 21), BackupOutcome::Failed);
    EXPECT_EQ(t.ui.shown.back().text.rfind("Fejl ved læsning af backup.", 0), 0u);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Kapflyvninger").toInt(), 0);
}
