#pragma once
// The race calculation as a pure computation: everything it needs is read once into a
// RaceInput, and computeRace returns every value the calculation stores, bird by bird and
// on the race row. Reading and writing the database is calc.cpp's business.
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/db/value.h"

namespace vemora::calc {

// A failure that ends the calculation with its text in the "Fejl" box. afterReset tells
// whether it happened once the race row had already been reset (remainders 0, Beregn
// False), which the caller must then still store.
class CalcError : public std::runtime_error {
public:
    CalcError(const std::string& what, bool afterReset) : std::runtime_error(what), afterReset_(afterReset) {}
    bool afterReset() const { return afterReset_; }

private:
    bool afterReset_;
};

// The bird fields the calculation writes, in the order of resultFieldNames().
enum ResultField {
    rPlacering,
    rKapflyvningIalt,
    rSlagPlacering,
    rSlagPlacering2,
    rSlagIalt,
    rForeningPlacering,
    rForeningIalt,
    rOmraadePlacering,
    rOmraadeIalt,
    rPoint,
    rPoints1000,
    rPointsPlac,
    rPraemie,
    rAntalPraemier,
    rKlasseA,
    rKlasseB,
    rKlE,
    rKlP,
    rKlZ,
    rKlR,
    rKlS,
    kResultFieldCount
};
const std::array<const char*, kResultFieldCount>& resultFieldNames();

// The remainders on the race row, in the order of restFieldNames().
enum RestField { kRestA1 = 0, kRestB1 = 6, kRestKontant = 12, kRestSlag, kRestSlagspil, kRestPulje, kRestElite, kRestZ, kRestR, kRestFieldCount };
const std::array<const char*, kRestFieldCount>& restFieldNames();

enum ScaleKind { sKontant, sSlag, sSlagspil, sP, sE, sZ, sR, kScaleCount };
enum Game { gP, gE, gZ, gR, kGameCount };

// One prize row of a scale: Antal prizes of Værdi each, rows in Værdi descending.
struct ScaleRow {
    double vaerdi = 0;
    double antal = 0;
};

struct RaceInput {
    bool classPrizes = false;   // section and private races pay the A and B classes
    double faktorA = 0, faktorB = 0;
    double threshold = 0;       // as stored, for the loft, club and area placings
    double thresholdSql = 0;    // as written into the selections of the ranked passes
    int64_t mestPoint = 1000;
    Value pointPrSlag, pointStep;  // the per-loft scheme runs when both are non-zero
    bool placingPoints = false;
    std::array<double, 7> stakeA{}, stakeB{};  // index 1..6
    std::array<double, kGameCount> stakeGame{};
    std::array<bool, kGameCount> poolSwitch{};
    int codeField = 0;          // 1..3: ranked separately per value of Kode1..Kode3
    bool splitByCode = false;   // Points1000/PointsPlac over the whole race
    std::string defaultArea;
    std::array<std::vector<ScaleRow>, kScaleCount> scales;
    std::unordered_set<std::string> loftGameLofts;  // Forening + Slag of the SlagSpil rows

    struct Bird {
        int64_t rowid = 0;
        std::string ring;
        Value forening, slag, omraade, kode;
        std::optional<double> speed;
        double sektionA = 0, sektionB = 0;
        bool pulje = false, elite = false, klZ = false, klR = false;
        // The stored values that the calculation leaves on a bird it does not rank.
        Value oldOmraadePlacering, oldPoints1000, oldPointsPlac;
    };
    std::vector<Bird> birds;
};

// One bird's results as numbers with a Null mask, so that a race of many thousand birds
// stays small; value() gives a field as the database stores it.
struct BirdResult {
    std::array<double, kResultFieldCount> number{};
    uint32_t nulls = (1u << kResultFieldCount) - 1;

    void set(int f, double v) {
        number[f] = v;
        nulls &= ~(1u << f);
    }
    void set(int f, const Value& v) {
        if (v.isNull())
            nulls |= 1u << f;
        else
            set(f, v.toDouble());
    }
    bool isNull(int f) const { return (nulls >> f) & 1u; }
    Value value(int f) const;
};

struct RaceResult {
    std::vector<BirdResult> birds;  // same order as RaceInput::birds
    std::array<double, kRestFieldCount> rest{};
};

// Ranks the race, distributes its prizes and computes every stored value; throws CalcError.
RaceResult computeRace(const RaceInput& in);

// Text order of the database's NOCASE collation: ASCII letters folded, bytes compared.
std::string foldCase(std::string_view s);
// The last four characters (not bytes) of a text, all of it when shorter.
std::string lastChars(std::string_view s, size_t n);

}  // namespace vemora::calc
