// Backup, restore and the start-up check on a season of 30 races x 10,000 birds (a file of
// about 90 MB), each against a baseline measured in the same run: the quick check against
// reading the file's bytes, the whole-database backup and restore against copying the file,
// the week backup against reading the week's rows.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/app/startup.h"
#include "core/backup/backup.h"
#include "core/backup/media.h"

#include "bench_section.h"

using namespace vemora;
namespace fs = std::filesystem;

namespace {

constexpr int kRaces = 30;
constexpr int kBirds = 10000;

// Says yes to every question: the restore asks before it overwrites.
class YesUi : public Ui {
public:
    void message(const std::string&, const std::string&, Icon) override {}
    Answer ask(const std::string&, const std::string&, Buttons b, Icon, Answer) override {
        return b == Buttons::OkCancel || b == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
};

struct Season : bench::BenchSection {
    fs::path dest;
    YesUi yes;

    Season() : BenchSection("backup") {
        dest = folder / "backup";
        fs::create_directories(dest);
        app.ui = &yes;
        app.today = [] { return Date{std::chrono::year(2026), std::chrono::June, std::chrono::day(10)}; };
        Database& db = *app.db;
        Transaction tr(db);
        Statement ins = db.prepare(
            "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Lnr, Forening, Slag, Slag_Navn, Køn, \"Sektion A\", HjemKomst, "
            "Døgn, \"Meter / min\", Afstand, Placering, Point) VALUES (?, ?, ?, ?, ?, 'Søren Sørensen', 'A', 2, '10:00:00', 1, "
            "?, 250.5, ?, 12.5)");
        for (int r = 1; r <= kRaces; ++r) {
            db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, SlipDato, Sliptid, Station) VALUES (?, '95 - Blå skema', "
                       "'2026-06-06', '07:15', '101')",
                       {r});
            long long nr = db.lastInsertId();
            db.execute("INSERT INTO Kontantpræmier (Kapflyvning, Værdi, Antal) VALUES (?, 100, 3), (?, 50, 10)", {nr, nr});
            for (int i = 0; i < kBirds; ++i) {
                char ring[16], club[4];
                std::snprintf(ring, sizeof ring, "%03d-25-%04d", 200 + i / 1000, i % 10000);
                std::snprintf(club, sizeof club, "%03d", 200 + i % 40);
                ins.bindAll({nr, ring, std::string(ring).substr(7), club, "001", 900.0 + i % 800, i + 1}).run();
            }
        }
        tr.commit();
    }
    fs::path file() const { return folder / kDatabaseFileName; }
};

Season& season() {
    static Season s;
    return s;
}

void BM_Baseline_ReadFile(benchmark::State& state) {
    Season& s = season();
    std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        std::ifstream in(s.file(), std::ios::binary);
        while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0) benchmark::DoNotOptimize(buf[0]);
    }
}

void BM_QuickCheckAtStart(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) benchmark::DoNotOptimize(s.app.database().quickCheck());
}

void BM_Baseline_CopyFile(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) fs::copy_file(s.file(), s.dest / "copy.mdb", fs::copy_options::overwrite_existing);
}

void BM_WholeBackupIntoAFolder(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        FolderMedium folder(s.dest);
        if (backupWholeDatabase(s.app, folder) != BackupOutcome::Done) state.SkipWithError("backup failed");
    }
}

void BM_WholeRestoreFromAFolder(benchmark::State& state) {
    Season& s = season();
    {
        FolderMedium folder(s.dest);
        backupWholeDatabase(s.app, folder);
    }
    for (auto _ : state) {
        FolderMedium folder(s.dest);
        if (restoreWholeDatabase(s.app, folder) != BackupOutcome::Done) state.SkipWithError("restore failed");
    }
}

void BM_Baseline_ReadAWeeksRows(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.app.database().query(
            "SELECT Deltagere.* FROM Deltagere JOIN Kapflyvninger ON Nr = Kapflyvning WHERE Uge = 15"));
}

void BM_WeekBackup(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        fs::remove(s.dest / "BACKUP15.MDB");
        if (backupWeek(s.app, s.dest, 15) != BackupOutcome::Done) state.SkipWithError("week backup failed");
    }
}

void BM_WeekRestoreOverItsRaces(benchmark::State& state) {
    Season& s = season();
    fs::remove(s.dest / "BACKUP15.MDB");
    backupWeek(s.app, s.dest, 15);
    for (auto _ : state)
        if (restoreWeek(s.app, s.dest, 15) != BackupOutcome::Done) state.SkipWithError("week restore failed");
}

}  // namespace

BENCHMARK(BM_Baseline_ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickCheckAtStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_CopyFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WholeBackupIntoAFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WholeRestoreFromAFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Baseline_ReadAWeeksRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekBackup)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WeekRestoreOverItsRaces)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
