// Importing one club's file of 10,000 birds into a season of 30 races x 10,000 birds, against a
// bare baseline that inserts the same Deltagere rows with one prepared statement in one
// transaction. Both start from the same state: the club's rows of the race removed untimed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/app/startup.h"
#include "core/import/demo.h"
#include "core/import/importrun.h"

#include "bench_section.h"

using namespace vemora;
namespace fs = std::filesystem;

namespace {

constexpr int kRaces = 30;
constexpr int kBirds = 10000;

struct Season : bench::BenchSection {
    fs::path file;
    std::vector<BirdRecord> birds;
    long long race = 0;

    Season() : BenchSection("import") {
        app.today = [] { return Date{std::chrono::year(2026), std::chrono::June, std::chrono::day(10)}; };
        Database& db = *app.db;
        Transaction tr(db);
        db.exec("INSERT INTO Foreninger (Nr, Navn) VALUES ('123', 'Ørnen')");
        Statement ins = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Lnr, Forening, Slag, Slag_Navn, Køn, \"Sektion A\", HjemKomst, "
            "Døgn, \"Meter / min\", Afstand) VALUES (?, ?, ?, ?, ?, 'Søren Sørensen', 'A', 2, '10:00:00', 1, ?, 250.5)");
        for (int r = 1; r <= kRaces; ++r) {
            db.execute(
                "INSERT INTO Kapflyvninger (Uge, Farvekode, SlipDato, Sliptid, Station) VALUES (?, '95 - Blå skema', "
                "'2026-06-06', '07:15', '101')",
                {r});
            long long nr = db.lastInsertId();
            for (int i = 0; i < kBirds; ++i) {
                char ring[16];
                std::snprintf(ring, sizeof ring, "%03d-25-%04d", 200 + i / 1000, i % 10000);
                char club[4];
                std::snprintf(club, sizeof club, "%03d", 200 + i % 40);
                ins.bindAll({nr, ring, std::string(ring).substr(7), club, "001", 900.0 + i % 800}).run();
            }
            race = nr;  // the last race is the one the file brings
        }
        tr.commit();

        const Date day{std::chrono::year(2026), std::chrono::June, std::chrono::day(6)};
        file = folder / "SEK12301.U30";
        Cp1252Writer w(file);
        w.encodedLine(formatHeader("123", "3.A"));
        w.encodedLine(formatRace("95", day, "07:15", "101", " Flensborg"));
        for (int i = 0; i < kBirds; ++i) {
            BirdRecord b;
            b.cc = "95";
            char ring[16];
            std::snprintf(ring, sizeof ring, "123-25-%04d", i);
            b.ring = ring;
            char slag[8];
            std::snprintf(slag, sizeof slag, "%03d", i % 40 + 1);  // a loft number has three characters
            b.slag = Value(std::string(slag));
            b.kon = Value(i % 2 ? "A" : "U");
            b.sektionA = i % 7;
            b.pulje = i % 3 == 0;
            b.klZ = i % 10 == 0;
            b.klR = false;
            b.hjemkomst = Value("11:12:13");
            b.dogn = Value(1);
            b.speed = Value(1000 + (i % 700) + 0.125);
            b.foreningskrydsT = Value();
            b.afstand = Value(312.045);
            b.omrade = Value("Nørre");
            b.slagNavn = Value("Kåre Ærø");
            w.encodedLine(formatBird(b, Layout::L6));
            birds.push_back(b);
        }
    }
    void removeClubRows() {
        app.db->execute("DELETE FROM Deltagere WHERE Kapflyvning = ? AND Forening = '123'", {race});
        app.db->execute("DELETE FROM Regnskab WHERE Kapflyvning = ? AND Forening = '123'", {race});
    }
};

Season& season() {
    static Season s;
    return s;
}

void BM_ImportClubFile(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        state.PauseTiming();
        s.removeClubRows();
        state.ResumeTiming();
        ImportResult r = ImportClubFile(s.app, s.file, "123", "30", false);
        if (!r.completed()) state.SkipWithError(("import: " + r.detail).c_str());
    }
    state.SetItemsProcessed(state.iterations() * kBirds);
}

// The floor: the same rows, already in memory, with one prepared statement in one transaction.
void BM_BaselineInsert(benchmark::State& state) {
    Season& s = season();
    Database& db = *s.app.db;
    for (auto _ : state) {
        state.PauseTiming();
        s.removeClubRows();
        state.ResumeTiming();
        Transaction tr(db);
        Statement ins = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Lnr, Køn, Forening, Slag, Foreningskryds, ForeningskrydsT, "
            "Junior, Pensionist, Begynder, Kode1, Kode2, Kode3, Afstand, Område, Slag_Navn, Kl_Z, Kl_R, Sportsdue, "
            "\"Sektion A\", \"Sektion B\", \"Gruppe A\", \"Gruppe B\", Pulje, Elite, HjemKomst, \"Korrigeret hjemkomst\", "
            "Døgn, \"Meter / min\") VALUES (?, ?, ?, ?, ?, ?, 0, ?, 0, 0, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?)");
        for (const auto& b : s.birds) {
            ins.bindAll({s.race, b.ring, b.ring.substr(7), b.kon, "123", b.slag, *b.foreningskrydsT, Value(), Value(), Value(),
                         *b.afstand, *b.omrade, b.slagNavn, Value(*b.klZ), Value(*b.klR), Value(b.sportsdue), b.sektionA,
                         b.sektionB, b.gruppeA, b.gruppeB, Value(b.pulje), Value(b.elite), b.hjemkomst, b.korrigeret, b.dogn,
                         b.speed})
                .run();
        }
        tr.commit();
    }
    state.SetItemsProcessed(state.iterations() * kBirds);
}

}  // namespace

BENCHMARK(BM_BaselineInsert)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportClubFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
