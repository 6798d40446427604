#pragma once
// Procedures shared across the subsystems, under the names the forms call them by. (The
// race category rule lives with the colour codes in core/domain/catalogue.h.)
#include <optional>
#include <string>
#include <string_view>

#include "core/db/value.h"

namespace vemora {

class Database;

// An empty text becomes Null; anything else is returned unchanged.
Value NullIfEmpty(const Value& v);
// Both Null, or both non-Null and equal.
bool VariantsEqual(const Value& a, const Value& b);
// A number as SQL text with a decimal point, whatever the user's decimal separator.
std::string SqlNumber(double d);
// The first run of digits (at most two) of Generelt.Sektionsnavn, zero-padded; Null when
// the name holds no two adjacent digits.
Value GetSectionNumber(Database& db);

}  // namespace vemora
