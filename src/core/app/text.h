#pragma once
// Small text helpers shared by every subsystem, and the one place where the program's UTF-8
// meets the Windows-1252 of club result files and exported text files.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vemora {

std::string cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string utf8ToCp1252(std::string_view utf8);

std::string trim(std::string_view s);  // blanks (spaces and tabs) at both ends
bool isBlank(std::string_view s);      // empty or only spaces
bool allDigits(std::string_view s);    // non-empty and only 0-9
bool iequals(std::string_view a, std::string_view b);  // ASCII case-insensitive
std::string upper(std::string_view s);                 // ASCII upper case
// Puts "0" in front until the text has at least `width` characters ("7" -> "007").
std::string padZero(std::string_view s, size_t width);
// 1-based substring like the engine's Mid; positions past the end give "".
std::string mid(std::string_view s, size_t pos1, size_t len = std::string::npos);
// Number of characters (not bytes) of a UTF-8 text.
size_t utf8Length(std::string_view s);

// A file in a folder whose name matches without regard to case; nullopt when none.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir, std::string_view name);
// The first file (by name) in a folder whose name, without regard to case, starts with the prefix.
std::optional<std::filesystem::path> findFirstWithPrefix(const std::filesystem::path& dir, std::string_view prefix);

}  // namespace vemora
