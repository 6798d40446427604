#pragma once
// The club register: the list, a new empty club, one club's fields, saving and deleting.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/db/database.h"

namespace vemora {

// The nine text fields of a club after its number, in their stored order (positions 2 to 10).
extern const std::array<const char*, 9> kForeningFields;

// The club list ("Select * From Foreninger Order By Nr"), a page at a time.
RowSet ListForeninger(Database& db, size_t offset = 0, size_t limit = std::string::npos);
// Adds an empty club row and returns its RecNr.
int64_t NewForening(Database& db);
// The club of that RecNr: "Nr" and the nine fields as stored; nullopt when the row is gone.
std::optional<Record> LoadForening(Database& db, int64_t recNr);
// Writes "Nr" and the nine fields (an empty text and a missing field are stored as Null).
// Throws DbError.
void SaveForening(Database& db, int64_t recNr, const Record& club);
// Marks every race for recalculation, then deletes the club; all or nothing. Throws DbError.
void DeleteForening(Database& db, int64_t recNr);

}  // namespace vemora
