#include "core/app/appstate.h"

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

}  // namespace vemora
