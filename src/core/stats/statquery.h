#pragma once
// The statistics query: the text of the stored query Q_Statistik, and the reading of its rows
// as statistics lines in its order.
#include <string>

#include "core/stats/statorder.h"

namespace vemora {

class Database;

// The text of Q_Statistik, for every club or (club not empty) for one.
std::string StatistikSql(const std::string& club);

// The statistics lines of the rows of Q_Statistik for the club (empty: every club), in the
// query's order, with the club column when withClub is set.
OrderedLines ReadStatistics(Database& db, const std::string& club, bool withClub);

}  // namespace vemora
