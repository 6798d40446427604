#include "core/reports/choices.h"

#include "core/base/text.h"
#include "core/domain/catalogue.h"

namespace vemora::reports {

namespace {

std::vector<std::string> firstColumn(const RowSet& rs) {
    std::vector<std::string> out;
    out.reserve(rs.rows.size());
    for (const auto& row : rs.rows) out.push_back(row[0].toText());
    return out;
}

}  // namespace

std::vector<std::string> statisticsClubChoices(Database& db) {
    return firstColumn(
        db.query("SELECT ifnull(Nr, '') || ' - ' || ifnull(Navn, '') FROM Foreninger WHERE Nr IS NOT NULL ORDER BY Nr, RecNr"));
}

std::vector<std::string> statisticsLoftChoices(Database& db, const std::string& clubText) {
    auto dash = clubText.find(" - ");
    const std::string club = trim(dash == std::string::npos ? clubText : clubText.substr(0, dash));
    if (club.empty()) return {};
    // One entry per loft even when its name was spelt differently in another week.
    return firstColumn(db.query(
        "SELECT Slag || ' - ' || ifnull(max(Slag_Navn), '') FROM Deltagere WHERE Forening = ? AND Slag IS NOT NULL "
        "GROUP BY Slag ORDER BY Slag",
        {club}));
}

std::vector<std::string> diplomaWeekChoices(Database& db) {
    return firstColumn(db.query("SELECT DISTINCT CAST(Uge AS TEXT) FROM Kapflyvninger WHERE Uge IS NOT NULL AND substr(Farvekode, 1, 2) IN " +
                                privateOrSectionCodesSql() + " ORDER BY Uge"));
}

std::vector<std::string> championshipChoices(Database& db) {
    return firstColumn(
        db.query("SELECT ifnull(Nr, '') || ' - ' || ifnull(Titel, '') FROM Mesterskaber ORDER BY Nr, Titel, RecNr"));
}

}  // namespace vemora::reports
