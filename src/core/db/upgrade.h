#pragma once
#include "core/app/appstate.h"

namespace vemora {

// Brings the open section database to the current schema version. Returns true when the
// database is current. Reports its own problems through the app's Ui.
bool UpgradeDatabase(AppState& app);

// The schema version stored in Generelt (Null counts as 0); throws DbError when unreadable.
long long readSchemaVersion(Database& db);

}  // namespace vemora
