#pragma once
// The club register: the list, a new empty club, one club's fields, saving and deleting.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/db/database.h"

namespace vemora {

// The list's record source.
inline constexpr const char* kForeningerListSql = "Select * From Foreninger Order By Nr";

// The nine text fields of a club after its number, in their stored order (positions 2 to 10).
extern const std::array<const char*, 9> kForeningFields;

struct ForeningData {
    std::string nr;
    std::array<std::string, 9> felter;  // in the order of kForeningFields; Null shows as ""
};

RowSet ListForeninger(Database& db);
// Adds an empty club row and returns its RecNr.
int64_t NewForening(Database& db);
// The club of that RecNr; nullopt when the row is gone.
std::optional<ForeningData> LoadForening(Database& db, int64_t recNr);
// Writes the number and the nine fields (an empty box is stored as Null). Throws DbError.
void SaveForening(Database& db, int64_t recNr, const ForeningData& data);
// Marks every race for recalculation, then deletes the club; all or nothing. Throws DbError.
void DeleteForening(Database& db, int64_t recNr);

}  // namespace vemora
