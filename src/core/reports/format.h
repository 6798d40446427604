#pragma once
// How a value is printed on paper: Danish numbers (decimal comma, thousands separator),
// dates dd-mm-yyyy, times hh:mm:ss and Booleans as X. The printouts go to clubs and members,
// so they are formatted the Danish way whatever the machine's own settings are.
#include <string>
#include <string_view>

#include "core/db/value.h"

namespace vemora::reports {

enum class FormatKind { General, Text, Integer, Number, Date, Time, Cross };

struct Format {
    FormatKind kind = FormatKind::General;
    int decimals = 0;        // Number: digits after the comma
    bool blankZero = false;  // a zero (or Null) number prints as nothing
};

// Reads a format text such as "kr", "tal2", "dato", "heltal|uden0"; false on an unknown word.
bool parseFormat(std::string_view text, Format& out);

// Appends the printed form of a value to `out`.
void appendFormatted(std::string& out, const Value& v, const Format& f);
std::string formatValue(const Value& v, const Format& f);

// A number with the given decimals, a comma before them and a point between thousands:
// 1234.5 with 2 decimals is "1.234,50". Halves round away from zero.
std::string danishNumber(double v, int decimals, bool thousands = true);
// "7:05", "07.05" or "07:05:09" as "07:05:09"; other texts unchanged.
std::string clockTime(std::string_view t);

}  // namespace vemora::reports
