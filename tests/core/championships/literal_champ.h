#pragma once
// A slow, literal championship calculation: the selection as one ordered statement built the
// way the rules spell it, walked row by row with the running variables of the description,
// every result row and page row saved on its own. The fast calculation must leave the
// standings, the page tables and the races' mean distances exactly as this one does.
#include <string>

#include "core/db/database.h"

namespace vemora::champtest {

// Routes by Type like the print preparation and computes championship nr. False (with
// nothing changed) when there is no such championship; throws on any other error.
bool literalChampionship(Database& db, const std::string& nr, bool specifyPoints, bool decimals);

// "###0" / "###0.000" of a number taken with fifteen significant digits, halves away from
// zero, decimal comma; done with whole-number arithmetic.
std::string literalFormat(double v, int decimals);

}  // namespace vemora::champtest
