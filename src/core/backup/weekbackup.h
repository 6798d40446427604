#pragma once
// The week backup: the races of one week with everything stored for them, in a small database
// of its own, and the merge of such a backup back into the section database.
#include <filesystem>
#include <string>
#include <vector>

#include "core/db/database.h"

namespace vemora {

// The nine tables of a week backup, in the order they are written.
const std::vector<std::string>& weekBackupTables();

// "BACKUP" + week + ".MDB".
std::string weekBackupName(int week);

// Writes the week's rows of the nine tables into a new database file (which must not exist):
// each table with the section database's fields, names, types and order, no keys, indexes or
// relations; race numbers as they are. Throws DbError.
void writeWeekBackup(Database& section, int week, const std::filesystem::path& file);

struct WeekRestoreSummary {
    int races = 0, newRaces = 0;
    long long rows = 0;       // rows added or updated in all nine tables
    long long skipped = 0;    // rows of races the backup does not hold, which cannot be stored
};

// The backup's race number paired with the section's number of the same race; GetKapRef
// gives the section number of the first equal backup number, Null when there is none.
class RaceNumberMap {
public:
    void reserve(size_t n) {
        backup_.reserve(n);
        section_.reserve(n);
    }
    void add(const Value& backupNr, const Value& sectionNr) {
        backup_.push_back(backupNr);
        section_.push_back(sectionNr);
    }
    Value GetKapRef(const Value& backupNr) const;

private:
    std::vector<Value> backup_, section_;
};

// Merges a week backup into the section database: races found by week and colour code
// (added when missing, else updated, keeping their numbers), then every row of the other
// eight tables found by its key fields under the mapped race number (added or updated); rows
// of the section database that are not in the backup stay. A race the merge creates gets its
// accounts' entry counts from its birds and loft games. Runs in the caller's transaction.
WeekRestoreSummary mergeWeekBackup(Database& section, Database& backup);

// Why a week backup must not be merged, "" when it may: it must hold the nine tables, and a
// backup whose races are already in the section database under the same week and colour code
// must have at least one club in common with the section's club register.
std::string weekBackupProblem(Database& section, Database& backup, const std::string& name);

}  // namespace vemora
