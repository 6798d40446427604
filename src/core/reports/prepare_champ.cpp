// Tab 4 and the championship diplomas: the printouts that read the championship standings.
#include "core/base/text.h"
#include "core/reports/prepare_parts.h"
#include "core/reports/queries.h"

namespace vemora::reports::detail {

namespace {

void error(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

// Until the championship calculation is part of the program the standings cannot be brought
// up to date, and stale standings are not printed.
bool calculate(AppState& app, const std::string&) {
    error(app, "Mesterskaber kan endnu ikke udskrives.");
    return false;
}

}  // namespace

bool prepareChampionship(AppState& app, const PrintRequest& r, PreparedReport&) {
    if (!r.championship || app.database().query("SELECT 1 FROM Mesterskaber WHERE Nr = ?", {*r.championship}).empty()) {
        error(app, "Vælg et mesterskab.");
        return false;
    }
    return calculate(app, *r.championship);
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
    if (!calculate(app, nr)) return false;
    std::string n = trim(r.diplomaCount);
    if (n.empty()) n = "3";
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
