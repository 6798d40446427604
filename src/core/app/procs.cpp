#include "core/app/procs.h"

#include <cstdio>

#include "core/app/appstate.h"
#include "core/db/database.h"

namespace vemora {

Database& AppState::database() const {
    if (!db) throw DbError("Sektionsdatabasen er ikke åben.");
    return *db;
}

Ui& AppState::userInterface() const {
    static SilentUi silent;
    return ui ? *ui : silent;
}

void SetBusy(AppState& app, bool on) {
    if (on) {
        if (++app.busyCounter == 1) app.userInterface().busy(true);
    } else if (app.busyCounter > 0) {
        if (--app.busyCounter == 0) app.userInterface().busy(false);
    }
}

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

std::string raceCategory(std::string_view farvekode) {
    std::string p(farvekode.substr(0, std::min<size_t>(2, farvekode.size())));
    if (p >= "97" || p < "90") return "Privat";
    if (p == "95" || p == "96") return "Sektion";
    if (p.size() == 2 && p[0] >= '0' && p[0] <= '9' && p[1] >= '0' && p[1] <= '9') return "Ryx";
    return "";
}

bool isPrivateOrSection(std::string_view farvekode) {
    std::string c = raceCategory(farvekode);
    return c == "Privat" || c == "Sektion";
}

}  // namespace vemora
