// Whole-database backups in parts, their restore, and the repair.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "backup_support.h"
#include "core/backup/backup.h"
#include "core/backup/files.h"
#include "core/backup/parts.h"
#include "support/files.h"

using namespace vemora;
using namespace vemora::test;
namespace fs = std::filesystem;

namespace {

// Folders standing for diskettes, created empty.
std::vector<fs::path> diskettes(const TempFolder& f, int n) {
    std::vector<fs::path> out;
    for (int i = 1; i <= n; ++i) {
        out.push_back(f.path() / ("diskette" + std::to_string(i)));
        fs::create_directories(out.back());
    }
    return out;
}

std::vector<std::string> questions(const ScriptedUi& ui) {
    std::vector<std::string> out;
    for (const auto& s : ui.shown) out.push_back(s.title + ": " + s.text);
    return out;
}

const std::string kStem = "BKUP0610";  // the test apps' day is 10 June

}  // namespace

TEST(BackupParts, ThreeMillionBytesOnDiskettesOf1457664BytesGiveThreePartsAndComeBackWhole) {
    // The start of a database file whose header does not vouch for its size, then data.
    std::string data(3000000, '\0');
    std::mt19937 rng(7);
    for (auto& c : data) c = static_cast<char>(rng());
    std::string header("SQLite format 3\0", 16);
    data.replace(0, 16, header);
    data[24] = 1;
    data[92] = 2;
    TempFolder f;
    writeBytes(f.path() / "source", data);
    auto media = diskettes(f, 3);

    ScriptedUi ui;
    MediaSequence out(media, 1457664);
    ASSERT_TRUE(writeParts(f.path() / "source", kStem, out, ui));
    EXPECT_EQ(questions(ui), (std::vector<std::string>{"Diskette 2: Indsæt ny diskette.", "Diskette 3: Indsæt ny diskette.",
                                                       "Info: Backup-kopiering færdig."}));
    // 355 whole blocks fit on each: the 356th is written again on the next diskette.
    EXPECT_EQ(fs::file_size(media[0] / "BKUP0610.001"), 355u * 4096);
    EXPECT_EQ(fs::file_size(media[1] / "BKUP0610.002"), 355u * 4096);
    EXPECT_EQ(fs::file_size(media[2] / "BKUP0610.003"), 3000000u - 2 * 355 * 4096);
    EXPECT_TRUE(fs::exists(media[0] / "BKUP.CNT"));
    EXPECT_TRUE(fs::exists(media[1] / "BKUP.CNT"));
    EXPECT_FALSE(fs::exists(media[2] / "BKUP.CNT"));

    ScriptedUi in;
    MediaSequence back(media, std::nullopt);
    ASSERT_TRUE(readParts(back, f.path() / "joined", in));
    EXPECT_EQ(questions(in), (std::vector<std::string>{"Ny diskette: Indsæt backup-diskette 2.",
                                                       "Ny diskette: Indsæt backup-diskette 3."}));
    EXPECT_EQ(readBytes(f.path() / "joined"), data);
}

TEST(BackupParts, AFullOrUnwritableMediumAsksToTryAgainAndAFullOneGoesOnOnTheNext) {
    TempFolder f;
    writeBytes(f.path() / "source", std::string(10000, 'v'));
    auto media = diskettes(f, 3);
    // No room for a single block: nothing written, asked; Yes goes on with the next medium.
    {
        ScriptedUi ui({Answer::Yes});
        MediaSequence out(media, 100);
        EXPECT_FALSE(writeParts(f.path() / "source", kStem, out, ui));  // every medium is that small
        ASSERT_GE(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, "Fejl ved kopiering til backup. Vil du prøve igen eventuelt med en ny diskette.");
        EXPECT_EQ(ui.shown[0].buttons, Buttons::YesNo);
        EXPECT_FALSE(fs::exists(media[0] / "BKUP0610.001"));
    }
    // Room for two blocks: 8192 bytes per part, the rest on the next medium.
    auto fresh = diskettes(f, 5);
    fresh.erase(fresh.begin(), fresh.begin() + 3);
    ScriptedUi ui;
    MediaSequence out(fresh, 9000);
    ASSERT_TRUE(writeParts(f.path() / "source", kStem, out, ui));
    EXPECT_EQ(fs::file_size(fresh[0] / "BKUP0610.001"), 8192u);
    EXPECT_EQ(fs::file_size(fresh[1] / "BKUP0610.002"), 1808u);
}

TEST(BackupParts, ANonEmptyRemovableMediumIsClearedOnlyOnYes) {
    TempFolder f;
    writeBytes(f.path() / "source", std::string(5000, 'v'));
    auto media = diskettes(f, 2);
    writeBytes(media[0] / "brev.txt", "vigtigt");
    {
        ScriptedUi ui({Answer::No, Answer::Ok});
        MediaSequence out(media, std::nullopt);
        ASSERT_TRUE(writeParts(f.path() / "source", kStem, out, ui));
        std::string drive = media[0].string();
        EXPECT_EQ(ui.shown[0].text, "Drev " + drive + " er ikke tomt. Ønskes alle filer på drev " + drive + " slettet?");
        EXPECT_EQ(ui.shown[0].title, "Advarsel");
        EXPECT_EQ(ui.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(questions(ui)[1], "Diskette 1: Indsæt ny diskette.");
        EXPECT_TRUE(fs::exists(media[0] / "brev.txt"));
        EXPECT_TRUE(fs::exists(media[1] / "BKUP0610.001"));
    }
    ScriptedUi ui({Answer::Yes});
    MediaSequence out(media, std::nullopt);
    ASSERT_TRUE(writeParts(f.path() / "source", kStem, out, ui));
    EXPECT_FALSE(fs::exists(media[0] / "brev.txt"));
    EXPECT_TRUE(fs::exists(media[0] / "BKUP0610.001"));
}

TEST(WholeBackup, IntoAFolderOnePartAndARestoreGivesTheSameFile) {
    TestApp t;
    fillSeason(t);
    t.db().exec("DELETE FROM Kapflyvninger WHERE Uge = 21");  // free pages for the compaction to drop
    TempFolder dest;
    FolderMedium folder(dest.path());
    ASSERT_EQ(backupWholeDatabase(t.app, folder), BackupOutcome::Done) << testing::PrintToString(t.ui.messages());
    ASSERT_NE(t.app.db, nullptr);  // open again
    EXPECT_EQ(t.db().integrityCheck(), "ok");
    const fs::path db = t.folder.path() / "SEKDATA.MDB";
    EXPECT_EQ(fs::file_size(dest.path() / "BKUP0610.001"), fs::file_size(db));
    EXPECT_FALSE(fs::exists(dest.path() / "BKUP.CNT"));
    EXPECT_FALSE(fs::exists(t.folder.path() / "tempdata.mdb"));
    std::string compacted = readBytes(db);
    EXPECT_EQ(readBytes(dest.path() / "BKUP0610.001"), compacted);

    t.db().exec("DELETE FROM Kapflyvninger");
    t.ui.shown.clear();
    t.ui.answers = {Answer::Yes};
    ASSERT_EQ(restoreWholeDatabase(t.app, folder), BackupOutcome::Done) << testing::PrintToString(t.ui.messages());
    EXPECT_EQ(questions(t.ui), (std::vector<std::string>{"Overskriv: Ønsker du at overskrive den nuværende database med backup.",
                                                         "Info: Backup er nu indlæst."}));
    EXPECT_EQ(t.ui.shown.back().icon, Icon::Exclamation);
    EXPECT_GT(t.db().scalar("SELECT count(*) FROM Deltagere").toInt(), 0);
    t.app.db.reset();
    EXPECT_EQ(readBytes(db), compacted);
    EXPECT_FALSE(fs::exists(t.folder.path() / "tempdata.mdb"));
}

TEST(WholeBackup, CancelAtTheNextDisketteDeletesThePartAndReopensTheDatabase) {
    TestApp t;
    fillSeason(t);
    TempFolder dest;
    auto media = diskettes(dest, 2);
    MediaSequence out(media, 8192);
    t.ui.answers = {Answer::Cancel};
    EXPECT_EQ(backupWholeDatabase(t.app, out), BackupOutcome::Stopped);
    EXPECT_EQ(questions(t.ui).back(), "Diskette 2: Indsæt ny diskette.");
    EXPECT_FALSE(fs::exists(media[0] / "BKUP0610.001"));
    ASSERT_NE(t.app.db, nullptr);
    EXPECT_FALSE(t.db().readOnly());
}

namespace {

// A section database backed up over three diskettes, and the file as it was after the backup.
struct ThreeDiskettes {
    TestApp t;
    TempFolder dest;
    std::vector<fs::path> media = diskettes(dest, 3);
    std::string backedUp;
    fs::path db = t.folder.path() / "SEKDATA.MDB";

    ThreeDiskettes() {
        fillSeason(t);
        auto size = fs::file_size(db);
        MediaSequence out(media, (size / 2 / 4096) * 4096 - 4096);
        if (backupWholeDatabase(t.app, out) != BackupOutcome::Done) throw std::runtime_error("backup failed");
        t.db().exec("DELETE FROM Kapflyvninger WHERE Uge = 21");
        t.app.db.reset();
        backedUp = readBytes(db);
        t.app.db = Database::open(db);
        t.ui.shown.clear();
    }
    // The restore must leave the current file exactly as it was.
    void expectUnchanged() {
        EXPECT_NE(t.app.db, nullptr);
        t.app.db.reset();
        EXPECT_EQ(readBytes(db), backedUp);
        EXPECT_FALSE(fs::exists(t.folder.path() / "tempdata.mdb"));
    }
};

}  // namespace

TEST(WholeRestore, CancellingTheSecondDisketteChangesNothing) {
    ThreeDiskettes d;
    ASSERT_TRUE(fs::exists(d.media[2] / "BKUP0610.003"));
    d.t.ui.answers = {Answer::Yes, Answer::Cancel};
    MediaSequence in(d.media, std::nullopt);
    EXPECT_EQ(restoreWholeDatabase(d.t.app, in), BackupOutcome::Stopped);
    EXPECT_EQ(questions(d.t.ui).back(), "Ny diskette: Indsæt backup-diskette 2.");
    EXPECT_EQ(d.t.ui.shown.back().buttons, Buttons::OkCancel);
    d.expectUnchanged();
}

TEST(WholeRestore, AMissingCorruptOrForeignPartChangesNothing) {
    {
        ThreeDiskettes d;
        fs::remove(d.media[1] / "BKUP0610.002");
        d.t.ui.answers = {Answer::Yes, Answer::Ok, Answer::No};
        MediaSequence in(d.media, std::nullopt);
        EXPECT_EQ(restoreWholeDatabase(d.t.app, in), BackupOutcome::Stopped);
        EXPECT_EQ(questions(d.t.ui).back(),
                  "Fejl: Ingen backupfil fundet på diskette 2. Vil du prøve med en anden diskette.");
        d.expectUnchanged();
    }
    {
        ThreeDiskettes d;
        auto part = d.media[1] / "BKUP0610.002";
        std::string bytes = readBytes(part);
        for (size_t i = 100; i < bytes.size(); i += 97) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
        writeBytes(part, bytes);
        d.t.ui.answers = {Answer::Yes};
        MediaSequence in(d.media, std::nullopt);
        EXPECT_EQ(restoreWholeDatabase(d.t.app, in), BackupOutcome::Failed);
        EXPECT_EQ(d.t.ui.shown.back().text.rfind("Fejl ved læsning af backup.", 0), 0u) << d.t.ui.shown.back().text;
        d.expectUnchanged();
    }
    {
        // The second diskette carries the second part of another, shorter backup of that day.
        ThreeDiskettes d;
        writeBytes(d.media[1] / "BKUP0610.002", std::string(8192, 'o'));
        fs::remove(d.media[1] / "BKUP.CNT");
        d.t.ui.answers = {Answer::Yes};
        MediaSequence in(d.media, std::nullopt);
        EXPECT_EQ(restoreWholeDatabase(d.t.app, in), BackupOutcome::Failed);
        EXPECT_NE(d.t.ui.shown.back().text.find("ufuldstændig"), std::string::npos) << d.t.ui.shown.back().text;
        d.expectUnchanged();
    }
}

TEST(WholeRestore, TheLatestOfTwoBackupsInAFolderIsRead) {
    TestApp t;
    fillSeason(t, {20});
    TempFolder dest;
    FolderMedium folder(dest.path());
    ASSERT_EQ(backupWholeDatabase(t.app, folder), BackupOutcome::Done);
    fs::rename(dest.path() / "BKUP0610.001", dest.path() / "BKUP0715.001");
    t.db().exec("DELETE FROM Kapflyvninger");
    ASSERT_EQ(backupWholeDatabase(t.app, folder), BackupOutcome::Done);  // BKUP0610.001: no races
    fs::last_write_time(dest.path() / "BKUP0610.001", fs::last_write_time(dest.path() / "BKUP0715.001") - std::chrono::hours(48));
    t.ui.answers = {Answer::Yes};
    ASSERT_EQ(restoreWholeDatabase(t.app, folder), BackupOutcome::Done);
    EXPECT_GT(t.db().scalar("SELECT count(*) FROM Kapflyvninger").toInt(), 0);
}

TEST(WholeBackup, OpenWindowsThatWillNotCloseStopBackupRestoreAndRepair) {
    TestApp t;
    t.app.closeOtherWindows = [] { return false; };
    TempFolder dest;
    FolderMedium folder(dest.path());
    EXPECT_EQ(backupWholeDatabase(t.app, folder), BackupOutcome::Stopped);
    EXPECT_EQ(restoreWholeDatabase(t.app, folder), BackupOutcome::Stopped);
    EXPECT_EQ(RepairDatabase(t.app), BackupOutcome::Stopped);
    EXPECT_EQ(questions(t.ui), (std::vector<std::string>{"Fejl: Luk alle vinduer før backup-kopiering.",
                                                         "Fejl: Luk alle vinduer før backup-kopiering.",
                                                         "Fejl: Luk alle vinduer før reparation af databasen."}));
    EXPECT_TRUE(fs::is_empty(dest.path()));
    EXPECT_NE(t.app.db, nullptr);
}

TEST(Repair, ADamagedIndexIsBuiltAgainFromTheRowsAndTheDatabaseCanBeWrittenAgain) {
    TestApp t;
    fillSeason(t);
    auto before = weekRows(t.db(), 20, weekBackupTables());
    t.app.db.reset();
    damagePage(t.folder.path() / "SEKDATA.MDB", "Deltagere_Fart");
    ASSERT_EQ(openSectionDatabaseWith(t.app), OpenResult::ReadOnly);
    t.ui.shown.clear();
    ASSERT_EQ(RepairDatabase(t.app), BackupOutcome::Done) << testing::PrintToString(t.ui.messages());
    EXPECT_TRUE(t.ui.shown.empty());
    EXPECT_FALSE(t.db().readOnly());
    EXPECT_EQ(t.db().integrityCheck(), "ok");
    EXPECT_EQ(weekRows(t.db(), 20, weekBackupTables()), before);
    EXPECT_NO_THROW(t.db().exec("DELETE FROM Kapflyvninger WHERE Uge = 21"));
}

TEST(Repair, ADamagedTableIsReportedAndTheFileLeftAsItWas) {
    TestApp t;
    fillSeason(t);
    t.app.db.reset();
    const fs::path db = t.folder.path() / "SEKDATA.MDB";
    damagePage(db, "Kapflyvninger");
    std::string damaged = readBytes(db);
    ASSERT_EQ(openSectionDatabaseWith(t.app), OpenResult::ReadOnly);
    t.ui.shown.clear();
    EXPECT_EQ(RepairDatabase(t.app), BackupOutcome::Failed);
    EXPECT_EQ(t.ui.shown.at(0).text.rfind("Fejl ved reparation af database.", 0), 0u) << t.ui.shown[0].text;
    EXPECT_EQ(t.ui.shown.at(0).title, "Fejl");
    EXPECT_TRUE(t.db().readOnly());  // open again, and still not to be written
    t.app.db.reset();
    EXPECT_EQ(readBytes(db), damaged);
    EXPECT_FALSE(fs::exists(t.folder.path() / "tempdata.mdb"));
}
