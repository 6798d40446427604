#pragma once
// The club result file: its name, its layouts and its records, read from the Windows-1252
// bytes the club programs write. Positions are byte positions in the raw line (one byte is
// one character in that code page); texts are converted to UTF-8 as they leave the reader.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/dates.h"
#include "core/base/text.h"
#include "core/db/value.h"

namespace vemora {

// A field whose characters the database would refuse for its type (letters in a number).
class ClubFileDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ---- file names ----------------------------------------------------------------------------

struct ClubFileName {
    std::string club;  // as written in the name, "123"
    std::string week;  // as written in the name, "23"
};

// "SEK" + club + "01.U" + week; nullopt for names the folder listing does not accept, which
// include weeks that are not a whole number from 1 to 53.
std::optional<ClubFileName> parseClubFileName(std::string_view fileName);
std::string clubFileName(std::string_view club, std::string_view week);
// The list entry shown for a file: "Forening 123 uge 23".
std::string clubFileEntry(const ClubFileName& n);
// Club and week taken back from a list entry.
ClubFileName entryToClubFile(std::string_view entry);
std::filesystem::path clubFilePath(const std::filesystem::path& folder, std::string_view entry);
// The entries of the folder's club result files, in the order of their file names.
std::vector<std::string> listClubFiles(const std::filesystem::path& folder);
// The week of a file name or list entry, when it is a whole number from 1 to 53.
std::optional<int> clubFileWeek(std::string_view week);

// ---- layouts -------------------------------------------------------------------------------

enum class Layout { L1 = 1, L2, L3, L4, L5, L6 };

// Versions compare as text by character code, so "3.10" is below "3.8".
Layout layoutForVersion(std::string_view version);
// A version text that selects the layout (used by the writer).
std::string versionForLayout(Layout l);

// ---- records ---------------------------------------------------------------------------------

// Positions past the end of a short line read as blanks.
std::string field(std::string_view line, size_t pos1, size_t len);
// The rest of the line from pos1 (possibly empty).
std::string rest(std::string_view line, size_t pos1);

struct HeaderRecord {
    std::string club;     // positions 2-4
    std::string version;  // position 5 to the end
    Value name;           // a new club's name; Null when the line is 7 characters or fewer
};

struct RaceRecord {
    std::string cc;                    // positions 2-3
    std::string dateDigits;            // positions 4-9 as written
    std::optional<Date> date;          // only when all six are digits
    std::string timeField;             // positions 10-14 as written (five characters)
    std::string time;                  // trimmed; empty = no release time
    std::string stationField;          // positions 18-20 as written
    std::optional<std::string> station;  // only when all three are digits
    std::string stationRest;           // position 21 to the end, untrimmed (UTF-8)
    std::string stationName;           // trimmed (UTF-8)
    size_t length = 0;                 // of the raw line
};

// A field that a blank leaves as it was in the row: nullopt = leave.
template <typename T>
using Keep = std::optional<T>;

struct BirdRecord {
    std::string cc;
    Value slag;  // Null when blank
    std::string ring;
    Value kon;   // Null when blank
    bool sportsdue = false;
    int sektionA = 0, sektionB = 0, gruppeA = 0, gruppeB = 0;
    bool pulje = false, elite = false;
    Value hjemkomst, korrigeret;  // "HH:MM:SS" or Null
    Value dogn;                   // number or Null
    Value speed;                  // number or Null

    // From position 53, by layout; fields the layout lacks stay nullopt.
    Keep<bool> foreningskryds;
    std::optional<Value> foreningskrydsT;  // Null when blank
    Keep<bool> junior, pensionist, begynder;
    std::array<Keep<std::string>, 3> kode;
    std::optional<bool> klZ, klR;  // nullopt in L1, L2
    std::optional<Value> afstand;  // L4 on: number or Null
    std::optional<Value> omrade;   // L5 on: trimmed text or Null
    Value slagNavn;                // the rest of the line, Null when there is none

    bool operator==(const BirdRecord&) const = default;
};

struct LoftGameRecord {
    std::string cc;
    std::string slag;  // positions 4-6 as written
    Value slagNavn;    // Null when the line has 6 characters or fewer
};

struct PaymentRecord {
    std::string cc;
    Value amount;  // number, Null when blank
};

struct FactorRecord {
    Value km;      // number
    Value faktor;  // number / 1000
};

// Each parser takes the raw line (Windows-1252 bytes, no line end) and throws
// ClubFileDataError for characters the database would refuse.
HeaderRecord parseHeader(std::string_view line);
RaceRecord parseRace(std::string_view line, int currentYear);
BirdRecord parseBird(std::string_view line, Layout layout);
LoftGameRecord parseLoftGame(std::string_view line);
PaymentRecord parsePayment(std::string_view line);
FactorRecord parseFactor(std::string_view line);

// The loft name of a bird line by layout (used for ImportFejl without parsing the rest).
Value birdLoftName(std::string_view line, Layout layout);
// The race's index 0..99 from its two colour-code digits; throws for anything else.
int colourIndex(std::string_view cc);

// ---- reading ---------------------------------------------------------------------------------

// A club result file is read like any text file from the club programs: Windows-1252 or
// UTF-8 converted to it, lines ending at CR LF, LF or a lone CR.
using ClubFileReader = Cp1252Reader;

}  // namespace vemora
