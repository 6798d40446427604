// Championship speed: every point system over a computed season of 30 races of 10,000 birds
// (20 clubs, 500 lofts; every bird flies every race), all races counted, page tables on,
// against a baseline in the same run that only reads the season's result rows and writes
// one standing row per loft in one transaction.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <unordered_map>

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/calc/calc.h"
#include "core/championships/championships.h"
#include "core/championships/definition.h"

#include "bench_section.h"
#include "support/random.h"

namespace {

using namespace vemora;
namespace fs = std::filesystem;

using test::pad;

struct Season : bench::BenchSection {
    std::vector<long long> races;

    Season() : BenchSection("champ") {
        Database& db = *app.db;
        std::mt19937 rng(20260610);
        // VEMORA_BENCH_RACES makes a smaller season for quick looks.
        int count = 30;
        if (const char* e = std::getenv("VEMORA_BENCH_RACES")) count = std::max(1, std::atoi(e));
        const std::vector<std::pair<std::string, std::string>> kinds{
            {"91 - Orange skema", "L"}, {"92 - Blå", "M"}, {"95 - Sektion", ""}, {"96 - Sektion", ""}, {"85 - Privat", ""}};
        Transaction tr(db);
        for (int c = 1; c <= 20; ++c) db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {pad(c, 3), "Forening " + std::to_string(c)});
        db.exec("INSERT INTO Stationer (Nr, Navn) VALUES ('001', 'Hamborg')");
        Statement ins = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Forening, Slag, Slag_Navn, Junior, Sportsdue, \"Meter / min\", Afstand) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        std::uniform_real_distribution<double> speed(900, 1400);
        for (int r = 0; r < count; ++r) {
            const auto& kind = kinds[static_cast<size_t>(r) % kinds.size()];
            db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, LMU, Station, Beregn) VALUES (?, ?, ?, '001', 1)",
                       {14 + r / 2, kind.first, kind.second});
            races.push_back(db.lastInsertId());
            const double km = 150 + 15 * r;
            for (int c = 1; c <= 20; ++c)
                for (int l = 1; l <= 25; ++l)
                    for (int b = 0; b < 20; ++b) {
                        ins.bindAll({races.back(), pad(100 + c, 3) + "-26-" + pad(l * 20 + b, 4), pad(c, 3), pad(l, 3),
                                     "Slag " + std::to_string(c) + "-" + std::to_string(l), b % 5 == 0, b % 7 == 0,
                                     std::round(speed(rng) * 100) / 100, km + l});
                        ins.run();
                    }
        }
        tr.commit();
        for (long long nr : races)
            if (!CalcKapflyvning(app, nr)) std::abort();
        // One championship per point system over every race.
        int n = 0;
        for (const auto& type : championships::ChampionshipTypes()) {
            long long rec = championships::NewChampionship(db);
            db.execute("UPDATE Mesterskaber SET Nr = ?, Titel = ?, Type = ?, Antal_duer_pr_slag = 5, Antal_flyvninger = 20, "
                       "Antal_L_flyvninger = 4 WHERE RecNr = ?",
                       {pad(++n, 3), type, type, rec});
            Transaction t2(db);
            for (long long r : races) db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {rec, r});
            t2.commit();
        }
    }
};

Season& season() {
    static Season s;
    return s;
}

// Wall and processor seconds and runs by type index; -1 the baseline. The machine the
// figures are taken on is shared, so the processor time is the steadier of the two.
struct Timing {
    double wall = 0, cpu = 0;
    int runs = 0;
};
std::map<int, Timing> seconds;

void timed(int key, const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    std::clock_t c0 = std::clock();
    f();
    auto& s = seconds[key];
    s.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    s.cpu += static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    ++s.runs;
}

// Reads the columns a standing needs of every result of the season and writes one row per
// loft with its point sum, in one transaction.
void BM_Baseline(benchmark::State& state) {
    Database& db = *season().app.db;
    for (auto _ : state) {
        timed(-1, [&] {
            std::string in;
            for (long long r : season().races) in += (in.empty() ? "" : ", ") + std::to_string(r);
            Statement read = db.prepare("SELECT Kapflyvning, Forening, Slag, Slag_Navn, Point FROM Deltagere WHERE Kapflyvning IN (" +
                                        in + ")");
            std::unordered_map<std::string, std::pair<std::string, double>> lofts;
            while (read.step()) {
                auto& l = lofts[read.column(1).toText() + "/" + read.column(2).toText()];
                l.first = read.column(3).toText();
                l.second += read.column(4).toDouble();
            }
            Transaction tr(db);
            db.exec("DELETE FROM Mesterskabsresultat WHERE Mesterskabsnr = 'base'");
            Statement write = db.prepare("INSERT INTO Mesterskabsresultat (Mesterskabsnr, Id, Points) VALUES ('base', ?, ?)");
            for (const auto& [id, l] : lofts) {
                write.bindAll({id + " " + l.first, l.second});
                write.run();
            }
            tr.commit();
        });
    }
}

void BM_Championship(benchmark::State& state) {
    const int t = static_cast<int>(state.range(0));
    const std::string& type = championships::ChampionshipTypes()[static_cast<size_t>(t)];
    state.SetLabel(type);
    const std::string nr = pad(t + 1, 3);
    for (auto _ : state)
        timed(t, [&] {
            if (!championships::CalcChampionship(season().app, nr, {true, true})) state.SkipWithError("calculation failed");
        });
}

BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Championship)->DenseRange(0, 10)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    season();  // generate and compute the season before any timing
    benchmark::RunSpecifiedBenchmarks();
    auto base = seconds.find(-1);
    if (base != seconds.end()) {
        const Timing& b = base->second;
        std::printf("%-22s %8s %8s %7s %7s\n", "", "wall ms", "cpu ms", "wall x", "cpu x");
        std::printf("%-22s %8.1f %8.1f\n", "baseline", b.wall / b.runs * 1000, b.cpu / b.runs * 1000);
        for (const auto& [t, s] : seconds) {
            if (t < 0) continue;
            std::printf("%-22s %8.1f %8.1f %7.2f %7.2f\n", championships::ChampionshipTypes()[static_cast<size_t>(t)].c_str(),
                        s.wall / s.runs * 1000, s.cpu / s.runs * 1000, (s.wall / s.runs) / (b.wall / b.runs),
                        (s.cpu / s.runs) / (b.cpu / b.runs));
        }
    }
    benchmark::Shutdown();
    return 0;
}
