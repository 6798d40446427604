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

// Whether a text is UTF-8 rather than Windows-1252, told from its bytes fed in pieces of any
// size: UTF-8 when it has at least one multi-byte character (a byte-order mark counts) and
// nothing that is not valid UTF-8. Plain ASCII reads the same either way and counts as
// Windows-1252; so does a Windows-1252 text, since its letters æ, ø, å never form valid UTF-8.
class Utf8Detector {
public:
    void feed(std::string_view bytes);
    // After the last piece.
    bool isUtf8() const { return !invalid_ && pending_.empty() && multiByte_; }

private:
    std::string pending_;  // a sequence cut off at the end of the last piece
    bool invalid_ = false, multiByte_ = false;
};

// A text file written by another program (a club program), read line by line as Windows-1252
// bytes, so that one character is one byte and fixed positions are byte positions. The files
// are Windows-1252 by definition, but club programs on newer systems write UTF-8: a file that
// Utf8Detector takes for UTF-8 is converted line by line, and a byte-order mark is dropped.
// Lines end at CR LF, LF or a lone CR. Only regular files are opened: a pipe or a device
// would block the program until someone writes to it.
class Cp1252Reader {
public:
    explicit Cp1252Reader(const std::filesystem::path& file);
    bool isOpen() const { return open_; }
    // The next line without its line end; false at the end of the file. Throws
    // std::runtime_error when the file cannot be read.
    bool next(std::string& line);
    // 1-based number of the line next() returned last.
    size_t lineNumber() const { return lineNumber_; }
    bool wasUtf8() const { return utf8_; }

private:
    bool fill();
    std::ifstream in_;
    std::string buf_;
    size_t pos_ = 0, lineNumber_ = 0;
    bool open_ = false, utf8_ = false;
};

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

// A regular file in a folder whose name matches without regard to case; nullopt when none.
// Folders, pipes and devices of that name are passed over: reading them could block.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir, std::string_view name);
// The first file (by name) in a folder whose name, without regard to case, starts with the prefix.
std::optional<std::filesystem::path> findFirstWithPrefix(const std::filesystem::path& dir, std::string_view prefix);

}  // namespace vemora
