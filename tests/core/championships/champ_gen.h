#pragma once
// Generated seasons and championship definitions for the comparison test and the benchmark:
// clubs (one registered twice, one not at all), lofts and birds that fly many races with
// every criterion field varied, races of every kind and week collisions, then computed by
// the race calculation; definitions of every type with random criteria, counts and races.
#include <random>
#include <string>
#include <vector>

#include "core/app/appstate.h"
#include "core/calc/calc.h"
#include "core/db/database.h"
#include "support/random.h"

namespace vemora::champgen {

using test::between;
using test::coin;
using test::pad;
using test::pick;

struct SeasonShape {
    int clubs = 4;
    int loftsPerClub = 3;
    int birdsPerLoft = 6;
    int races = 10;
    double flies = 0.6;  // chance that a bird flies a race
    bool varied = true;  // random settings, thresholds, code splits, Null fields; else plain
};

struct Bird {
    std::string ring, forening, slag;
    Value slagNavn, koen, kode1, kode2, kode3, omraade, forkrydsT;
    bool junior, begynder, pensionist, sport, forkryds;
    double flies = 1.0;  // how often, against the season's rate: rare fliers fall short of the quotas
};

// Writes the season and computes every race; returns the ring numbers of the birds.
inline std::vector<std::string> makeSeason(AppState& app, std::mt19937& rng, const SeasonShape& s) {
    Database& db = app.database();
    Transaction tr(db);
    const bool v = s.varied;
    for (int c = 1; c <= s.clubs; ++c) db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {pad(c, 3), "Forening " + std::to_string(c)});
    if (v && coin(rng)) db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES ('002', 'Forening to')");
    for (int st = 1; st <= 4; ++st) db.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, ?)", {pad(st, 3), "Station " + std::to_string(st)});
    if (v) {
        db.execute("UPDATE Markering SET Pointsystem = ?, Hastighed_9192 = ?, Hastighed_Andre = ?",
                   {pick(rng, std::vector<Value>{0, 1}), pick(rng, std::vector<Value>{0.0, 950.0}), pick(rng, std::vector<Value>{0.0, 0.0, 950.0})});
        db.execute("UPDATE Markering SET MestPoint95 = ?, SE_PointPrSlag96 = ?, SE_PointStep96 = ?",
                   {pick(rng, std::vector<Value>{1000, 100, 37}), pick(rng, std::vector<Value>{Value(), 2}), pick(rng, std::vector<Value>{Value(), 10})});
        if (coin(rng, 0.2)) db.exec("DELETE FROM KM_faktorer");
        else if (coin(rng, 0.3)) db.exec("UPDATE KM_faktorer SET Faktor = Faktor + 0.25 WHERE KM > 300");
    }

    std::vector<Bird> birds;
    const int clubsFlying = s.clubs + (v ? 1 : 0);  // the last club is not in the register
    for (int c = 1; c <= clubsFlying; ++c)
        for (int l = 1; l <= s.loftsPerClub; ++l) {
            std::string slag = pad(l, 3);
            if (v && l == 3 && c == 2) slag = coin(rng) ? "" : "a03";
            Value navn = v && coin(rng, 0.1) ? pick(rng, std::vector<Value>{Value(), ""}) : Value("Slag O'" + std::to_string(c) + "-" + std::to_string(l));
            bool junior = coin(rng, 0.3), begynder = coin(rng, 0.3), pensionist = coin(rng, 0.3);
            Value omraade = pick(rng, std::vector<Value>{Value(), "12", "13", "ab"});
            for (int b = 0; b < s.birdsPerLoft; ++b) {
                Bird bird;
                bird.forening = pad(c, 3);
                bird.slag = slag;
                bird.slagNavn = navn;
                // Serial numbers repeat across lofts, so the ranking's tie order matters.
                bird.ring = pad(100 + c * 10 + l, 3) + "-" + pick(rng, std::vector<std::string>{"24", "25", "26"}) + "-" + pad(between(rng, 1, 12), 4);
                bool dup = false;
                for (const auto& o : birds) dup |= o.ring == bird.ring;
                if (dup) continue;
                bird.koen = pick(rng, std::vector<Value>{"A", "U", "a", Value()});
                bird.kode1 = pick(rng, std::vector<Value>{Value(), "1", "2", "x"});
                bird.kode2 = pick(rng, std::vector<Value>{Value(), "1", "X"});
                bird.kode3 = pick(rng, std::vector<Value>{Value(), "3"});
                bird.omraade = omraade;
                bird.forkrydsT = pick(rng, std::vector<Value>{Value(), "AB", "c", "bc", ""});
                bird.junior = junior && coin(rng, 0.7);
                bird.begynder = begynder;
                bird.pensionist = pensionist;
                bird.sport = coin(rng, 0.3);
                bird.forkryds = coin(rng, 0.4);
                bird.flies = pick(rng, std::vector<double>{0.15, 0.5, 1.0, 1.0});
                birds.push_back(bird);
            }
        }

    const std::vector<std::string> codes{"91 - Orange skema", "92 - Blå", "93 - Ryx x", "94", "95 - Sektion A", "96 - Sektion",
                                         "85 - Privat", "99 - Privat y", "97"};
    for (int r = 0; r < s.races; ++r) {
        db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, LMU, Station, Kode, Beregn) VALUES (?, ?, ?, ?, ?, 1)",
                   {between(rng, 18, 18 + s.races / 2), v ? pick(rng, codes) : Value("95 - Sektion"),
                    pick(rng, std::vector<Value>{"L", "M", "U", Value(), "l"}), pad(between(rng, 1, 5), 3),
                    v && coin(rng, 0.2) ? Value("1") : Value()});
        long long nr = db.lastInsertId();
        Statement ins = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening, Slag, Slag_Navn, Køn, Kode1, Kode2, Kode3, Område, "
            "ForeningskrydsT, Junior, Begynder, Pensionist, Sportsdue, Foreningskryds, \"Meter / min\", Afstand) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        std::vector<double> distance;
        for (int l = 0; l < 64; ++l) distance.push_back(between(rng, 150000, 620000) / 1000.0);
        for (size_t b = 0; b < birds.size(); ++b) {
            const Bird& x = birds[b];
            if (!coin(rng, s.flies * x.flies)) continue;
            Value speed = v ? pick(rng, std::vector<Value>{Value(), 0.0, 900.0, 1000.0, 1100.0, 1250.5,
                                                           static_cast<double>(between(rng, 850, 1400)),
                                                           static_cast<double>(between(rng, 850, 1400))})
                            : Value(between(rng, 90000, 140000) / 100.0);
            Value afstand = v && coin(rng, 0.1) ? Value() : Value(distance[std::hash<std::string>()(x.forening + x.slag) % 64]);
            ins.bindAll({nr, x.ring, x.forening, x.slag, x.slagNavn, x.koen, x.kode1, x.kode2, x.kode3, x.omraade, x.forkrydsT,
                         x.junior, x.begynder, x.pensionist, x.sport, x.forkryds, speed, afstand});
            ins.run();
        }
    }
    tr.commit();
    RowSet races = db.query("SELECT Nr FROM Kapflyvninger ORDER BY Nr");
    for (auto& r : races.rows)
        if (!CalcKapflyvning(app, r[0].toInt())) throw std::runtime_error("race calculation failed");
    std::vector<std::string> rings;
    for (auto& b : birds) rings.push_back(b.ring);
    return rings;
}

// The point systems to generate: the eleven and a text that is none of them.
inline const std::vector<std::string>& generatedTypes() {
    static const std::vector<std::string> t{"Point",        "½ points, ½ koef.", "Es-due-koefficient", "Es-due-kilometer",
                                            "Due/point",    "Forening/point",    "HB",                 "NO Plac.point",
                                            "NO Km-tillæg", "NO due/point",      "NO es-due km-tillæg", "Ukendt"};
    return t;
}

// Adds championship nr of the type with random criteria, counts, races and member birds.
inline void makeDefinition(Database& db, std::mt19937& rng, const std::string& nr, const std::string& type,
                           const std::vector<std::string>& rings) {
    auto maybe = [&](double p, std::vector<Value> values) { return coin(rng, p) ? pick(rng, values) : Value(); };
    Transaction tr(db);
    db.execute(
        "INSERT INTO Mesterskaber (Nr, Titel, Type, Kun_juniorduer, Kun_Begyndere, Kun_Pensionister, Kun_sportsduer, "
        "Ekskl_Sportsduer, Kun_foreningsafkrydsede, Foreningsmarkering1, Kun_Kode1, Kun_Kode2, Kun_Kode3, Område, Køn, Årgang, "
        "Ekskl_Årgang, Antal_duer_pr_slag, Antal_flyvninger, Antal_L_flyvninger, Antal_M_flyvninger, Antal_S_flyvninger, "
        "Antal_P_flyvninger, TopProc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {nr, "Mesterskab " + nr, type, coin(rng, 0.1), coin(rng, 0.1), coin(rng, 0.1), coin(rng, 0.05), coin(rng, 0.1),
         coin(rng, 0.1), maybe(0.1, {"b", "A"}), maybe(0.1, {"1", "X"}), maybe(0.05, {"1"}), maybe(0.05, {"3"}),
         maybe(0.1, {"12", "AB"}), maybe(0.1, {"A", "u"}), maybe(0.1, {"25", "26"}), maybe(0.1, {"24", "2#", "?5"}),
         maybe(0.4, {0, 1, 2, 3}), maybe(0.5, {0, 1, 2, 3, 5, 8}), maybe(0.3, {0, 1, 2}), maybe(0.3, {0, 1, 2}),
         maybe(0.3, {1, 2, 3}), maybe(0.3, {0, 1, 2}), maybe(0.2, {10, 20, 35, 50, 100})});
    long long recNr = db.lastInsertId();
    RowSet races = db.query("SELECT Nr FROM Kapflyvninger");
    double share = pick(rng, std::vector<double>{0.0, 0.3, 0.7, 1.0});
    for (auto& r : races.rows)
        if (coin(rng, share)) db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {recNr, r[0]});
    // A race entered twice, which only a damaged file holds.
    if (!races.empty() && coin(rng, 0.05))
        db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {recNr, races.rows[0][0]});
    if (coin(rng, 0.15)) {
        for (int i = between(rng, 1, 8); i > 0; --i)
            db.execute("INSERT OR IGNORE INTO Mesterskaber_Duer (Mesterskab, Ringnummer) VALUES (?, ?)", {recNr, pick(rng, rings)});
        db.execute("INSERT OR IGNORE INTO Mesterskaber_Duer (Mesterskab, Ringnummer) VALUES (?, '999-26-0001')", {recNr});
    }
    tr.commit();
}

}  // namespace vemora::champgen
