// Tab 4 and the championship diplomas: the printouts that read the championship standings.
#include "core/base/text.h"
#include "core/championships/championships.h"
#include "core/reports/prepare_parts.h"
#include "core/reports/queries.h"

namespace vemora::reports::detail {

namespace {

void error(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

}  // namespace

bool prepareChampionship(AppState& app, const PrintRequest& r, PreparedReport& out) {
    Database& db = app.database();
    RowSet row = r.championship ? db.query("SELECT Type FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr LIMIT 1", {*r.championship})
                                : RowSet{};
    if (row.empty()) {
        error(app, "Vælg et mesterskab.");
        return false;
    }
    const std::string nr = *r.championship;
    const std::string type = row.rows[0][0].toText();
    // "Vis decimaler" counts only where the dialog offers it.
    championships::ChampOptions options;
    options.specifyPoints = r.specifyPoints;
    options.decimals = r.decimals && championships::DecimalsEnabled(type);
    // The calculation, routed by the point system, and the stored query of the standings with
    // the criteria text under the title.
    if (!championships::PrepareChampionshipPrint(app, nr, options)) return false;
    const std::string query = options.specifyPoints ? "Q_Mesterskab_Crosstab" : "Q Mesterskabsresultat";
    out.wordExport = true;
    return finishPrint(app, out, championshipReportFile(type, options.specifyPoints, options.decimals), "Mesterskab",
                       db.viewSql(query), query, /*alreadyWritten=*/true);
}

bool prepareChampionshipDiplomas(AppState& app, const PrintRequest& r, PreparedReport& out) {
    const std::string text = r.diplomaChampionship;
    if (text.empty()) {
        error(app, "Angiv mesterskab.");
        return false;
    }
    RowSet found = app.database().query(
        "SELECT Nr FROM Mesterskaber WHERE ifnull(Nr, '') || ' - ' || ifnull(Titel, '') = ? ORDER BY RecNr", {text});
    if (found.empty()) {
        error(app, "Mesterskab kunne ikke findes.");
        return false;
    }
    const std::string nr = found.rows[0][0].toText();
    if (!championships::CalcChampionship(app, nr, championships::ChampOptions{})) return false;
    std::string n = trim(r.diplomaCount);
    if (n.empty()) n = std::string(1, '3');  // the box's default
    if (!allDigits(n)) {
        error(app, "Ugyldig angivelse.");
        return false;
    }
    return finishPrint(app, out, "mestdipl.RPT", "Mesterskabsdiplomer", queries::championshipDiplomas(n, nr),
                       "Q_MesterskDiplomer");
}

}  // namespace vemora::reports::detail

namespace vemora::reports {

std::string championshipChoice(Database& db, const std::string& nr) {
    RowSet rs = db.query("SELECT ifnull(Nr, '') || ' - ' || ifnull(Titel, '') FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr", {nr});
    return rs.empty() ? std::string() : rs.rows[0][0].toText();
}

}  // namespace vemora::reports
