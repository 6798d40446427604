#pragma once
// The championship calculations as pure computations: everything a run needs is read once
// into a ChampInput, and computeLofts / computeBirds return every row the run stores.
// Reading and writing the database is champio.cpp's business.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/db/value.h"

namespace vemora::championships::detail {

// Race kinds: 0 free, 1 long (L), 2 middle (M), 3 section (S), 4 private (P).
constexpr int kKinds = 5;
// The page tables show the races fourteen to a page.
constexpr int kPageColumns = 14;

enum class LoftType { Point, HalfHalf, ClubPoint, HB, NoPlac, NoKm };
enum class BirdType { Coefficient, Kilometer, BirdPoint, NoBirdPoint, NoBirdKm };

LoftType loftTypeOf(const std::string& type);
BirdType birdTypeOf(const std::string& type);  // by the type in upper case

struct Definition {
    long long recNr = 0;
    std::string nr;  // as the caller names it; the standings are filed under it
    Value titel;
    std::string type;
    Value antalDuer, antalFlyvninger;
    std::array<Value, kKinds> caps;  // index 1..4: Antal_L/M/S/P_Flyvninger
    // Criteria
    bool kunJunior = false, kunBegyndere = false, kunPensionister = false;
    bool kunSport = false, eksklSport = false, kunForeningskryds = false;
    Value foreningsmarkering1, omraade, koen, aargang, eksklAargang, topProc;
    std::array<Value, 3> kode;
};

struct Race {
    long long nr = 0;
    Value uge, farvekode, lmu, stationNavn;
    std::string code, label;  // the colour code's parts before and after " - "
    int loftKind = 0;         // the kind as the loft and club standings count it
    int birdKind = 0;         // the kind as the single-bird standings count it
    Value middelafstand;      // as stored, for the distance factor types
    double factor = 1;        // the distance factor that follows from middelafstand
};

// One selected result row. Texts are kept once per distinct value (see Texts).
struct Row {
    long long raceNr = 0;
    int race = 0;           // first index of the race in the race array
    uint32_t forening = 0;  // dense ids that sort as the texts sort
    uint32_t slag = 0;
    uint32_t ring = 0;
    uint32_t last4 = 0;
    uint32_t club = 0;      // the matching club row, in the order the register holds them
    uint32_t slagNavn = 0;  // the loft name as this row spells it
    std::optional<double> order;   // the type's order within a flight (or a bird)
    std::optional<double> value;   // what the row adds to its flight's points or the bird's total
    std::optional<double> second;  // HB: the placing fraction
};

// The text of every row field by id, so that rows stay small.
struct Texts {
    std::vector<Value> forening, slag, ring;
    std::vector<Value> slagNavn;         // by Row::slagNavn
    std::vector<Value> clubName;         // by club row
};

struct ChampInput {
    Definition def;
    std::vector<Race> races;  // by week and colour code
    std::vector<Row> rows;    // in any order
    Texts texts;
    bool orderDescending = true;  // the direction of Row::order
    bool specifyPoints = false;
    bool decimals = false;
};

struct ResultRow {
    Value foreningsnr, foreningsnavn, slag, slagnavn, ringnummer;
    double points = 0;
    Value points2;
    std::string id;
    long long placering = 0;
};

// A row of the page headings.
struct PageRow {
    long long page = 0;
    std::array<Value, kPageColumns> f;
};

// A row of one unit's cells on one page, kept as numbers: a standing of ten thousand birds
// has tens of thousands of these, and they are formatted only as they are written.
struct CellRow {
    long long page = 0;
    uint32_t unit = 0;    // index into ChampOutput::unitIds
    uint16_t filled = 0;  // bit c: column c has a value
    std::array<double, kPageColumns> value{};
};

struct ChampOutput {
    std::vector<ResultRow> results;  // in the order they are stored, placings set
    // Only with specifyPoints:
    std::vector<PageRow> headers;
    std::vector<CellRow> cells;
    std::vector<std::string> unitIds;  // the IdText of each unit that has cells
    int cellDecimals = 0;              // cells are formatted "###0" (0) or "###0.000" (3)
};

// The rows in the order of the selection: by club and loft, then race and the type's order
// for the loft and club standings, or ring number, the type's order and race for the birds.
// Ties keep the order of the ranking (last four characters, then the whole ring number)
// and then the club register's.
std::vector<uint32_t> sortedRows(const ChampInput& in, bool byBird);
// Gives placings 1, 2, 3, ... in the order of the points (then Points2), equal values
// keeping the order the rows were stored in.
void placeResults(std::vector<ResultRow>& results, bool ascending);
// The page rows of one ranked unit, a row per page of races, empty; returns the index of the
// first. setCell then fills the cell of race j.
size_t addPageRows(ChampOutput& out, size_t raceCount, const std::string& idText);
inline void setCell(ChampOutput& out, size_t first, size_t race, double value) {
    CellRow& row = out.cells[first + race / kPageColumns];
    row.value[race % kPageColumns] = value;
    row.filled = static_cast<uint16_t>(row.filled | (1u << (race % kPageColumns)));
}

ChampOutput computeLofts(const ChampInput& in);
ChampOutput computeBirds(const ChampInput& in);

// The page headings: week, CR LF, race code, a blank, the first word of the race label,
// CR LF, the station's name.
std::vector<PageRow> pageHeadings(const std::vector<Race>& races);
// Splits the colour code and sets both kinds of every race from the definition's caps.
void classifyRaces(std::vector<Race>& races, const Definition& def);
// The factor of a race from the distance factor rows (KM descending): 1 without an average
// distance, else the factor of the largest KM not above it, else 1.
double distanceFactor(const Value& middelafstand, const std::vector<std::pair<double, double>>& kmFactors);

// "###0" or "###0.000" with the Danish decimal comma, halves rounded away from zero.
std::string formatPoints(double v, int decimals);

// The points of a placing in the Norwegian systems: 100 for the winner, falling by 300 per
// race size, never below 0; Null without a race size.
std::optional<double> noPlacePoints(const Value& placering, const Value& ialt);

}  // namespace vemora::championships::detail
