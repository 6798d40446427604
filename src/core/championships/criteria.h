#pragma once
// Which birds take part in a championship: the conditions on the race results, and the
// one-line description of them printed under the standings.
#include <string>
#include <vector>

#include "core/championships/champcalc.h"
#include "core/db/database.h"

namespace vemora::championships::detail {

// Reads the championship row with that number (the first one when several carry it);
// false when there is none.
bool readDefinition(Database& db, const std::string& nr, Definition& def);

// The conditions on Deltagere (unqualified column names) that the definition's criteria
// add, each beginning " AND ", with their values appended to params.
std::string criteriaFilter(const Definition& def, std::vector<Value>& params);

// The engine's Like pattern (* ? # [..] [!..]) as a GLOB pattern over lower-cased text,
// so that it matches without regard to case as Like does.
std::string likeToGlob(const std::string& pattern);

// The description text from the definition and its member birds.
std::string criteriaText(const Definition& def, const std::vector<std::string>& memberRings);

}  // namespace vemora::championships::detail
