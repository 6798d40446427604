#pragma once
// Generated races for the comparison test and the benchmark: random speeds with many ties,
// codes, areas, lofts, classes, games, prize scales and race switches.
#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/db/database.h"
#include "core/db/schema.h"
#include "support/random.h"

namespace vemora::calcgen {

using test::coin;
using test::pad;
using test::pick;

struct Shape {
    int birds = 40;
    int clubs = 3;
    int lofts = 9;  // loft i belongs to club i mod clubs
    bool everything = false;  // every prize kind on, split by Kode1 into A, B, C, fixed speeds spread
};

// Random section settings (stakes, factors, point table, thresholds, section number).
inline void randomSettings(Database& db, std::mt19937& rng) {
    std::vector<Value> factors{0.0, 1.5, 2.0, 4.0};
    std::vector<Value> stakes{0.0, 2.5, 5.0, 10.0};
    db.execute("UPDATE Markering SET Præmiefaktor_A = ?, Præmiefaktor_B = ?, Pointsystem = ?, Hastighed_9192 = ?, Hastighed_Andre = ?",
               {pick(rng, factors), pick(rng, factors), pick(rng, std::vector<Value>{Value(), 0, 1, 2}),
                pick(rng, std::vector<Value>{0.0, 900.0, 1000.0}), pick(rng, std::vector<Value>{0.0, 900.0, 1000.0})});
    for (const auto& k : pointTableKinds())
        db.execute("UPDATE Markering SET " + sqlIdent("MestPoint" + k) + " = ?, " + sqlIdent("SE_PointPrSlag" + k) + " = ?, " +
                       sqlIdent("SE_PointStep" + k) + " = ?",
                   {pick(rng, std::vector<Value>{Value(), 1000, 100, 37}), pick(rng, std::vector<Value>{Value(), 0, 1, 2}),
                    pick(rng, std::vector<Value>{Value(), 0, 10, 7})});
    std::string set;
    std::vector<Value> vals;
    for (const char* c : {"A_Klasse", "B_Klasse"})
        for (int i = 1; i <= 6; ++i) {
            set += std::string(set.empty() ? "" : ", ") + c + std::to_string(i) + " = ?";
            vals.push_back(pick(rng, stakes));
        }
    for (const char* g : {"Kl_P", "Kl_E", "Kl_Z", "Kl_R"}) {
        set += std::string(", ") + g + " = ?";
        vals.push_back(pick(rng, std::vector<Value>{0, 3, 5, 10}));
    }
    db.execute("UPDATE Indskud SET " + set, vals);
    db.execute("UPDATE Generelt SET Sektionsnr = ?, Sektionsnavn = ?",
               {pick(rng, std::vector<Value>{Value(), "012", " 12"}), pick(rng, std::vector<Value>{Value(), "Sektion 12", "13"})});
}

// The settings of the benchmark: every pool capped, placing points, the per-loft scheme on.
inline void benchSettings(Database& db) {
    db.exec("UPDATE Markering SET Præmiefaktor_A = 4, Præmiefaktor_B = 2, Pointsystem = 0, Hastighed_9192 = 0, "
            "Hastighed_Andre = 0, MestPoint95 = 1000, SE_PointPrSlag95 = 3, SE_PointStep95 = 1");
    db.exec("UPDATE Indskud SET A_Klasse1 = 5, A_Klasse2 = 5, A_Klasse3 = 10, A_Klasse4 = 10, A_Klasse5 = 20, A_Klasse6 = 20, "
            "B_Klasse1 = 5, B_Klasse2 = 10, B_Klasse3 = 10, B_Klasse4 = 20, B_Klasse5 = 20, B_Klasse6 = 50, Kl_P = 10, Kl_E = 20, "
            "Kl_Z = 10, Kl_R = 10, Slagspil = 25");
    db.exec("UPDATE Generelt SET Sektionsnr = '012'");
}

// Adds one race with its birds, prize scales and loft-game entries; returns its number.
inline long long addRace(Database& db, std::mt19937& rng, const Shape& s, int week = 23) {
    Transaction tr(db);
    const bool all = s.everything;
    db.execute(
        "INSERT INTO Kapflyvninger (Uge, Farvekode, Kode, Beregn, Kontantpræmier, Slagpræmier, Slagspil_S, Kl_P, Kl_E, Kl_Z, Kl_R, "
        "Pulje_Puljepræmier, Elite_Puljepræmier, Z_Puljepræmier, R_Puljepræmier) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {week,
         all ? Value("95 - Sektion")
             : pick(rng, std::vector<Value>{"91 - Orange", "92 - Blå", "93 - Ryx", "95 - Sektion", "96 - Sektion", "85 - Privat", "99 - Privat"}),
         all ? Value("1") : pick(rng, std::vector<Value>{Value(), "", "1", "2", "3", "4"}), all || coin(rng), all || coin(rng),
         all || coin(rng), all || coin(rng), all || coin(rng), all || coin(rng), all || coin(rng), all || coin(rng), all || coin(rng),
         all || coin(rng), all || coin(rng)});
    long long nr = db.lastInsertId();

    const char* tables[] = {"Kontantpræmier", "Slagpræmier", "Slagspilspræmier", "P-spils-præmier",
                            "E-spils-præmier", "Z-spils-præmier", "R-spils-præmier"};
    for (const char* t : tables) {
        std::vector<double> values{0, 10, 12.5, 25, 40, 100};
        std::shuffle(values.begin(), values.end(), rng);
        int rows = all ? 5 : std::uniform_int_distribution<int>(0, 3)(rng);
        for (int r = 0; r < rows; ++r)
            db.execute("INSERT INTO " + sqlIdent(t) + " (Kapflyvning, Antal, Værdi) VALUES (?, ?, ?)",
                       {nr, all ? 40 * (r + 1) : std::uniform_int_distribution<int>(1, 3)(rng), all ? 100.0 - 15 * r : values[r]});
    }

    Statement bird = db.prepare(
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening, Slag, Område, Kode1, Kode2, Kode3, \"Meter / min\", \"Sektion A\", "
        "\"Sektion B\", Pulje, Elite, Kl_Z, Kl_R, Område_Placering, Points1000, PointsPlac, Placering) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    std::set<std::string> rings;
    std::vector<Value> codes{Value(), "A", "a", "B", "1"};
    std::vector<Value> areas{Value(), "12", "ab", "AB", "", "13"};
    std::vector<Value> classes{Value(), 0, 1, 2, 3, 6};
    std::uniform_real_distribution<double> spread(900, 1400);
    for (int i = 0; i < s.birds; ++i) {
        std::string ring;
        for (int attempt = 0;; ++attempt) {
            if (all)
                ring = pad(100 + i / 10000, 3) + "-26-" + pad(i % 10000, 4);
            else
                ring = pad(std::uniform_int_distribution<int>(100, 119)(rng), 3) + "-2" + std::to_string(rng() % 2) + "-" +
                       pick(rng, std::vector<std::string>{"0001", "0002", "0010", "00a1", "00B0", "00b2", "0100"});
            if (rings.insert(ring).second) break;
            if (attempt > 100) throw std::runtime_error("no free ring number");
        }
        std::string lower = ring;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower != ring && !rings.insert(lower).second) continue;  // unique without regard to case
        int li = std::uniform_int_distribution<int>(0, s.lofts - 1)(rng);
        int club = li % s.clubs + 1, loft = li / s.clubs + 1;
        Value speed = all ? Value(std::round(spread(rng) * 100) / 100)
                          : pick(rng, std::vector<Value>{Value(), 0.0, 900.0, 1000.0, 1000.5, 1100.0, 1200.25, 1250.0,
                                                         static_cast<double>(std::uniform_int_distribution<int>(850, 1300)(rng))});
        bird.bindAll({nr, ring, pad(club, 3), pad(loft, 3), all ? pick(rng, std::vector<Value>{Value(), "12", "13"}) : pick(rng, areas),
                      all ? Value(std::string(1, "ABC"[i % 3])) : pick(rng, codes), pick(rng, codes), pick(rng, codes), speed,
                      pick(rng, classes), pick(rng, classes), coin(rng), coin(rng), coin(rng), coin(rng),
                      coin(rng) ? Value(7) : Value(), coin(rng) ? Value(55.5) : Value(0.0), Value(1.0), coin(rng) ? Value(3) : Value()});
        bird.run();
    }
    // Loft-game entries for about a third of the lofts.
    for (int li = 0; li < s.lofts; ++li)
        if (coin(rng, 0.35))
            db.execute("INSERT INTO Slagspil (Kapflyvning, Forening, Slag, Slagspil_S) VALUES (?, ?, ?, 1)",
                       {nr, pad(li % s.clubs + 1, 3), pad(li / s.clubs + 1, 3)});
    tr.commit();
    return nr;
}

}  // namespace vemora::calcgen
