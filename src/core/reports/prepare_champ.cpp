// Tab 4 and the championship diplomas: the printouts that read the championship standings.
#include "core/reports/prepare_parts.h"

namespace vemora::reports::detail {

// Until the championship calculation is part of the program these printouts are refused
// with a sentence rather than printed from stale standings.
bool prepareChampionship(AppState& app, const PrintRequest&, PreparedReport&) {
    app.userInterface().message("Mesterskaber kan endnu ikke udskrives.", "Fejl", Icon::Exclamation);
    return false;
}

bool prepareChampionshipDiplomas(AppState& app, const PrintRequest&, PreparedReport&) {
    app.userInterface().message("Mesterskaber kan endnu ikke udskrives.", "Fejl", Icon::Exclamation);
    return false;
}

}  // namespace vemora::reports::detail
