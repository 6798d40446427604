#pragma once
// The SQL texts of the printouts, written into their stored queries before printing. They
// use only the engine's built-in functions, so the stored queries stay readable by any
// SQLite tool; the column names are the ones the report definitions bind to.
#include <optional>
#include <string>

namespace vemora::reports::queries {

// The section's number and name as one-row look-ups on Generelt.
std::string sectionNumber();
std::string sectionName();

struct RaceResultsOptions {
    long long race = 0;
    // The bird filter after the race: "" (all placed birds) or the text to add.
    std::string birdFilter;
    std::string division;  // "" for all
    bool byArea = false;
    bool acrossDivisions = false;
    bool noPoints = false;
};
// "Q Kapflyvningsresultat".
std::string raceResults(const RaceResultsOptions& o);
// The bird filters of the count box: best bird per loft, first n, first n per cent (prize
// winners always).
std::string bestPerLoftFilter();
std::string countFilter(double n);
std::string percentFilter(double n);

std::string receiptList(long long week);
// "Q Kapflyvningsregnskab" for one race, and for the year (section and private races).
std::string raceAccounts(long long race);
std::string yearAccounts(const std::optional<std::string>& club);
// "Q Præmier".
std::string prizes(const std::optional<std::string>& club, const std::optional<long long>& week);
std::string sectionWinners();
// "Q Bankbilag".
std::string bankTransfers(long long race);
std::string addresses();
// "Q_Statistik" with the dialog's conditions.
std::string statistics(const std::string& club, const std::string& loft, bool sectionOnly, bool allBirds);
// "Q_KapflDiplomer" and "Q_MesterskDiplomer".
std::string raceDiplomas(const std::string& count, const std::optional<long long>& week);
std::string championshipDiplomas(const std::string& count, const std::string& nr);

}  // namespace vemora::reports::queries
