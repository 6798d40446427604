#include "core/app/procs.h"

#include <cstdio>

#include "core/db/database.h"

namespace vemora {

Value NullIfEmpty(const Value& v) {
    if (v.isText() && v.text().empty()) return Value();
    return v;
}

bool VariantsEqual(const Value& a, const Value& b) { return a == b; }

std::string SqlNumber(double d) {
    // The C library formats with the process's numeric locale, which the GUI sets from the
    // user's regional settings; the first comma is therefore turned into a point.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    std::string s = buf;
    auto comma = s.find(',');
    if (comma != std::string::npos) s[comma] = '.';
    return s;
}

Value GetSectionNumber(Database& db) {
    Value name = db.scalar("SELECT Sektionsnavn FROM Generelt WHERE Sektionsnavn GLOB '*[0-9][0-9]*'");
    if (name.isNull()) return {};
    std::string digits;
    for (char c : name.toText()) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            if (digits.size() == 2) break;
        } else if (!digits.empty()) {
            break;
        }
    }
    while (digits.size() < 2) digits.insert(digits.begin(), '0');
    return Value(digits);
}

}  // namespace vemora
