#pragma once
// Repair and compaction of the closed section database file.
#include <filesystem>
#include <stdexcept>

namespace vemora {

class RepairError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Checks the closed database file and puts a compacted, checked copy in its place, made in
// `temp` (in the same folder) and moved over the file in one step. A sound file is copied by
// the engine's compaction; a damaged one is built anew from the rows that can still be read,
// with every index, trigger and stored query made afresh. Throws RepairError (with what went
// wrong, in Danish) and leaves the file as it was when no sound copy could be made.
void repairDatabaseFile(const std::filesystem::path& file, const std::filesystem::path& temp);

// The engine's full check of a file's structure and indexes: "ok", else the findings.
std::string checkDatabaseFile(const std::filesystem::path& file);

}  // namespace vemora
