// Printout speed: the result list of a 10,000-bird race with every placed bird, and the year
// statistics of a 300,000-bird season (every bird), each prepared, read, laid out and written
// to PDF, against a baseline in the same run that draws the same texts in the same fonts at
// the same places with QPainter into a QPdfWriter (so the baseline is the PDF writing itself).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPdfWriter>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/app/startup.h"
#include "core/calc/calc.h"
#include "core/calc/race_gen.h"
#include "core/reports/prepare.h"
#include "report/document.h"
#include "support/reportseason.h"

#include "bench_section.h"

namespace {

using namespace vemora;
namespace fs = std::filesystem;

struct Season : bench::BenchSection {
    long long race = 0;

    Season() : BenchSection("report") {
        Database& db = *app.db;
        calcgen::benchSettings(db);
        test::copyReportDefinitions(folder);
        std::mt19937 rng(20260606);
        calcgen::Shape shape;
        shape.birds = 10000;
        shape.clubs = 12;
        shape.lofts = 400;
        shape.everything = true;
        // VEMORA_BENCH_RACES makes a smaller season for quick looks (30 races: 300,000 birds).
        int count = 30;
        if (const char* e = std::getenv("VEMORA_BENCH_RACES")) count = std::max(1, std::atoi(e));
        for (int i = 0; i < count; ++i) {
            long long nr = calcgen::addRace(db, rng, shape, 14 + i);
            if (!race) race = nr;
            db.execute("UPDATE Kapflyvninger SET Station = ?, SlipDato = ?, Sliptid = '07:30' WHERE Nr = ?",
                       {calcgen::pad(101 + i % 7, 3), "2026-" + calcgen::pad(4 + i / 4, 2) + "-" + calcgen::pad(1 + i % 28, 2), nr});
        }
        Transaction tr(db);
        for (int i = 0; i < 7; ++i)
            db.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, ?)", {calcgen::pad(101 + i, 3), "Station nr. " + std::to_string(i + 1)});
        for (int c = 1; c <= shape.clubs; ++c)
            db.execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, ?)", {calcgen::pad(c, 3), "Brevdueforeningen " + std::to_string(c)});
        db.exec("UPDATE Deltagere SET Slag_Navn = 'Slag ' || Forening || '/' || Slag, HjemKomst = '09:12:34'");
        tr.commit();
        // The calculation is not what is measured: every race is brought up to date first.
        for (int nr = 1; nr <= count; ++nr) CalcKapflyvning(app, nr);
    }
};

Season& season() {
    static Season s;
    return s;
}

reports::PrintRequest resultList() {
    reports::PrintRequest r;
    r.race = season().race;
    r.allBirds = true;
    return r;
}

reports::PrintRequest statistics() {
    reports::PrintRequest r;
    r.tab = reports::PrintTab::Statistics;
    r.statAllBirds = true;
    return r;
}

// The whole printout as the print command makes it; the rendered pages are kept for the baseline.
std::unique_ptr<report::ReportDocument> print(const reports::PrintRequest& req, const fs::path& pdf) {
    Season& s = season();
    reports::PreparedReport prepared;
    if (!reports::PreparePrint(s.app, req, prepared)) return nullptr;
    auto data = std::make_shared<reports::ReportData>(reports::readReportData(s.app, prepared));
    auto doc = std::make_unique<report::ReportDocument>(prepared.definition, data, s.folder);
    std::string error;
    if (!report::writePdf(*doc, pdf, error)) return nullptr;
    return doc;
}

// What the baseline draws: every text of every page, with its font as an index.
struct Drawing {
    QPageLayout layout;
    QSizeF mm;
    std::vector<QFont> fonts;
    struct Text {
        int font;
        QPointF pos;
        QString text;
    };
    std::vector<std::vector<Text>> pages;
};

Drawing drawingOf(const report::ReportDocument& doc) {
    Drawing d;
    d.layout = doc.pageLayout();
    d.mm = doc.pageSizeMm();
    for (int p = 0; p < doc.pageCount(); ++p) {
        d.pages.emplace_back();
        for (auto& t : doc.pageTexts(p)) {
            int f = 0;
            while (f < static_cast<int>(d.fonts.size()) && !(d.fonts[f] == t.font)) ++f;
            if (f == static_cast<int>(d.fonts.size())) d.fonts.push_back(t.font);
            d.pages.back().push_back({f, t.pos, std::move(t.text)});
        }
    }
    return d;
}

void drawBaseline(const Drawing& d, const fs::path& pdf) {
    QPdfWriter writer(QString::fromStdString(pdf.string()));
    writer.setResolution(1200);
    writer.setPageLayout(d.layout);
    QPainter painter(&writer);
    painter.scale(writer.width() / (d.mm.width() * 100), writer.height() / (d.mm.height() * 100));
    for (size_t p = 0; p < d.pages.size(); ++p) {
        if (p) writer.newPage();
        int current = -1;
        for (const auto& t : d.pages[p]) {
            if (t.font != current) painter.setFont(d.fonts[t.font]), current = t.font;
            painter.drawText(t.pos, t.text);
        }
    }
}

struct Pair {
    std::unique_ptr<Drawing> drawing;
    double report = 0, baseline = 0;        // wall clock, seconds
    double reportCpu = 0, baselineCpu = 0;  // processor time, which a busy machine does not inflate
    int reportRuns = 0, baselineRuns = 0;
    int pages = 0;
};
Pair listTimes, statTimes;

double seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
double cpuSeconds(std::clock_t c0) { return static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC; }

void runReport(benchmark::State& state, const reports::PrintRequest& req, Pair& pair) {
    const fs::path pdf = season().folder / "report.pdf";
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::clock_t c0 = std::clock();
        auto doc = print(req, pdf);
        if (!doc) {
            state.SkipWithError("the printout failed");
            return;
        }
        pair.report += seconds(t0);
        pair.reportCpu += cpuSeconds(c0);
        ++pair.reportRuns;
        pair.pages = doc->pageCount();
        state.PauseTiming();
        if (!pair.drawing) pair.drawing = std::make_unique<Drawing>(drawingOf(*doc));
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["pages"] = pair.pages;
}

void runBaseline(benchmark::State& state, Pair& pair) {
    if (!pair.drawing) {
        state.SkipWithError("run the printout first");
        return;
    }
    const fs::path pdf = season().folder / "baseline.pdf";
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::clock_t c0 = std::clock();
        drawBaseline(*pair.drawing, pdf);
        pair.baseline += seconds(t0);
        pair.baselineCpu += cpuSeconds(c0);
        ++pair.baselineRuns;
    }
}

void BM_ResultList(benchmark::State& state) { runReport(state, resultList(), listTimes); }
void BM_ResultListBaseline(benchmark::State& state) { runBaseline(state, listTimes); }
void BM_Statistics(benchmark::State& state) { runReport(state, statistics(), statTimes); }
void BM_StatisticsBaseline(benchmark::State& state) { runBaseline(state, statTimes); }

BENCHMARK(BM_ResultList)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ResultListBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_StatisticsBaseline)->Unit(benchmark::kMillisecond)->Iterations(2);

void summary(const char* what, const Pair& p) {
    if (!p.reportRuns || !p.baselineRuns) return;
    double r = p.report / p.reportRuns, b = p.baseline / p.baselineRuns;
    double rc = p.reportCpu / p.reportRuns, bc = p.baselineCpu / p.baselineRuns;
    std::printf("%s: %d pages; wall: printout %.0f ms, baseline %.0f ms, ratio %.2f; processor: printout %.0f ms, "
                "baseline %.0f ms, ratio %.2f\n",
                what, p.pages, r * 1000, b * 1000, r / b, rc * 1000, bc * 1000, rc / bc);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    season();  // generate and calculate the season before any timing
    benchmark::RunSpecifiedBenchmarks();
    summary("result list, 10,000 birds", listTimes);
    summary("year statistics", statTimes);
    benchmark::Shutdown();
    return 0;
}
