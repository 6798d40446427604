#pragma once
// Backup, restore and repair as the secretary starts them: each asks its questions, shows its
// messages and keeps the section database open (again) when it is done.
#include <filesystem>

#include "core/app/appstate.h"
#include "core/backup/media.h"
#include "core/backup/weekbackup.h"

namespace vemora {

enum class BackupOutcome {
    Done,     // finished
    Stopped,  // an answer (or an open window) ended it; nothing was changed
    Failed,   // an error was shown
};

// The week's races into folder + "BACKUP" + week + ".MDB", asking before an existing file is
// overwritten; "Backup-kopiering færdig." at the end.
BackupOutcome backupWeek(AppState& app, const std::filesystem::path& folder, int week);

// The whole database, repaired and compacted, in parts on the media. The database is closed
// for it and opened again in every case.
BackupOutcome backupWholeDatabase(AppState& app, Medium& medium);

// Merges folder + "BACKUP" + week + ".MDB" into the section database.
BackupOutcome restoreWeek(AppState& app, const std::filesystem::path& folder, int week,
                          WeekRestoreSummary* summary = nullptr);

// Replaces the section database by the latest whole-database backup on the media, only once
// every part is read and checked; "Backup er nu indlæst." at the end. The database is opened
// again in every case.
BackupOutcome restoreWholeDatabase(AppState& app, Medium& medium);

// Checks and compacts the section database; "Fejl ved reparation af database." when that
// fails. The database is opened again in every case.
BackupOutcome RepairDatabase(AppState& app);

}  // namespace vemora
