#include "core/reports/prepare.h"

#include <vector>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/calc/calc.h"
#include "core/races/races.h"
#include "core/reports/prepare_parts.h"
#include "core/reports/queries.h"

namespace vemora::reports {

namespace {

void error(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

// The part of a combo text before " - " ("007 - Ryparken" gives "007").
std::string beforeDash(const std::string& text) {
    auto p = text.find(" - ");
    return trim(p == std::string::npos ? text : text.substr(0, p));
}

std::optional<long long> readWeek(const std::string& text) {
    std::string t = trim(text);
    if (!allDigits(t) || t.size() > 2) return std::nullopt;
    int w = std::stoi(t);
    if (w < 1 || w > 53) return std::nullopt;
    return w;
}

// Brings the chosen races up to date; stops at the first that fails.
bool calcRaces(AppState& app, const races::RaceSelection& which) {
    for (const races::RaceRef& r : races::SelectRaces(app.database(), which))
        if (!CalcKapflyvning(app, r.nr)) return false;
    return true;
}

class Preparer {
public:
    Preparer(AppState& app, const PrintRequest& r, PreparedReport& out) : app_(app), r_(r), out_(out), db_(app.database()) {}

    bool run() {
        switch (r_.tab) {
            case PrintTab::RaceResults: return raceResults();
            case PrintTab::RaceAccounts: return raceAccounts();
            case PrintTab::PrizeStatement: return prizeStatement();
            case PrintTab::YearAccounts: return yearAccounts();
            case PrintTab::Championship: return championship();
            case PrintTab::BankTransfers: return bankTransfers();
            case PrintTab::Labels:
                return finish(reportFileFor(r_), "Adresselabels", queries::addresses(), "");
            case PrintTab::Statistics: return statistics();
            case PrintTab::Diplomas: return diplomas();
        }
        return false;
    }

private:
    AppState& app_;
    const PrintRequest& r_;
    PreparedReport& out_;
    Database& db_;

    bool finish(const std::string& file, const std::string& title, const std::string& sql, const std::string& storedQuery) {
        return detail::finishPrint(app_, out_, file, title, sql, storedQuery);
    }

    // The race list's current row, or the message when there is none.
    std::optional<long long> selectedRaceWeek() {
        Value week;
        if (r_.race) {
            RowSet rs = db_.query("SELECT Uge FROM Kapflyvninger WHERE Nr = ?", {*r_.race});
            if (!rs.empty()) return rs.rows[0][0].toInt(app_.currentWeek);
        }
        error(app_, "Vælg en kapflyvning.");
        return std::nullopt;
    }

    bool clubSelected() {
        return r_.club && !db_.query("SELECT 1 FROM Foreninger WHERE Nr = ?", {*r_.club}).empty();
    }

    bool raceResults() {
        auto week = selectedRaceWeek();
        if (!week) return false;
        const long long nr = *r_.race;
        app_.currentWeek = static_cast<int>(*week);
        if (r_.receiptList) return finish("MODTFIL.RPT", "Modtagelsesliste", queries::receiptList(*week), "");
        if (!CalcKapflyvning(app_, nr)) return false;
        queries::RaceResultsOptions o;
        o.race = nr;
        if (!r_.allBirds) {
            o.birdFilter = queries::bestPerLoftFilter();
        } else {
            BirdCount c = parseBirdCount(r_.birdCount);
            if (c.kind == BirdCount::Invalid) {
                error(app_, "Ugyldig angivelse.");
                return false;
            }
            if (c.kind == BirdCount::Number) o.birdFilter = queries::countFilter(c.value);
            if (c.kind == BirdCount::Percent) o.birdFilter = queries::percentFilter(c.value);
        }
        o.division = trim(r_.division);
        o.byArea = r_.byArea;
        o.acrossDivisions = r_.acrossDivisions;
        o.noPoints = r_.noPoints;
        out_.wordExport = true;
        return finish(reportFileFor(r_), "Kapflyvningsresultat", queries::raceResults(o), "Q Kapflyvningsresultat");
    }

    bool raceAccounts() {
        auto week = selectedRaceWeek();
        if (!week) return false;
        app_.currentWeek = static_cast<int>(*week);
        return finish("KAPREGNS.RPT", "Kapflyvningsregnskab", queries::raceAccounts(*r_.race), "Q Kapflyvningsregnskab");
    }

    bool prizeStatement() {
        std::optional<long long> week;
        if (!isBlank(r_.statementWeek)) {
            week = readWeek(r_.statementWeek);
            if (!week) {
                error(app_, "Ugyldig uge.");
                return false;
            }
            if (!calcRaces(app_, races::RaceSelection::ofWeek(static_cast<int>(*week)))) return false;
        } else if (!calcRaces(app_, races::RaceSelection::all())) {
            return false;
        }
        std::optional<std::string> club;
        if (!r_.allClubs) {
            if (!clubSelected()) {
                error(app_, "Vælg en forening.");
                return false;
            }
            club = r_.club;
        }
        return finish(reportFileFor(r_), "Foreningernes præmiekontoudtog", queries::prizes(club, week), "Q Præmier");
    }

    bool yearAccounts() {
        std::optional<std::string> club;
        if (r_.clubAccounts && !r_.allClubs) {
            if (!clubSelected()) {
                error(app_, "Vælg en forening.");
                return false;
            }
            club = r_.club;
        }
        return finish(reportFileFor(r_), r_.clubAccounts ? "Foreningernes årsregnskab" : "Sektionens årsregnskab",
                      queries::yearAccounts(club), "Q Kapflyvningsregnskab");
    }

    bool championship() {
        out_.wordExport = true;  // the standings and the section winners go to Word too
        if (r_.sectionWinners) return finish("KAPFVIND.RPT", "Sektionsvindere", queries::sectionWinners(), "");
        return detail::prepareChampionship(app_, r_, out_);
    }

    bool bankTransfers() {
        if (!selectedRaceWeek()) return false;
        if (!CalcKapflyvning(app_, *r_.race)) return false;
        return finish("BankOvf.RPT", "Bankoverførsler", queries::bankTransfers(*r_.race), "Q Bankbilag");
    }

    bool statistics() {
        if (!calcRaces(app_, races::RaceSelection::all())) return false;
        std::string club = beforeDash(r_.statClub);
        std::string loft = club.empty() ? "" : beforeDash(r_.statLoft);
        return finish(reportFileFor(r_), "Årsstatistik",
                      queries::statistics(club, loft, r_.statSectionOnly, r_.statAllBirds), "Q_Statistik");
    }

    // The "Antal:" box takes digits only; empty gives the default.
    std::optional<std::string> diplomaCount(const char* dflt) {
        std::string n = trim(r_.diplomaCount);
        if (n.empty()) return std::string(dflt);
        if (!allDigits(n)) {
            error(app_, "Ugyldig angivelse.");
            return std::nullopt;
        }
        return n;
    }

    bool diplomas() {
        if (r_.diploma == DiplomaKind::Races) {
            auto n = diplomaCount("1");
            if (!n) return false;
            std::optional<long long> week;
            if (!isBlank(r_.diplomaWeek)) {
                week = readWeek(r_.diplomaWeek);
                if (!week) {
                    error(app_, "Ugyldig uge.");
                    return false;
                }
            }
            return finish("kapfdipl.RPT", "Kapflyvningsdiplomer", queries::raceDiplomas(*n, week), "Q_KapflDiplomer");
        }
        if (r_.diploma == DiplomaKind::Championships) return championshipDiplomas();
        return true;
    }

    bool championshipDiplomas() { return detail::prepareChampionshipDiplomas(app_, r_, out_); }
};

}  // namespace

namespace detail {

// The stored query gets the text, and the definition is opened; the data is read later from
// exactly this text.
bool finishPrint(AppState& app, PreparedReport& out, const std::string& file, const std::string& title,
                 const std::string& sql, const std::string& storedQuery, bool alreadyWritten) {
    if (!storedQuery.empty() && !alreadyWritten) app.database().createOrReplaceView(storedQuery, sql);
    const std::filesystem::path folder = definitionFolder(app.appPath);
    auto def = std::make_shared<Definition>(loadDefinition(folder, file));
    out.reportFile = file;
    out.path = findFileNoCase(folder, file).value_or(folder / file);
    out.title = title;
    out.sql = sql;
    out.storedQuery = storedQuery;
    out.definition = std::move(def);
    return true;
}

}  // namespace detail

BirdCount parseBirdCount(const std::string& text) {
    std::string t = trim(text);
    if (t.empty()) return {};
    BirdCount c;
    if (t.back() == '%') {
        auto n = parseNumber(t.substr(0, t.size() - 1));
        if (!n) return {BirdCount::Invalid, 0};
        return {BirdCount::Percent, *n};
    }
    auto n = parseNumber(t);
    if (!n) return {BirdCount::Invalid, 0};
    return {BirdCount::Number, *n};
}

std::string reportFileFor(const PrintRequest& r) {
    switch (r.tab) {
        case PrintTab::RaceResults:
            if (r.receiptList) return "MODTFIL.RPT";
            if (r.acrossDivisions) return r.clubMarking ? "KAPRES2F.RPT" : "KAPRES2.RPT";
            return r.clubMarking ? "KAPRESF.RPT" : "KAPRES.RPT";
        case PrintTab::RaceAccounts: return "KAPREGNS.RPT";
        case PrintTab::PrizeStatement:
            if (r.weekTotals) return "PraemieU.RPT";
            if (r.memberTotals) return "PraemieM.RPT";
            return "Praemie.RPT";
        case PrintTab::YearAccounts:
            if (!r.clubAccounts) return "SekRegns.RPT";
            return r.weekTotals ? "ForRegnU.RPT" : "ForRegns.RPT";
        case PrintTab::Championship: return r.sectionWinners ? "KAPFVIND.RPT" : "";
        case PrintTab::BankTransfers: return "BankOvf.RPT";
        case PrintTab::Labels: return r.labelFormat == 2 ? "Labels2.RPT" : "Labels1.RPT";
        case PrintTab::Statistics: return r.statOrderByRace ? "Stat.RPT" : "Stat2.RPT";
        case PrintTab::Diplomas:
            if (r.diploma == DiplomaKind::Races) return "kapfdipl.RPT";
            if (r.diploma == DiplomaKind::Championships) return "mestdipl.RPT";
            return "";
    }
    return "";
}

std::string championshipReportFile(const std::string& type, bool specifyPoints, bool decimals) {
    const std::string t = upper(type);
    if (t == "POINT" || t == upper("½ points, ½ koef.") || t == "NO PLAC.POINT" || t == upper("NO Km-tillæg")) {
        if (specifyPoints) return decimals ? "Mesterdt.RPT" : "Mesterst.RPT";
        return decimals ? "Mesterd.RPT" : "Mestersk.RPT";
    }
    if (t == "FORENING/POINT") {
        if (specifyPoints) return decimals ? "fMestdt.RPT" : "fMestt.RPT";
        return decimals ? "fMestd.RPT" : "fMest.RPT";
    }
    if (t == "HB") return specifyPoints ? "Mesterst.RPT" : "MESTHB.RPT";
    if (t == "ES-DUE-KOEFFICIENT") return specifyPoints ? "Esduet.RPT" : "Esdue.RPT";
    if (specifyPoints) return decimals ? "Mesterdt.RPT" : "Mesterst.RPT";
    return decimals ? "Dmesterd.RPT" : "Dmesters.RPT";
}

bool PreparePrint(AppState& app, const PrintRequest& request, PreparedReport& out) {
    out = PreparedReport{};
    BusyScope busy(app);
    try {
        return Preparer(app, request, out).run();
    } catch (const DefinitionError& e) {
        out = PreparedReport{};
        error(app, e.what());
    } catch (const DbError& e) {
        out = PreparedReport{};
        error(app, e.what());
    }
    return false;
}

ReportData readReportData(AppState& app, PreparedReport& prepared) {
    return buildReportData(app.database(), *prepared.definition, prepared.sql, prepared.title);
}

}  // namespace vemora::reports
