#include "core/backup/repair.h"

#include <vector>

#include "core/backup/files.h"
#include "core/db/database.h"

namespace vemora {

namespace fs = std::filesystem;

namespace {

std::string checkOpen(Database& db) {
    RowSet rs = db.query("PRAGMA integrity_check");
    std::string out;
    for (auto& r : rs.rows) out += (out.empty() ? "" : "\n") + r[0].toText();
    return out;
}

// Builds a new file from the rows that the damaged one still gives: the tables as they were
// declared, their rows read straight from the tables (never through an index, which may be
// what is damaged), then the indexes, triggers and stored queries made anew.
void rebuildFromRows(Database& src, const fs::path& temp) {
    auto dst = Database::create(temp);
    dst->exec("PRAGMA foreign_keys = OFF");
    RowSet schema = src.query(
        "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
    Transaction t(*dst);
    for (auto& r : schema.rows)
        if (r[0].toText() == "table") dst->exec(r[2].toText());
    for (auto& r : schema.rows) {
        if (r[0].toText() != "table") continue;
        std::string table = sqlIdent(r[1].toText());
        Statement read = src.prepare("SELECT * FROM " + table + " NOT INDEXED");
        int n = read.columnCount();
        std::string marks;
        for (int i = 0; i < n; ++i) marks += i ? ", ?" : "?";
        Statement write = dst->prepare("INSERT INTO " + table + " VALUES (" + marks + ")");
        while (read.step()) {
            for (int i = 0; i < n; ++i) write.bind(i + 1, read.column(i));
            write.run();
        }
    }
    if (src.tableExists("sqlite_sequence")) {
        RowSet seq = src.query("SELECT name, seq FROM sqlite_sequence");
        for (auto& r : seq.rows) {
            dst->execute("DELETE FROM sqlite_sequence WHERE name = ?", {r[0]});
            dst->execute("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)", {r[0], r[1]});
        }
    }
    for (auto& r : schema.rows)
        if (r[0].toText() != "table") dst->exec(r[2].toText());
    t.commit();
}

}  // namespace

std::string checkDatabaseFile(const fs::path& file) {
    auto db = Database::openReadOnly(file, "");
    return checkOpen(*db);
}

void repairDatabaseFile(const fs::path& file, const fs::path& temp) {
    std::error_code ec;
    fs::remove(temp, ec);
    try {
        std::unique_ptr<Database> src;
        try {
            src = Database::openReadOnly(file, "");
        } catch (const DbError& e) {
            throw RepairError(e.what());
        }
        std::string findings;
        try {
            findings = checkOpen(*src);
        } catch (const DbError& e) {
            findings = e.what();
        }
        if (findings == "ok") {
            src->compactInto(temp);
        } else {
            // What was built from a damaged file is checked before it takes the file's place.
            rebuildFromRows(*src, temp);
            auto copy = Database::openReadOnly(temp, "");
            std::string after = checkOpen(*copy);
            copy.reset();
            if (after != "ok")
                throw RepairError("Kopien af databasen er heller ikke i orden: " + after.substr(0, after.find('\n')));
        }
        src.reset();
        replaceFile(temp, file);
    } catch (const RepairError&) {
        fs::remove(temp, ec);
        throw;
    } catch (const std::exception& e) {
        fs::remove(temp, ec);
        throw RepairError(e.what());
    }
}

}  // namespace vemora
