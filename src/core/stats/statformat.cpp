#include "core/stats/statformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/base/text.h"
#include "core/db/database.h"

namespace vemora {

namespace {

// The digits of a number and where its decimal point sits among them (|v| = 0.digits x
// 10^pointAt). A double is taken by the shortest text that reads back as the same double:
// that text is the number the secretary typed or the calculation meant.
// The Windows-1252 bytes of a value's text; plain ASCII, the usual case, needs no conversion.
std::string windows1252(const Value& v) {
    std::string t = v.toText();
    for (char c : t)
        if (static_cast<unsigned char>(c) >= 0x80) return utf8ToCp1252(t);
    return t;
}

struct Decimal {
    char digits[24];
    int count = 0;
    int pointAt = 0;
    bool negative = false;
};

Decimal decimalOf(const Value& v) {
    Decimal d;
    if (v.isInt()) {
        int64_t n = v.toInt();
        d.negative = n < 0;
        uint64_t m = d.negative ? uint64_t(0) - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
        d.count = static_cast<int>(std::to_chars(d.digits, d.digits + sizeof d.digits, m).ptr - d.digits);
        d.pointAt = d.count;
        return d;
    }
    double x = v.toDouble();
    if (!std::isfinite(x)) x = 0;
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);  // "-1.2345e+03"
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.') d.digits[d.count++] = *p;
    int exp10 = 0;
    if (p < r.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), r.ptr, exp10);
    d.pointAt = exp10 + 1;
    return d;
}

// "0" put in front until the width; Null reads as an empty text.
void appendZeroPadded(std::string& out, const Value& v, size_t width) {
    std::string t = windows1252(v);
    if (t.size() < width) out.append(width - t.size(), '0');
    out += t;
}

// A number field, cut to its last `last` characters when it comes out longer.
void appendLast(std::string& out, const Value& v, int intDigits, int decimals, size_t last) {
    size_t from = out.size();
    appendNumber(out, v, intDigits, decimals);
    if (out.size() - from > last) out.erase(from, out.size() - from - last);
}

// A whole-number field of the statistics line: "00000", its last five characters when longer.
void appendCount(std::string& out, const Value& v) {
    if (v.isNull()) out += "00000";
    else appendLast(out, v, 5, 0, 5);
}

std::string flag(const Value& v) { return v.toBool() ? "1" : "0"; }

}  // namespace

void appendNumber(std::string& out, const Value& v, int intDigits, int decimals) {
    if (v.isInt() && decimals == 0 && v.toInt() >= 0) {  // counts and placings, most of a line
        char buf[24];
        auto len = static_cast<int>(std::to_chars(buf, buf + sizeof buf, v.toInt()).ptr - buf);
        if (len < intDigits) out.append(static_cast<size_t>(intDigits - len), '0');
        out.append(buf, static_cast<size_t>(len));
        return;
    }
    Decimal d = decimalOf(v);
    // The kept digits: from the units place (or the first digit) to the last decimal place,
    // positions counted like d.digits, with zeros outside the digits there are.
    int first = std::min(0, d.pointAt - 1), end = d.pointAt + decimals;
    std::string kept;
    kept.reserve(static_cast<size_t>(end - first + 1));
    for (int pos = first; pos < end; ++pos) kept.push_back(pos >= 0 && pos < d.count ? d.digits[pos] : '0');
    // Half away from zero: the digit after the last kept place decides, whatever follows it.
    if (end >= 0 && end < d.count && d.digits[end] >= '5') {
        size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i > 0) ++kept[i - 1];
        else kept.insert(kept.begin(), '1');
    }
    auto places = static_cast<size_t>(decimals);
    size_t whole = kept.size() - places;
    if (d.negative && kept.find_first_not_of('0') != std::string::npos) out += '-';
    if (whole < static_cast<size_t>(intDigits)) out.append(static_cast<size_t>(intDigits) - whole, '0');
    out.append(kept, 0, whole);
    if (places) {
        out += ',';
        out.append(kept, whole, places);
    }
}

std::string formatNumber(const Value& v, int intDigits, int decimals) {
    std::string out;
    appendNumber(out, v, intDigits, decimals);
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
    std::string line;
    appendZeroPadded(line, r.uge, 2);
    line += padZero(utf8ToCp1252(r.farvekode.toText()).substr(0, 2), 2);
    appendZeroPadded(line, r.station, 3);
    line += r.gebyr.isNull() ? "00000" : formatNumber(r.gebyr, 5, 0);
    std::string lmu = upper(utf8ToCp1252(r.lmu.toText()));
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

void appendStatLine(std::string& line, const StatRow& r, bool withClub) {
    line += '9';
    // A race always has a week; a missing one is written as week 0 so the columns stay put.
    if (r.uge.isNull()) line += "00";
    else appendNumber(line, r.uge, 2, 0);
    if (r.kk.isNull()) {
        line += "  ";
    } else {
        std::string kk = windows1252(r.kk);
        if (kk.size() < 2) line.append(2 - kk.size(), ' ');
        line += kk;
    }
    if (r.hastighed.isNull()) line.append(7, ' ');
    else appendLast(line, r.hastighed, 4, 2, 7);
    // The ring number without its hyphens, by position: "123-45-6789" gives "123456789". A
    // damaged, shorter ring number is blank-filled so the columns after it stay in place.
    std::string ring = windows1252(r.ringnummer);
    size_t at = line.size();
    line += mid(ring, 1, 3);
    line += mid(ring, 5, 2);
    line += lastChars(ring, 4);
    line.resize(at + 9, ' ');
    if (withClub) appendZeroPadded(line, r.forening, 3);
    appendZeroPadded(line, r.kodenr, 3);
    for (const Value* v : {&r.nrEgne, &r.antalEgne, &r.nrForening, &r.antalForening, &r.nrSektion, &r.antalSektion})
        appendCount(line, *v);
    line += "00000";
    appendZeroPadded(line, r.station, 3);
    // A bird without points (outside the first fifth) gets this fixed text as it stands, not a
    // formatted zero, so its separator is a point whatever the decimal comma of the others.
    if (r.point.isNull()) line += "00000.00000";
    else appendNumber(line, r.point, 5, 5);
    appendCount(line, r.antalSlag);
}

std::string statLine(const StatRow& r, bool withClub) {
    std::string line;
    line.reserve(withClub ? 81 : 78);
    appendStatLine(line, r, withClub);
    return line;
}

}  // namespace vemora
