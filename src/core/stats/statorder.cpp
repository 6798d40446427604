#include "core/stats/statorder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vemora {

namespace {

enum : char { kNull = 0, kNumber = 1, kText = 2 };

}  // namespace

std::string foldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return out;
}

void appendTextKey(std::string& key, const Value& v) {
    if (v.isNull()) {
        key.push_back(kNull);
        return;
    }
    if (v.isNumber()) {  // a text column holds text; a number that slipped in sorts before it
        appendNumberKey(key, v);
        return;
    }
    key.push_back(kText);
    for (char c : v.text()) key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c);
    // The end mark sorts below every character, so "ab" comes before "abc".
    key.push_back('\0');
}

void appendNumberKey(std::string& key, const Value& v) {
    if (v.isNull()) {
        key.push_back(kNull);
        return;
    }
    if (v.isText()) {
        appendTextKey(key, v);
        return;
    }
    double d = v.toDouble();
    if (d == 0) d = 0;  // -0 and 0 are the same number
    // The bits of a double, turned so that unsigned big-endian order is numeric order.
    auto bits = std::bit_cast<uint64_t>(d);
    bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
    key.push_back(kNumber);
    for (int shift = 56; shift >= 0; shift -= 8) key.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

void OrderedLines::reserve(size_t rows) {
    // A key of some 60 bytes, a club number and a line of at most 81 per row: reserving keeps
    // the arena from being copied as it grows.
    entries_.reserve(rows);
    arena_.reserve(rows * 176);
}

void OrderedLines::add(std::string_view key, std::string_view club, std::string_view line) {
    Entry e{{0, 0, 0}, arena_.size(), static_cast<uint32_t>(key.size()), static_cast<uint32_t>(club.size()),
            static_cast<uint32_t>(line.size())};
    for (size_t i = 0; i < 24; ++i)
        e.head[i / 8] = (e.head[i / 8] << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    entries_.push_back(e);
    arena_.append(key);
    arena_.append(club);
    arena_.append(line);
}

void OrderedLines::sort() {
    // Only a club registered twice gives two rows the same key, and their lines are the same.
    std::sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
        for (int w = 0; w < 3; ++w)
            if (a.head[w] != b.head[w]) return a.head[w] < b.head[w];
        return key(a) < key(b);
    });
}

std::string_view OrderedLines::club(size_t i) const {
    const Entry& e = entries_[i];
    return {arena_.data() + e.at + e.keyLen, e.clubLen};
}

std::string_view OrderedLines::line(size_t i) const {
    const Entry& e = entries_[i];
    return {arena_.data() + e.at + e.keyLen + e.clubLen, e.lineLen};
}

}  // namespace vemora
