#pragma once
// The options shared by the backup and restore commands: which backup (a week or the whole
// database) and where (one folder, or folders that stand for removable media in turn).
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/backup/backup.h"

namespace vemora::cli {

struct BackupArgs {
    int week = 0;
    bool total = false;
    std::string folder;
    std::vector<std::string> diskettes;
    std::uintmax_t partSize = 0;

    // --week/--total and the folder option (`folderOption` is "--to" or "--from").
    void add(CLI::App& cmd, const std::string& folderOption, const std::string& folderHelp);
    // The media: each --diskettes folder the root of a removable medium inserted after the one
    // before, or the one folder; --part-size is each medium's room.
    std::unique_ptr<Medium> medium() const;
    // The folder of a week backup.
    std::string weekFolder() const { return diskettes.empty() ? folder : diskettes.front(); }
};

// The exit code for an outcome: 0 done, 1 an error was shown, 2 an answer ended it.
int exitCode(BackupOutcome outcome);

}  // namespace vemora::cli
