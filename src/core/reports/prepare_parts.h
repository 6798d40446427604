#pragma once
// The pieces of PreparePrint shared by its files.
#include <string>

#include "core/reports/prepare.h"

namespace vemora::reports::detail {

// Writes the stored query (when named and not yet written), opens the definition and fills
// the prepared report.
bool finishPrint(AppState& app, PreparedReport& out, const std::string& file, const std::string& title,
                 const std::string& sql, const std::string& storedQuery, bool alreadyWritten = false);

// Tab 4 without the section winners, and the championship diplomas of tab 8.
bool prepareChampionship(AppState& app, const PrintRequest& r, PreparedReport& out);
bool prepareChampionshipDiplomas(AppState& app, const PrintRequest& r, PreparedReport& out);

}  // namespace vemora::reports::detail
