#pragma once
// A whole-database backup as part files: the database file cut into consecutive pieces of
// whole 4096-byte blocks, one piece per medium, "BKUP.CNT" on every medium but the last.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/base/ui.h"
#include "core/backup/media.h"

namespace vemora {

// Writes `source` as the parts stem.001, stem.002, ... onto the media, asking every question of
// the backup. True when the last part is written and "Backup-kopiering færdig." was shown;
// false when an answer ended it. Throws when the source cannot be read.
bool writeParts(const std::filesystem::path& source, const std::string& stem, Medium& medium, Ui& ui);

// Joins the parts of the latest whole-database backup on the media (by the file time of its
// first part) into `target`, asking every question of the restore. True when every part was
// read; false when an answer ended it. Throws RestoreError when what was read is not a whole
// database.
bool readParts(Medium& medium, const std::filesystem::path& target, Ui& ui);

class RestoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the first 100 bytes of a database file say about it: whether they are the start of one,
// and the size it declares (page size times page count; 0 when the header does not vouch for it).
struct DatabaseHeader {
    bool database = false;
    std::uintmax_t size = 0;
};
DatabaseHeader readDatabaseHeader(const std::string& first100);

}  // namespace vemora
