#pragma once
// Preparing a printout: the print dialog's choice (one tab and its boxes) is checked, the
// results it needs are brought up to date, the stored query of the printout is rewritten,
// and the report definition and the title are chosen. The dialog, the command-line tool
// and the tests fill the same request.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/app/appstate.h"
#include "core/reports/banddata.h"
#include "core/reports/definition.h"

namespace vemora::reports {

// The print dialog's tabs, in their order.
enum class PrintTab {
    RaceResults,     // "Kapflyvningsresultat"
    RaceAccounts,    // "Kapflyvningsregnskab"
    PrizeStatement,  // "Præmiekontoudtog"
    YearAccounts,    // "Årsregnskab"
    Championship,    // "Mesterskabsresultat"
    BankTransfers,   // "Bankoverførsler"
    Labels,          // "Labels"
    Statistics,      // "Statistik"
    Diplomas,        // "Diplomer"
};

enum class DiplomaKind { None, Races, Championships };

// What the dialog shows when a button is pressed. A list without a current row is an empty
// optional.
struct PrintRequest {
    PrintTab tab = PrintTab::RaceResults;

    // Race lists (tabs 0, 1, 5): Kapflyvninger.Nr of the current row.
    std::optional<long long> race;
    // Tab 0.
    bool allBirds = false;         // "Udskriv alle beregnede duer", ticked and enabled
    std::string birdCount;         // "Antal eller procent duer til udskrift", as typed
    std::string division;          // "Division"
    bool acrossDivisions = false;  // "Udskriv på tværs af divisioner"
    bool receiptList = false;      // "Udskriv modtagelsesliste for ugen"
    bool byArea = false;           // "Udskriv pr. område"
    bool noPoints = false;         // "NO points"
    bool clubMarking = false;      // "Vis foren.markering"

    // Club lists (tabs 2, 3): Foreninger.Nr of the current row.
    std::optional<std::string> club;
    bool allClubs = false;         // "Udskriv alle foreninger"
    std::string statementWeek;     // tab 2, "Uge"
    bool weekTotals = false;       // "Udskriv ugetotaler"
    bool memberTotals = false;     // tab 2, "Udskriv medlemstotaler"
    bool clubAccounts = false;     // tab 3, "Foreningsregnskab" (else "Sektionsregnskab")

    // Tab 4: Mesterskaber.Nr of the current row.
    std::optional<std::string> championship;
    bool specifyPoints = false;    // "Specificér point"
    bool decimals = false;         // "Vis decimaler", ticked and enabled
    bool sectionWinners = false;   // "Udskriv sektionsvindere på alle flyvninger"

    // Tab 6: 1 "Dobbelt-bane laser-print", 2 "Enkelt-bane endeløse baner", 0 neither.
    int labelFormat = 0;

    // Tab 7: the combo texts ("007 - Navn"), empty for none.
    std::string statClub, statLoft;
    bool statAllBirds = false;     // "Alle duer"
    bool statOrderByRace = false;  // "Sorter efter uge/kapflyvning" (else by ring number)
    bool statSectionOnly = false;  // "Kun sektionsflyvninger"

    // Tab 8.
    DiplomaKind diploma = DiplomaKind::None;
    std::string diplomaWeek;          // "Uge:" combo text
    std::string diplomaChampionship;  // "Mesterskab:" combo text, "Nr - Titel"
    std::string diplomaCount;         // "Antal:"
};

// A prepared printout. Nothing prepared (diplomas with neither option) leaves reportFile empty.
struct PreparedReport {
    std::string reportFile;      // the definition's name, e.g. "KAPRES.RPT"
    std::filesystem::path path;  // where it was found in the program folder
    std::string title;           // the window title of the report
    std::string sql;             // the data's SQL: exactly the text written into the stored query
    std::string storedQuery;     // the stored query rewritten, "" when the data is given directly
    bool wordExport = false;     // race results, championship results and section winners can go to Word
    std::shared_ptr<Definition> definition;

    bool empty() const { return reportFile.empty(); }
};

// True: the report, its title and its data are ready (or nothing was asked for). False: a
// message was shown or a calculation failed; nothing is to be shown or printed.
bool PreparePrint(AppState& app, const PrintRequest& request, PreparedReport& out);

// Reads the prepared printout's rows and evaluates its bands; throws DefinitionError or
// DbError.
ReportData readReportData(AppState& app, PreparedReport& prepared);

// ---- the rules PreparePrint applies, for the dialog and the tests ------------------------------

// The definition file for tabs 0, 2, 3, 5, 6, 7 and 8 from the request's boxes.
std::string reportFileFor(const PrintRequest& request);
// The championship definition by the championship's point system.
std::string championshipReportFile(const std::string& type, bool specifyPoints, bool decimals);

// The diploma tab's championship combo text ("Nr - Titel") of a championship number; "" when
// there is none.
std::string championshipChoice(Database& db, const std::string& nr);

// The count box of the result list: empty (every placed bird), a number, or a number followed
// by "%"; the number with a decimal comma or point.
struct BirdCount {
    enum Kind { All, Number, Percent, Invalid } kind = All;
    double value = 0;
};
BirdCount parseBirdCount(const std::string& text);

}  // namespace vemora::reports
