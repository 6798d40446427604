#pragma once
// The scratch program folder with a new section database that each benchmark program builds
// its season in; the folder goes when the program ends. A benchmark's season derives from it.
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/base/ui.h"

namespace vemora::bench {

struct BenchSection {
    std::filesystem::path folder;
    SilentUi ui;
    AppState app;

    explicit BenchSection(const std::string& name)
        : folder(std::filesystem::temp_directory_path() / ("vemora-bench-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        app.appPath = folder;
        app.ui = &ui;
        app.db = createSectionDatabase(folder / kDatabaseFileName);
    }
    ~BenchSection() {
        app.db.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    BenchSection(const BenchSection&) = delete;
    BenchSection& operator=(const BenchSection&) = delete;
};

}  // namespace vemora::bench
