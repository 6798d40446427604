#pragma once
// The fields of one race as the race dialog edits them: the entry rules of release date and
// time, the station register, the Kode box, loading and saving the race row, and the seven
// per-race prize scales.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/appstate.h"

namespace vemora::races {

// ---- release date and time ------------------------------------------------------------

// What typing does at once: six digits become DD-MM-YY, and DD-MM-YYYY is shortened to
// DD-MM-YY. nullopt when the text stays as typed.
std::optional<std::string> slipdatoWhileTyping(std::string_view text);
// Four digits become HH:MM at once.
std::optional<std::string> sliptidWhileTyping(std::string_view text);

struct EntryCheck {
    bool ok = false;
    std::string text;   // the accepted text to show (DD-MM-YY for a date)
    std::string error;  // the message when refused
    std::optional<Date> date;
};

// A release date as left: DDMMYY, DDMMYYYY, DD-MM-YY or DD-MM-YYYY, a real day, and within
// the race's week or on the Monday to Wednesday of the week after it.
EntryCheck checkSlipdato(std::string_view text, std::string_view weekText, int currentYear);
// The week rule alone: the date lies in week W, or seven days earlier it did and it is a
// Monday, Tuesday or Wednesday (so the week after week 52 or 53 is week 1).
bool releaseDateInWeek(Date d, int week);
// A release time as left: "HH:MM" with hours 0..23 and minutes 0..59.
EntryCheck checkSliptid(std::string_view text);

// ---- the race row -------------------------------------------------------------------------

// The race's editable fields by field name (the plain fields, the flag field of each prize
// scale and the pool switches of the catalogue), as the controls show them: SlipDato as
// "dd-mm-yyyy", Kode as "Kode 2", Booleans as 0/1, everything else as stored; Null stays Null
// (shown empty).
using RaceControls = std::map<std::string, Value>;

struct RaceRow {
    long long nr = 0;
    Value uge;
    std::string farvekode;
    RaceControls controls;
};

std::string kodeToControl(const Value& field);    // "2" -> "Kode 2"; anything else ""
Value kodeFromControl(const Value& control);      // "Kode 2" -> "2"; empty or other -> Null
std::string slipdatoToControl(const Value& field);  // ISO -> "dd-mm-yyyy"; other text as stored
// The date box's text (DD-MM-YY, DD-MM-YYYY, or the six/eight digits) to ISO text; Null for
// an empty box; nullopt when it is no date.
std::optional<Value> slipdatoFromControl(const Value& control, int currentYear);

std::optional<RaceRow> LoadRace(Database& db, long long nr);
// SaveControls: writes every control back into the race row in one statement. Shows
// "Fejl ved lagring af kapflyvning." and returns false when the row refuses a value.
bool SaveRace(AppState& app, long long nr, const RaceControls& controls);

// The race of a week and colour code (the navigation target), its weeks and colour codes.
std::vector<int> raceWeeks(Database& db);
std::vector<std::string> raceColourCodes(Database& db, int week);

// ---- stations -----------------------------------------------------------------------------

// The list of named stations: "007 - Name", by number.
std::vector<std::string> stationListItems(Database& db);
// The number a station box holds: padded with "0" to three characters, then its first three.
std::string stationNumber(std::string_view text);

struct StationLookup {
    bool ok = false;
    std::string nr;
    std::string name;  // empty when new or unnamed
    bool added = false;
};
// Station_LostFocus: finds the station or adds it unnamed. Shows
// "Fejl ved opdatering af stationsnr." on an error (letters included).
StationLookup LeaveStation(AppState& app, std::string_view text);
// The stored name of the station a box holds; "" when it has none or is not registered.
std::string stationName(Database& db, std::string_view stationText);
// Stationsnavn_LostFocus: stores the name (empty as Null), adding the station when missing.
// Shows "Fejl ved opdatering af stationsnavn." on an error.
bool SaveStationName(AppState& app, std::string_view stationText, std::string_view name);

// ---- prize scales -------------------------------------------------------------------------

struct PrizeRow {
    long long rowid = 0;
    Value antal, vaerdi, kapflyvning;
};

// The race's rows of one prize scale (by its catalogue index), highest value first.
std::vector<PrizeRow> LoadPrizes(Database& db, int scale, long long race);
// Writes one cell ("Antal" or "Værdi") of an existing row, or adds a row for the race with
// that cell set (rowid 0), and returns the row as stored. An empty cell, letters or a
// duplicate value where the table forbids one throw DbError.
PrizeRow SavePrizeCell(Database& db, int scale, long long race, long long rowid, std::string_view column,
                       const Value& value);

}  // namespace vemora::races
