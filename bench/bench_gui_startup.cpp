// Start-up to the shown main window (splash hold off), on a new database and on one with a
// full season, against a baseline that only opens the SQLite file and shows an empty
// QMainWindow; and creating a new database against creating an empty SQLite file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <filesystem>

#include "core/app/startup.h"
#include "gui/app/program.h"
#include "support/testdb.h"

using namespace vemora;
namespace fs = std::filesystem;

namespace {

// 30 races of 10,000 birds each, with accounts, written once per run.
void fillSeason(Database& db) {
    Transaction t(db);
    auto race = db.prepare("INSERT INTO Kapflyvninger (Nr, Uge, Farvekode, Beregn) VALUES (?, ?, '95 - Blå skema', 1)");
    auto bird = db.prepare(
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Lnr, Forening, Slag, Slag_Navn, Køn, \"Meter / min\", "
        "\"Sektion A\", Pulje) VALUES (?, ?, ?, ?, ?, 'Slag', 'A', ?, 2, 1)");
    for (int r = 1; r <= 30; ++r) {
        race.bindAll({r, 10 + r}).run();
        for (int b = 0; b < 10000; ++b) {
            char ring[16];
            std::snprintf(ring, sizeof ring, "%03d-25-%04d", b % 500, b);
            bird.bindAll({r, ring, std::string(ring + 7), "00" + std::to_string(b % 10), std::to_string(100 + b % 40),
                          900.0 + (b * 37 % 800)})
                .run();
        }
    }
    t.commit();
}

struct Folders {
    test::TempFolder season;
    Folders() {
        auto db = createSectionDatabase(season.path() / "SEKDATA.MDB");
        fillSeason(*db);
    }
};

Folders& folders() {
    static Folders f;
    return f;
}

void startOn(benchmark::State& state, const fs::path& folder) {
    gui::MainOptions o;
    o.folder = QString::fromStdString(folder.string());
    o.splashHoldMs = 0;
    for (auto _ : state) {
        auto p = gui::Main(o);
        QApplication::processEvents();
        benchmark::DoNotOptimize(p->window.get());
    }
}

void BM_StartupNewDatabase(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        test::TempFolder f;
        gui::MainOptions o;
        o.folder = QString::fromStdString(f.path().string());
        o.splashHoldMs = 0;
        state.ResumeTiming();
        auto p = gui::Main(o);
        QApplication::processEvents();
        benchmark::DoNotOptimize(p->window.get());
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
}

void BM_StartupFullSeason(benchmark::State& state) { startOn(state, folders().season.path()); }

void BM_BaselineOpenAndEmptyWindow(benchmark::State& state) {
    fs::path file = folders().season.path() / "SEKDATA.MDB";
    for (auto _ : state) {
        auto db = Database::open(file);
        QMainWindow w;
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(db.get());
    }
}

void BM_CreateDatabase(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        test::TempFolder f;
        state.ResumeTiming();
        auto db = createSectionDatabase(f.path() / "SEKDATA.MDB");
        benchmark::DoNotOptimize(db.get());
    }
}

void BM_BaselineCreateEmptySqliteFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        test::TempFolder f;
        state.ResumeTiming();
        auto db = Database::create(f.path() / "EMPTY.DB");
        db->exec("CREATE TABLE t (x)");
        benchmark::DoNotOptimize(db.get());
    }
}

}  // namespace

BENCHMARK(BM_BaselineOpenAndEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupNewDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupFullSeason)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineCreateEmptySqliteFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateDatabase)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
