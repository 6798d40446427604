#include "core/db/upgrade.h"

#include "core/db/schema.h"

namespace vemora {

long long readSchemaVersion(Database& db) {
    if (!db.hasColumn("Generelt", "Version")) return 0;
    return db.scalar("SELECT Version FROM Generelt LIMIT 1").toInt(0);
}

bool UpgradeDatabase(Database& db, Ui& ui) {
    long long version;
    try {
        version = readSchemaVersion(db);
    } catch (const std::exception& e) {
        // The engine's own text, behind a Danish sentence that says what could not be done.
        ui.message(std::string("Sektionsdatabasen kan ikke læses: ") + e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
    if (version == kSchemaVersion) return true;
    // Older files are brought up to date by the step-by-step upgrade; until a file can be
    // upgraded it is left exactly as it is.
    ui.message("Databasen har version " + std::to_string(version) + ", men programmet kræver version " +
                                    std::to_string(kSchemaVersion) +
                                    ". Databasen kan ikke opgraderes af denne udgave af programmet og er ikke ændret.",
                                "Fejl", Icon::Exclamation);
    return false;
}

}  // namespace vemora
