#pragma once
// A small season for the backup tests, and the rows of a week with every race reference
// written as the race's week and colour code, so the same rows compare equal under other
// race numbers.
#include <map>
#include <string>
#include <vector>

#include "core/import/demo.h"
#include "support/testdb.h"

namespace vemora::test {

inline void fillSeason(TestApp& t, std::vector<int> weeks = {20, 21}, int clubs = 2, int birds = 25) {
    DemoOptions o;
    o.clubs = clubs;
    o.weeks = std::move(weeks);
    o.birdsPerClub = birds;
    DemoSummary s = runDemo(t.app, o);
    if (!s.problems.empty()) throw std::runtime_error(s.problems.front());
}

inline std::string raceKey(Database& db, const Value& nr) {
    RowSet r = db.query("SELECT Uge, Farvekode FROM Kapflyvninger WHERE Nr = ?", {nr});
    return r.empty() ? "?" : r.rows[0][0].toText() + "/" + r.rows[0][1].toText();
}

inline std::map<std::string, std::vector<std::string>> weekRows(Database& db, int week,
                                                                 const std::vector<std::string>& tables) {
    std::map<std::string, std::vector<std::string>> out;
    for (const auto& table : tables) {
        bool races = table == "Kapflyvninger";
        RowSet rs = db.query(races ? "SELECT * FROM Kapflyvninger WHERE Uge = ?"
                                   : "SELECT t.* FROM " + sqlIdent(table) +
                                         " t JOIN Kapflyvninger k ON k.Nr = t.Kapflyvning WHERE k.Uge = ?",
                             {week});
        auto& rows = out[table];
        for (auto& r : rs.rows) {
            std::string line;
            for (size_t i = 0; i < r.size(); ++i) {
                const std::string& c = rs.columns[i];
                if (races && c == "Nr") continue;
                line += c + "=" + (c == "Kapflyvning" ? raceKey(db, r[i]) : r[i].isNull() ? "<Null>" : r[i].toText()) + ";";
            }
            rows.push_back(line);
        }
        std::sort(rows.begin(), rows.end());
    }
    return out;
}

}  // namespace vemora::test
