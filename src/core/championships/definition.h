#pragma once
// Championship definitions: the point systems, the input rules of the definition dialog, the
// races and member birds of a championship. Nothing here computes a standing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/appstate.h"
#include "core/db/database.h"

namespace vemora::championships {

// The eleven point systems in the order the type list offers them.
const std::vector<std::string>& ChampionshipTypes();
// True for the six types whose standings rank lofts or clubs (CalcMesterskab); every other
// text, also one that is none of the eleven, goes to the single-bird routine.
bool IsLoftOrClubType(std::string_view type);
// Upper case as the type comparisons use it: ASCII letters and æ, ø, å.
std::string UpperType(std::string_view type);

// The type list takes no free text: a text that is not one of the eleven becomes "Point".
std::string NormalizeType(std::string_view text);
// The type chosen by one key press in the type list; nullopt for keys that choose nothing.
std::optional<std::string> TypeForKey(char key);
// The text of the count labels for a type; nullopt where the caption stays as it is.
struct CountCaptions {
    std::optional<std::string> birds, flights, l, m, s, p;
};
CountCaptions CaptionsForType(std::string_view type);

// Nine digits typed in a row become "###-##-####"; any other text is returned unchanged.
std::string RewriteRingnr(std::string_view text);
// Three digits, "-", two digits, "-", four digits.
bool IsRingnr(std::string_view text);

// The fields of a definition the dialog edits, in the order of its controls.
const std::vector<std::string>& DefinitionFields();

// The list of championships: every field of "Q Mesterskaber" (the yes/no criteria as "X"
// or Null), by number; the rows from offset, at most limit of them.
RowSet ListChampionships(Database& db, size_t offset = 0, size_t limit = std::string::npos);
// The fields of DefinitionFields() of the championship with that RecNr; nullopt when it is gone.
std::optional<Record> LoadDefinition(Database& db, long long recNr);

// A new empty championship row; returns its RecNr.
long long NewChampionship(Database& db);
// Deletes the championship with its races, member birds and, when no other championship
// carries its number, its standings. False after "Fejl ved sletning af mesterskab.".
bool DeleteChampionship(AppState& app, long long recNr);
// Writes the dialog's fields (absent fields are left alone; an empty text is stored as
// Null). False after "Fejl ved lagring af mesterskab.".
bool SaveDefinition(AppState& app, long long recNr, const Record& fields);

// The races not yet in the championship: Nr and Id ("23 - 91 - Orange (Station)"), by week
// and colour code.
RowSet AvailableRaces(Database& db, long long recNr);
// The championship's races: Kapflyvning, Uge, Farvekode, Regi, Station2, Slipdato, Sliptid;
// the rows from offset, at most limit of them.
RowSet ChampionshipRaces(Database& db, long long recNr, size_t offset = 0, size_t limit = std::string::npos);
// Adds a race; False after "Kapflyvning er allerede tilmeldt mesterskab." when it is in.
bool AddRace(AppState& app, long long recNr, long long raceNr);
void RemoveRace(Database& db, long long recNr, long long raceNr);

// The member birds by serial number, then the whole ring number.
std::vector<std::string> MemberBirds(Database& db, long long recNr);
// Adds a member bird. False after "Angiv ringnummer." (not ###-##-####) or "Ringnummer er
// allerede tilmeldt mesterskabet.".
bool AddMemberBird(AppState& app, long long recNr, std::string_view ringnr);
void DeleteMemberBirds(Database& db, long long recNr, const std::vector<std::string>& rings);
void ClearMemberBirds(Database& db, long long recNr);

}  // namespace vemora::championships
