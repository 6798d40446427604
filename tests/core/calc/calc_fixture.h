#pragma once
// Small builders for races, birds, prize scales and settings in a test database.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/db/database.h"

namespace vemora::calctest {

using Fields = std::map<std::string, Value>;

inline void insertRow(Database& db, const std::string& table, const Fields& f) {
    std::string cols, marks;
    std::vector<Value> vals;
    for (const auto& [k, v] : f) {
        cols += (cols.empty() ? "" : ", ") + sqlIdent(k);
        marks += marks.empty() ? "?" : ", ?";
        vals.push_back(v);
    }
    db.execute("INSERT INTO " + sqlIdent(table) + " (" + cols + ") VALUES (" + marks + ")", vals);
}

// Sets fields of the one-row settings tables (Markering, Indskud, Generelt).
inline void setSettings(Database& db, const std::string& table, const Fields& f) {
    std::string set;
    std::vector<Value> vals;
    for (const auto& [k, v] : f) {
        set += (set.empty() ? "" : ", ") + sqlIdent(k) + " = ?";
        vals.push_back(v);
    }
    db.execute("UPDATE " + sqlIdent(table) + " SET " + set, vals);
}

// A race marked for calculation; extra fields override the defaults.
inline long long addRace(Database& db, const std::string& farvekode, Fields f = {}) {
    f.emplace("Farvekode", farvekode);
    f.emplace("Uge", 23);
    f.emplace("Beregn", true);
    insertRow(db, "Kapflyvninger", f);
    return db.lastInsertId();
}

// A bird of loft 001/001 unless the fields say otherwise.
inline void addBird(Database& db, long long race, const std::string& ring, Value speed, Fields f = {}) {
    f["Kapflyvning"] = race;
    f["Ringnummer"] = ring;
    f["Meter / min"] = std::move(speed);
    f.emplace("Forening", "001");
    f.emplace("Slag", "001");
    insertRow(db, "Deltagere", f);
}

inline void addScale(Database& db, const std::string& table, long long race, const std::vector<std::pair<int, double>>& rows) {
    for (auto [antal, vaerdi] : rows) insertRow(db, table, {{"Kapflyvning", race}, {"Antal", antal}, {"Værdi", vaerdi}});
}

inline Value birdField(Database& db, long long race, const std::string& ring, const std::string& field) {
    return db.scalar("SELECT " + sqlIdent(field) + " FROM Deltagere WHERE Kapflyvning = ? AND Ringnummer = ?", {race, ring});
}

inline Value raceField(Database& db, long long race, const std::string& field) {
    return db.scalar("SELECT " + sqlIdent(field) + " FROM Kapflyvninger WHERE Nr = ?", {race});
}

// One field of every bird of the race, in ring number order.
inline std::vector<Value> column(Database& db, long long race, const std::string& field) {
    std::vector<Value> out;
    RowSet rs = db.query("SELECT " + sqlIdent(field) + " FROM Deltagere WHERE Kapflyvning = ? ORDER BY Ringnummer", {race});
    for (auto& r : rs.rows) out.push_back(r[0]);
    return out;
}

}  // namespace vemora::calctest
