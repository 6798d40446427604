#pragma once
// The export of race plans (one file per club), club statistics (one file per club with
// results) and the section's total statistics (one file), into a folder or onto removable
// media asked for one after another.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/appstate.h"

namespace vemora {

enum class ExportKind { Plan, ClubStats, TotalStats };

// Where the files go. On a removable medium the user is asked to insert one before each
// file (before the one total file), and a medium that is not empty is emptied on request.
struct ExportTarget {
    std::filesystem::path folder;
    bool removable = false;
    // Called each time the user has confirmed that a medium is inserted; gives the root it is
    // reached at, or nullopt when there is none. Unset: the folder itself.
    std::function<std::optional<std::filesystem::path>()> inserted;
};

enum class ExportOutcome {
    Done,       // ran to its end (also when there was nothing to write)
    Cancelled,  // Cancel at a diskette question; the files written before stay
    Failed,     // an error was shown; the files written before stay
};

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Failed;
    std::vector<std::filesystem::path> files;  // the files completed, in the order written
};

// The dialog's OK: the year checks, the calculation of every race before a statistics
// export, and the files. clubText is the club box's text ("007 - Navn", "007" or empty for
// every club); total statistics ignore it. Messages and questions go through app's Ui.
ExportResult ExportStatistics(AppState& app, ExportKind kind, const std::string& clubText, const ExportTarget& target);

// The club number in the club box's text: what stands before the first "-", trimmed.
std::string ChosenClub(const std::string& clubText);

// The file names: "SEK007.DAT", "SEKSTA26.007", "SEKSTA26.04".
std::string planFileName(const std::string& club);
std::string statFileName(const std::string& yy, const std::string& clubOrSection);

}  // namespace vemora
