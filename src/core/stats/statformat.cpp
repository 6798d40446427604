#include "core/stats/statformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/app/text.h"
#include "core/db/database.h"

namespace vemora {

namespace {

// The decimal digits of a number and where its decimal point sits among them
// (|v| = 0.digits x 10^pointAt), taken from the shortest text that reads back as the same
// double: that text is the number the secretary typed or the calculation meant.
struct Decimal {
    std::string digits;
    int pointAt = 0;
    bool negative = false;
};

Decimal decimalOf(const Value& v) {
    Decimal d;
    if (v.isInt()) {
        int64_t n = v.toInt();
        d.negative = n < 0;
        uint64_t m = d.negative ? uint64_t(0) - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
        d.digits = std::to_string(m);
        d.pointAt = static_cast<int>(d.digits.size());
        return d;
    }
    double x = v.toDouble();
    if (!std::isfinite(x)) x = 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(r.ptr - buf));  // "-1.2345e+03"
    if (!s.empty() && s[0] == '-') {
        d.negative = true;
        s.remove_prefix(1);
    }
    size_t e = s.find('e');
    for (char c : s.substr(0, e))
        if (c != '.') d.digits.push_back(c);
    int exp10 = 0;
    std::string_view ex = s.substr(e + 1);
    if (!ex.empty() && ex[0] == '+') ex.remove_prefix(1);
    std::from_chars(ex.data(), ex.data() + ex.size(), exp10);
    d.pointAt = exp10 + 1;
    return d;
}

// Adds one unit in the last place of a digit string; "999" becomes "1000".
void incrementDigits(std::string& s) {
    for (size_t i = s.size(); i-- > 0;) {
        if (s[i] != '9') {
            ++s[i];
            return;
        }
        s[i] = '0';
    }
    s.insert(s.begin(), '1');
}

std::string cp(const Value& v) { return utf8ToCp1252(v.toText()); }

// "0" put in front until the width; Null reads as an empty text.
std::string zeroPadded(const Value& v, size_t width) { return padZero(cp(v), width); }

// A whole-number field of the statistics line: "00000", its last five characters when longer.
std::string countField(const Value& v) { return v.isNull() ? "00000" : lastChars(formatNumber(v, 5, 0), 5); }

std::string flag(const Value& v) { return v.toBool() ? "1" : "0"; }

}  // namespace

std::string formatNumber(const Value& v, int intDigits, int decimals) {
    if (v.isInt() && decimals == 0 && v.toInt() >= 0) {  // the common case of counts and placings
        std::string s = std::to_string(v.toInt());
        if (s.size() < static_cast<size_t>(intDigits)) s.insert(0, static_cast<size_t>(intDigits) - s.size(), '0');
        return s;
    }
    Decimal d = decimalOf(v);
    std::string whole, frac;
    if (d.pointAt <= 0) {
        whole = "0";
        frac = std::string(static_cast<size_t>(-d.pointAt), '0') + d.digits;
    } else if (static_cast<size_t>(d.pointAt) >= d.digits.size()) {
        whole = d.digits + std::string(static_cast<size_t>(d.pointAt) - d.digits.size(), '0');
    } else {
        whole = d.digits.substr(0, static_cast<size_t>(d.pointAt));
        frac = d.digits.substr(static_cast<size_t>(d.pointAt));
    }
    auto places = static_cast<size_t>(decimals);
    // Half away from zero: the digit after the last kept place decides, whatever follows it.
    bool up = frac.size() > places && frac[places] >= '5';
    frac.resize(places, '0');
    if (up) {
        std::string all = whole + frac;
        incrementDigits(all);
        whole = all.substr(0, all.size() - places);
        frac = all.substr(all.size() - places);
    }
    while (whole.size() < static_cast<size_t>(intDigits)) whole.insert(whole.begin(), '0');
    bool zero = whole.find_first_not_of('0') == std::string::npos && frac.find_first_not_of('0') == std::string::npos;
    std::string out = d.negative && !zero ? "-" : "";
    out += whole;
    if (places) out += "," + frac;
    return out;
}

std::string lastChars(std::string_view s, size_t n) { return std::string(s.size() > n ? s.substr(s.size() - n) : s); }

// ---- race plan ---------------------------------------------------------------------------------

std::string stakesLine(const std::optional<PlanStakes>& stakes) {
    if (!stakes) return std::string(39, '0');
    auto f = [](const Value& v, int width) {
        return v.isNull() ? std::string(static_cast<size_t>(width), '0') : formatNumber(v, width, 0);
    };
    std::string line;
    for (const Value& v : stakes->a) line += f(v, 2);
    for (const Value& v : stakes->b) line += f(v, 2);
    for (const Value* v : {&stakes->klP, &stakes->klE, &stakes->slagspil, &stakes->klZ, &stakes->klR}) line += f(*v, 3);
    return line;
}

std::string planRaceLine(const PlanRace& r) {
    std::string line = zeroPadded(r.uge, 2);
    line += padZero(cp(r.farvekode).substr(0, 2), 2);
    line += zeroPadded(r.station, 3);
    line += r.gebyr.isNull() ? "00000" : formatNumber(r.gebyr, 5, 0);
    std::string lmu = upper(cp(r.lmu));
    line += lmu == "L" ? "1" : lmu == "M" ? "2" : lmu == "U" ? "3" : "0";
    for (const Value* v : {&r.klP, &r.klE, &r.klZ, &r.klR, &r.slagspilS, &r.slagspilA, &r.slagspilU, &r.slagspilX})
        line += flag(*v);
    line += std::string(9, ' ');
    line += r.gebyrSlag.isNull() ? "00000" : formatNumber(r.gebyrSlag, 5, 0);
    return line;
}

std::vector<std::string> BuildPlanText(Database& db) {
    std::vector<std::string> lines{"[INDSKUD]"};
    std::optional<PlanStakes> stakes;
    {
        Statement st = db.prepare("SELECT * FROM Indskud ORDER BY rowid LIMIT 1");
        if (st.step()) {
            PlanStakes s;
            for (int i = 0; i < 6; ++i) {
                s.a[i] = st["A_Klasse" + std::to_string(i + 1)];
                s.b[i] = st["B_Klasse" + std::to_string(i + 1)];
            }
            s.klP = st["Kl_P"];
            s.klE = st["Kl_E"];
            s.slagspil = st["Slagspil"];
            s.klZ = st["Kl_Z"];
            s.klR = st["Kl_R"];
            stakes = s;
        }
    }
    lines.push_back(stakesLine(stakes));
    lines.push_back("[KAPFLYVNINGER]");
    // Private and section races only: the national races are planned by the federation. Nr
    // last keeps two races of the same week and colour code in the order they were created.
    Statement st = db.prepare(
        "SELECT * FROM Kapflyvninger WHERE substr(Farvekode, 1, 2) >= '95' OR substr(Farvekode, 1, 2) < '90' "
        "ORDER BY Uge, Farvekode, Nr");
    while (st.step()) {
        PlanRace r{st["Uge"],        st["Farvekode"],  st["Station"],    st["Gebyr"],      st["LMU"],
                   st["Kl_P"],       st["Kl_E"],       st["Kl_Z"],       st["Kl_R"],       st["Slagspil_S"],
                   st["Slagspil_A"], st["Slagspil_U"], st["Slagspil_X"], st["GebyrSlag"]};
        lines.push_back(planRaceLine(r));
    }
    return lines;
}

// ---- statistics --------------------------------------------------------------------------------

std::string statLine(const StatRow& r, bool withClub) {
    std::string line = "9";
    line.reserve(withClub ? 81 : 78);
    // A race always has a week; a missing one is written as week 0 so the columns stay put.
    line += r.uge.isNull() ? "00" : formatNumber(r.uge, 2, 0);
    if (r.kk.isNull()) {
        line += "  ";
    } else {
        std::string kk = cp(r.kk);
        line += kk.size() < 2 ? std::string(2 - kk.size(), ' ') + kk : kk;
    }
    line += r.hastighed.isNull() ? std::string(7, ' ') : lastChars(formatNumber(r.hastighed, 4, 2), 7);
    // The ring number without its hyphens, by position: "123-45-6789" gives "123456789". A
    // damaged, shorter ring number is blank-filled so the columns after it stay in place.
    std::string ring = cp(r.ringnummer);
    std::string due = mid(ring, 1, 3) + mid(ring, 5, 2) + lastChars(ring, 4);
    due.resize(9, ' ');
    line += due;
    if (withClub) line += zeroPadded(r.forening, 3);
    line += zeroPadded(r.kodenr, 3);
    for (const Value* v : {&r.nrEgne, &r.antalEgne, &r.nrForening, &r.antalForening, &r.nrSektion, &r.antalSektion})
        line += countField(*v);
    line += "00000";
    line += zeroPadded(r.station, 3);
    // A bird without points (outside the first fifth) gets this fixed text as it stands, not a
    // formatted zero, so its separator is a point whatever the decimal comma of the others.
    line += r.point.isNull() ? "00000.00000" : formatNumber(r.point, 5, 5);
    line += countField(r.antalSlag);
    return line;
}

}  // namespace vemora
