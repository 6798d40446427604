#include "core/db/value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/base/text.h"

namespace vemora {

std::optional<Value> Value::fromNumberText(std::string_view text) {
    std::optional<double> d = parseNumber(text);
    if (!d) return std::nullopt;
    // Eighteen digits always fit; longer whole numbers are kept as doubles.
    if (isWholeNumber(text) && trim(text).size() <= 18) {
        std::string t = trim(text);
        int64_t n = 0;
        std::from_chars(t.data() + (t[0] == '+' ? 1 : 0), t.data() + t.size(), n);
        return Value(static_cast<long long>(n));
    }
    return Value(*d);
}

int64_t Value::toInt(int64_t ifNull) const {
    switch (v_.index()) {
        case 1: return std::get<int64_t>(v_);
        case 2: return static_cast<int64_t>(std::llround(std::get<double>(v_)));
        case 3: return static_cast<int64_t>(std::llround(parseNumber(std::get<std::string>(v_)).value_or(0.0)));
        default: return ifNull;
    }
}

double Value::toDouble(double ifNull) const {
    switch (v_.index()) {
        case 1: return static_cast<double>(std::get<int64_t>(v_));
        case 2: return std::get<double>(v_);
        case 3: return parseNumber(std::get<std::string>(v_)).value_or(0.0);
        default: return ifNull;
    }
}

bool Value::toBool() const {
    switch (v_.index()) {
        case 1: return std::get<int64_t>(v_) != 0;
        case 2: return std::get<double>(v_) != 0.0;
        case 3: {
            const auto& s = std::get<std::string>(v_);
            return !(s.empty() || s == "0" || s == "False" || s == "false");
        }
        default: return false;
    }
}

std::string Value::toText() const {
    switch (v_.index()) {
        case 1: return std::to_string(std::get<int64_t>(v_));
        case 2: {
            double d = std::get<double>(v_);
            if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
                return std::to_string(static_cast<int64_t>(d));
            char buf[64];
            auto r = std::to_chars(buf, buf + sizeof buf, d);
            return std::string(buf, r.ptr);
        }
        case 3: return std::get<std::string>(v_);
        default: return {};
    }
}

bool operator==(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if (a.isNumber() && b.isNumber()) {
        if (a.isInt() && b.isInt()) return a.toInt() == b.toInt();
        return a.toDouble() == b.toDouble();
    }
    if (a.isText() && b.isText()) return a.text() == b.text();
    return a.toText() == b.toText();
}

}  // namespace vemora
