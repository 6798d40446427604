#pragma once
// A fresh program folder with a new section database for one test, removed afterwards.
#include <filesystem>
#include <memory>
#include <string>

#include "core/app/appstate.h"
#include "core/app/startup.h"

namespace vemora::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes a file (bytes as given) into the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// The rows of a query as text for comparing with a literal reference: one line per row,
// the fields separated by "|", Null as "-".
std::string rowsText(Database& db, const std::string& sql, const std::vector<Value>& params = {});

// A program folder with a new database, a scripted message interface and a fixed "today".
struct TestApp {
    TempFolder folder;
    ScriptedUi ui;
    AppState app;
    explicit TestApp(Date today = Date{std::chrono::year(2026), std::chrono::June, std::chrono::day(10)});
    Database& db() { return app.database(); }
};

// A program started on a folder, its database not yet opened: for the start-up paths.
struct Startup {
    ScriptedUi ui;
    AppState app;
    explicit Startup(const std::filesystem::path& folder, std::deque<Answer> answers = {}) : ui(std::move(answers)) {
        app.ui = &ui;
        initAppState(app, folder);
    }
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;
};

}  // namespace vemora::test
