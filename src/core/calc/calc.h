#pragma once
// The race calculation: placings, counts, points and prizes of every bird of a race, and
// the race's undistributed remainders.
#include "core/app/appstate.h"

namespace vemora {

// Brings the results of race nr up to date when its Beregn flag is set, writing every
// changed row in one transaction; does nothing but read Beregn when the flag is clear.
// True when the results are current; False after the error's text was shown in a "Fejl" box.
bool CalcKapflyvning(AppState& app, long long nr);

}  // namespace vemora
