#pragma once
// The fixed small season of the report tests and the shipped report definitions, put into a
// program folder.
#include <filesystem>

#include "core/db/database.h"

namespace vemora::test {

// Replaces the delivered rows of a new database with the season of
// tests/data/reports/season.sql (three clubs, five races, seven championships).
void loadReportSeason(Database& db);
// Copies every report definition of the repository's reports/ folder into the folder.
void copyReportDefinitions(const std::filesystem::path& folder);

}  // namespace vemora::test
