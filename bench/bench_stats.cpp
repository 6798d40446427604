// Total statistics of a 300,000-bird season (30 races of 10,000 birds from 40 clubs and 600
// lofts, every race already calculated) against writing the same number of 81-character lines
// from memory with the same file writer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/stats/exportfile.h"
#include "core/stats/statexport.h"

#include "bench_section.h"
#include "support/random.h"

namespace {

using namespace vemora;
namespace fs = std::filesystem;

constexpr int kRaces = 30, kBirdsPerRace = 10000, kClubs = 40, kLofts = 600, kFlock = 12000;

using test::pad;

struct Season : bench::BenchSection {
    fs::path out;
    long long lines = 0;

    Season() : BenchSection("stats") {
        out = folder / "ud";
        fs::create_directories(out);
        Database& db = *app.db;
        std::mt19937 rng(20260613);
        Transaction tr(db);
        db.exec("UPDATE Generelt SET Sektionsnavn = 'Sektion 04'");
        for (int c = 1; c <= kClubs; ++c)
            db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {pad(c, 3), "Forening " + std::to_string(c)});
        for (int s = 101; s <= 110; ++s) db.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, 'Station')", {std::to_string(s)});
        // The flock: each bird belongs to one loft, each loft to one club.
        std::vector<std::pair<std::string, std::string>> lofts;  // club, loft
        for (int l = 0; l < kLofts; ++l) lofts.emplace_back(pad(l % kClubs + 1, 3), pad(l / kClubs + 1, 3));
        std::vector<int> loftOf(kFlock);
        for (int b = 0; b < kFlock; ++b) loftOf[static_cast<size_t>(b)] = std::uniform_int_distribution<int>(0, kLofts - 1)(rng);
        const char* kinds[] = {"95 - Blå skema", "96 - Gul skema", "81 - Privat", "97 - Privat"};
        Statement bird = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening, Slag, \"Meter / min\", Placering, Kapflyvning_ialt, "
            "Slag_Placering, Slag_Ialt, Forening_placering, Forening_ialt, Point) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        std::vector<int> flock(kFlock);
        for (int b = 0; b < kFlock; ++b) flock[static_cast<size_t>(b)] = b;
        std::uniform_real_distribution<double> speed(900, 1500);
        // VEMORA_BENCH_RACES makes a smaller season for quick looks.
        int races = kRaces;
        if (const char* e = std::getenv("VEMORA_BENCH_RACES")) races = std::max(1, std::atoi(e));
        for (int r = 0; r < races; ++r) {
            db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, Station, SlipDato, Beregn) VALUES (?, ?, ?, ?, 0)",
                       {16 + r / 2, kinds[r % 4], std::to_string(101 + r % 10), "2026-05-01"});
            long long nr = db.lastInsertId();
            std::shuffle(flock.begin(), flock.end(), rng);
            for (int i = 0; i < kBirdsPerRace; ++i) {
                int b = flock[static_cast<size_t>(i)];
                const auto& [club, loft] = lofts[static_cast<size_t>(loftOf[static_cast<size_t>(b)])];
                std::string ring = pad(b / 10000 + 100, 3) + "-25-" + pad(b % 10000, 4);
                double v = std::round(speed(rng) * 1000) / 1000;
                bird.bindAll({nr, ring, club, loft, v, i + 1, kBirdsPerRace, i % 20 + 1, 20, i % 300 + 1, 300,
                              1000.0 * (kBirdsPerRace - i) / kBirdsPerRace});
                bird.run();
            }
        }
        tr.commit();
        lines = static_cast<long long>(races) * kBirdsPerRace;
    }
};

Season& season() {
    static Season s;
    return s;
}

// Totals and the fastest run of each: on a machine shared with other work the fastest run is
// the one least disturbed.
double exportSeconds = 0, baselineSeconds = 0, exportBest = 1e9, baselineBest = 1e9;
int exportRuns = 0, baselineRuns = 0;

void BM_TotalStatistics(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        ExportResult r = ExportStatistics(s.app, ExportKind::TotalStats, "", ExportTarget{s.out, false, {}});
        double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        exportSeconds += sec;
        exportBest = std::min(exportBest, sec);
        ++exportRuns;
        if (r.outcome != ExportOutcome::Done || r.files.size() != 1) state.SkipWithError("export failed");
        else if (fs::file_size(r.files[0]) != static_cast<uintmax_t>(s.lines) * 83) state.SkipWithError("wrong size");
    }
    state.counters["lines"] = static_cast<double>(s.lines);
}

void BM_BaselineLinesFromMemory(benchmark::State& state) {
    Season& s = season();
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(s.lines));
    for (long long i = 0; i < s.lines; ++i) {
        std::string l = "9" + pad(static_cast<int>(i % 53), 2) + "95" + "1234,56" + pad(static_cast<int>(i % 1000000000), 9);
        l.resize(81, '0');
        lines.push_back(std::move(l));
    }
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        ExportFile f(s.out / "BASELINE.TXT");
        for (const auto& l : lines) f.line(l);
        f.commit();
        double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        baselineSeconds += sec;
        baselineBest = std::min(baselineBest, sec);
        ++baselineRuns;
    }
}

BENCHMARK(BM_BaselineLinesFromMemory)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_TotalStatistics)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    season();  // build the season before any timing
    benchmark::RunSpecifiedBenchmarks();
    if (exportRuns && baselineRuns) {
        double e = exportSeconds / exportRuns, b = baselineSeconds / baselineRuns;
        std::printf("total statistics of %lld birds: export %.0f ms, baseline %.0f ms, ratio %.1f (mean)\n", season().lines,
                    e * 1000, b * 1000, e / b);
        std::printf("total statistics of %lld birds: export %.0f ms, baseline %.0f ms, ratio %.1f (fastest run)\n",
                    season().lines, exportBest * 1000, baselineBest * 1000, exportBest / baselineBest);
    }
    benchmark::Shutdown();
    return 0;
}
