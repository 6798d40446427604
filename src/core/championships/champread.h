#pragma once
// Reading what one championship run needs: its races with their kinds and distance factors,
// and the rows of its selection.
#include "core/championships/champcalc.h"
#include "core/db/database.h"

namespace vemora::championships::detail {

// The championship's races by week and colour code (race number on a tie).
std::vector<Race> readRaces(Database& db, const Definition& def);
// The mean distance of every race as it is to be stored on the race, and its factor.
void distanceFactors(Database& db, std::vector<Race>& races);
// The rows of the selection with their values, in no particular order.
void readRows(Database& db, ChampInput& in, bool loftRoutine);

}  // namespace vemora::championships::detail
