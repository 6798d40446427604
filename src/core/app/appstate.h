#pragma once
// Process-wide state set at start-up and shared by every form: the program folder, the
// country code, the open section database, the working week and the busy counter. One
// object is passed around instead of globals, so each test makes its own.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/dates.h"
#include "core/base/ui.h"
#include "core/db/database.h"

namespace vemora {

// What one commit changed: the tables it wrote to (with the engine's spelling).
struct ChangeSet {
    std::set<std::string> tables;
    // Without regard to case, as table names are.
    bool touches(std::string_view table) const;
    bool touchesAny(std::initializer_list<std::string_view> tables) const;
};

using ChangeObserver = std::function<void(const ChangeSet&)>;

// The registered observers, shared with their subscriptions so that either may go first.
struct ObserverList {
    std::vector<std::pair<int, ChangeObserver>> observers;
    int lastId = 0;
};

// An observer's registration; it ends when the subscription is destroyed.
class Subscription {
public:
    Subscription() = default;
    Subscription(std::weak_ptr<ObserverList> list, int id) : list_(std::move(list)), id_(id) {}
    Subscription(Subscription&& o) noexcept : list_(std::move(o.list_)), id_(o.id_) { o.id_ = 0; }
    Subscription& operator=(Subscription&& o) noexcept;
    ~Subscription() { reset(); }
    void reset();

private:
    std::weak_ptr<ObserverList> list_;
    int id_ = 0;
};

struct AppState {
    std::filesystem::path appPath;  // the program folder
    std::string land = "DK";
    std::unique_ptr<Database> db;
    int currentWeek = 1;
    Ui* ui = nullptr;
    std::function<Date()> today = todayLocal;
    int16_t busyCounter = 0;
    // How long the section database waits for a file another program holds.
    std::chrono::milliseconds busyTimeout = Database::kDefaultBusyTimeout;
    // Called before the database file is closed and replaced (whole-database backup and
    // restore, repair): closes the program's other windows and says whether none is left
    // open. Unset where there are no windows.
    std::function<bool()> closeOtherWindows;

    // The open section database; throws DbError when start-up could not open it, so forms
    // that reach it report the engine's problem instead of crashing.
    Database& database() const;
    Ui& userInterface() const;
    int currentYear() const { return static_cast<int>(today().year()); }

    // Open forms learn here of every commit to the section database (whichever function
    // made it, and also after the database was opened again): the callback runs right
    // after the commit. Keep the subscription as long as the form lives.
    [[nodiscard]] Subscription observe(ChangeObserver callback);
    // Runs the observers; the database does this after each commit.
    void notify(const ChangeSet& changes) const;

private:
    std::shared_ptr<ObserverList> observers_ = std::make_shared<ObserverList>();
};

// Nested busy cursor: the outermost "on" sets it, the matching outermost "off" restores it.
void SetBusy(AppState& app, bool on);

// What the section database does while it waits for a file another program holds: the busy
// pointer for as long as the wait lasts, and a notice of how long it may take.
Database::WaitNotifier databaseWaitNotifier(AppState& app);

// RAII form of SetBusy for code that can leave early or by an exception.
class BusyScope {
public:
    explicit BusyScope(AppState& app) : app_(app) { SetBusy(app_, true); }
    ~BusyScope() { SetBusy(app_, false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    AppState& app_;
};

}  // namespace vemora
