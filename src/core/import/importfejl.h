#pragma once
// The list of import errors: the ImportFejl rows of a week and club, and deleting them.
#include <string>

#include "core/db/database.h"

namespace vemora {

// The two filter boxes as typed (digits only); an empty box does not filter.
struct ImportFejlFilter {
    std::string week;
    std::string club;
};

// The list's record source in words, as the list shows it:
// "Select * From ImportFejl Where Uge = 23 And Forening = '007' Order By Uge, ...".
std::string importFejlRecordSource(const ImportFejlFilter& filter);
// The rows the filter shows, ordered by week, club, colour code, loft and ring number, a
// page at a time.
RowSet ListImportFejl(Database& db, const ImportFejlFilter& filter, size_t offset = 0,
                      size_t limit = std::string::npos);
// Deletes exactly the rows the filter shows. Throws DbError.
void DeleteImportFejl(Database& db, const ImportFejlFilter& filter);

}  // namespace vemora
