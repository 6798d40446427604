#pragma once
// The demo section: a writer of club result files (the section program itself only reads
// them) and a generator that writes a season of realistic files and imports them, so a new
// user starts with a populated race list and the round-trip tests have a second opinion on
// every position of every layout.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/app/appstate.h"
#include "core/base/text.h"
#include "core/import/clubfile.h"

namespace vemora {

// ---- writing lines (UTF-8 in, Windows-1252 bytes out, for Cp1252Writer::encodedLine) ---------

std::string formatHeader(const std::string& club, const std::string& version);
std::string formatRace(const std::string& cc, std::optional<Date> date, const std::string& time,
                       const std::string& station, const std::string& stationName);
// The inverse of parseBird for the layout; a Keep field that is false is written "N".
std::string formatBird(const BirdRecord& b, Layout layout);
std::string formatLoftGame(const std::string& cc, const std::string& slag, const std::string& name);
std::string formatPayment(const std::string& cc, long long amount);
std::string formatFactor(int km, double faktor);

// ---- the demo season ---------------------------------------------------------------------------

struct DemoOptions {
    int clubs = 5;
    std::vector<int> weeks;  // empty: weeks 18 to 31
    int birdsPerClub = 300;
    uint32_t seed = 1;
};

struct DemoSummary {
    std::vector<std::filesystem::path> files;
    int imported = 0;  // files whose run completed
    long long birds = 0;
    std::vector<std::string> problems;  // "file: message" of runs that did not complete
};

// Fills the section settings that a new database leaves at their defaults (stakes, prize
// factors, prize templates), so a demo season has prizes to distribute.
void prepareDemoSettings(Database& db);

// Writes the season's club result files into appPath/demo, creates the clubs and the week's
// races as the secretary would, and imports every file answering Yes to every question.
DemoSummary runDemo(AppState& app, const DemoOptions& options);

}  // namespace vemora
