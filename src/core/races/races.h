#pragma once
// Race administration without widgets: the colour codes and weeks a race is created with,
// the creation itself, marking a race for recalculation, deleting it and where the race list
// starts. The forms of src/gui/races and the tests drive these.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/appstate.h"

namespace vemora::races {

// The week list offered when a race is created: "1" .. "53".
const std::vector<std::string>& weekEntries();

// A week as typed: it must equal one list entry exactly ("7" yes, "07" and "54" no).
bool isWeekEntry(std::string_view text);
// The first entry of the list whose first two characters equal those of the text, so "93"
// gives "93 - Hvid skema"; nullopt when none matches.
std::optional<std::string> matchColourCode(std::string_view text, const std::vector<std::string>& list);

// The number of the race of that week and whole colour-code text, if there is one.
std::optional<long long> findRace(Database& db, int week, std::string_view farvekode);

// Who creates a race decides what it takes over from the section's defaults: the dialog
// gives private and section races all four pool switches and all seven prize scales and
// national races none; the import gives every race the switches and scales the catalogue
// marks as copied by the import.
enum class RaceOrigin { Dialog, Import };

// The one way a race comes into being: the row with Beregn set, then the pool switches and
// prize templates its origin calls for. Returns the new Nr. Throws DbError, leaving what was
// written so far to the caller's transaction.
long long InsertRace(Database& db, int week, const std::string& farvekode, RaceOrigin origin);

enum class CreateOutcome { Created, NoWeek, NoColourCode, Duplicate, Failed };
struct CreateResult {
    CreateOutcome outcome;
    long long nr = 0;  // the new race's number when Created
};

// cmdOpret_Click without the dialog: checks the week and colour code, refuses a second race
// of the same week and colour code, and writes the race with its pool switches (private and
// section races only, from Markering), Beregn set and the section's prize templates (private
// and section races only) in one transaction. Shows its own messages through app.ui.
CreateResult CreateRace(AppState& app, std::string_view weekText, std::string_view farvekode);

// A choice of races: one race, the races of a week, or all.
struct RaceSelection {
    std::optional<long long> race;
    std::optional<int> week;
    static RaceSelection one(long long nr) { return {nr, std::nullopt}; }
    static RaceSelection ofWeek(int week) { return {std::nullopt, week}; }
    static RaceSelection all() { return {}; }
};

struct RaceRef {
    long long nr = 0;
    Value uge;
    std::string farvekode;
};

// The chosen races in week and colour-code order (the order they are calculated and printed in).
std::vector<RaceRef> SelectRaces(Database& db, const RaceSelection& which);
// Sets Beregn on the chosen races, so that the next reader recalculates them (opening a race
// for editing does this). Returns how many races were marked.
int MarkForCalculation(Database& db, const RaceSelection& which);

// The rows of the race list (the stored query "Q Kapflyvninger"), a page at a time.
RowSet ListRaces(Database& db, size_t offset = 0, size_t limit = std::string::npos);

// Deletes a race; its birds, prizes, accounts and payments go with it through the relations.
// Shows "Fejl ved sletning af kapflyvning." on a failure.
bool DeleteRace(AppState& app, long long nr);

// The row the race list starts on, given the weeks of its rows in list order (Null weeks as
// nullopt): the first race of the working week or later, else the last row; -1 when empty.
int listStartRow(const std::vector<std::optional<int>>& weeks, int currentWeek);

}  // namespace vemora::races
