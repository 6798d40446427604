#pragma once
// Bringing an older section database to the current schema.
#include "core/base/ui.h"
#include "core/db/database.h"

namespace vemora {

// Brings the open section database to the current schema version. Returns true when the
// database is current. Reports its own problems through the Ui.
bool UpgradeDatabase(Database& db, Ui& ui);

// The schema version stored in Generelt (Null counts as 0); throws DbError when unreadable.
long long readSchemaVersion(Database& db);

}  // namespace vemora
