#pragma once
// Whole files as bytes, and a database file with one of its pages damaged.
#include <filesystem>
#include <string>

namespace vemora::test {

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
// Writes bytes that are no b-tree page over the first page of the named table or index (the
// file must not be open).
void damagePage(const std::filesystem::path& file, const std::string& object);

}  // namespace vemora::test
