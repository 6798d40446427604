#pragma once
// A slow, literal race calculation that walks the database's own row orders and saves
// row by row; the reference the in-memory calculation is compared with.
#include "core/db/database.h"

namespace vemora::calctest {

// Calculates race nr when its Beregn flag is set; throws on any error.
void literalCalc(Database& db, long long nr);

}  // namespace vemora::calctest
