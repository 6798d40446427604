#include "core/backup/weekbackup.h"

#include <set>

#include "core/base/text.h"
#include "core/domain/catalogue.h"

namespace vemora {

namespace {

// How a backed-up row finds its row in the section database: by these fields (the race
// reference mapped), the fields from position `copyFrom` (1-based) being copied.
struct MergeRule {
    const char* table;
    std::vector<std::string> keys;
    size_t copyFrom;
};

// The prize scales of a week backup: those of the base set. Z and R came later, with one row
// per value, and were never part of it.
std::vector<const char*> backedUpScales() {
    std::vector<const char*> out;
    for (const auto& scale : prizeScales())
        if (!scale.keyed) out.push_back(scale.table);
    return out;
}

const std::vector<MergeRule>& mergeRules() {
    static const std::vector<MergeRule> r = [] {
        std::vector<MergeRule> v{{"Deltagere", {"Ringnummer", "Kapflyvning"}, 3}};
        for (const char* table : backedUpScales()) v.push_back({table, {"Kapflyvning", "Værdi"}, 3});
        v.push_back({"Slagspil", {"Kapflyvning", "Forening", "Slag"}, 4});
        v.push_back({"Indbetalinger", {"Kapflyvning", "Forening"}, 3});
        return v;
    }();
    return r;
}

// The table's name as the file spells it.
std::string storedName(Database& db, const std::string& table) {
    Value v = db.scalar("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", {table});
    return v.isNull() ? table : v.toText();
}

std::vector<std::string> fieldNames(Database& db, const std::string& table) {
    std::vector<std::string> out;
    for (const auto& c : db.columns(table)) out.push_back(c.name);
    return out;
}

// The section's spelling of a field of the backup, "" when the section table has no such field.
std::string sectionField(const std::vector<std::string>& section, const std::string& name) {
    for (const auto& s : section)
        if (iequals(s, name)) return s;
    return "";
}

bool isConstraint(const DbError& e) { return (e.code() & 0xff) == 19; }  // SQLITE_CONSTRAINT

// Writes one row: all fields in one statement, and where the engine refuses that, each field
// on its own, leaving out those it refuses (as a field that cannot be written is skipped).
class RowWriter {
public:
    RowWriter(Database& db, std::string table, std::vector<std::string> keys, std::vector<std::string> fields)
        : db_(db), table_(std::move(table)), keys_(std::move(keys)), fields_(std::move(fields)) {
        std::string names, marks, sets;
        for (const auto& k : keys_) {
            names += (names.empty() ? "" : ", ") + sqlIdent(k);
            marks += marks.empty() ? "?" : ", ?";
        }
        for (const auto& f : fields_) {
            names += (names.empty() ? "" : ", ") + sqlIdent(f);
            marks += marks.empty() ? "?" : ", ?";
            sets += (sets.empty() ? "" : ", ") + sqlIdent(f) + " = ?";
        }
        insert_ = names.empty() ? "INSERT INTO " + sqlIdent(table_) + " DEFAULT VALUES"
                                : "INSERT INTO " + sqlIdent(table_) + " (" + names + ") VALUES (" + marks + ")";
        if (!sets.empty()) update_ = "UPDATE " + sqlIdent(table_) + " SET " + sets + " WHERE rowid = ?";
    }

    // Adds a row with the key values and the field values; returns its rowid.
    long long add(const std::vector<Value>& keys, const std::vector<Value>& values) {
        std::vector<Value> all = keys;
        all.insert(all.end(), values.begin(), values.end());
        try {
            db_.execute(insert_, all);
            return db_.lastInsertId();
        } catch (const DbError& e) {
            if (!isConstraint(e)) throw;
        }
        std::string names, marks;
        for (const auto& k : keys_) {
            names += (names.empty() ? "" : ", ") + sqlIdent(k);
            marks += marks.empty() ? "?" : ", ?";
        }
        db_.execute(names.empty() ? "INSERT INTO " + sqlIdent(table_) + " DEFAULT VALUES"
                                  : "INSERT INTO " + sqlIdent(table_) + " (" + names + ") VALUES (" + marks + ")",
                    keys);
        long long rowid = db_.lastInsertId();
        eachField(rowid, values);
        return rowid;
    }

    void update(long long rowid, const std::vector<Value>& values) {
        if (update_.empty()) return;
        std::vector<Value> all = values;
        all.push_back(rowid);
        try {
            db_.execute(update_, all);
        } catch (const DbError& e) {
            if (!isConstraint(e)) throw;
            eachField(rowid, values);
        }
    }

private:
    void eachField(long long rowid, const std::vector<Value>& values) {
        for (size_t i = 0; i < fields_.size(); ++i) {
            try {
                db_.execute("UPDATE " + sqlIdent(table_) + " SET " + sqlIdent(fields_[i]) + " = ? WHERE rowid = ?",
                            {values[i], rowid});
            } catch (const DbError& e) {
                if (!isConstraint(e)) throw;
            }
        }
    }

    Database& db_;
    std::string table_;
    std::vector<std::string> keys_, fields_;
    std::string insert_, update_;
};

// The backup's fields from a 1-based position on that the section table also has: their
// positions in the backup row and their names in the section.
struct Copied {
    std::vector<size_t> at;
    std::vector<std::string> names;
};

Copied copiedFields(const std::vector<std::string>& backup, const std::vector<std::string>& section, size_t from) {
    Copied c;
    for (size_t i = from - 1; i < backup.size(); ++i) {
        std::string s = sectionField(section, backup[i]);
        if (s.empty()) continue;
        c.at.push_back(i);
        c.names.push_back(s);
    }
    return c;
}

// A race the restore created has no account rows yet (they are not in a week backup): they
// are counted from its birds and loft games as the import counts them.
void countEntries(Database& db, long long race) {
    std::string sql = "INSERT INTO Regnskab (Kapflyvning, Forening, AntalDuer, AntalHanner, AntalHunner, AntalP, AntalE, "
                      "AntalZ, AntalR";
    std::string sums = "count(*), sum(iif(Køn = 'A', 1, 0)), sum(iif(Køn = 'U', 1, 0)), sum(iif(Pulje, 1, 0)), "
                       "sum(iif(Elite, 1, 0)), sum(iif(Kl_Z, 1, 0)), sum(iif(Kl_R, 1, 0))";
    for (char c : {'A', 'B'})
        for (int k = 1; k <= 6; ++k) {
            sql += ", Antal" + std::string(1, c) + std::to_string(k);
            sums += ", sum(iif(\"Sektion " + std::string(1, c) + "\" = " + std::to_string(k) + ", 1, 0))";
        }
    db.execute(sql + ") SELECT Kapflyvning, Forening, " + sums +
                   " FROM Deltagere WHERE Kapflyvning = ? AND Forening IS NOT NULL GROUP BY Forening",
               {race});
    db.execute("INSERT INTO Regnskab (Kapflyvning, Forening, AntalS) SELECT Kapflyvning, Forening, count(*) FROM Slagspil "
               "WHERE Kapflyvning = ? AND Forening IS NOT NULL GROUP BY Forening "
               "ON CONFLICT (Kapflyvning, Forening) DO UPDATE SET AntalS = excluded.AntalS",
               {race});
}

}  // namespace

const std::vector<std::string>& weekBackupTables() {
    static const std::vector<std::string> t = [] {
        std::vector<std::string> v{"Kapflyvninger"};
        for (const auto& rule : mergeRules()) v.push_back(rule.table);
        return v;
    }();
    return t;
}

std::string weekBackupName(int week) { return "BACKUP" + std::to_string(week) + ".MDB"; }

Value RaceNumberMap::GetKapRef(const Value& backupNr) const {
    for (size_t i = 0; i < backup_.size(); ++i)
        if (!backupNr.isNull() && backup_[i] == backupNr) return section_[i];
    return {};
}

void writeWeekBackup(Database& section, int week, const std::filesystem::path& file) {
    auto out = Database::create(file);
    Transaction t(*out);
    for (const auto& table : weekBackupTables()) {
        std::string name = storedName(section, table);
        std::string create = "CREATE TABLE " + sqlIdent(name) + " (";
        auto cols = section.columns(name);
        for (size_t i = 0; i < cols.size(); ++i)
            create += (i ? ", " : "") + sqlIdent(cols[i].name) + (cols[i].declaredType.empty() ? "" : " " + cols[i].declaredType);
        out->exec(create + ")");
        std::string rows = table == "Kapflyvninger"
                               ? "SELECT * FROM Kapflyvninger WHERE Uge = ? ORDER BY Nr"
                               : "SELECT " + sqlIdent(name) + ".* FROM " + sqlIdent(name) + " INNER JOIN Kapflyvninger ON " +
                                     sqlIdent(name) + ".Kapflyvning = Kapflyvninger.Nr WHERE Kapflyvninger.Uge = ? ORDER BY " +
                                     sqlIdent(name) + ".rowid";
        std::string marks;
        for (size_t i = 0; i < cols.size(); ++i) marks += i ? ", ?" : "?";
        Statement read = section.prepare(rows);
        read.bind(1, week);
        Statement write = out->prepare("INSERT INTO " + sqlIdent(name) + " VALUES (" + marks + ")");
        int n = read.columnCount();
        while (read.step()) {
            for (int i = 0; i < n; ++i) write.bind(i + 1, read.column(i));
            write.run();
        }
    }
    t.commit();
}

std::string weekBackupProblem(Database& section, Database& backup, const std::string& name) {
    for (const auto& table : weekBackupTables()) {
        bool ok = backup.tableExists(table);
        if (ok) {
            auto fields = fieldNames(backup, table);
            std::vector<std::string> needed = table == "Kapflyvninger" ? std::vector<std::string>{"Nr", "Uge", "Farvekode"}
                                                                       : std::vector<std::string>{"Kapflyvning"};
            for (const auto& rule : mergeRules())
                if (iequals(rule.table, table)) needed = rule.keys;
            for (const auto& f : needed) ok = ok && !sectionField(fields, f).empty();
        }
        if (!ok) return "Filen " + name + " er ikke en ugebackup: tabellen " + table + " mangler eller er ufuldstændig.";
    }
    bool collides = false;
    for (auto& r : backup.query("SELECT Uge, Farvekode FROM Kapflyvninger").rows)
        collides = collides ||
                   section.scalar("SELECT count(*) FROM Kapflyvninger WHERE Uge = ? AND Farvekode = ?", {r[0], r[1]}).toInt() > 0;
    if (!collides || section.scalar("SELECT count(*) FROM Foreninger").toInt() == 0) return "";
    std::set<std::string> clubs;
    for (const char* t : {"Deltagere", "Slagspil", "Indbetalinger"})
        for (auto& r : backup.query("SELECT DISTINCT Forening FROM " + sqlIdent(t) + " WHERE Forening IS NOT NULL").rows)
            clubs.insert(r[0].toText());
    if (clubs.empty()) return "";
    for (const auto& c : clubs)
        if (section.scalar("SELECT count(*) FROM Foreninger WHERE Nr = ?", {c}).toInt() > 0) return "";
    return "Backuppen " + name +
           " er fra en anden sektion: ingen af dens foreninger findes i sektionens foreningsregister, og dens kapflyvninger "
           "har samme uge og farvekode som sektionens egne. Intet er indlæst.";
}

WeekRestoreSummary mergeWeekBackup(Database& section, Database& backup) {
    WeekRestoreSummary sum;
    RaceNumberMap map;
    std::vector<long long> created;

    {
        auto bfields = fieldNames(backup, "Kapflyvninger");
        auto sfields = fieldNames(section, "Kapflyvninger");
        Copied copy = copiedFields(bfields, sfields, 2);
        RowWriter writer(section, "Kapflyvninger", {}, copy.names);
        RowSet races = backup.query("SELECT * FROM Kapflyvninger ORDER BY rowid");
        int nr = races.columnIndex("Nr"), uge = races.columnIndex("Uge"), farve = races.columnIndex("Farvekode");
        map.reserve(races.size());
        Statement find = section.prepare("SELECT Nr FROM Kapflyvninger WHERE Uge = ? AND Farvekode = ? ORDER BY Nr LIMIT 1");
        for (auto& row : races.rows) {
            std::vector<Value> values;
            for (size_t i : copy.at) values.push_back(row[i]);
            find.bind(1, row[static_cast<size_t>(uge)]).bind(2, row[static_cast<size_t>(farve)]);
            Value found = find.step() ? find.column(0) : Value();
            find.reset();
            long long sectionNr;
            if (found.isNull()) {
                sectionNr = writer.add({}, values);
                created.push_back(sectionNr);
                ++sum.newRaces;
            } else {
                sectionNr = found.toInt();
                writer.update(sectionNr, values);
            }
            map.add(row[static_cast<size_t>(nr)], sectionNr);
            ++sum.races;
            ++sum.rows;
        }
    }

    for (const auto& rule : mergeRules()) {
        std::string table = storedName(section, rule.table);
        auto bfields = fieldNames(backup, rule.table);
        auto sfields = fieldNames(section, table);
        Copied copy = copiedFields(bfields, sfields, rule.copyFrom);
        std::vector<std::string> keys;
        for (const auto& k : rule.keys) keys.push_back(sectionField(sfields, k));
        RowWriter writer(section, table, keys, copy.names);
        std::string where;
        for (const auto& k : keys) where += (where.empty() ? "" : " AND ") + sqlIdent(k) + " IS ?";
        Statement find = section.prepare("SELECT rowid FROM " + sqlIdent(table) + " WHERE " + where + " LIMIT 1");
        Statement rows = backup.prepare("SELECT * FROM " + sqlIdent(storedName(backup, rule.table)) + " ORDER BY rowid");
        std::vector<int> keyAt;
        for (const auto& k : rule.keys) keyAt.push_back(rows.columnIndex(k));
        const int raceAt = rows.columnIndex("Kapflyvning");
        while (rows.step()) {
            Value race = map.GetKapRef(rows.column(raceAt));
            // A bird, prize or payment must belong to a race of this database.
            if (race.isNull()) {
                ++sum.skipped;
                continue;
            }
            std::vector<Value> keyValues;
            for (int at : keyAt) keyValues.push_back(at == raceAt ? race : rows.column(at));
            std::vector<Value> values;
            for (size_t i : copy.at) values.push_back(rows.column(static_cast<int>(i)));
            find.bindAll(keyValues);
            Value found = find.step() ? find.column(0) : Value();
            find.reset();
            if (found.isNull()) writer.add(keyValues, values);
            else writer.update(found.toInt(), values);
            ++sum.rows;
        }
    }
    for (long long race : created) countEntries(section, race);
    return sum;
}

}  // namespace vemora
