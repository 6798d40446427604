#pragma once
// The section's standing data as the settings dialog edits it: section data and bank, the
// stakes, the prize factors and pool defaults, the point system and the point table per race
// kind, and the seven prize templates that new races copy. The rules that decide which races
// must be recalculated live here, so that they hold whatever front end saves the settings.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/db/value.h"

namespace vemora {

class Database;

// ---- Generelt: section number, name and bank ------------------------------------------------

// The bank fields in their stored order (the third to seventh fields of Generelt).
extern const std::array<const char*, 5> kSektionsBankFields;  // Bank, Bank_Adr, Bank_Postnr, Regnr, Kontonr

// ---- Markering: prize factors, pools, point system, point table ----------------------------

enum class PointSystem { None = -1, Points1000 = 0, Placering = 1 };

// The prize factors and the point table as the boxes show them, and the pool switches.
struct MarkeringData {
    // "Præmiefaktor_A" and "Præmiefaktor_B" with a decimal comma; the four pool switches as
    // 0/1; and for each race kind kk "MestPoint"+kk (never empty: 1000), "SE_PointPrSlag"+kk
    // and "SE_PointStep"+kk.
    Record fields;
    PointSystem pointsystem = PointSystem::None;
};

// ---- Indskud: stakes in whole kroner --------------------------------------------------------

// The stake fields in the order of the dialog's boxes: A classes 1-6, B classes 1-6, P, E,
// loft game, Z, R.
extern const std::array<const char*, 17> kIndskudFields;

// ---- Loading ----------------------------------------------------------------------------------

// The one-row records as the boxes show them; nullopt when the row is missing.
// Generelt: "Sektionsnr", "Sektionsnavn" and the bank fields, as stored.
std::optional<Record> LoadSektionsData(Database& db);
std::optional<MarkeringData> LoadMarkering(Database& db);
// Indskud: the stake fields, as stored.
std::optional<Record> LoadIndskud(Database& db);

// ---- Box rules --------------------------------------------------------------------------------

// "Max. point" is never empty: an emptied box shows 1000 at once.
std::string MestPointText(const std::string& text);
// "Duer pr. slag" validated: a number without a step gets step 1; clearing it clears the step.
// Returns the step box's new text.
std::string StepAfterPrSlag(const std::string& prSlag, const std::string& step);
// "Step" validated: a step without birds per loft gets 2 birds; clearing it clears the birds.
// Returns the "Duer pr. slag" box's new text.
std::string PrSlagAfterStep(const std::string& step, const std::string& prSlag);
// A stake box left empty (blanks count as empty) shows "0".
std::string StakeText(const std::string& text);
// A prize-factor box left empty shows "0".
std::string FactorText(const std::string& text);
// Section and club numbers: a non-empty value is padded with "0" to three characters.
std::string PadCode(const std::string& text);

// A prize factor typed with a decimal comma as a number; throws DbError for anything that is
// not one number.
double ParseFactor(const std::string& text);
// The stored factor as the user sees it, with a decimal comma.
std::string FactorShown(const Value& stored);

// ---- Saving: the three named steps, each all-or-nothing ---------------------------------------

struct SektionsdataResult {
    std::vector<std::string> markedKinds;  // race kinds whose races were marked
    bool pointSystemChanged = false;       // every race was marked
};

// Step "sektionsdata": the Generelt row (when it exists), then the Markering row (when it
// exists) with the point table and the point system, marking the races whose points change.
// `shown` holds the boxes of both (the fields of LoadSektionsData and MarkeringData, an
// empty box as Null). Throws DbError; on error nothing of the step is written.
SektionsdataResult SaveSektionsdata(Database& db, const Record& shown, PointSystem pointsystem);

// The point-table part of the step, for callers that hold their own transaction: marks the
// races of every kind whose shown values differ from the stored ones, Nulls the cleared
// "Duer pr. slag" and "Step" fields and stores the shown values. Returns the marked kinds.
std::vector<std::string> SavePointTable(Database& db, const Record& shown);

// Step "indskud": writes the stakes row from the stake fields of `shown`. Throws DbError;
// all or nothing.
void SaveIndskud(Database& db, const Record& shown);

// The names of the three steps, as the failure message names them.
inline constexpr const char* kStepSektionsdata = "sektionsdata";
inline constexpr const char* kStepIndskud = "indskud";
inline constexpr const char* kStepPræmier = "præmier";

// ---- Prize templates --------------------------------------------------------------------------

struct TemplateRow {
    int64_t rowId = 0;  // 0: a row not yet written
    Value antal = 1;
    Value værdi = 0;
    bool dirty = false;
};

// The rows of the template of prize scale i (catalogue index), highest value first.
std::vector<TemplateRow> ReadTemplate(Database& db, int index);
// Writes the dirty rows of the template of scale i (new rows are added and get their row id) in one
// transaction; clears their dirty marks only when all were written. Throws DbError.
void WriteTemplateRows(Database& db, int index, std::vector<TemplateRow>& rows);

}  // namespace vemora
