#pragma once
// The championship standings: the loft and club routine, the single-bird routine, the
// criteria text printed under a standing and the preparation of its stored query.
#include <string>

#include "core/app/appstate.h"

namespace vemora::championships {

// "Specificér point" and "Vis decimaler" as they take effect: ticked and enabled.
struct ChampOptions {
    bool specifyPoints = false;
    bool decimals = false;
};

// The print dialog offers "Vis decimaler" for every type but "Es-due-koefficient" and "HB".
bool DecimalsEnabled(const std::string& type);

// Standings of championship nr for the loft and club types ("Point", "½ points, ½ koef.",
// "Forening/point", "HB", "NO Plac.point", "NO Km-tillæg"; any other type counts as "Point").
// Brings the championship's races up to date first, computes in memory and replaces the old
// standings (and, with specifyPoints, the page tables) in one transaction. True when the
// standings were written; False after the message, with the old standings kept.
bool CalcMesterskab(AppState& app, const std::string& nr, const ChampOptions& options);
// The same for the single-bird types ("Es-due-koefficient", "Es-due-kilometer", "Due/point",
// "NO due/point", "NO es-due km-tillæg"; any other type counts as "Es-due-koefficient").
bool CalcMesterskabDue(AppState& app, const std::string& nr, const ChampOptions& options);
// Chooses the routine by the championship's Type alone.
bool CalcChampionship(AppState& app, const std::string& nr, const ChampOptions& options);

// The criteria description ("Proportioner") of championship nr: member ring numbers first,
// then every criterion that is set. Single quotes are not yet doubled. Empty when there is
// no such championship.
std::string CriteriaText(Database& db, const std::string& nr);

// What the print preparation does on the championship tab before it opens a report: the
// calculation routed by Type, then the stored query ("Q_Mesterskab_Crosstab" with
// specifyPoints, else "Q Mesterskabsresultat") rewritten with the criteria text. False
// after its own message, or when the calculation failed.
bool PrepareChampionshipPrint(AppState& app, const std::string& nr, const ChampOptions& options);

// The select texts written into the two stored queries for championship nr.
std::string MesterskabsresultatSql(const std::string& nr, const std::string& criteria);
std::string MesterskabCrosstabSql(const std::string& nr, const std::string& type, const std::string& criteria);

}  // namespace vemora::championships
