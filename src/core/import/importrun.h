#pragma once
// The import run: one club result file into the section database, with its questions asked
// through the Ui of the AppState. The whole run is one transaction that is committed however
// the run ends, so the rows written before a silent end or an error stay (as the secretary
// expects), while a crash or power cut in the middle leaves the database as it was.
#include <filesystem>
#include <string>

#include "core/app/appstate.h"

namespace vemora {

enum class ImportOutcome {
    NothingSelected,      // "Der er ikke valgt nogen importfil."
    Completed,            // "Indlæsning er afsluttet."
    CompletedWithErrors,  // finished, with ImportFejl rows written
    Refused,              // "Ugyldigt filformat."
    Stopped,              // a silent end: club not created, Cancel at a race question
    Failed,               // "Fejl ved indlæsning af data."
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Failed;
    std::string detail;  // after a failure: the line and the reader's or the engine's reason, shown below the message
    bool completed() const {
        return outcome == ImportOutcome::Completed || outcome == ImportOutcome::CompletedWithErrors;
    }
};

// Imports one file for the club and week (as text, taken from the file's name).
ImportResult ImportClubFile(AppState& app, const std::filesystem::path& file, const std::string& club,
                            const std::string& week, bool checkResults);

// The dialog's Ok: imports the list entry ("Forening 123 uge 23") of the folder.
ImportResult ImportEntry(AppState& app, const std::filesystem::path& folder, const std::string& entry, bool checkResults);

// The setting behind "Check resultatfiler".
bool readCheckResFiler(Database& db);
void writeCheckResFiler(Database& db, bool on);

}  // namespace vemora
