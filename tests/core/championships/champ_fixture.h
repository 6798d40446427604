#pragma once
// Builders for hand-made seasons: races whose results are written directly (so the numbers
// of a worked example are exactly the ones given), championships and their races, and the
// standings read back by Id.
#include <map>
#include <string>
#include <vector>

#include "core/calc/calc_fixture.h"
#include "core/championships/championships.h"
#include "support/testdb.h"

namespace vemora::champtest {

using calctest::Fields;
using calctest::insertRow;

struct Season {
    test::TestApp t;
    Database& db = t.db();
    AppState& app = t.app;

    Season() {
        // Many one-row commits; durability on power loss is not what these tests are about.
        db.exec("PRAGMA synchronous = OFF");
        insertRow(db, "Foreninger", {{"Nr", "001"}, {"Navn", "Alfa"}});
        insertRow(db, "Foreninger", {{"Nr", "002"}, {"Navn", "Beta"}});
        insertRow(db, "Stationer", {{"Nr", "007"}, {"Navn", "Hamborg"}});
    }

    // A race whose results are already current (Beregn False), unless the fields say otherwise.
    long long race(const std::string& farvekode, int uge, Fields f = {}) {
        f.emplace("Farvekode", farvekode);
        f.emplace("Uge", uge);
        f.emplace("Beregn", false);
        f.emplace("Station", "007");
        insertRow(db, "Kapflyvninger", f);
        return db.lastInsertId();
    }

    // One result row; club 001, loft 001 "Hansen" unless the fields say otherwise.
    void result(long long race, const std::string& ring, Fields f) {
        f["Kapflyvning"] = race;
        f["Ringnummer"] = ring;
        f.emplace("Forening", "001");
        f.emplace("Slag", "001");
        f.emplace("Slag_Navn", "Hansen");
        insertRow(db, "Deltagere", f);
    }

    long long champ(const std::string& nr, const std::string& type, Fields f = {}, const std::vector<long long>& races = {}) {
        f["Nr"] = nr;
        f["Type"] = type;
        f.emplace("Titel", "Mesterskab " + nr);
        insertRow(db, "Mesterskaber", f);
        long long rec = db.lastInsertId();
        for (long long r : races) insertRow(db, "Mesterskabsflyvninger", {{"Mesterskab", rec}, {"Kapflyvning", r}});
        return rec;
    }

    bool calc(const std::string& nr, bool specify = false, bool decimals = false) {
        return championships::CalcChampionship(app, nr, {specify, decimals});
    }

    struct Standing {
        double points;
        Value points2;
        long long placering;
        Value slag, slagnavn, ring;
    };
    // The standings of nr by Id.
    std::map<std::string, Standing> standings(const std::string& nr) {
        std::map<std::string, Standing> out;
        RowSet rs = db.query("SELECT * FROM Mesterskabsresultat WHERE Mesterskabsnr = ?", {nr});
        for (size_t i = 0; i < rs.size(); ++i)
            out[rs.get(i, "Id").toText()] = {rs.get(i, "Points").toDouble(), rs.get(i, "Points2"), rs.get(i, "Placering").toInt(),
                                             rs.get(i, "Slag"), rs.get(i, "Slagnavn"), rs.get(i, "Ringnummer")};
        return out;
    }

    // The cells F1..F14 of a standing's page row, "" for an empty cell.
    std::vector<std::string> cells(const std::string& id, long long page = 0) {
        RowSet rs = db.query("SELECT * FROM CrosstabResult WHERE IdText = ? AND Page = ?", {id, page});
        std::vector<std::string> out;
        if (rs.empty()) return out;
        for (int i = 1; i <= 14; ++i) out.push_back(rs.get(0, "F" + std::to_string(i)).toText());
        return out;
    }
};

}  // namespace vemora::champtest
