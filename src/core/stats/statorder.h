#pragma once
// The order of the statistics query's rows, kept in memory: the engine's sorter needs several
// times longer for a season's rows than reading and writing them, so the rows are read
// unsorted, each with a byte key that sorts as the query's ORDER BY would, and sorted here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/db/value.h"

namespace vemora {

// Append one ORDER BY term to a key, so that keys compared byte by byte order the rows as
// the engine does: Null first, then numbers, then text; text without regard to the case of
// A-Z (the columns' NOCASE collation) and a shorter text before a longer one it begins.
void appendTextKey(std::string& key, const Value& v);
void appendNumberKey(std::string& key, const Value& v);
// A text with A-Z turned into a-z, the only letters the NOCASE collation folds.
std::string foldCase(std::string_view s);

// Statistics lines with their order keys and club numbers, handed out in key order.
class OrderedLines {
public:
    void reserve(size_t rows);
    void add(std::string_view key, std::string_view club, std::string_view line);
    void sort();
    size_t size() const { return entries_.size(); }
    std::string_view club(size_t i) const;
    std::string_view line(size_t i) const;

private:
    struct Entry {
        // The key's first 24 bytes as big-endian words: club, loft and ring number, where
        // nearly every comparison is decided.
        uint64_t head[3];
        uint64_t at;
        uint32_t keyLen, clubLen, lineLen;
    };
    std::string_view key(const Entry& e) const { return {arena_.data() + e.at, e.keyLen}; }
    std::string arena_;
    std::vector<Entry> entries_;
};

}  // namespace vemora
