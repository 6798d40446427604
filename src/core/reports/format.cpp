#include "core/reports/format.h"

#include "core/base/dates.h"
#include "core/base/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace vemora::reports {

namespace {

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendGeneralNumber(std::string& out, double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        out += std::to_string(static_cast<int64_t>(d));
        return;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    for (char* p = buf; p < r.ptr; ++p) out.push_back(*p == '.' ? ',' : *p);
}

}  // namespace

bool parseFormat(std::string_view text, Format& out) {
    out = Format{};
    size_t start = 0;
    bool first = true;
    while (start <= text.size()) {
        size_t bar = text.find('|', start);
        std::string_view w = text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        if (w == "uden0") {
            out.blankZero = true;
        } else if (!first) {
            return false;
        } else if (w == "tekst") {
            out.kind = FormatKind::Text;
        } else if (w == "heltal") {
            out.kind = FormatKind::Integer;
        } else if (w == "kr") {
            out.kind = FormatKind::Number;
            out.decimals = 2;
        } else if (w == "tal") {
            out.kind = FormatKind::Number;
        } else if (startsWith(w, "tal") && w.size() == 4 && isDigit(w[3])) {
            out.kind = FormatKind::Number;
            out.decimals = w[3] - '0';
        } else if (w == "dato") {
            out.kind = FormatKind::Date;
        } else if (w == "tid") {
            out.kind = FormatKind::Time;
        } else if (w == "kryds") {
            out.kind = FormatKind::Cross;
        } else {
            return false;
        }
        first = false;
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return true;
}

std::string danishNumber(double v, int decimals, bool thousands) {
    if (!std::isfinite(v)) return "";
    double scale = std::pow(10.0, decimals);
    // The small nudge keeps 2.675 (stored as 2.67499999...) rounding up like the amount it is.
    double scaled = std::floor(std::fabs(v) * scale + 0.5 + 1e-9);
    bool negative = v < 0 && scaled > 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", scaled);
    std::string digits = buf;
    if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - decimals);
    std::string out = negative ? "-" : "";
    for (size_t i = 0; i < whole.size(); ++i) {
        if (thousands && i > 0 && (whole.size() - i) % 3 == 0) out.push_back('.');
        out.push_back(whole[i]);
    }
    if (decimals > 0) out += "," + digits.substr(digits.size() - decimals);
    return out;
}

std::string clockTime(std::string_view t) {
    int parts[3] = {0, 0, 0};
    int n = 0;
    size_t i = 0;
    while (n < 3) {
        size_t start = i;
        while (i < t.size() && isDigit(t[i])) ++i;
        size_t len = i - start;
        if (len == 0 || len > 2) return std::string(t);
        parts[n++] = std::stoi(std::string(t.substr(start, len)));
        if (i == t.size()) break;
        if (t[i] != ':' && t[i] != '.') return std::string(t);
        ++i;
    }
    if (n < 2 || i != t.size()) return std::string(t);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", parts[0], parts[1], parts[2]);
    return buf;
}

void appendFormatted(std::string& out, const Value& v, const Format& f) {
    switch (f.kind) {
        case FormatKind::General:
        case FormatKind::Text:
            if (v.isNull()) return;
            if (f.blankZero && v.isNumber() && v.toDouble() == 0) return;
            if (v.isText()) {
                out += v.text();
            } else if (f.kind == FormatKind::Text) {
                out += v.toText();
            } else {
                appendGeneralNumber(out, v.toDouble());
            }
            return;
        case FormatKind::Integer:
        case FormatKind::Number: {
            if (v.isNull()) return;
            std::optional<double> d = v.isNumber() ? std::optional<double>(v.toDouble()) : parseNumber(v.text());
            if (!d) {
                out += v.text();
                return;
            }
            if (f.blankZero && *d == 0) return;
            out += danishNumber(*d, f.kind == FormatKind::Integer ? 0 : f.decimals);
            return;
        }
        case FormatKind::Date:
            if (!v.isNull()) out += danishDate(v.toText());
            return;
        case FormatKind::Time:
            if (!v.isNull()) out += clockTime(v.toText());
            return;
        case FormatKind::Cross:
            if (v.toBool()) out.push_back('X');
            return;
    }
}

std::string formatValue(const Value& v, const Format& f) {
    std::string s;
    appendFormatted(s, v, f);
    return s;
}

}  // namespace vemora::reports
