#pragma once
// The start-up steps that need no window: the program folder, the country code, opening
// (or creating) the section database and the working week. The GUI's Main and the
// command-line tool both run them.
#include <filesystem>
#include <functional>
#include <string>

#include "core/app/appstate.h"

namespace vemora {

inline const char* kDatabaseFileName = "SEKDATA.MDB";
inline const char* kMainCaption = "Vemora - 21-05-2014";

// Reads [Generelt] Land from CONFIG.INI in the folder (file names without regard to case);
// "DK" when the file or key is missing or unreadable.
std::string readLand(const std::filesystem::path& appPath);
// The federation name for the country code: SE, NO, anything else Danish.
std::string federationName(const std::string& land);
std::string mainWindowTitle(const std::string& land);

// Sets AppPath and Land from the program folder.
void initAppState(AppState& app, const std::filesystem::path& folder);

// The database file in the program folder, found without regard to case.
std::filesystem::path databasePath(const std::filesystem::path& appPath);

enum class OpenResult {
    Ready,       // open and current
    Incomplete,  // open; an upgrade step failed and runs again at the next start
    ReadOnly,    // damaged, unreadable or written by a newer program: open for reading only
    Failed,      // no database (missing folder, not a database, locked, unreadable)
    Ended,       // the user chose to end the program during the upgrade
};

// Opens the section database of the program folder, creating a new one with the current
// schema when the file is missing, checks it with the engine's quick check and runs
// UpgradeDatabase (calling `progress` after each step). An existing file is never replaced:
// when it cannot be opened (or is write-protected) the reason is shown in a "Fejl" box and the
// program goes on without a database. A file another program holds is waited for up to
// app.busyTimeout, with the busy pointer. A damaged file or one from a newer program is
// reported and held open for reading only, so nothing is written into it until it is
// repaired or replaced.
OpenResult openSectionDatabaseWith(AppState& app, const std::function<void()>& progress = {});
// The same; true when the database is open and current.
bool openSectionDatabase(AppState& app);

// The sentence shown when the quick check finds the file damaged.
std::string damagedDatabaseMessage(const std::string& findings);

// Creates a new, empty section database file with the current schema and delivered rows.
std::unique_ptr<Database> createSectionDatabase(const std::filesystem::path& file,
                                                std::chrono::milliseconds busyTimeout = Database::kDefaultBusyTimeout);

// Start of a new season: two questions, then the season's races and what hangs on them go.
// Returns true when the races were deleted.
bool StartSeason(AppState& app);

}  // namespace vemora
