#include "core/settings/clubs.h"

#include "core/app/procs.h"

namespace vemora {

const std::array<const char*, 9> kForeningFields = {"Navn",     "Kontakt",     "Kontakt_Adr", "Kontakt_Postnr", "Bank",
                                                    "Bank_Adr", "Bank_Postnr", "Regnr",       "Kontonr"};

RowSet ListForeninger(Database& db, size_t offset, size_t limit) {
    return db.queryPage("Select * From Foreninger Order By Nr, RecNr", {}, offset, limit);
}

int64_t NewForening(Database& db) {
    db.exec("INSERT INTO Foreninger DEFAULT VALUES");
    return db.lastInsertId();
}

std::optional<Record> LoadForening(Database& db, int64_t recNr) {
    RowSet r = db.query("Select * From [Foreninger] Where [RecNr] = ?", {Value(static_cast<long long>(recNr))});
    if (r.empty()) return std::nullopt;
    Record club{{"Nr", r.get(0, "Nr")}};
    for (const char* f : kForeningFields) club[f] = r.get(0, f);
    return club;
}

void SaveForening(Database& db, int64_t recNr, const Record& club) {
    auto field = [&](const char* f) {
        auto it = club.find(f);
        return it == club.end() ? Value() : NullIfEmpty(it->second);
    };
    std::string sql = "UPDATE Foreninger SET Nr = ?";
    std::vector<Value> params{field("Nr")};
    for (const char* f : kForeningFields) {
        sql += ", " + sqlIdent(f) + " = ?";
        params.push_back(field(f));
    }
    params.emplace_back(static_cast<long long>(recNr));
    db.execute(sql + " WHERE RecNr = ?", params);
}

void DeleteForening(Database& db, int64_t recNr) {
    Transaction tr(db);
    // The club's birds stay in the races' results but its accounts go with it, so every race
    // must be computed afresh before its next printout.
    db.exec("UPDATE Kapflyvninger SET Beregn = 1");
    db.execute("DELETE FROM Foreninger WHERE RecNr = ?", {Value(static_cast<long long>(recNr))});
    tr.commit();
}

}  // namespace vemora
