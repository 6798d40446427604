#include "core/app/appstate.h"

#include <algorithm>

#include "core/base/text.h"

namespace vemora {

bool ChangeSet::touches(std::string_view table) const {
    for (const auto& t : tables)
        if (iequals(t, table)) return true;
    return false;
}

bool ChangeSet::touchesAny(std::initializer_list<std::string_view> names) const {
    for (auto n : names)
        if (touches(n)) return true;
    return false;
}

Subscription& Subscription::operator=(Subscription&& o) noexcept {
    if (this != &o) {
        reset();
        list_ = std::move(o.list_);
        id_ = o.id_;
        o.id_ = 0;
    }
    return *this;
}

void Subscription::reset() {
    if (auto list = list_.lock()) {
        auto& v = list->observers;
        v.erase(std::remove_if(v.begin(), v.end(), [this](const auto& o) { return o.first == id_; }), v.end());
    }
    list_.reset();
    id_ = 0;
}

Subscription AppState::observe(ChangeObserver callback) {
    observers_->observers.emplace_back(++observers_->lastId, std::move(callback));
    return Subscription(observers_, observers_->lastId);
}

// An observer may open or close forms, and so subscribe or unsubscribe, while this runs:
// each one still registered when its turn comes is called once.
static void fire(ObserverList& list, const ChangeSet& changes) {
    std::vector<int> ids;
    for (const auto& o : list.observers) ids.push_back(o.first);
    for (int id : ids) {
        auto& v = list.observers;
        auto it = std::find_if(v.begin(), v.end(), [id](const auto& o) { return o.first == id; });
        if (it == v.end()) continue;
        ChangeObserver callback = it->second;  // a copy: the list may change during the call
        callback(changes);
    }
}

void AppState::notify(const ChangeSet& changes) const { fire(*observers_, changes); }

Database& AppState::database() const {
    if (!db) throw DbError("Sektionsdatabasen er ikke åben.");
    if (!db->hasCommitListener()) {
        // Installed on whatever database is open now, so a database opened again (a restore)
        // keeps the forms informed.
        std::weak_ptr<ObserverList> weak = observers_;
        db->setCommitListener([weak](const std::set<std::string>& tables) {
            if (auto list = weak.lock()) fire(*list, ChangeSet{tables});
        });
    }
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
