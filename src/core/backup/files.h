#pragma once
// File handling shared by backup, restore and repair: the part file names, and replacing the
// section database so that it is never half-written.
#include <filesystem>
#include <string>

#include "core/base/dates.h"

namespace vemora {

inline const char* kTempFileName = "tempdata.mdb";
inline const char* kMarkerFileName = "BKUP.CNT";
constexpr size_t kBlockSize = 4096;

// "BKUP" + month and day of the date: the common part of a whole-database backup's part names.
std::string partStem(const Date& date);
// stem + "." + the part number in three digits ("BKUP0715.002").
std::string partName(const std::string& stem, int part);

// Writes a file's data through to the disk before it takes another file's place.
void syncFile(const std::filesystem::path& file);
// Puts `replacement` in the place of `target` in one step: a reader (or a program started
// after a crash) finds either the whole old file or the whole new one. Both must be in one
// folder; throws std::filesystem::filesystem_error.
void replaceFile(const std::filesystem::path& replacement, const std::filesystem::path& target);

}  // namespace vemora
