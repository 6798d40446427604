#pragma once
// The texts the print dialog's combo boxes offer: clubs and lofts for the year statistics,
// the weeks and the championships of the diplomas. Each entry is the text the preparation
// reads back ("007 - Navn"; the part before " - " is the number).
#include <string>
#include <vector>

#include "core/db/database.h"

namespace vemora::reports {

// "Nr - Navn" of every club, by number.
std::vector<std::string> statisticsClubChoices(Database& db);
// "Slag - Slag_navn" of every loft of the club that has birds in a race, by loft; none for
// an empty club text. The club is the part before " - " of the club combo's text.
std::vector<std::string> statisticsLoftChoices(Database& db, const std::string& clubText);
// The weeks that have a section or private race (the races diplomas are printed for), in order.
std::vector<std::string> diplomaWeekChoices(Database& db);
// "Nr - Titel" of every championship, by number and title.
std::vector<std::string> championshipChoices(Database& db);

}  // namespace vemora::reports
