#pragma once
// Process-wide state set at start-up and shared by every form: the program folder, the
// country code, the open section database, the working week and the busy counter. One
// object is passed around instead of globals, so each test makes its own.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/base/dates.h"
#include "core/base/ui.h"
#include "core/db/database.h"

namespace vemora {

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

    // The open section database; throws DbError when start-up could not open it, so forms
    // that reach it report the engine's problem instead of crashing.
    Database& database() const;
    Ui& userInterface() const;
    int currentYear() const { return static_cast<int>(today().year()); }
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
