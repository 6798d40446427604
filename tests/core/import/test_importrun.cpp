#include <gtest/gtest.h>

#include "core/base/text.h"
#include "core/import/importrun.h"
#include "importsupport.h"
#include "support/testdb.h"

using namespace vemora;
using test::clocked;
using test::joinLines;
using test::makeBird;

namespace {

const Date kDate{std::chrono::year(2026), std::chrono::June, std::chrono::day(6)};

struct ImportRun : ::testing::Test {
    test::TestApp t;
    Database& db() { return t.db(); }

    ImportResult import(const std::vector<std::string>& lines, bool check = false, const std::string& name = "SEK12301.U23") {
        auto file = t.folder.write(name, joinLines(lines));
        auto n = parseClubFileName(name);
        return ImportClubFile(t.app, file, n->club, n->week, check);
    }
    void addClub(const std::string& nr = "123") { db().execute("INSERT INTO Foreninger (Nr, Navn) VALUES (?, 'Ørnen')", {nr}); }
    int64_t addRace(const std::string& farvekode, const Value& dato = Value(), const Value& tid = Value(),
                    const Value& station = Value(), int week = 23) {
        db().execute("INSERT INTO Kapflyvninger (Uge, Farvekode, SlipDato, Sliptid, Station) VALUES (?, ?, ?, ?, ?)",
                     {week, farvekode, dato, tid, station});
        return db().lastInsertId();
    }
    long long count(const std::string& sql, const std::vector<Value>& p = {}) { return db().scalar(sql, p).toInt(); }
    std::string lastText() const { return t.ui.shown.empty() ? "" : t.ui.shown.back().text; }
};

std::string header() { return formatHeader("123", "3.A"); }
std::string race(const std::string& cc, const std::string& time = "07:15", const std::string& st = "101",
                 const std::string& name = " Flensborg") {
    return formatRace(cc, kDate, time, st, name);
}
std::string bird(const BirdRecord& b) { return formatBird(b, Layout::L6); }

}  // namespace

TEST_F(ImportRun, NewClubAndRaceWithEverythingWritten) {
    db().exec("INSERT INTO \"Kontantpræmier_Init\" (Antal, Værdi) VALUES (1, 300), (2, 100)");
    db().exec("INSERT INTO \"Z-spils-præmier_init\" (Antal, Værdi) VALUES (1, 50)");
    db().exec("UPDATE Markering SET Pulje_Puljepræmier = 1, Elite_Puljepræmier = 0");
    BirdRecord a = clocked(makeBird("95", "001", "123-25-0001", "A"), "10:01:02", 1234.567);
    a.sektionA = 3;
    a.sektionB = 1;
    a.pulje = true;
    a.klZ = true;
    a.junior = true;
    BirdRecord u = makeBird("95", "002", "123-25-0002", "U");
    u.elite = true;
    u.gruppeA = 2;  // group games are not counted
    u.slagNavn = Value("Pat O'Brien");
    t.ui.answers = {Answer::Yes, Answer::Yes};
    ImportResult r = import({header(), race("95", "07:15", "103", " Sankt Hans' Plads "), bird(a), bird(u),
                             formatLoftGame("95", "002", "Pat O'Brien"), formatPayment("95", 12500),
                             formatFactor(100, 1.25), formatFactor(200, 2)});
    ASSERT_EQ(r.outcome, ImportOutcome::Completed) << r.detail;

    EXPECT_EQ(t.ui.messages(),
              (std::vector<std::string>{
                  "Info: Forening 123 er ikke oprettet. Skal foreningen oprettes.",
                  "Advarsel: Kapflyvning 95 (Sankt Hans' Plads) er ikke oprettet. Ønsker du at oprette kapflyvningen.",
                  "Info: Indlæsning er afsluttet."}));
    EXPECT_EQ(t.ui.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(t.ui.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(t.ui.shown[2].icon, Icon::Information);
    EXPECT_EQ(t.ui.busyOn + t.ui.busyOff, 2);

    EXPECT_EQ(test::rowsText(db(), "SELECT Uge, Farvekode, Beregn, SlipDato, Sliptid, Station, Pulje_Puljepræmier, "
                                   "(SELECT Navn FROM Stationer WHERE Nr = Station), (SELECT count(*) FROM Kontantpræmier), "
                                   "(SELECT count(*) FROM \"Z-spils-præmier\"), (SELECT group_concat(Nr) FROM Foreninger) "
                                   "FROM Kapflyvninger"),
              "23|95 - Blå skema|1|2026-06-06|07:15|103|1|Sankt Hans' Plads|2|0|123\n");
    // A blank flag on a new row takes the default; a bird without a speed keeps Null.
    EXPECT_EQ(test::rowsText(db(), "SELECT Lnr, Forening, HjemKomst, \"Meter / min\", \"Sektion A\", Kl_Z, Junior, Afstand, "
                                   "Slag_Navn FROM Deltagere ORDER BY Ringnummer"),
              "0001|123|10:01:02|1234.567|3|1|1|250.5|Søren Sørensen\n"
              "0002|123|-|-|0|0|0|250.5|Pat O'Brien\n");
    // Group games are not counted.
    EXPECT_EQ(test::rowsText(db(), "SELECT AntalDuer, AntalHanner, AntalHunner, AntalA1, AntalA3, AntalB1, AntalP, AntalE, "
                                   "AntalZ, AntalR, AntalS FROM Regnskab"),
              "2|1|1|0|1|1|1|1|1|0|1\n");
    EXPECT_EQ(db().scalar("SELECT Slag_Navn FROM Slagspil WHERE Slag = '002' AND Slagspil_S = 1"), Value("Pat O'Brien"));
    EXPECT_EQ(db().scalar("SELECT Indbetalt FROM Indbetalinger"), Value(12500));
    EXPECT_EQ(test::rowsText(db(), "SELECT * FROM KM_faktorer ORDER BY KM"), "100|1.25\n200|2\n");
    EXPECT_EQ(count("SELECT count(*) FROM ResModt WHERE Uge = 23 AND Forening = '123' AND Resultat = 1"), 1);
    EXPECT_FALSE(db().inTransaction());
}

TEST_F(ImportRun, RaceAnsweredNoSkipsItsBirdsLoftGamesAndPayments) {
    addClub();
    t.ui.answers = {Answer::No, Answer::Yes};
    ImportResult r = import({header(), race("97"), race("95"), bird(makeBird("97", "001", "123-25-0001")),
                             bird(makeBird("95", "001", "123-25-0002")), formatLoftGame("97", "001", "X"),
                             formatLoftGame("95", "001", "X"), formatPayment("97", 100), formatPayment("95", 200)});
    ASSERT_EQ(r.outcome, ImportOutcome::Completed) << r.detail;
    EXPECT_EQ(count("SELECT count(*) FROM Kapflyvninger"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 1);
    EXPECT_EQ(db().scalar("SELECT Ringnummer FROM Deltagere"), Value("123-25-0002"));
    EXPECT_EQ(count("SELECT count(*) FROM Slagspil"), 1);
    EXPECT_EQ(test::rowsText(db(), "SELECT Forening, Indbetalt FROM Indbetalinger"), "123|200\n");
}

TEST_F(ImportRun, SameFileTwiceGivesTheSameRows) {
    addClub();
    addRace("95 - Blå skema", "2026-06-06", "07:15", "101");
    addRace("81 - Privat", "2026-06-06", "07:15", "101");
    std::vector<std::string> lines{header(), race("95"), race("81")};
    for (int i = 1; i <= 20; ++i) {
        BirdRecord b = clocked(makeBird(i % 2 ? "95" : "81", "00" + std::to_string(i % 3), "123-25-" + padZero(std::to_string(i), 4)),
                               "10:00:00", 1000 + i);
        b.sektionA = i % 7;
        b.pulje = i % 2;
        lines.push_back(bird(b));
    }
    lines.push_back(formatLoftGame("95", "001", "Søren"));
    lines.push_back(formatLoftGame("81", "002", "Åse"));
    lines.push_back(formatPayment("95", 5000));
    lines.push_back(formatPayment("81", 7000));
    auto snapshot = [&] {
        return test::rowsText(db(), "SELECT * FROM \"Deltagere\" ORDER BY Kapflyvning, Ringnummer") + test::rowsText(db(), "SELECT * FROM \"Slagspil\" ORDER BY Kapflyvning, Slag") +
               test::rowsText(db(), "SELECT * FROM \"Regnskab\" ORDER BY Kapflyvning") + test::rowsText(db(), "SELECT * FROM \"Indbetalinger\" ORDER BY Kapflyvning");
    };
    ASSERT_EQ(import(lines).outcome, ImportOutcome::Completed);
    std::string once = snapshot();
    ASSERT_EQ(import(lines).outcome, ImportOutcome::Completed);
    EXPECT_EQ(snapshot(), once);
    EXPECT_EQ(count("SELECT AntalDuer FROM Regnskab WHERE Kapflyvning = 1"), 10);
    // A corrected file without the payments: the club's old payments of those races go.
    lines.resize(lines.size() - 2);
    ASSERT_EQ(import(lines).outcome, ImportOutcome::Completed);
    EXPECT_EQ(count("SELECT count(*) FROM Indbetalinger"), 0);
}

TEST_F(ImportRun, EntryCheckAgainstTheEntryFile) {
    addClub();
    addRace("95 - Blå skema", "2026-06-06", Value(), "101");
    BirdRecord a = makeBird("95", "001", "123-25-0001");
    a.sektionA = 2;
    a.pulje = true;
    BirdRecord b = makeBird("95", "001", "123-25-0002");
    BirdRecord c = makeBird("95", "002", "123-25-0003");  // entered, not in the result file
    // The entry file has no release time, so the check box changes nothing.
    ASSERT_EQ(import({header(), race("95", ""), bird(a), bird(b), bird(c), formatLoftGame("95", "001", "Søren"),
                      formatPayment("95", 900)},
                     true)
                  .outcome,
              ImportOutcome::Completed);
    EXPECT_EQ(count("SELECT AntalDuer FROM Regnskab"), 3);

    BirdRecord a2 = clocked(a, "10:00:00", 1300);
    a2.sektionA = 4;  // changed game
    a2.pulje = false;
    BirdRecord b2 = clocked(b, "10:05:00", 1250);
    BirdRecord x = clocked(makeBird("95", "003", "123-25-0099"), "10:06:00", 1200);
    x.slagNavn = Value("Åge Ærø");
    t.ui.answers = {Answer::Yes, Answer::No};  // release time new in the file: load it, do not update
    ImportResult r = import({header(), race("95"), bird(a2), bird(b2), bird(x), formatLoftGame("95", "001", "Søren"),
                             formatLoftGame("95", "003", "Åge Ærø")},
                            true);
    ASSERT_EQ(r.outcome, ImportOutcome::CompletedWithErrors) << r.detail;
    EXPECT_EQ(t.ui.messages().back(), "Info: Indlæsning er afsluttet. Vælg Vis,Fejllister for at se importfejl.");
    EXPECT_EQ(t.ui.shown.back().icon, Icon::Exclamation);

    EXPECT_EQ(test::rowsText(db(), "SELECT * FROM \"ImportFejl\" ORDER BY Ringnummer, Tekst"),
              "123|003|Åge Ærø|23|95|-|Slagspil ikke registreret ved anmeldelse.\n"
              "123|001|Søren Sørensen|23|95|123-25-0001|Divergens i forhold til spil ved anmeldelse (Sektion A, Pulje).\n"
              "123|003|Åge Ærø|23|95|123-25-0099|Ringnummer ikke anmeldt.\n");
    // The entered birds stay with their entered games; the results are written onto them.
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 3);
    EXPECT_EQ(db().scalar("SELECT \"Sektion A\" FROM Deltagere WHERE Ringnummer = '123-25-0001'"), Value(2));
    EXPECT_EQ(db().scalar("SELECT HjemKomst FROM Deltagere WHERE Ringnummer = '123-25-0001'"), Value("10:00:00"));
    EXPECT_EQ(count("SELECT AntalDuer FROM Regnskab"), 3);
    EXPECT_EQ(count("SELECT count(*) FROM Indbetalinger"), 0);  // the payments are replaced all the same
    EXPECT_TRUE(db().scalar("SELECT Sliptid FROM Kapflyvninger").isNull());

    // A new run of the same file replaces the club's errors of the week instead of adding to them.
    t.ui.answers = {Answer::Yes, Answer::No};
    import({header(), race("95"), bird(a2), bird(b2), bird(x)}, true);
    EXPECT_EQ(count("SELECT count(*) FROM ImportFejl"), 2);
}

TEST_F(ImportRun, NationalRaceHasNoCheckAndNoLoftGamesOrPayments) {
    addClub();
    addRace("91 - Orange skema", "2026-06-06", "07:15", "101");
    BirdRecord b = clocked(makeBird("91", "001", "123-25-0001"), "10:00:00", 1400);
    ImportResult r = import({header(), race("91"), bird(b), formatLoftGame("91", "001", "X"), formatPayment("91", 100)}, true);
    ASSERT_EQ(r.outcome, ImportOutcome::Completed) << r.detail;
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 1);  // not refused as "ikke anmeldt"
    EXPECT_EQ(count("SELECT count(*) FROM ImportFejl"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Slagspil"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Indbetalinger"), 0);
}

TEST_F(ImportRun, ReleaseDataQuestions) {
    addClub();
    int64_t r95 = addRace("95 - Blå skema", "2026-06-06", Value(), "101");
    int64_t r96 = addRace("96 - Gul skema", "2026-06-06", "07:15", "102");
    int64_t r97 = addRace("97 - Privat", "2026-06-06", "07:15", "101");
    t.ui.answers = {Answer::Yes, Answer::Yes, Answer::No};
    ImportResult r = import({header(), race("95", "07:15", "101", " Flensborg"), race("96", "07:15", "103", " Hannover"),
                             race("97"), bird(makeBird("96", "001", "123-25-0001"))});
    ASSERT_EQ(r.outcome, ImportOutcome::Completed) << r.detail;
    auto q = t.ui.messages();
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[0],
              "Advarsel: Slipdato, sliptid og/eller station er angivet i foreningsfil, men ikke i sektionssystemet for "
              "flyvning 95. Nye data er: Sliptid 07:15. Ønsker du at indlæse kapflyvningen.");
    EXPECT_EQ(q[1], "Info: Ønsker du at opdatere slipdato, sliptid og station for kapflyvning 95.");
    EXPECT_EQ(q[2],
              "Advarsel: For kapflyvning 96 er slipdato, sliptid eller station anderledes i foreningsfilen end i "
              "sektionssystemet. Data i foreningsfilen er: Slipdato 06-06-26, Sliptid 07:15, Station 103 ( Hannover). "
              "Ønsker du alligevel at indlæse kapflyvningen.");
    EXPECT_EQ(db().scalar("SELECT Sliptid FROM Kapflyvninger WHERE Nr = ?", {static_cast<long long>(r95)}), Value("07:15"));
    // 96 answered No: its bird is skipped, yet the race was marked for calculation before asking.
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 0);
    EXPECT_EQ(count("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?", {static_cast<long long>(r96)}), 1);
    // 97 agrees with the section: accepted without a question.
    EXPECT_EQ(count("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?", {static_cast<long long>(r97)}), 1);
}

TEST_F(ImportRun, SilentEndsKeepWhatWasWrittenAndWriteNoResModt) {
    addClub();
    db().exec("INSERT INTO ImportFejl (Forening, Uge, Tekst) VALUES ('123', 23, 'gammel')");
    t.ui.answers = {Answer::Cancel};
    ImportResult r = import({header(), race("95"), bird(makeBird("95", "001", "123-25-0001"))});
    EXPECT_EQ(r.outcome, ImportOutcome::Stopped);
    EXPECT_EQ(t.ui.shown.size(), 1u);  // the question, no closing message
    EXPECT_EQ(count("SELECT count(*) FROM ImportFejl"), 0);  // the deletion stays
    EXPECT_EQ(count("SELECT count(*) FROM ResModt"), 0);
    EXPECT_EQ(t.ui.busyOff, 1);

    db().exec("DELETE FROM Foreninger");
    t.ui.answers = {Answer::No};
    EXPECT_EQ(import({header(), race("95")}).outcome, ImportOutcome::Stopped);
    EXPECT_EQ(count("SELECT count(*) FROM Foreninger"), 0);
}

TEST_F(ImportRun, AHeaderOfAnotherClubIsRefused) {
    addClub();
    addRace("95 - Blå skema");
    // A header without the club's number, one of another club behind a byte-order mark, and a
    // club number of two characters in the name, which never matches a three-character header.
    const std::pair<std::vector<std::string>, const char*> files[] = {
        {{"01243.A", race("95")}, "SEK12301.U23"},
        {{"\xEF\xBB\xBF" + formatHeader("124", "3.A"), race("95"), bird(makeBird("95", "001", "124-25-0001"))}, "SEK12301.U23"},
        {{header()}, "SEK1201.U23"},
    };
    for (const auto& [lines, name] : files) {
        t.ui.shown.clear();
        EXPECT_EQ(import(lines, false, name).outcome, ImportOutcome::Refused) << name;
        EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Ugyldigt filformat."});
    }
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM ResModt"), 0);
}

TEST_F(ImportRun, LettersInANumberFieldEndTheRunKeepingEarlierRows) {
    addClub();
    addRace("95 - Blå skema", "2026-06-06", "07:15", "101");
    std::string bad = bird(clocked(makeBird("95", "001", "123-25-0002"), "10:00:00", 1000));
    bad.replace(36, 16, "        12ab.000");
    ImportResult r = import({header(), race("95"), bird(clocked(makeBird("95", "001", "123-25-0001"), "10:00:00", 1000)), bad,
                             bird(makeBird("95", "001", "123-25-0003"))});
    EXPECT_EQ(r.outcome, ImportOutcome::Failed);
    // The known sentence, and below it where and why.
    EXPECT_EQ(t.ui.messages(), std::vector<std::string>{"Fejl: Fejl ved indlæsning af data.\nLinje 4, Meter / min: \"12ab.000\""});
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere"), 1);
    EXPECT_EQ(count("SELECT AntalDuer FROM Regnskab"), 1);  // the bird before the error is counted
    EXPECT_EQ(count("SELECT count(*) FROM ResModt"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Deltagere WHERE typeof(\"Meter / min\") = 'text'"), 0);
    EXPECT_FALSE(db().inTransaction());

    // A payment with letters, a class 7 that Regnskab has no field for; empty lines count.
    EXPECT_EQ(import({header(), "", race("95"), formatPayment("95", 1).replace(8, 2, "AB")}).outcome, ImportOutcome::Failed);
    EXPECT_EQ(lastText(), "Fejl ved indlæsning af data.\nLinje 4, Indbetalt: \"00000AB001\"");
    BirdRecord seven = makeBird("95", "001", "123-25-0001");
    seven.sektionA = 7;
    EXPECT_EQ(import({header(), race("95"), bird(seven)}).outcome, ImportOutcome::Failed);
}

TEST_F(ImportRun, BadFilesNeverCrashOrCorrupt) {
    addClub();
    std::string garbage;
    for (int i = 0; i < 4000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    using O = ImportOutcome;
    const std::vector<std::pair<std::vector<std::string>, O>> files{
        {{}, O::Completed},                                                    // empty
        {{"", "   ", "", "\t"}, O::Completed},                                 // blank lines only
        {{std::string(10000, '2')}, O::Completed},                             // one very long line
        {{garbage}, O::Completed},                                             // binary garbage
        {{"\xEF\xBB\xBF" "01233.A", "\xEF\xBB\xBF" "195"}, O::Completed},        // UTF-8 with byte-order marks
        {{header(), "1", "2", "3", "4", "5"}, O::Failed},                      // every kind cut short
        {{header(), race("95"), "29"}, O::Failed},
    };
    for (const auto& [f, outcome] : files) {
        t.ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        EXPECT_EQ(import(f).outcome, outcome) << testing::PrintToString(f);
        EXPECT_FALSE(db().inTransaction());
        EXPECT_EQ(db().integrityCheck(), "ok");
    }
}

TEST_F(ImportRun, AWeekOutsideTheSeasonCreatesNothing) {
    addClub();
    auto file = t.folder.write("SEK12301.U23", joinLines({header(), race("95"), bird(makeBird("95", "001", "123-25-0001"))}));
    for (const char* week : {"0", "99", "54"}) {
        t.ui.answers = {Answer::Yes};
        ImportResult r = ImportClubFile(t.app, file, "123", week, false);
        EXPECT_EQ(r.outcome, ImportOutcome::Failed) << week;
        EXPECT_EQ(lastText(), std::string("Fejl ved indlæsning af data.\nUgyldig uge: ") + week);
    }
    EXPECT_EQ(count("SELECT count(*) FROM Kapflyvninger"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM ResModt"), 0);
}

TEST_F(ImportRun, ListEntryAndVanishedFile) {
    EXPECT_EQ(ImportEntry(t.app, t.folder.path(), "", false).outcome, ImportOutcome::NothingSelected);
    EXPECT_EQ(t.ui.messages().back(), "Fejl: Der er ikke valgt nogen importfil.");
    EXPECT_EQ(ImportEntry(t.app, t.folder.path(), "Forening 555 uge 23", false).outcome, ImportOutcome::Failed);
    EXPECT_EQ(t.ui.messages().back(),
              "Fejl: Fejl ved indlæsning af data.\nFilen " + (t.folder.path() / "SEK55501.U23").string() + " kunne ikke åbnes.");
    EXPECT_EQ(t.ui.busyOn, t.ui.busyOff);

    addClub();
    t.folder.write("SEK12301.U23", joinLines({header()}));
    EXPECT_EQ(ImportEntry(t.app, t.folder.path(), "Forening 123 uge 23", false).outcome, ImportOutcome::Completed);
    EXPECT_EQ(count("SELECT Resultat FROM ResModt WHERE Uge = 23 AND Forening = '123'"), 1);
}

TEST_F(ImportRun, CheckResFilerSetting) {
    EXPECT_FALSE(readCheckResFiler(db()));
    writeCheckResFiler(db(), true);
    EXPECT_TRUE(readCheckResFiler(db()));
    db().exec("DELETE FROM Generelt");
    writeCheckResFiler(db(), true);
    EXPECT_EQ(count("SELECT count(*) FROM Generelt WHERE CheckResFiler = 1"), 1);
}

namespace {

// Dies in the middle of the run, as a power cut would.
class DyingUi : public Ui {
public:
    void message(const std::string&, const std::string&, Icon) override {}
    Answer ask(const std::string&, const std::string&, Buttons, Icon, Answer) override { std::_Exit(3); }
};

}  // namespace

TEST_F(ImportRun, ACrashLeavesTheDatabaseAsBefore) {
    addClub();
    addRace("95 - Blå skema", "2026-06-06", "07:15", "101");
    ASSERT_EQ(import({header(), race("95"), bird(makeBird("95", "001", "123-25-0001"))}).outcome, ImportOutcome::Completed);
    db().exec("INSERT INTO ImportFejl (Forening, Uge, Tekst) VALUES ('123', 23, 'gammel')");
    std::string before = test::rowsText(db(), "SELECT * FROM \"Deltagere\" ORDER BY Ringnummer") + test::rowsText(db(), "SELECT * FROM \"ImportFejl\" ORDER BY Tekst");
    // The second race block asks; by then the old errors and the club's birds of 95 are
    // deleted and a new bird written.
    auto file = t.folder.write("SEK12301.U23", joinLines({header(), race("95"), bird(makeBird("95", "001", "123-25-0002")), race("97")}));
    auto path = db().path();
    EXPECT_EXIT(
        {
            DyingUi ui;
            AppState other;
            other.db = Database::open(path);
            other.ui = &ui;
            ImportClubFile(other, file, "123", "23", false);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(test::rowsText(db(), "SELECT * FROM \"Deltagere\" ORDER BY Ringnummer") + test::rowsText(db(), "SELECT * FROM \"ImportFejl\" ORDER BY Tekst"), before);
    EXPECT_EQ(db().integrityCheck(), "ok");
}

namespace {

// Every row a run leaves in a new section, as text, after answering Yes to every question.
std::string importedRows(const std::string& bytes) {
    test::TestApp t;
    t.ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    ImportResult r = ImportClubFile(t.app, t.folder.write("SEK12301.U23", bytes), "123", "23", false);
    EXPECT_EQ(r.outcome, ImportOutcome::Completed) << r.detail;
    std::string out;
    for (auto [table, order] : {std::pair{"Foreninger", "Nr"}, {"Kapflyvninger", "Nr"}, {"Stationer", "Nr"},
                                {"Deltagere", "Ringnummer"}, {"Slagspil", "Slag"}, {"Regnskab", "Kapflyvning"},
                                {"Indbetalinger", "Kapflyvning"}, {"ResModt", "Uge"}})
        out += std::string(table) + "\n" + test::rowsText(t.db(), "SELECT * FROM " + sqlIdent(table) + " ORDER BY " + order);
    return out;
}

}  // namespace

TEST(ImportFiles, Utf8AndOtherLineEndsImportExactlyAsTheWindows1252File) {
    BirdRecord a = clocked(makeBird("95", "001", "123-25-0001"), "10:01:02", 1234.5);
    a.omrade = Value("Nørre");
    BirdRecord b = makeBird("95", "002", "123-25-0002", "U");
    b.slagNavn = Value("Åge Ærø € 1");
    // Windows-1252 lines, as the club programs write them; the header carries a club name.
    std::vector<std::string> lines{formatHeader("123", "3.A Ørnen Fyn"), formatRace("95", kDate, "07:15", "101", " Ærøskøbing"),
                                   formatBird(a, Layout::L6), formatBird(b, Layout::L6),
                                   formatLoftGame("95", "001", "Søren Sørensen"), formatPayment("95", 12500)};
    std::string utf8Crlf, utf8Lf, utf8Cr, cpCr;
    for (const auto& l : lines) {
        utf8Crlf += cp1252ToUtf8(l) + "\r\n";
        utf8Lf += cp1252ToUtf8(l) + "\n";
        utf8Cr += cp1252ToUtf8(l) + "\r";
        cpCr += l + "\r";
    }
    std::string expected = importedRows(joinLines(lines));
    EXPECT_NE(expected.find("Åge Ærø € 1"), std::string::npos) << expected;
    EXPECT_NE(expected.find("Ærøskøbing"), std::string::npos) << expected;
    EXPECT_EQ(importedRows(cpCr), expected);
    EXPECT_EQ(importedRows(utf8Crlf), expected);
    EXPECT_EQ(importedRows("\xEF\xBB\xBF" + utf8Crlf), expected);
    EXPECT_EQ(importedRows(utf8Lf), expected);
    EXPECT_EQ(importedRows("\xEF\xBB\xBF" + utf8Cr), expected);
}

TEST_F(ImportRun, ATextLongerThanItsFieldIsRefusedWithTheEnginesReason) {
    addClub();
    addRace("95 - Blå skema", "2026-06-06", "07:15", "101");
    BirdRecord fits = makeBird("95", "001", "123-25-0001"), tooLong = makeBird("95", "001", "123-25-0002");
    fits.slagNavn = Value(std::string(50, 'x'));
    tooLong.slagNavn = Value(std::string(51, 'x'));
    ImportResult r = import({header(), race("95"), bird(fits), bird(tooLong)});
    EXPECT_EQ(r.outcome, ImportOutcome::Failed);
    EXPECT_EQ(lastText(), "Fejl ved indlæsning af data.\nLinje 4, CHECK constraint failed: Slag_Navn højst 50 tegn");
    EXPECT_EQ(count("SELECT max(length(Slag_Navn)) FROM Deltagere"), 50);
}
