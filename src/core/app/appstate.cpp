#include "core/app/appstate.h"

#include "core/base/text.h"

namespace vemora {

Database& AppState::database() const {
    if (!db) throw DbError("Sektionsdatabasen er ikke åben.");
    return *db;
}

Ui& AppState::userInterface() const {
    static SilentUi silent;
    return ui ? *ui : silent;
}

void SetBusy(AppState& app, bool on) {
    if (on) {
        if (++app.busyCounter == 1) app.userInterface().busy(true);
    } else if (app.busyCounter > 0) {
        if (--app.busyCounter == 0) app.userInterface().busy(false);
    }
}

// "30 sekunder", "0,05 sekunder".
static std::string seconds(std::chrono::milliseconds ms) {
    std::string s = std::to_string(ms.count() / 1000);
    if (long long frac = ms.count() % 1000) {
        std::string f = padZero(std::to_string(frac), 3);
        while (f.back() == '0') f.pop_back();
        s += "," + f;
    }
    return s + (s == "1" ? " sekund" : " sekunder");
}

Database::WaitNotifier databaseWaitNotifier(AppState& app) {
    return [&app](bool waiting) {
        SetBusy(app, waiting);
        if (waiting)
            app.userInterface().notice("Sektionsdatabasen bruges af et andet program. Venter op til " + seconds(app.busyTimeout) +
                                       " på, at den bliver ledig ...");
    };
}

}  // namespace vemora
