#pragma once
// Small text helpers shared by every layer, and the one place where the program's UTF-8
// meets the Windows-1252 of club result files and exported text files.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace vemora {

// ---- Windows-1252 ------------------------------------------------------------------------

// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same number, and go back to their byte, so a file read and
// written again keeps every byte.
std::string cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string utf8ToCp1252(std::string_view utf8);

// Places the Windows-1252 form of a text at a 1-based byte position of a fixed-width line,
// cut or padded with blanks to the width; the line grows with blanks when it is shorter.
void placeField(std::string& line, size_t pos1, size_t width, std::string_view utf8);

// A text file as the club programs and the federation read them: Windows-1252, CR LF.
class Cp1252Writer {
public:
    explicit Cp1252Writer(const std::filesystem::path& file);
    // Converts a UTF-8 line and ends it with CR LF.
    void line(std::string_view utf8);
    // A line already in Windows-1252 (fixed-width records built with placeField).
    void encodedLine(std::string_view cp1252);
    // False once the file could not be opened or a write failed.
    bool ok() const { return static_cast<bool>(out_); }
    // Writes what is buffered and closes the file; false when that failed, so a caller that
    // renames the finished file into place can tell a complete file from a cut one.
    bool close();

private:
    std::ofstream out_;
};

// ---- text ------------------------------------------------------------------------------------

std::string trim(std::string_view s);  // blanks (spaces and tabs) at both ends
bool isBlank(std::string_view s);      // empty or only spaces
bool allDigits(std::string_view s);    // non-empty and only 0-9
// Equal without regard to case, as the engine compares names: ASCII letters and the
// Latin-1 letters of UTF-8 (Æ/æ, Ø/ø, Å/å, Ä/ä ...) fold.
bool iequals(std::string_view a, std::string_view b);
std::string upper(std::string_view s);  // ASCII upper case
// Puts "0" in front until the text has at least `width` characters ("7" -> "007").
std::string padZero(std::string_view s, size_t width);
// 1-based substring like the engine's Mid; positions past the end give "".
std::string mid(std::string_view s, size_t pos1, size_t len = std::string::npos);
// Whether a text fits a pattern in which "#" stands for one digit and every other character
// for itself, as the engine's Like with "#" does ("##-##-##").
bool matchesDigitPattern(std::string_view text, std::string_view pattern);
// Number of characters (not bytes) of a UTF-8 text.
size_t utf8Length(std::string_view s);

// A number as typed or stored as text: blanks around it are ignored, an optional sign,
// digits with at most one decimal point or comma. Anything else (letters, exponents, an
// empty text) is no number.
std::optional<double> parseNumber(std::string_view text);
// True when the text is a whole number by the rule above without a decimal separator.
bool isWholeNumber(std::string_view text);

// ---- files -----------------------------------------------------------------------------------

// A file in a folder whose name matches without regard to case; nullopt when none.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir, std::string_view name);
// The first file (by name) in a folder whose name, without regard to case, starts with the prefix.
std::optional<std::filesystem::path> findFirstWithPrefix(const std::filesystem::path& dir, std::string_view prefix);

}  // namespace vemora
