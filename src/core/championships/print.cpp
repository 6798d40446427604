// The championship tab of the print preparation: compute, then point the stored query of
// the standings at this championship with its criteria text.
#include "core/championships/championships.h"
#include "core/championships/criteria.h"
#include "core/championships/definition.h"
#include "core/db/schema.h"

namespace vemora::championships {

std::string CriteriaText(Database& db, const std::string& nr) {
    detail::Definition def;
    if (!detail::readDefinition(db, nr, def)) return {};
    RowSet rs = db.query("SELECT Ringnummer FROM Mesterskaber_Duer WHERE Mesterskab = ? ORDER BY Ringnummer", {def.recNr});
    std::vector<std::string> rings;
    for (const auto& r : rs.rows) rings.push_back(r[0].toText());
    return detail::criteriaText(def, rings);
}

std::string MesterskabsresultatSql(const std::string& nr, const std::string& criteria) {
    return "SELECT (SELECT Sektionsnr FROM Generelt LIMIT 1) AS Sektionsnr, (SELECT Sektionsnavn FROM Generelt LIMIT 1) AS "
           "Sektionsnavn, " +
           sqlQuote(criteria) + " AS Proportioner, Mesterskabsresultat.* FROM Mesterskabsresultat WHERE Mesterskabsnr = " +
           sqlQuote(nr);
}

std::string MesterskabCrosstabSql(const std::string& nr, const std::string& type, const std::string& criteria) {
    return std::string("SELECT ") + (UpperType(type) == "ES-DUE-KOEFFICIENT" ? "'Koef.'" : "'Point'") + " AS TYPE, " +
           sqlQuote(criteria) + " AS Proportioner, " + mesterskabCrosstabColumns() +
           " FROM Mesterskabsresultat INNER JOIN (CrosstabResult INNER JOIN CrosstabHeaders ON CrosstabResult.Page = "
           "CrosstabHeaders.Page) ON Mesterskabsresultat.Id = CrosstabResult.IdText WHERE Mesterskabsnr = " +
           sqlQuote(nr);
}

bool PrepareChampionshipPrint(AppState& app, const std::string& nr, const ChampOptions& options) {
    if (!CalcChampionship(app, nr, options)) return false;
    try {
        Database& db = app.database();
        std::string criteria = CriteriaText(db, nr);
        if (options.specifyPoints) {
            Value type = db.scalar("SELECT Type FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr LIMIT 1", {nr});
            db.createOrReplaceView("Q_Mesterskab_Crosstab", MesterskabCrosstabSql(nr, type.toText(), criteria));
        } else {
            db.createOrReplaceView("Q Mesterskabsresultat", MesterskabsresultatSql(nr, criteria));
        }
        return true;
    } catch (const std::exception& e) {
        app.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
}

}  // namespace vemora::championships
