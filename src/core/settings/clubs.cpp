#include "core/settings/clubs.h"

#include "core/app/procs.h"

namespace vemora {

const std::array<const char*, 9> kForeningFields = {"Navn",     "Kontakt",     "Kontakt_Adr", "Kontakt_Postnr", "Bank",
                                                    "Bank_Adr", "Bank_Postnr", "Regnr",       "Kontonr"};

RowSet ListForeninger(Database& db) { return db.query(kForeningerListSql); }

int64_t NewForening(Database& db) {
    db.exec("INSERT INTO Foreninger DEFAULT VALUES");
    return db.lastInsertId();
}

std::optional<ForeningData> LoadForening(Database& db, int64_t recNr) {
    RowSet r = db.query("Select * From [Foreninger] Where [RecNr] = ?", {Value(static_cast<long long>(recNr))});
    if (r.empty()) return std::nullopt;
    ForeningData d;
    d.nr = r.get(0, "Nr").toText();
    for (size_t i = 0; i < kForeningFields.size(); ++i) d.felter[i] = r.get(0, kForeningFields[i]).toText();
    return d;
}

void SaveForening(Database& db, int64_t recNr, const ForeningData& data) {
    std::string sql = "UPDATE Foreninger SET Nr = ?";
    std::vector<Value> params;
    params.push_back(NullIfEmpty(Value(data.nr)));
    for (size_t i = 0; i < kForeningFields.size(); ++i) {
        sql += ", " + sqlIdent(kForeningFields[i]) + " = ?";
        params.push_back(NullIfEmpty(Value(data.felter[i])));
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
