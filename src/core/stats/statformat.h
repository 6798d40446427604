#pragma once
// The fixed-width lines of the race plan and of the year statistics. Every function returns
// Windows-1252 bytes, one byte per character, so the widths below are byte counts; the line
// end is added by the file writer.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/db/value.h"

namespace vemora {

class Database;

// A number with at least `intDigits` integer digits and exactly `decimals` decimals after a
// comma ("0000.00" is (4, 2)). It is rounded half away from zero on the number's shortest
// decimal form, so 1000.005 gives "1000,01" although the double lies just below it.
std::string formatNumber(const Value& v, int intDigits, int decimals);
void appendNumber(std::string& out, const Value& v, int intDigits, int decimals);
// The last n characters of a text, the whole text when it is not longer.
std::string lastChars(std::string_view s, size_t n);

// ---- race plan ---------------------------------------------------------------------------------

// The fields of one Indskud row that the plan carries, in its order.
struct PlanStakes {
    Value a[6], b[6];
    Value klP, klE, slagspil, klZ, klR;
};
// The 39-character stakes line; no Indskud row gives 39 zeros.
std::string stakesLine(const std::optional<PlanStakes>& stakes);

struct PlanRace {
    Value uge, farvekode, station, gebyr, lmu, klP, klE, klZ, klR, slagspilS, slagspilA, slagspilU, slagspilX, gebyrSlag;
};
// The 35-character race line.
std::string planRaceLine(const PlanRace& race);

// The lines of the plan file: the stakes of the first Indskud row and the private and section
// races by week and colour code.
std::vector<std::string> BuildPlanText(Database& db);

// ---- statistics --------------------------------------------------------------------------------

// The columns of Q_Statistik that a statistics line is made of.
struct StatRow {
    Value uge, kk, hastighed, ringnummer, forening, kodenr, nrEgne, antalEgne, nrForening, antalForening, nrSektion,
        antalSektion, station, point, antalSlag;
};
// One statistics line: 78 characters for a club's file, 81 with the club number for the
// section's total file.
std::string statLine(const StatRow& row, bool withClub);
void appendStatLine(std::string& out, const StatRow& row, bool withClub);

}  // namespace vemora
