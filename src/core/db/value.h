#pragma once
// One value type for database fields with a real Null, so that Null never collapses to
// 0 or "" by accident on its way between the database, the forms and the calculations.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vemora {

class Value {
public:
    Value() = default;  // Null
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<int64_t>(v)) {}
    Value(long v) : v_(static_cast<int64_t>(v)) {}
    Value(long long v) : v_(static_cast<int64_t>(v)) {}
    Value(unsigned v) : v_(static_cast<int64_t>(v)) {}
    Value(bool v) : v_(static_cast<int64_t>(v ? 1 : 0)) {}
    Value(double v) : v_(v) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    template <typename T>
    Value(const std::optional<T>& o) {
        if (o) *this = Value(*o);
    }

    bool isNull() const { return v_.index() == 0; }
    bool isInt() const { return v_.index() == 1; }
    bool isDouble() const { return v_.index() == 2; }
    bool isText() const { return v_.index() == 3; }
    bool isNumber() const { return isInt() || isDouble(); }

    // A number typed or read as text (parseNumber's rule: blanks around, a sign, a decimal
    // point or comma) as the engine stores it: whole numbers as integers, others as doubles;
    // nullopt for a text that is no number.
    static std::optional<Value> fromNumberText(std::string_view text);

    // Conversions used where the caller has already decided Null is acceptable; a text is
    // read by parseNumber, and a text that is no number converts to 0, so callers that must
    // refuse letters check isNumber() first.
    int64_t toInt(int64_t ifNull = 0) const;
    double toDouble(double ifNull = 0.0) const;
    bool toBool() const;  // Null and 0 are False
    std::string toText() const;  // Null is ""; numbers without trailing zeros, decimal point

    const std::string& text() const { return std::get<std::string>(v_); }

    friend bool operator==(const Value& a, const Value& b);

private:
    std::variant<std::monostate, int64_t, double, std::string> v_;
};

// One record's fields by name, as a form shows them and a core function reads or writes
// them (the race dialog's race, a club, the section's settings).
using Record = std::map<std::string, Value>;

}  // namespace vemora
