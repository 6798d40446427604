// vemora-cli report KIND: a printout of the print dialog's tab KIND written to a file, with
// the dialog's boxes as options. The report is prepared, read and laid out exactly as the
// desktop program does it, and painted by the same report engine.
#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli.h"
#include "core/base/text.h"
#include "core/reports/prepare.h"
#include "report/document.h"
#include "report/docx.h"

namespace vemora::cli {

namespace {

using reports::PrintTab;

const std::vector<std::pair<std::string, PrintTab>> kKinds = {
    {"race-results", PrintTab::RaceResults},     {"race-accounts", PrintTab::RaceAccounts},
    {"prize-statement", PrintTab::PrizeStatement}, {"year-accounts", PrintTab::YearAccounts},
    {"champ", PrintTab::Championship},            {"bank", PrintTab::BankTransfers},
    {"labels", PrintTab::Labels},                 {"stats", PrintTab::Statistics},
    {"diplomas", PrintTab::Diplomas},
};

struct ReportOptions {
    std::string kind;
    std::optional<long long> race;
    std::string club, loft, week, champ, count, division, order = "ring", diploma;
    bool allClubs = false, allBirds = false, acrossDivisions = false, receiptList = false, byArea = false,
         clubMarking = false, noPoints = false, weekTotals = false, memberTotals = false, section = false, clubs = false,
         specifyPoints = false, decimals = false, sectionWinners = false, sectionRacesOnly = false;
    int labelFormat = 0;
    std::string pdf, docx;
};

// Code numbers are padded with "0" on the left, as the dialog's boxes do when they are left.
std::string code(const std::string& s) { return allDigits(s) ? padZero(s, 3) : s; }

// Qt's own chatter (font and platform notes) is not for the terminal; real failures are.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << msg.toStdString() << std::endl;
}

reports::PrintRequest request(const ReportOptions& o, Database& db) {
    reports::PrintRequest r;
    for (const auto& [name, tab] : kKinds)
        if (name == o.kind) r.tab = tab;
    r.race = o.race;
    r.allBirds = o.allBirds;
    r.birdCount = o.count;
    r.division = o.division;
    r.acrossDivisions = o.acrossDivisions;
    r.receiptList = o.receiptList;
    r.byArea = o.byArea;
    r.noPoints = o.noPoints;
    r.clubMarking = o.clubMarking;
    if (!o.club.empty()) r.club = code(o.club);
    r.allClubs = o.allClubs;
    r.statementWeek = o.week;
    r.weekTotals = o.weekTotals;
    r.memberTotals = o.memberTotals;
    r.clubAccounts = o.clubs;
    if (!o.champ.empty()) r.championship = code(o.champ);
    r.specifyPoints = o.specifyPoints;
    r.decimals = o.decimals;
    r.sectionWinners = o.sectionWinners;
    r.labelFormat = o.labelFormat;
    if (!o.club.empty()) r.statClub = code(o.club);
    if (!o.loft.empty()) r.statLoft = code(o.loft);
    r.statAllBirds = o.allBirds;
    r.statOrderByRace = o.order == "week";
    r.statSectionOnly = o.sectionRacesOnly;
    r.diploma = o.diploma == "races"   ? reports::DiplomaKind::Races
                : o.diploma == "champ" ? reports::DiplomaKind::Championships
                                       : reports::DiplomaKind::None;
    r.diplomaWeek = o.week;
    r.diplomaCount = o.count;
    // The championship combo shows "Nr - Titel"; a bare number is completed from the register.
    r.diplomaChampionship = o.champ;
    if (!o.champ.empty() && o.champ.find(" - ") == std::string::npos) {
        std::string text = reports::championshipChoice(db, code(o.champ));
        if (!text.empty()) r.diplomaChampionship = text;
    }
    return r;
}

int runReport(Env& env, const ReportOptions& o) {
    // The tool shows no window: without a platform named by the user it paints offscreen, so
    // it runs the same on a server without a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bool word = !o.docx.empty();
    std::filesystem::path target(word ? o.docx : o.pdf);
    std::string problem;
    if (!report::checkOutputFolder(target, word ? "Word-filen" : "PDF-filen", problem)) {
        env.ui.message(problem, "Fejl", Icon::Exclamation);
        return 1;
    }
    if (!env.open()) return 1;
    reports::PrintRequest req = request(o, env.app.database());
    reports::PreparedReport prepared;
    if (!reports::PreparePrint(env.app, req, prepared)) return 1;
    if (prepared.empty()) {
        env.ui.message("Der er ikke valgt nogen diplomer (--diploma races eller --diploma champ); intet er udskrevet.", "Info",
                       Icon::Information);
        return 2;
    }
    // Only the printouts that are tables of birds go to Word, as in the print dialog.
    if (word && !prepared.wordExport) {
        env.ui.message("Udskriften \"" + prepared.title +
                           "\" kan ikke gemmes som Word-fil. Det kan kapflyvningsresultater, mesterskabsresultater og "
                           "sektionsvindere.",
                       "Fejl", Icon::Exclamation);
        return 1;
    }
    std::shared_ptr<reports::ReportData> data;
    try {
        data = std::make_shared<reports::ReportData>(reports::readReportData(env.app, prepared));
    } catch (const std::exception& e) {
        env.ui.message(e.what(), "Fejl", Icon::Exclamation);
        return 1;
    }
    qInstallMessageHandler(quietQt);
    static int argc = 1;
    static char name[] = "vemora-cli";
    static char* argv[] = {name, nullptr};
    QGuiApplication qapp(argc, argv);
    if (word) {
        if (!report::writeDocx(*prepared.definition, *data, target, problem)) {
            env.ui.message(problem, "Fejl", Icon::Exclamation);
            return 1;
        }
        std::cout << target.string() << ": " << prepared.title << " (" << prepared.reportFile << "), " << data->rowCount
                  << (data->rowCount == 1 ? " række" : " rækker") << std::endl;
        return 0;
    }
    report::ReportDocument doc(prepared.definition, data, env.app.appPath);
    if (!report::writePdf(doc, target, problem)) {
        env.ui.message(problem, "Fejl", Icon::Exclamation);
        return 1;
    }
    std::cout << target.string() << ": " << prepared.title << " (" << prepared.reportFile << "), " << doc.pageCount()
              << (doc.pageCount() == 1 ? " side" : " sider") << std::endl;
    return 0;
}

}  // namespace

static Register reg([](CLI::App& root, Env& env) {
    auto o = std::make_shared<ReportOptions>();
    auto* cmd = root.add_subcommand("report", "Skriv en udskrift fra udskriftsdialogen til en fil");
    std::vector<std::string> kinds;
    for (const auto& k : kKinds) kinds.push_back(k.first);
    cmd->add_option("KIND", o->kind, "Udskriften (fanebladet i udskriftsdialogen)")->required()->check(CLI::IsMember(kinds));
    cmd->add_option("--race", o->race, "Kapflyvningens nummer (race-results, race-accounts, bank)");
    cmd->add_option("--club", o->club, "Foreningens nummer (prize-statement, year-accounts, stats)");
    cmd->add_flag("--all-clubs", o->allClubs, "Udskriv alle foreninger");
    cmd->add_option("--week", o->week, "Ugen (prize-statement; diplomas med --diploma races)");
    cmd->add_option("--champ", o->champ, "Mesterskabets nummer (champ; diplomas med --diploma champ)");
    cmd->add_flag("--all-birds", o->allBirds, "Udskriv alle beregnede duer (race-results); Alle duer (stats)");
    cmd->add_option("--count", o->count, "Antal eller procent duer, fx 10 eller 10% (race-results); Antal: (diplomas)");
    cmd->add_option("--division", o->division, "Division (race-results)");
    cmd->add_flag("--across-divisions", o->acrossDivisions, "Udskriv på tværs af divisioner");
    cmd->add_flag("--receipt-list", o->receiptList, "Udskriv modtagelsesliste for ugen");
    cmd->add_flag("--by-area", o->byArea, "Udskriv pr. område");
    cmd->add_flag("--club-marking", o->clubMarking, "Vis foren.markering");
    cmd->add_flag("--no-points", o->noPoints, "NO points");
    auto* wt = cmd->add_flag("--week-totals", o->weekTotals, "Udskriv ugetotaler");
    cmd->add_flag("--member-totals", o->memberTotals, "Udskriv medlemstotaler")->excludes(wt);
    auto* sec = cmd->add_flag("--section", o->section, "Sektionsregnskab (year-accounts, standard)");
    cmd->add_flag("--clubs", o->clubs, "Foreningsregnskab (year-accounts)")->excludes(sec);
    cmd->add_flag("--specify-points", o->specifyPoints, "Specificér point");
    cmd->add_flag("--decimals", o->decimals, "Vis decimaler");
    cmd->add_flag("--section-winners", o->sectionWinners, "Udskriv sektionsvindere på alle flyvninger");
    cmd->add_option("--label-format", o->labelFormat, "1: 2 x 8 labels pr. side, 2: endeløse baner")->check(CLI::IsMember({1, 2}));
    cmd->add_option("--loft", o->loft, "Slaget (stats, sammen med --club)");
    cmd->add_option("--order", o->order, "Sortering (stats): week (uge/kapflyvning) eller ring (ringnummer)")
        ->check(CLI::IsMember({"week", "ring"}));
    cmd->add_flag("--section-races-only", o->sectionRacesOnly, "Kun sektionsflyvninger (stats)");
    cmd->add_option("--diploma", o->diploma, "Diplomer for races (kapflyvninger) eller champ (mesterskaber)")
        ->check(CLI::IsMember({"races", "champ"}));
    // Where the printout goes; exactly one target.
    auto* out = cmd->add_option_group("udskrift", "Filen, udskriften skrives til");
    out->add_option("--pdf", o->pdf, "PDF-fil");
    out->add_option("--docx", o->docx, "Word-fil (kapflyvningsresultat, mesterskab, sektionsvindere)");
    out->require_option(1);
    cmd->callback([&env, o] { env.exitCode = runReport(env, *o); });
});

}  // namespace vemora::cli
