// The export runs: which files are written, their bytes, the year checks and the failures.
#include <gtest/gtest.h>

#include "core/stats/statformat.h"
#include "core/stats/stats_fixture.h"

namespace vemora {
namespace {

using namespace statstest;
using S = std::vector<std::string>;

// Six birds of two clubs in a section race, one of them also in a private race and a national
// one; nothing is calculated yet.
struct WorkedSeason : Season {
    long long a, b, national;
    WorkedSeason() {
        a = race("95 - Blå skema", 20, "2026-05-16", "101", {{"Gebyr", 125}, {"LMU", "L"}, {"Kl_P", true}});
        b = race("81 - Privat", 21, "2026-05-23", "102", {{"GebyrSlag", 500}});
        national = race("91 - Orange skema", 20, "2026-05-16");
        bird(a, "001-25-0001", 1500.0, "001", "001");
        bird(a, "001-25-0002", 1400.0, "001", "001");
        bird(a, "001-25-0003", 1300.0, "001", "002");
        bird(a, "002-25-0004", 1250.0, "002", "007");
        bird(a, "002-25-0005", 1000.005, "002", "007");
        bird(a, "002-25-0006", Value(), "002", "007");
        bird(b, "001-25-0001", 900.0, "001", "001");
        bird(national, "001-25-0001", 1600.0, "001", "001");
    }
};

// The statistics lines of the worked season, in file order, with the club column.
const S kWorkedTotal = {
    "9" "20" "95" "1500,00" "001250001" "001" "001" "00001" "00002" "00001" "00003" "00001" "00006" "00000" "101" "01000,00000" "00003",
    "9" "21" "81" "0900,00" "001250001" "001" "001" "00001" "00001" "00001" "00001" "00000" "00001" "00000" "102" "00000.00000" "00001",
    "9" "20" "95" "1400,00" "001250002" "001" "001" "00002" "00002" "00002" "00003" "00000" "00006" "00000" "101" "00000.00000" "00003",
    "9" "20" "95" "1300,00" "001250003" "001" "002" "00001" "00001" "00003" "00003" "00000" "00006" "00000" "101" "00000.00000" "00003",
    "9" "20" "95" "1250,00" "002250004" "002" "007" "00001" "00003" "00001" "00003" "00000" "00006" "00000" "101" "00000.00000" "00003",
    "9" "20" "95" "1000,01" "002250005" "002" "007" "00002" "00003" "00002" "00003" "00000" "00006" "00000" "101" "00000.00000" "00003",
    "9" "20" "95" "       " "002250006" "002" "007" "00000" "00003" "00000" "00003" "00000" "00006" "00000" "101" "00000.00000" "00003",
};

S withoutClub(const S& total, const std::string& club) {
    S out;
    for (const auto& l : total)
        if (l.substr(21, 3) == club) out.push_back(l.substr(0, 21) + l.substr(24));
    return out;
}

TEST(StatExport, TotalStatisticsOfAWorkedSeasonByteForByte) {
    WorkedSeason s;
    ExportResult r = s.run(ExportKind::TotalStats, "002 - Beta");  // the club box does not narrow the total
    ASSERT_EQ(r.outcome, ExportOutcome::Done) << testing::PrintToString(s.t.ui.messages());
    EXPECT_EQ(r.files, std::vector<fs::path>{s.out / "SEKSTA26.04"});
    EXPECT_EQ(fileNames(s.out), S{"SEKSTA26.04"});
    EXPECT_EQ(s.lines("SEKSTA26.04"), kWorkedTotal);
    EXPECT_TRUE(s.t.ui.shown.empty());
    // Every race was calculated first, the national one too.
    for (long long race : {s.a, s.b, s.national}) EXPECT_EQ(calctest::raceField(s.db, race, "Beregn"), Value(0));
}

TEST(StatExport, ClubStatisticsOneFilePerClubWithResults) {
    WorkedSeason s;
    ASSERT_EQ(s.run(ExportKind::ClubStats).outcome, ExportOutcome::Done);
    EXPECT_EQ(fileNames(s.out), (S{"SEKSTA26.001", "SEKSTA26.002"}));  // Gamma has no results
    EXPECT_EQ(s.lines("SEKSTA26.001"), withoutClub(kWorkedTotal, "001"));
    EXPECT_EQ(s.lines("SEKSTA26.002"), withoutClub(kWorkedTotal, "002"));

    // One club chosen: only its file is written, and the stored query holds only its rows.
    fs::remove_all(s.out);
    fs::create_directory(s.out);
    ExportResult one = s.run(ExportKind::ClubStats, "002 - Beta");
    EXPECT_EQ(one.files, std::vector<fs::path>{s.out / "SEKSTA26.002"});
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Q_Statistik"), Value(3));
    EXPECT_EQ(s.run(ExportKind::ClubStats, "003 - Gamma").files.size(), 0u);
    EXPECT_EQ(fileNames(s.out), S{"SEKSTA26.002"});
}

TEST(StatExport, RacePlanForEveryClubOrOne) {
    WorkedSeason s;
    s.race("97 - Privat", 19, "2026-05-09", "102", {{"Slagspil_X", true}});
    s.race("94 - Rød skema", 18, "2026-05-02");
    calctest::setSettings(s.db, "Indskud", {{"A_Klasse1", 2}, {"B_Klasse6", 50}, {"Slagspil", 25}, {"Kl_R", Value()}});
    ASSERT_EQ(s.run(ExportKind::Plan).outcome, ExportOutcome::Done);
    EXPECT_EQ(fileNames(s.out), (S{"SEK001.DAT", "SEK002.DAT", "SEK003.DAT"}));  // Gamma too
    const S plan = {"[INDSKUD]",
                    "02" "0000000000" "0000000000" "50" "000" "000" "025" "000" "000",
                    "[KAPFLYVNINGER]",
                    "19" "97" "102" "00000" "0" "0000" "0001" "         " "00000",
                    "20" "95" "101" "00125" "1" "1000" "0000" "         " "00000",
                    "21" "81" "102" "00000" "0" "0000" "0000" "         " "00500"};
    for (const char* f : {"SEK001.DAT", "SEK002.DAT", "SEK003.DAT"}) EXPECT_EQ(s.lines(f), plan) << f;
    // The plan calculates nothing.
    EXPECT_EQ(calctest::raceField(s.db, s.a, "Beregn"), Value(1));

    fs::remove_all(s.out);
    fs::create_directory(s.out);
    EXPECT_EQ(s.run(ExportKind::Plan, " 003 - Gamma").outcome, ExportOutcome::Done);
    EXPECT_EQ(fileNames(s.out), S{"SEK003.DAT"});
}

TEST(StatExport, SectionPlacingAndPointsOnlyWithinTheFirstFifth) {
    Season s;
    long long r = s.race("96 - Gul skema", 22, "2026-05-30");
    Transaction tx(s.db);
    for (int i = 1; i <= 100; ++i) {
        char ring[16];
        std::snprintf(ring, sizeof ring, "003-25-%04d", i);
        s.bird(r, ring, 2000.0 - i * 3.3, "003", "001");
    }
    tx.commit();
    ASSERT_EQ(s.run(ExportKind::TotalStats).outcome, ExportOutcome::Done);
    S lines = s.lines("SEKSTA26.04");
    ASSERT_EQ(lines.size(), 100u);
    auto lineOf = [&](int i) { return lines[static_cast<size_t>(i - 1)]; };  // ring order is placing order here
    Value point19 = calctest::birdField(s.db, r, "003-25-0019", "Point");
    EXPECT_EQ(lineOf(19).substr(47, 5), "00019");
    EXPECT_EQ(lineOf(19).substr(65, 11), formatNumber(point19, 5, 5));
    EXPECT_NE(lineOf(19).substr(65, 11), "00000.00000");
    for (int i : {20, 30}) {  // 20 is not below a fifth of 100
        EXPECT_EQ(lineOf(i).substr(47, 5), "00000") << i;
        EXPECT_EQ(lineOf(i).substr(65, 11), "00000.00000") << i;
        EXPECT_EQ(lineOf(i).substr(52, 5), "00100") << i;
    }
}

TEST(StatExport, YearChecks) {
    {
        // Club statistics stop at a race of last year and write nothing.
        Season s;
        long long old = s.race("95 - Blå skema", 52, "2025-12-28");
        s.bird(old, "001-25-0001", 1000.0, "001", "001");
        s.race("96 - Gul skema", 20, "2026-05-16");
        EXPECT_EQ(s.run(ExportKind::ClubStats).outcome, ExportOutcome::Failed);
        EXPECT_EQ(s.t.ui.messages(), S{"Fejl: Statistik kan kun udtrækkes for indeværende år. Der er registreret "
                                       "kapflyvninger med slipdato fra tidligere år."});
        EXPECT_EQ(s.t.ui.shown[0].icon, Icon::Exclamation);
        EXPECT_TRUE(fileNames(s.out).empty());
        EXPECT_EQ(calctest::raceField(s.db, old, "Beregn"), Value(1));

        // The total statistics of two years stop too.
        s.t.ui.shown.clear();
        EXPECT_EQ(s.run(ExportKind::TotalStats).outcome, ExportOutcome::Failed);
        EXPECT_EQ(s.t.ui.messages(), S{"Fejl: Der er registreret kapflyvninger med slipdato fra forskellige år."});
        EXPECT_TRUE(fileNames(s.out).empty());
    }
    {
        // The total statistics take their year from the races, else from today.
        Season s;
        s.race("95 - Blå skema", 30, "2025-07-26");
        s.race("96 - Gul skema", 31, "2025-08-02");
        EXPECT_EQ(s.run(ExportKind::TotalStats).files, std::vector<fs::path>{s.out / "SEKSTA25.04"});
        EXPECT_EQ(s.lines("SEKSTA25.04"), S{});  // no birds: an empty file
        s.db.execute("UPDATE Kapflyvninger SET SlipDato = NULL");
        EXPECT_EQ(s.run(ExportKind::TotalStats).files, std::vector<fs::path>{s.out / "SEKSTA26.04"});
    }
    {
        // Without two adjacent digits in the section name there is no section number.
        Season s;
        calctest::setSettings(s.db, "Generelt", {{"Sektionsnavn", "Sektion 7"}});
        EXPECT_EQ(s.run(ExportKind::TotalStats).outcome, ExportOutcome::Failed);
        EXPECT_EQ(s.t.ui.messages(), S{"Fejl: Ukendt sektionsnummer. Vælg \"Vis, Indskud, præmier og sektionsdata\" og "
                                       "tilføj sektionsnummeret i sektionsnavnet."});
        EXPECT_TRUE(fileNames(s.out).empty());
    }
}

TEST(StatExport, FailuresKeepTheFilesWrittenBefore) {
    WorkedSeason s;
    // A folder that is not there.
    ExportResult missing = ExportStatistics(s.t.app, ExportKind::Plan, "", ExportTarget{s.out / "mangler", false, {}});
    EXPECT_EQ(missing.outcome, ExportOutcome::Failed);
    EXPECT_EQ(s.t.ui.messages(), S{"Fejl: Folderen " + (s.out / "mangler").string() + " findes ikke."});

    // Club 002's file cannot take the place of what stands under its name: club 001's file stays
    // complete, and no half-written or temporary file is left behind.
    fs::create_directories(s.out / "SEKSTA26.002" / "x");
    s.t.ui.shown.clear();
    ExportResult r = s.run(ExportKind::ClubStats);
    EXPECT_EQ(r.outcome, ExportOutcome::Failed);
    EXPECT_EQ(r.files, std::vector<fs::path>{s.out / "SEKSTA26.001"});
    EXPECT_EQ(s.lines("SEKSTA26.001"), withoutClub(kWorkedTotal, "001"));
    EXPECT_EQ(fileNames(s.out), (S{"SEKSTA26.001", "SEKSTA26.002"}));
    ASSERT_EQ(s.t.ui.shown.size(), 1u);
    EXPECT_EQ(s.t.ui.shown[0].title, "Fejl");
    EXPECT_NE(s.t.ui.shown[0].text.find("SEKSTA26.002"), std::string::npos) << s.t.ui.shown[0].text;
    EXPECT_EQ(s.t.ui.busyOn, s.t.ui.busyOff);

    // An old file of the target name is replaced.
    fs::remove_all(s.out / "SEKSTA26.002");
    s.t.ui.shown.clear();
    EXPECT_EQ(s.run(ExportKind::ClubStats).outcome, ExportOutcome::Done);
    EXPECT_EQ(s.lines("SEKSTA26.002"), withoutClub(kWorkedTotal, "002"));

    // A race that cannot be calculated stops a statistics export before any file.
    fs::remove_all(s.out);
    fs::create_directory(s.out);
    long long bad = s.race("96 - Gul skema", 22, "2026-05-30");
    s.bird(bad, "001-25-0009", 1000.0, "001", "001", {{"Sektion A", 7}});
    s.t.ui.shown.clear();
    EXPECT_EQ(s.run(ExportKind::TotalStats).outcome, ExportOutcome::Failed);
    EXPECT_EQ(s.t.ui.shown.size(), 1u);  // the calculation's own message only
    EXPECT_TRUE(fileNames(s.out).empty());
}

// Removable media are folders handed out one after another, as the user inserts them.
struct Media {
    std::vector<fs::path> roots;
    size_t next = 0;
    ExportTarget target() {
        return ExportTarget{roots.front(), true, [this]() -> std::optional<fs::path> {
                                if (next >= roots.size()) return std::nullopt;
                                return roots[next++];
                            }};
    }
};

TEST(StatExport, DiskettesAreAskedForAndEmptiedOnRequest) {
    WorkedSeason s;
    Media m;
    for (const char* n : {"d1", "d2", "d3"}) m.roots.push_back(s.out / n);
    for (const auto& r : m.roots) fs::create_directory(r);
    std::ofstream(m.roots[0] / "gammel.txt") << "x";
    std::ofstream(m.roots[1] / "andet.txt") << "x";
    std::ofstream(m.roots[1] / ".skjult") << "x";
    fs::create_directory(m.roots[1] / "mappe");

    // Club 001: the first diskette is not empty, No asks for another; the second is emptied.
    // Club 002: the third diskette is empty. Answers: OK, No, OK, Yes, OK.
    s.t.ui.answers = {Answer::Ok, Answer::No, Answer::Ok, Answer::Yes, Answer::Ok};
    ExportResult r = ExportStatistics(s.t.app, ExportKind::ClubStats, "", m.target());
    ASSERT_EQ(r.outcome, ExportOutcome::Done) << testing::PrintToString(s.t.ui.messages());
    EXPECT_EQ(r.files, (std::vector<fs::path>{m.roots[1] / "SEKSTA26.001", m.roots[2] / "SEKSTA26.002"}));
    EXPECT_EQ(fileNames(m.roots[0]), S{"gammel.txt"});
    EXPECT_EQ(fileNames(m.roots[1]), (S{".skjult", "SEKSTA26.001", "mappe"}));
    const auto& q = s.t.ui.shown;
    ASSERT_EQ(q.size(), 5u);
    EXPECT_EQ(s.t.ui.messages(), (S{"Ny diskette: Indsæt diskette for forening 001.",
                                    "Slet diskette: Disketten er ikke tom. Ønsker du at overskrive dens indhold?",
                                    "Ny diskette: Indsæt diskette for forening 001.",
                                    "Slet diskette: Disketten er ikke tom. Ønsker du at overskrive dens indhold?",
                                    "Ny diskette: Indsæt diskette for forening 002."}));
    EXPECT_EQ(q[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(q[0].icon, Icon::Exclamation);
    EXPECT_EQ(q[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(q[1].icon, Icon::Question);

    // The total statistics ask once; Cancel at a question ends the export quietly.
    s.t.ui.shown.clear();
    s.t.ui.answers = {Answer::Cancel};
    m.next = 0;
    EXPECT_EQ(ExportStatistics(s.t.app, ExportKind::TotalStats, "", m.target()).outcome, ExportOutcome::Cancelled);
    EXPECT_EQ(s.t.ui.messages(), S{"Ny diskette: Indsæt diskette."});

    // Cancel at the second club keeps the first club's file.
    fs::remove(m.roots[2] / "SEKSTA26.002");
    m.next = 2;
    s.t.ui.answers = {Answer::Ok, Answer::Cancel};
    r = ExportStatistics(s.t.app, ExportKind::Plan, "", m.target());
    EXPECT_EQ(r.outcome, ExportOutcome::Cancelled);
    EXPECT_EQ(fileNames(m.roots[2]), S{"SEK001.DAT"});

    // No diskette left to insert.
    m.next = 3;
    s.t.ui.shown.clear();
    s.t.ui.answers = {Answer::Ok};
    EXPECT_EQ(ExportStatistics(s.t.app, ExportKind::Plan, "", m.target()).outcome, ExportOutcome::Failed);
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Der er ingen diskette i drevet.");
}

// The export orders the rows itself; the engine's own order of the stored query is the
// reference, on values that make the order hard: letters in either case, Nulls, non-ASCII
// text, races of the same week and colour code, a club registered twice.
TEST(StatExport, LinesFollowTheStoredQuerysOwnOrder) {
    Season s;
    calctest::insertRow(s.db, "Foreninger", {{"Nr", "00B"}, {"Navn", "Bogstav"}});
    calctest::insertRow(s.db, "Foreninger", {{"Nr", "002"}, {"Navn", "Beta igen"}});
    std::vector<long long> races{s.race("95 - Blå skema", 20, "2026-05-16"), s.race("95 - Blå skema", 20, "2026-05-16", "102"),
                                 s.race("96 - Gul skema", 20, "2026-05-16"), s.race("95 - blå skema", 19, "2026-05-09"),
                                 s.race("81 - Privat", 9, "2026-03-01"), s.race("97", 30, "2026-07-25"),
                                 s.race("92 - Grøn skema", 20, "2026-05-16"),
                                 s.race("95 - Uden station", 21, "2026-05-23", "999")};
    const char* clubs[] = {"001", "002", "00b", "00B", "003", "009"};  // 009 is not registered
    const Value lofts[] = {Value("001"), Value("A01"), Value("a02"), Value(), Value("ø01"), Value("10")};
    const char* rings[] = {"001-25-0001", "001-25-000a", "001-25-000B", "AB", "001-25-0010", "Ø01-25-0001", "100-25-0001"};
    Transaction tx(s.db);
    int n = 0;
    for (long long r : races)
        for (const char* ring : rings) {
            ++n;
            calctest::addBird(s.db, r, ring, n % 5 ? Value(900.0 + n * 7.25) : Value(),
                              {{"Forening", clubs[n % 6]}, {"Slag", lofts[n % 5]}});
        }
    tx.commit();

    ASSERT_EQ(s.run(ExportKind::TotalStats).outcome, ExportOutcome::Done) << testing::PrintToString(s.t.ui.messages());
    S expected;
    Statement st = s.db.prepare("SELECT * FROM Q_Statistik");
    while (st.step())
        expected.push_back(statLine({st["Uge"], st["KK"], st["Hastighed"], st["Ringnummer"], st["Forening"], st["Kodenr"],
                                     st["Nr egne"], st["Antal egne"], st["Nr forening"], st["Antal forening"],
                                     st["Nr sektion"], st["Antal sektion"], st["Station"], st["Point"], st["Antal Slag"]},
                                    true));
    EXPECT_GT(expected.size(), 40u);
    EXPECT_EQ(s.lines("SEKSTA26.04"), expected);
}

}  // namespace
}  // namespace vemora
