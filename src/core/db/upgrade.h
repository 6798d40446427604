#pragma once
// Brings a section database of any older schema version to the current one, step by step,
// once at every start right after the file is opened.
#include <functional>
#include <string>

#include "core/base/ui.h"
#include "core/db/database.h"

namespace vemora {

enum class UpgradeResult {
    Current,     // already at the current version: nothing was run or written
    Upgraded,    // every step ran without an error and the new version is written
    Incomplete,  // a step failed; the version is left as it was, so the steps run again next time
    Newer,       // written by a newer program: reported and left untouched
    Unreadable,  // Generelt could not be read: reported, nothing changed
    Cancelled,   // the user chose to end the program at an error; nothing changed
};

// Runs every upgrade step from the stored version on, calling `progress` after each step
// (the splash window's bar). Reports its own problems through `ui`; on Cancelled the caller
// ends the program.
UpgradeResult UpgradeDatabase(Database& db, Ui& ui, const std::function<void()>& progress = {});

// The schema version stored in Generelt (Null, a missing row or a missing field count as 0);
// throws DbError when Generelt cannot be read.
long long readSchemaVersion(Database& db);

// The sentence shown when a file was written by a newer program than this one.
std::string newerVersionMessage(long long version);

}  // namespace vemora
