#include "core/db/upgrader.h"

#include <sqlite3.h>

#include <stdexcept>

#include "core/base/text.h"
#include "core/db/regnskab.h"
#include "core/domain/catalogue.h"

namespace vemora::upgrade {

namespace {

const TableDef& tableDef(const std::string& table) {
    const TableDef* t = findTable(table);
    if (!t) throw std::logic_error("table missing from the schema: " + table);
    return *t;
}

const FieldDef& fieldDef(const std::string& table, const std::string& field) {
    for (const auto& f : tableDef(table).fields)
        if (iequals(f.name, field)) return f;
    throw std::logic_error("field missing from the schema: " + table + "." + field);
}

bool indexExists(Database& db, const std::string& name) {
    return db.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE", {name}).toInt() > 0;
}

bool triggerExists(Database& db, const std::string& name) {
    return db.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND name = ? COLLATE NOCASE", {name}).toInt() > 0;
}

std::string createViewSql(const std::string& name, const std::string& select) {
    return "CREATE VIEW " + sqlIdent(name) + " AS " + select;
}

// SQLite checks every stored query when a field is dropped or renamed, and a query written
// by an earlier step may read a field that a later step adds. The queries are set aside for
// the change and written back with their texts unchanged.
template <class Op>
void withQueriesAside(Database& db, Op&& op) {
    RowSet views = db.query("SELECT name, sql FROM sqlite_master WHERE type = 'view' ORDER BY rowid");
    for (auto& r : views.rows) db.exec("DROP VIEW " + sqlIdent(r[0].toText()));
    op();
    for (auto& r : views.rows) db.exec(r[1].toText());
}

// Renames without looking into stored queries and triggers, which name the table by its
// name and find the rebuilt table under it again.
class LegacyRename {
public:
    explicit LegacyRename(Database& db) : db_(db) { db_.exec("PRAGMA legacy_alter_table = ON"); }
    ~LegacyRename() {
        try {
            db_.exec("PRAGMA legacy_alter_table = OFF");
        } catch (...) {
        }
    }

private:
    Database& db_;
};

bool hasRaceRelation(Database& db, const std::string& table) {
    RowSet fk = db.query("SELECT \"table\" FROM pragma_foreign_key_list(?)", {table});
    for (auto& r : fk.rows)
        if (iequals(r[0].toText(), "Kapflyvninger")) return true;
    return false;
}

}  // namespace

void Upgrader::fault(int code, const std::string& text) {
    failed_ = true;
    if (silent_) return;
    Answer a = ui_.ask("Fejlkode: " + std::to_string(code) + ": " + text +
                           "\n\nFejl ved opgradering af database. Vil du se andre fejlmeddelelser?",
                       "Fejl", Buttons::YesNoCancel, Icon::Question, Answer::Yes);
    if (a == Answer::No) silent_ = true;
    if (a == Answer::Cancel) cancelled_ = true;
}

void Upgrader::addField(const std::string& table, const std::string& field) { addField(table, fieldDef(table, field)); }

void Upgrader::addField(const std::string& table, const FieldDef& field) {
    run([&] {
        if (db_.tableExists(table) && db_.hasColumn(table, field.name)) return;
        db_.exec("ALTER TABLE " + sqlIdent(table) + " ADD COLUMN " + columnDefinition(field));
    });
}

void Upgrader::createTable(const std::string& table, const std::vector<std::string>& fields) {
    bool exists = false;
    run([&] {
        if ((exists = db_.tableExists(table))) return;
        const TableDef& cur = tableDef(table);
        TableDef def{cur.name, {}, cur.primaryKey, cur.constraints};
        for (const auto& f : fields) def.fields.push_back(fieldDef(table, f));
        db_.exec(createTableSql(def));
    });
    if (exists)
        for (const auto& f : fields) addField(table, f);
}

void Upgrader::createIndex(const std::string& table, const std::string& name) {
    run([&] {
        for (const auto& ix : schemaIndexes()) {
            if (!iequals(ix.table, table) || !iequals(ix.name, name)) continue;
            if (!indexExists(db_, ix.table + "_" + ix.name)) db_.exec(createIndexSql(ix));
            return;
        }
        throw std::logic_error("index missing from the schema: " + table + "." + name);
    });
}

void Upgrader::relation(const std::string& name) {
    run([&] {
        if (name == "ForeningerRegnskab") {
            for (const auto& sql : clubAccountTriggers()) {
                // "CREATE TRIGGER <name> ..."
                std::string trigger = sql.substr(15, sql.find(' ', 15) - 15);
                if (!triggerExists(db_, trigger)) db_.exec(sql);
            }
            return;
        }
        std::string table = name == "KapflyvningerRegnskab" ? "Regnskab"
                             : name == "KapflyvningerZspil" ? prizeScales()[kScaleZ].table
                             : name == "KapflyvningerRspil" ? prizeScales()[kScaleR].table
                                                            : "";
        if (table.empty()) throw std::logic_error("unknown relation " + name);
        if (!db_.tableExists(table)) throw DbError("Tabellen " + table + " findes ikke.", SQLITE_ERROR);
        // SQLite adds a relation to a table only by building the table anew with it.
        if (!hasRaceRelation(db_, table)) rebuildTable(db_, tableDef(table));
    });
}

void Upgrader::changeQuery(const std::string& name, const std::string& select) {
    run([&] {
        if (!db_.viewExists(name)) throw DbError("Forespørgslen " + name + " findes ikke.", SQLITE_ERROR);
        db_.exec("DROP VIEW " + sqlIdent(name));
        db_.exec(createViewSql(name, select));
    });
}

void Upgrader::createQuery(const std::string& name, const std::string& select) {
    run([&] {
        if (!db_.viewExists(name)) db_.exec(createViewSql(name, select));
    });
}

void Upgrader::execute(const std::string& sql) {
    run([&] {
        try {
            db_.exec(sql);
        } catch (const DbError& e) {
            if (e.code() == SQLITE_CONSTRAINT_PRIMARYKEY || e.code() == SQLITE_CONSTRAINT_UNIQUE) return;
            throw;
        }
    });
}

void Upgrader::fillRegnskab() {
    run([&] { vemora::fillRegnskab(db_); });
}

void Upgrader::widenField(const std::string& table, const std::string& field, int size) {
    run([&] {
        const std::string temp = "Temp";
        if (!db_.hasColumn(table, temp))
            db_.exec("ALTER TABLE " + sqlIdent(table) + " ADD COLUMN " + columnDefinition({temp, FieldType::Text, size, std::nullopt}));
        db_.exec("UPDATE " + sqlIdent(table) + " SET " + sqlIdent(temp) + " = " + sqlIdent(field));
        withQueriesAside(db_, [&] {
            db_.exec("ALTER TABLE " + sqlIdent(table) + " DROP COLUMN " + sqlIdent(field));
            db_.exec("ALTER TABLE " + sqlIdent(table) + " RENAME COLUMN " + sqlIdent(temp) + " TO " + sqlIdent(field));
        });
    });
}

void Upgrader::conformTables() {
    for (const auto& t : schemaTables())
        run([&] {
            if (db_.tableExists(t.name)) rebuildTable(db_, t);
        });
}

void rebuildTable(Database& db, const TableDef& def) {
    auto present = db.columns(def.name);
    TableDef target{def.name, {}, {}, def.constraints};
    auto has = [&](const std::string& n) {
        for (const auto& c : present)
            if (iequals(c.name, n)) return true;
        return false;
    };
    for (const auto& f : def.fields)
        if (has(f.name)) target.fields.push_back(f);
    bool keyComplete = true;
    for (const auto& k : def.primaryKey) keyComplete = keyComplete && has(k);
    if (keyComplete) target.primaryKey = def.primaryKey;
    std::string columns;
    for (const auto& f : target.fields) columns += (columns.empty() ? "" : ", ") + sqlIdent(f.name);
    std::string sql = createTableSql(target);
    // Fields the schema does not know stay, after the known ones, with their declared types.
    std::vector<std::string> extra;
    for (const auto& c : present) {
        bool known = false;
        for (const auto& f : def.fields) known = known || iequals(f.name, c.name);
        if (known) continue;
        extra.push_back(sqlIdent(c.name) + (c.declaredType.empty() ? "" : " " + c.declaredType));
        columns += ", " + sqlIdent(c.name);
    }
    if (!extra.empty()) {
        size_t firstField = sql.find('(') + 1;
        size_t afterFields = firstField;
        for (size_t i = 0; i < target.fields.size(); ++i) afterFields += columnDefinition(target.fields[i]).size() + (i ? 2 : 0);
        std::string add;
        for (const auto& e : extra) add += ", " + e;
        sql.insert(afterFields, add);
    }
    if (db.scalar("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", {def.name}).toText() == sql)
        return;

    RowSet attached = db.query(
        "SELECT type, name, sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND tbl_name = ? COLLATE NOCASE "
        "AND sql IS NOT NULL ORDER BY rowid",
        {def.name});
    for (auto& r : attached.rows) db.exec("DROP " + upper(r[0].toText()) + " " + sqlIdent(r[1].toText()));
    Value sequence;
    if (db.tableExists("sqlite_sequence"))
        sequence = db.scalar("SELECT seq FROM sqlite_sequence WHERE name = ? COLLATE NOCASE", {def.name});
    {
        LegacyRename legacy(db);
        db.exec("ALTER TABLE " + sqlIdent(def.name) + " RENAME TO vemora_old");
    }
    db.exec(sql);
    db.exec("INSERT INTO " + sqlIdent(def.name) + " (" + columns + ") SELECT " + columns + " FROM vemora_old");
    db.exec("DROP TABLE vemora_old");
    for (auto& r : attached.rows) db.exec(r[2].toText());
    if (!sequence.isNull()) {
        db.execute("DELETE FROM sqlite_sequence WHERE name = ?", {def.name});
        db.execute("INSERT INTO sqlite_sequence (name, seq) VALUES (?, max(?, ifnull((SELECT max(rowid) FROM " +
                       sqlIdent(def.name) + "), 0)))",
                   {def.name, sequence});
    }
    Value orphans = db.scalar("SELECT count(*) FROM pragma_foreign_key_check(?)", {def.name});
    if (orphans.toInt() > 0)
        throw DbError("Tabellen " + def.name + " har " + orphans.toText() +
                          " rækker, der henviser til en post, som ikke findes; relationen kan ikke oprettes.",
                      SQLITE_CONSTRAINT_FOREIGNKEY);
}

}  // namespace vemora::upgrade
