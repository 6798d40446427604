#include "core/base/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace vemora {

namespace fs = std::filesystem;

// Windows-1252 0x80..0x9F; 0 marks the five undefined positions.
static const char16_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                   0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                   0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

static void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) out.push_back(static_cast<char>(c));
        else if (c < 0xA0) appendUtf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : c);
        else appendUtf8(out, c);
    }
    return out;
}

// The next code point of a UTF-8 text; a byte that starts no valid sequence is returned
// as 0x110000 + byte, which no character equals.
static uint32_t nextCodepoint(std::string_view s, size_t& i) {
    auto at = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = at(i);
    auto cont = [&](size_t k) { return k < s.size() && (at(k) & 0xC0) == 0x80; };
    if (c < 0x80) {
        ++i;
        return c;
    }
    if ((c >> 5) == 6 && cont(i + 1)) {
        uint32_t cp = ((c & 0x1Fu) << 6) | (at(i + 1) & 0x3Fu);
        i += 2;
        return cp;
    }
    if ((c >> 4) == 14 && cont(i + 1) && cont(i + 2)) {
        uint32_t cp = ((c & 0x0Fu) << 12) | ((at(i + 1) & 0x3Fu) << 6) | (at(i + 2) & 0x3Fu);
        i += 3;
        return cp;
    }
    if ((c >> 3) == 30 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
        uint32_t cp = ((c & 0x07u) << 18) | ((at(i + 1) & 0x3Fu) << 12) | ((at(i + 2) & 0x3Fu) << 6) | (at(i + 3) & 0x3Fu);
        i += 4;
        return cp;
    }
    ++i;
    return 0x110000u + c;
}

std::string utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        uint32_t cp = nextCodepoint(s, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            // An undefined position came in as the control character of its own number.
            if (kHigh[k] ? kHigh[k] == cp : cp == 0x80u + static_cast<uint32_t>(k)) mapped = static_cast<char>(0x80 + k);
        }
        out.push_back(mapped);
    }
    return out;
}

void placeField(std::string& line, size_t pos1, size_t width, std::string_view utf8) {
    std::string bytes = utf8ToCp1252(utf8);
    bytes.resize(width, ' ');
    if (line.size() < pos1 - 1 + width) line.resize(pos1 - 1 + width, ' ');
    line.replace(pos1 - 1, width, bytes);
}

// Length of the valid UTF-8 sequence that starts at s[i] (1 to 4); 0 when the bytes there
// start none (overlong forms, surrogates and code points past U+10FFFF included); -1 when
// the text ends inside a sequence that is valid so far.
static int utf8SequenceAt(std::string_view s, size_t i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return 1;
    int len;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    for (int k = 1; k < len; ++k) {
        if (i + static_cast<size_t>(k) >= s.size()) return -1;
        auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if (k == 1 ? (b < lo || b > hi) : (b & 0xC0) != 0x80) return 0;
    }
    return len;
}

void Utf8Detector::feed(std::string_view bytes) {
    if (invalid_) return;
    std::string joined;
    if (!pending_.empty()) {
        joined = pending_ + std::string(bytes);
        bytes = joined;
        pending_.clear();
    }
    for (size_t i = 0; i < bytes.size();) {
        int n = utf8SequenceAt(bytes, i);
        if (n == 0) {
            invalid_ = true;
            return;
        }
        if (n < 0) {
            pending_ = std::string(bytes.substr(i));
            return;
        }
        if (n > 1) multiByte_ = true;
        i += static_cast<size_t>(n);
    }
}

Cp1252Reader::Cp1252Reader(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return;
    in_.open(file, std::ios::binary);
    if (!in_) return;
    // The code page is told from the whole file before its first line is read, so that every
    // line of a file is read the same way.
    Utf8Detector detector;
    std::string piece(1 << 16, '\0');
    bool first = true, mark = false;
    while (in_) {
        in_.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        auto n = static_cast<size_t>(in_.gcount());
        if (first) mark = n >= 3 && piece.compare(0, 3, "\xEF\xBB\xBF") == 0;
        first = false;
        detector.feed(std::string_view(piece.data(), n));
    }
    if (in_.bad()) return;
    utf8_ = detector.isUtf8();
    in_.clear();
    in_.seekg(mark ? 3 : 0);
    open_ = static_cast<bool>(in_);
}

bool Cp1252Reader::fill() {
    buf_.resize(1 << 16);
    in_.read(buf_.data(), static_cast<std::streamsize>(buf_.size()));
    if (in_.bad()) throw std::runtime_error("Filen kunne ikke læses.");
    buf_.resize(static_cast<size_t>(in_.gcount()));
    pos_ = 0;
    return !buf_.empty();
}

bool Cp1252Reader::next(std::string& line) {
    line.clear();
    if (!open_) return false;
    bool any = false;
    for (;;) {
        if (pos_ >= buf_.size() && !fill()) break;
        any = true;
        size_t end = buf_.find_first_of("\r\n", pos_);
        if (end == std::string::npos) {
            line.append(buf_, pos_, std::string::npos);
            pos_ = buf_.size();
            continue;
        }
        line.append(buf_, pos_, end - pos_);
        pos_ = end + 1;
        if (buf_[end] == '\r') {
            // The LF of a CR LF may be the first byte of the next piece.
            if (pos_ >= buf_.size()) fill();
            if (pos_ < buf_.size() && buf_[pos_] == '\n') ++pos_;
        }
        break;
    }
    if (!any) return false;
    if (utf8_) line = utf8ToCp1252(line);
    ++lineNumber_;
    return true;
}

Cp1252Writer::Cp1252Writer(const fs::path& file) : out_(file, std::ios::binary | std::ios::trunc) {}

void Cp1252Writer::line(std::string_view utf8) { encodedLine(utf8ToCp1252(utf8)); }

void Cp1252Writer::encodedLine(std::string_view cp1252) {
    // Unformatted writes: a season's statistics file is some hundred thousand lines.
    out_.write(cp1252.data(), static_cast<std::streamsize>(cp1252.size()));
    out_.write("\r\n", 2);
}

bool Cp1252Writer::close() {
    out_.close();
    return static_cast<bool>(out_);
}

std::string trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return std::string(s.substr(a, b - a));
}

bool isBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Case folding of one code point: ASCII and the Latin-1 capitals (not the sign ×).
static uint32_t foldCodepoint(uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    return cp;
}

bool iequals(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (foldCodepoint(nextCodepoint(a, i)) != foldCodepoint(nextCodepoint(b, j))) return false;
    return i == a.size() && j == b.size();
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string padZero(std::string_view s, size_t width) {
    std::string out(s);
    while (out.size() < width) out.insert(out.begin(), '0');
    return out;
}

std::string mid(std::string_view s, size_t pos1, size_t len) {
    if (pos1 < 1 || pos1 > s.size()) return {};
    return std::string(s.substr(pos1 - 1, len));
}

bool matchesDigitPattern(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (pattern[i] == '#' ? (text[i] < '0' || text[i] > '9') : text[i] != pattern[i]) return false;
    }
    return true;
}

size_t utf8Length(std::string_view s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The text without blanks around it if it is a number by parseNumber's rule, else "".
static std::string numberText(std::string_view text, bool& separator) {
    std::string t = trim(text);
    separator = false;
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    bool digit = false;
    for (size_t k = i; k < t.size(); ++k) {
        char c = t[k];
        if (c >= '0' && c <= '9') digit = true;
        else if ((c == '.' || c == ',') && !separator) separator = true;
        else return {};
    }
    return digit ? t : std::string();
}

std::optional<double> parseNumber(std::string_view text) {
    bool separator;
    std::string t = numberText(text, separator);
    if (t.empty()) return std::nullopt;
    bool negative = t[0] == '-';
    if (t[0] == '-' || t[0] == '+') t.erase(0, 1);
    for (char& c : t)
        if (c == ',') c = '.';
    double d = 0;
    // from_chars reads the same way whatever the user's regional settings are.
    auto r = std::from_chars(t.data(), t.data() + t.size(), d);
    if (r.ec != std::errc() && r.ec != std::errc::result_out_of_range) return std::nullopt;
    return negative ? -d : d;
}

bool isWholeNumber(std::string_view text) {
    bool separator;
    return !numberText(text, separator).empty() && !separator;
}

std::optional<fs::path> findFileNoCase(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    if (fs::is_regular_file(dir / std::string(name), ec)) return dir / std::string(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fe;
        if (iequals(it->path().filename().string(), name) && it->is_regular_file(fe)) return it->path();
    }
    return std::nullopt;
}

std::optional<fs::path> findFirstWithPrefix(const fs::path& dir, std::string_view prefix) {
    std::error_code ec;
    std::vector<fs::path> hits;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string n = it->path().filename().string();
        if (n.size() >= prefix.size() && iequals(std::string_view(n).substr(0, prefix.size()), prefix) &&
            it->is_regular_file(ec))
            hits.push_back(it->path());
    }
    if (hits.empty()) return std::nullopt;
    std::sort(hits.begin(), hits.end());
    return hits.front();
}

}  // namespace vemora
