// Race calculation speed: one generated 20,000-bird race (400 lofts in 12 clubs, split by
// code into three groups, every prize kind and the per-loft point scheme on) against a
// baseline that only reads the race's rows and writes every result column back once in
// one transaction; and a season of 30 such races.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/calc/calc.h"
#include "core/calc/racecalc.h"
#include "core/calc/race_gen.h"

#include "bench_section.h"

namespace {

using namespace vemora;
namespace fs = std::filesystem;

constexpr int kSeasonRaces = 30;

struct Season : bench::BenchSection {
    std::vector<long long> races;

    Season() : BenchSection("calc") {
        calcgen::benchSettings(*app.db);
        std::mt19937 rng(20260606);
        calcgen::Shape shape;
        shape.birds = 20000;
        shape.clubs = 12;
        shape.lofts = 400;
        shape.everything = true;
        // VEMORA_BENCH_RACES makes a smaller season for quick looks.
        int count = kSeasonRaces;
        if (const char* e = std::getenv("VEMORA_BENCH_RACES")) count = std::max(1, std::atoi(e));
        for (int i = 0; i < count; ++i) races.push_back(calcgen::addRace(*app.db, rng, shape, 14 + i));
    }

    // The state after an import: results empty and the race marked for calculation.
    void makeStale(long long nr) {
        std::string set;
        for (const char* f : calc::resultFieldNames()) set += std::string(set.empty() ? "" : ", ") + sqlIdent(f) + " = NULL";
        Transaction tr(*app.db);
        app.db->execute("UPDATE Deltagere SET " + set + " WHERE Kapflyvning = ?", {nr});
        app.db->execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = ?", {nr});
        tr.commit();
    }
};

Season& season() {
    static Season s;
    return s;
}

double calcSeconds = 0, baselineSeconds = 0;
int calcRuns = 0, baselineRuns = 0;

void BM_CalcRace(benchmark::State& state) {
    Season& s = season();
    long long nr = s.races.front();
    for (auto _ : state) {
        state.PauseTiming();
        s.makeStale(nr);
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        if (!CalcKapflyvning(s.app, nr)) state.SkipWithError("calculation failed");
        calcSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++calcRuns;
    }
}

// Reads what the calculation reads of the birds and writes all result columns of every
// bird once, in one transaction, with no computation between.
void BM_Baseline(benchmark::State& state) {
    Season& s = season();
    Database& db = *s.app.db;
    long long nr = s.races.front();
    for (auto _ : state) {
        state.PauseTiming();
        s.makeStale(nr);
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        // The same columns the calculation reads, fetched as values.
        Statement read = db.prepare(
            "SELECT rowid, Ringnummer, Forening, Slag, Område, Kode1, \"Meter / min\", \"Sektion A\", \"Sektion B\", Pulje, "
            "Elite, Kl_Z, Kl_R, Område_Placering, Points1000, PointsPlac FROM Deltagere WHERE Kapflyvning = ?");
        read.bind(1, Value(nr));
        std::vector<std::array<Value, 16>> rows;
        while (read.step()) {
            rows.emplace_back();
            for (int c = 0; c < 16; ++c) rows.back()[c] = read.column(c);
        }
        Transaction tr(db);
        std::string upd = "UPDATE Deltagere SET ";
        for (int f = 0; f < calc::kResultFieldCount; ++f) upd += (f ? ", " : "") + sqlIdent(calc::resultFieldNames()[f]) + " = ?";
        Statement write = db.prepare(upd + " WHERE rowid = ?");
        int64_t i = 0;
        for (const auto& row : rows) {
            ++i;
            double speed = row[6].toDouble();
            for (int f = 0; f < calc::kResultFieldCount; ++f)
                write.bind(f + 1, f == calc::rPoint || f == calc::rPoints1000 || f == calc::rPointsPlac || f == calc::rPraemie
                                      ? Value(speed / 3)
                                      : Value(i % 50 + f));
            write.bind(calc::kResultFieldCount + 1, row[0]);
            write.run();
        }
        db.execute("UPDATE Kapflyvninger SET Beregn = 0 WHERE Nr = ?", {nr});
        tr.commit();
        baselineSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++baselineRuns;
    }
}

void BM_CalcSeason(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        state.PauseTiming();
        for (long long nr : s.races) s.makeStale(nr);
        state.ResumeTiming();
        for (long long nr : s.races)
            if (!CalcKapflyvning(s.app, nr)) state.SkipWithError("calculation failed");
    }
}

BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CalcRace)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CalcSeason)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    season();  // generate the season before any timing
    benchmark::RunSpecifiedBenchmarks();
    if (calcRuns && baselineRuns) {
        double c = calcSeconds / calcRuns, b = baselineSeconds / baselineRuns;
        std::printf("one race: calculation %.1f ms, baseline %.1f ms, ratio %.2f\n", c * 1000, b * 1000, c / b);
    }
    benchmark::Shutdown();
    return 0;
}
