#include "core/db/upgrade.h"

#include <algorithm>

#include "core/db/schema.h"
#include "core/db/upgrader.h"

namespace vemora {

namespace {

// Rebuilding a table drops the old one, which with the relations enforced would delete every
// row that hangs on it. The setting cannot change inside a transaction, so it is switched
// before the upgrade's transaction begins and back after it ends.
class RelationsOff {
public:
    explicit RelationsOff(Database& db) : db_(db) { db_.exec("PRAGMA foreign_keys = OFF"); }
    ~RelationsOff() {
        try {
            db_.exec("PRAGMA foreign_keys = ON");
        } catch (...) {
        }
    }

private:
    Database& db_;
};

void storeVersion(Database& db, long long version) {
    db.execute("UPDATE Generelt SET Version = ? WHERE rowid = (SELECT min(rowid) FROM Generelt)", {version});
    if (db.changes() == 0) db.execute("INSERT INTO Generelt (Version) VALUES (?)", {version});
}

}  // namespace

long long readSchemaVersion(Database& db) {
    if (!db.hasColumn("Generelt", "Version")) return 0;
    return db.scalar("SELECT Version FROM Generelt LIMIT 1").toInt(0);
}

std::string newerVersionMessage(long long version) {
    return "Sektionsdatabasen har version " + std::to_string(version) + ", men dette program kender kun version " +
           std::to_string(kSchemaVersion) +
           ". Databasen er skrevet af en nyere udgave af programmet; den åbnes kun til læsning og ændres ikke.";
}

UpgradeResult UpgradeDatabase(Database& db, Ui& ui, const std::function<void()>& progress) {
    long long version = 0;
    bool hasVersionField = false;
    try {
        db.query("SELECT * FROM Generelt LIMIT 1");
        hasVersionField = db.hasColumn("Generelt", "Version");
        if (hasVersionField) version = readSchemaVersion(db);
    } catch (const std::exception& e) {
        // The engine's own text, behind a Danish sentence that says what could not be done.
        ui.message(std::string("Sektionsdatabasen kan ikke læses: ") + e.what(), "Fejl", Icon::Exclamation);
        return UpgradeResult::Unreadable;
    }
    if (version == kSchemaVersion) return UpgradeResult::Current;
    if (version > kSchemaVersion) {
        ui.message(newerVersionMessage(version), "Fejl", Icon::Exclamation);
        return UpgradeResult::Newer;
    }

    RelationsOff relationsOff(db);
    // One transaction around the whole upgrade: a program that is ended (or dies) half way
    // leaves the file exactly as it was, and the steps run again at the next start.
    Transaction all(db);
    upgrade::Upgrader u(db, ui);
    if (!hasVersionField)
        u.run([&] {
            db.exec("ALTER TABLE Generelt ADD COLUMN " + columnDefinition({"Version", FieldType::Long, 0, std::nullopt}));
            storeVersion(db, 0);
        });
    for (int step = static_cast<int>(std::max(0LL, version)); step <= upgrade::kLastStep && !u.cancelled(); ++step) {
        upgrade::runStep(u, step);
        if (progress) progress();
    }
    u.conformTables();
    if (!u.failed()) u.run([&] { storeVersion(db, kSchemaVersion); });
    if (u.cancelled()) {
        all.rollback();
        return UpgradeResult::Cancelled;
    }
    all.commit();
    return u.failed() ? UpgradeResult::Incomplete : UpgradeResult::Upgraded;
}

}  // namespace vemora
