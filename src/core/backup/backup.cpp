#include "core/backup/backup.h"

#include "core/app/startup.h"
#include "core/base/text.h"
#include "core/backup/files.h"
#include "core/backup/parts.h"
#include "core/backup/repair.h"

namespace vemora {

namespace fs = std::filesystem;

namespace {

void fail(AppState& app, const std::string& sentence, const std::string& detail) {
    app.userInterface().message(detail.empty() ? sentence : sentence + "\n\n" + detail, "Fejl", Icon::Exclamation);
}

// The database file is about to be closed and replaced: no other window may still be reading it.
bool windowsClosed(AppState& app, const std::string& refusal) {
    if (!app.closeOtherWindows || app.closeOtherWindows()) return true;
    app.userInterface().message(refusal, "Fejl", Icon::Exclamation);
    return false;
}

void removeQuietly(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

}  // namespace

BackupOutcome backupWeek(AppState& app, const fs::path& folder, int week) {
    Ui& ui = app.userInterface();
    fs::path file = folder / weekBackupName(week);
    if (auto existing = findFileNoCase(folder, weekBackupName(week))) {
        if (ui.ask("Filen " + file.string() + " eksisterer allerede. Ønsker du at overskrive den.", "Overskriv",
                   Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
            return BackupOutcome::Stopped;
        std::error_code ec;
        fs::remove(*existing, ec);
        if (ec) {
            fail(app, "Fejl ved lagring af backup.", "Filen " + existing->string() + " kan ikke slettes: " + ec.message());
            return BackupOutcome::Failed;
        }
    }
    BusyScope busy(app);
    try {
        writeWeekBackup(app.database(), week, file);
    } catch (const std::exception& e) {
        // The part already written stays, as it is.
        fail(app, "Fejl ved lagring af backup.", e.what());
        return BackupOutcome::Failed;
    }
    ui.message("Backup-kopiering færdig.", "Info", Icon::None);
    return BackupOutcome::Done;
}

BackupOutcome backupWholeDatabase(AppState& app, Medium& medium) {
    if (!windowsClosed(app, "Luk alle vinduer før backup-kopiering.")) return BackupOutcome::Stopped;
    BusyScope busy(app);
    const fs::path file = databasePath(app.appPath);
    BackupOutcome out = BackupOutcome::Failed;
    app.db.reset();
    try {
        repairDatabaseFile(file, app.appPath / kTempFileName);
        out = writeParts(file, partStem(app.today()), medium, app.userInterface()) ? BackupOutcome::Done
                                                                                  : BackupOutcome::Stopped;
    } catch (const std::exception& e) {
        fail(app, "Fejl ved lagring af backup.", e.what());
    }
    openSectionDatabaseWith(app);
    return out;
}

BackupOutcome restoreWeek(AppState& app, const fs::path& folder, int week, WeekRestoreSummary* summary) {
    const std::string name = (folder / weekBackupName(week)).string();
    auto file = findFileNoCase(folder, weekBackupName(week));
    if (!file) {
        fail(app, "Fejl ved læsning af backup.", "Filen " + name + " findes ikke.");
        return BackupOutcome::Failed;
    }
    BusyScope busy(app);
    std::unique_ptr<Database> backup;
    try {
        Database& db = app.database();
        if (db.readOnly())
            throw DbError(db.readOnlyReason().empty() ? "Sektionsdatabasen er skrivebeskyttet, så intet kan gemmes i den."
                                                      : db.readOnlyReason());
        backup = Database::openReadOnly(*file, "");
        std::string problem = weekBackupProblem(db, *backup, name);
        if (!problem.empty()) throw DbError(problem);
    } catch (const std::exception& e) {
        fail(app, "Fejl ved læsning af backup.", e.what());
        return BackupOutcome::Failed;
    }
    Database& db = app.database();
    Transaction t(db);
    try {
        WeekRestoreSummary s = mergeWeekBackup(db, *backup);
        t.commit();
        if (summary) *summary = s;
    } catch (const std::exception& e) {
        // The rows merged before the error stay.
        try {
            t.commit();
        } catch (...) {
        }
        fail(app, "Fejl ved læsning af backup.", e.what());
        return BackupOutcome::Failed;
    }
    return BackupOutcome::Done;
}

BackupOutcome restoreWholeDatabase(AppState& app, Medium& medium) {
    Ui& ui = app.userInterface();
    if (!windowsClosed(app, "Luk alle vinduer før backup-kopiering.")) return BackupOutcome::Stopped;
    if (ui.ask("Ønsker du at overskrive den nuværende database med backup.", "Overskriv", Buttons::YesNo, Icon::Question,
               Answer::No) != Answer::Yes)
        return BackupOutcome::Stopped;
    BusyScope busy(app);
    const fs::path temp = app.appPath / kTempFileName;
    bool closed = false;
    try {
        if (!readParts(medium, temp, ui)) {
            removeQuietly(temp);
            return BackupOutcome::Stopped;
        }
        // Nothing replaces the section database before the joined parts have shown to be a
        // whole, sound section database.
        std::string findings = checkDatabaseFile(temp);
        if (findings != "ok") throw RestoreError("Backuppen er beskadiget: " + findings.substr(0, findings.find('\n')));
        if (!Database::openReadOnly(temp, "")->tableExists("Generelt"))
            throw RestoreError("Backuppen er ikke en sektionsdatabase.");
        app.db.reset();
        closed = true;
        replaceFile(temp, databasePath(app.appPath));
    } catch (const std::exception& e) {
        removeQuietly(temp);
        fail(app, "Fejl ved læsning af backup.", e.what());
        if (closed) openSectionDatabaseWith(app);
        return BackupOutcome::Failed;
    }
    openSectionDatabaseWith(app);
    ui.message("Backup er nu indlæst.", "Info", Icon::Exclamation);
    return BackupOutcome::Done;
}

BackupOutcome RepairDatabase(AppState& app) {
    if (!windowsClosed(app, "Luk alle vinduer før reparation af databasen.")) return BackupOutcome::Stopped;
    BusyScope busy(app);
    app.db.reset();  // a failure to close changes nothing here
    BackupOutcome out = BackupOutcome::Done;
    try {
        repairDatabaseFile(databasePath(app.appPath), app.appPath / kTempFileName);
    } catch (const std::exception& e) {
        fail(app, "Fejl ved reparation af database.", e.what());
        out = BackupOutcome::Failed;
    }
    openSectionDatabaseWith(app);
    return out;
}

}  // namespace vemora
