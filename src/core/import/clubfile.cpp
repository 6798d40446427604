#include "core/import/clubfile.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "core/base/text.h"

namespace vemora {

namespace fs = std::filesystem;

// ---- file names ------------------------------------------------------------------------------

std::optional<ClubFileName> parseClubFileName(std::string_view name) {
    if (name.size() < 3 || !iequals(name.substr(0, 3), "SEK")) return std::nullopt;
    size_t dot = name.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    size_t p = dot + 1;  // 1-based position of the first "."
    if (!(6 < p && p < name.size() - 1)) return std::nullopt;
    if (name[dot + 1] != 'U' && name[dot + 1] != 'u') return std::nullopt;
    ClubFileName n;
    n.club = std::string(name.substr(3, p - 6));
    n.week = std::string(name.substr(name.size() - (name.size() - p - 1)));
    // A week the season cannot have would create races no list shows.
    if (!clubFileWeek(n.week)) return std::nullopt;
    return n;
}

std::optional<int> clubFileWeek(std::string_view week) {
    if (!allDigits(week)) return std::nullopt;
    size_t first = week.find_first_not_of('0');
    if (first == std::string_view::npos || week.size() - first > 2) return std::nullopt;
    int w = std::stoi(std::string(week.substr(first)));
    if (w < 1 || w > 53) return std::nullopt;
    return w;
}

std::string clubFileName(std::string_view club, std::string_view week) {
    return "SEK" + std::string(club) + "01.U" + std::string(week);
}

std::string clubFileEntry(const ClubFileName& n) { return "Forening " + n.club + " uge " + n.week; }

ClubFileName entryToClubFile(std::string_view entry) {
    ClubFileName n;
    if (entry.size() >= 10) {
        std::string_view from = entry.substr(9);
        n.club = std::string(from.substr(0, from.find(' ')));
    }
    size_t last = entry.rfind(' ');
    n.week = last == std::string_view::npos ? std::string() : std::string(entry.substr(last + 1));
    return n;
}

fs::path clubFilePath(const fs::path& folder, std::string_view entry) {
    ClubFileName n = entryToClubFile(entry);
    std::string name = clubFileName(n.club, n.week);
    fs::path exact = folder / name;
    std::error_code ec;
    if (!fs::exists(exact, ec))
        if (auto found = findFileNoCase(folder, name)) return *found;
    return exact;
}

std::vector<std::string> listClubFiles(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe)) continue;
        std::string n = it->path().filename().string();
        if (parseClubFileName(n)) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> entries;
    for (const auto& n : names) entries.push_back(clubFileEntry(*parseClubFileName(n)));
    return entries;
}

// ---- layouts ---------------------------------------------------------------------------------

Layout layoutForVersion(std::string_view v) {
    // std::string_view compares through char_traits<char>, which orders by unsigned code.
    if (v < "1.2") return Layout::L1;
    if (v < "2.2") return Layout::L2;
    if (v < "3.1") return Layout::L3;
    if (v < "3.8") return Layout::L4;
    if (v < "3.A") return Layout::L5;
    return Layout::L6;
}

std::string versionForLayout(Layout l) {
    switch (l) {
        case Layout::L1: return "1.0";
        case Layout::L2: return "2.0";
        case Layout::L3: return "3.0";
        case Layout::L4: return "3.5";
        case Layout::L5: return "3.8";
        case Layout::L6: return "3.A";
    }
    return "";
}

// ---- fields ----------------------------------------------------------------------------------

std::string field(std::string_view line, size_t pos1, size_t len) {
    std::string out(len, ' ');
    if (pos1 >= 1 && pos1 - 1 < line.size()) {
        std::string_view part = line.substr(pos1 - 1, len);
        std::copy(part.begin(), part.end(), out.begin());
    }
    return out;
}

std::string rest(std::string_view line, size_t pos1) {
    if (pos1 < 1 || pos1 - 1 >= line.size()) return {};
    return std::string(line.substr(pos1 - 1));
}

namespace {

[[noreturn]] void refuse(const std::string& what, std::string_view text) {
    std::string shown = trim(text);
    throw ClubFileDataError(what + ": \"" + cp1252ToUtf8(shown.empty() ? text : shown) + "\"");
}

// A number as the database would take it from text: blanks around it, an optional sign, a
// decimal point or comma. Blank gives Null; anything else is refused.
Value number(std::string_view raw, const char* what) {
    std::string t = trim(raw);
    if (t.empty()) return {};
    std::string s = t;
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    size_t digits = 0, seps = 0;
    for (size_t k = i; k < s.size(); ++k) {
        if (s[k] >= '0' && s[k] <= '9') {
            ++digits;
        } else if ((s[k] == '.' || s[k] == ',') && seps == 0) {
            ++seps;
            s[k] = '.';
        } else {
            refuse(what, raw);
        }
    }
    if (digits == 0) refuse(what, raw);
    if (seps == 0 && digits <= 18) {
        int64_t v = 0;
        std::from_chars(s.data() + (s[0] == '+' ? 1 : 0), s.data() + s.size(), v);
        return Value(static_cast<long long>(v));
    }
    // from_chars ignores the process locale, which the desktop program sets to Danish.
    double d = 0;
    const char* b = s.data() + (s[0] == '+' ? 1 : 0);
    if (std::from_chars(b, s.data() + s.size(), d).ec != std::errc()) refuse(what, raw);
    return Value(d);
}

// A one-character game class: blank is 0, a digit its value.
int digitOrZero(char c, const char* what) {
    if (c == ' ') return 0;
    if (c < '0' || c > '9') refuse(what, std::string_view(&c, 1));
    return c - '0';
}

// HHMMSS as "HH:MM:SS"; all blank is Null.
Value clockTime(std::string_view raw, const char* what) {
    if (isBlank(raw)) return {};
    std::string s(raw);
    std::replace(s.begin(), s.end(), ' ', '0');
    if (!allDigits(s)) refuse(what, raw);
    int h = std::stoi(s.substr(0, 2)), m = std::stoi(s.substr(2, 2)), sec = std::stoi(s.substr(4, 2));
    if (h > 23 || m > 59 || sec > 59) refuse(what, raw);
    return Value(s.substr(0, 2) + ":" + s.substr(2, 2) + ":" + s.substr(4, 2));
}

Value textOrNull(std::string_view raw) { return isBlank(raw) ? Value() : Value(cp1252ToUtf8(raw)); }

// The year, month and day are put together the way a date serial does, so a day or month past
// the end rolls over into the next month or year instead of failing.
Date dateSerial(int y, int m, int d) {
    using namespace std::chrono;
    int total = y * 12 + (m - 1);
    int yy = total / 12, mm = total % 12 + 1;
    sys_days first{year(yy) / month(static_cast<unsigned>(mm)) / day(1)};
    return Date{first + days(d - 1)};
}

struct LayoutPositions {
    size_t kryds = 0, krydsTLen = 0, junior = 0, pensionist = 0, begynder = 0, kode = 0, klZ = 0, klR = 0, afstand = 0,
           omrade = 0, navn = 0;
};

// One row per layout; 0 = the layout has no such field.
const LayoutPositions& positions(Layout l) {
    static const std::array<LayoutPositions, 6> table{{
        // kryds krydsT junior pens begyn kode klZ klR afstand område navn
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 53},          // L1
        {53, 1, 54, 0, 0, 0, 0, 0, 0, 0, 55},        // L2
        {53, 1, 54, 55, 56, 57, 60, 61, 0, 0, 62},   // L3
        {53, 1, 54, 55, 56, 57, 60, 61, 62, 0, 69},  // L4
        {53, 1, 54, 55, 56, 57, 60, 61, 62, 69, 74}, // L5
        {53, 10, 63, 64, 65, 66, 69, 70, 71, 78, 83},  // L6
    }};
    return table[static_cast<int>(l) - 1];
}

char at(std::string_view line, size_t pos1) { return field(line, pos1, 1)[0]; }

}  // namespace

int colourIndex(std::string_view cc) {
    if (cc.size() != 2 || !allDigits(cc)) refuse("Farvekode", cc);
    return (cc[0] - '0') * 10 + (cc[1] - '0');
}

// ---- records ---------------------------------------------------------------------------------

HeaderRecord parseHeader(std::string_view line) {
    HeaderRecord h;
    h.club = rest(line, 2).substr(0, 3);
    h.version = rest(line, 5);
    if (line.size() > 7) h.name = Value(cp1252ToUtf8(line.substr(4, line.size() - 7)));
    return h;
}

RaceRecord parseRace(std::string_view line, int currentYear) {
    RaceRecord r;
    r.cc = field(line, 2, 2);
    r.dateDigits = field(line, 4, 6);
    if (allDigits(r.dateDigits)) {
        int d = std::stoi(r.dateDigits.substr(0, 2)), m = std::stoi(r.dateDigits.substr(2, 2));
        int y = FourDigitYear(r.dateDigits.substr(4, 2), currentYear);
        r.date = dateSerial(y, m, d);
    }
    r.timeField = cp1252ToUtf8(field(line, 10, 5));
    r.time = trim(r.timeField);
    r.stationField = field(line, 18, 3);
    if (allDigits(r.stationField)) r.station = r.stationField;
    r.stationRest = cp1252ToUtf8(rest(line, 21));
    r.stationName = trim(r.stationRest);
    r.length = line.size();
    return r;
}

Value birdLoftName(std::string_view line, Layout layout) {
    size_t from = positions(layout).navn;
    if (line.size() <= from - 1) return {};
    return Value(cp1252ToUtf8(rest(line, from)));
}

BirdRecord parseBird(std::string_view line, Layout layout) {
    BirdRecord b;
    b.cc = field(line, 2, 2);
    b.slag = textOrNull(field(line, 4, 3));
    b.ring = cp1252ToUtf8(field(line, 7, 3)) + "-" + cp1252ToUtf8(field(line, 10, 2)) + "-" + cp1252ToUtf8(field(line, 12, 4));
    b.kon = textOrNull(field(line, 16, 1));
    b.sportsdue = at(line, 17) != ' ';
    b.sektionA = digitOrZero(at(line, 18), "Sektion A");
    b.sektionB = digitOrZero(at(line, 19), "Sektion B");
    b.gruppeA = digitOrZero(at(line, 20), "Gruppe A");
    b.gruppeB = digitOrZero(at(line, 21), "Gruppe B");
    b.pulje = at(line, 22) != ' ';
    b.elite = at(line, 23) != ' ';
    b.hjemkomst = clockTime(field(line, 24, 6), "HjemKomst");
    b.korrigeret = clockTime(field(line, 30, 6), "Korrigeret hjemkomst");
    b.dogn = number(field(line, 36, 1), "Døgn");
    b.speed = number(field(line, 37, 16), "Meter / min");

    const LayoutPositions& p = positions(layout);
    auto flag = [&](size_t pos, char only) -> Keep<bool> {
        char c = at(line, pos);
        if (c == ' ') return std::nullopt;
        return only ? c == only : true;
    };
    if (p.kryds) {
        b.foreningskryds = flag(p.kryds, 0);
        b.foreningskrydsT = textOrNull(trim(field(line, p.kryds, p.krydsTLen)));
        b.junior = flag(p.junior, 'J');
    }
    if (p.pensionist) {
        b.pensionist = flag(p.pensionist, 'P');
        b.begynder = flag(p.begynder, 'B');
        for (int i = 0; i < 3; ++i) {
            char c = at(line, p.kode + i);
            if (c != ' ') b.kode[i] = cp1252ToUtf8(std::string_view(&c, 1));
        }
        b.klZ = at(line, p.klZ) != ' ';
        b.klR = at(line, p.klR) != ' ';
    }
    if (p.afstand) {
        std::string a = field(line, p.afstand, 7);
        b.afstand = Value();
        // Whole kilometres plus metres, computed as one division so the decimal is rounded once.
        if (allDigits(a)) b.afstand = Value(std::stoi(a) / 1000.0);
    }
    if (p.omrade) b.omrade = textOrNull(trim(field(line, p.omrade, 5)));
    b.slagNavn = birdLoftName(line, layout);
    return b;
}

LoftGameRecord parseLoftGame(std::string_view line) {
    LoftGameRecord g;
    g.cc = field(line, 2, 2);
    g.slag = cp1252ToUtf8(field(line, 4, 3));
    if (line.size() > 6) g.slagNavn = Value(cp1252ToUtf8(rest(line, 7)));
    return g;
}

PaymentRecord parsePayment(std::string_view line) {
    PaymentRecord p;
    p.cc = field(line, 2, 2);
    p.amount = number(field(line, 4, 10), "Indbetalt");
    return p;
}

FactorRecord parseFactor(std::string_view line) {
    FactorRecord f;
    std::string km = field(line, 2, 4), fak = field(line, 6, 7);
    f.km = number(km, "KM");
    Value raw = number(fak, "Faktor");
    if (f.km.isNull()) refuse("KM", km);
    if (raw.isNull()) refuse("Faktor", fak);
    f.faktor = Value(raw.toDouble() / 1000.0);
    return f;
}

}  // namespace vemora
