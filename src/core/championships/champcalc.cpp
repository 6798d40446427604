#include "core/championships/champcalc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/app/text.h"
#include "core/championships/definition.h"

namespace vemora::championships::detail {

LoftType loftTypeOf(const std::string& type) {
    if (type == "½ points, ½ koef.") return LoftType::HalfHalf;
    if (type == "Forening/point") return LoftType::ClubPoint;
    if (type == "HB") return LoftType::HB;
    if (type == "NO Plac.point") return LoftType::NoPlac;
    if (type == "NO Km-tillæg") return LoftType::NoKm;
    return LoftType::Point;
}

BirdType birdTypeOf(const std::string& type) {
    std::string u = UpperType(type);
    if (u == "DUE/POINT") return BirdType::BirdPoint;
    if (u == "NO DUE/POINT") return BirdType::NoBirdPoint;
    if (u == "NO ES-DUE KM-TILLÆG") return BirdType::NoBirdKm;
    if (u == "ES-DUE-KILOMETER") return BirdType::Kilometer;
    return BirdType::Coefficient;
}

void classifyRaces(std::vector<Race>& races, const Definition& def) {
    for (Race& r : races) {
        std::string fk = r.farvekode.toText();
        auto dash = fk.find(" - ");
        r.code = dash == std::string::npos ? fk : fk.substr(0, dash);
        r.label = dash == std::string::npos ? std::string() : fk.substr(dash + 3);
        const bool national = r.code >= "90" && r.code <= "94";
        const bool section = r.code == "95" || r.code == "96";
        const std::string lmu = upper(r.lmu.toText());
        if (national)
            r.loftKind = lmu == "L" ? 1 : lmu == "M" ? 2 : 0;
        else
            r.loftKind = section ? 3 : 4;
        // The single-bird standings count a race against its own quota only when that quota
        // is set; otherwise it is a free flight.
        int kind = national ? (lmu == "M" ? 2 : lmu == "L" ? 1 : 0) : section ? 3 : 4;
        r.birdKind = kind != 0 && !def.caps[kind].isNull() ? kind : 0;
    }
}

double distanceFactor(const Value& middelafstand, const std::vector<std::pair<double, double>>& kmFactors) {
    if (middelafstand.isNull()) return 1;
    const double m = middelafstand.toDouble();
    for (const auto& [km, factor] : kmFactors)
        if (m >= km) return factor;
    return 1;
}

std::vector<PageRow> pageHeadings(const std::vector<Race>& races) {
    std::vector<PageRow> out;
    for (size_t j = 0; j < races.size(); ++j) {
        if (j % kPageColumns == 0) out.push_back({static_cast<long long>(j / kPageColumns), {}, {}});
        const Race& r = races[j];
        std::string word = r.label.substr(0, r.label.find(' '));
        out.back().f[j % kPageColumns] =
            Value(r.uge.toText() + "\r\n" + r.code + " " + word + "\r\n" + r.stationNavn.toText());
    }
    return out;
}

std::string formatPoints(double v, int decimals) {
    if (!std::isfinite(v)) return std::to_string(v);
    // The number is taken with fifteen significant digits, as the report formats of the
    // section's earlier program took it, and halves are rounded away from zero.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    int exponent = std::atoi(p + 1);
    // digits = d1 d2 ... d15, value = 0.d1d2... * 10^(exponent + 1)
    int intDigits = exponent + 1;
    int keep = intDigits + decimals;  // digits of `digits` that survive
    std::string kept;
    if (keep >= static_cast<int>(digits.size())) {
        kept = digits + std::string(static_cast<size_t>(keep) - digits.size(), '0');
    } else if (keep >= 0) {
        kept = digits.substr(0, static_cast<size_t>(keep));
        if (digits[static_cast<size_t>(keep)] >= '5') {
            int i = keep - 1;
            while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
            if (i >= 0)
                ++kept[static_cast<size_t>(i)];
            else {
                kept.insert(kept.begin(), '1');
                ++intDigits;
            }
        }
    }
    // kept holds the number times 10^decimals; split it into whole part and decimals.
    while (static_cast<int>(kept.size()) < decimals + 1) kept.insert(kept.begin(), '0');
    std::string whole = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
    std::string frac = kept.substr(kept.size() - static_cast<size_t>(decimals));
    size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? "0" : whole.substr(nz);
    bool zero = whole == "0" && frac.find_first_not_of('0') == std::string::npos;
    std::string out = (v < 0 && !zero ? "-" : "") + whole;
    if (decimals > 0) out += "," + frac;
    return out;
}

std::optional<double> noPlacePoints(const Value& placering, const Value& ialt) {
    if (placering.isNull() || ialt.isNull()) return std::nullopt;
    const double n = ialt.toDouble();
    if (n == 0) return std::nullopt;
    double x = 100 - 300 * (placering.toDouble() - 1) / n;
    return x < 0 ? 0.0 : x;
}

}  // namespace vemora::championships::detail

namespace vemora::championships::detail {

namespace {

// SQL's order of a nullable number: Null below every number.
int compareOrder(const std::optional<double>& a, const std::optional<double>& b, bool descending) {
    int c;
    if (a.has_value() != b.has_value())
        c = a.has_value() ? 1 : -1;
    else if (!a || *a == *b)
        c = 0;
    else
        c = *a < *b ? -1 : 1;
    return descending ? -c : c;
}

}  // namespace

std::vector<uint32_t> sortedRows(const ChampInput& in, bool byBird) {
    std::vector<uint32_t> order(in.rows.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    const bool desc = in.orderDescending;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t ia, uint32_t ib) {
        const Row& a = in.rows[ia];
        const Row& b = in.rows[ib];
        if (a.forening != b.forening) return a.forening < b.forening;
        if (a.slag != b.slag) return a.slag < b.slag;
        if (byBird) {
            if (a.ring != b.ring) return a.ring < b.ring;
            if (int c = compareOrder(a.order, b.order, desc)) return c < 0;
            if (a.raceNr != b.raceNr) return a.raceNr < b.raceNr;
        } else {
            if (a.raceNr != b.raceNr) return a.raceNr < b.raceNr;
            if (int c = compareOrder(a.order, b.order, desc)) return c < 0;
            if (a.last4 != b.last4) return a.last4 < b.last4;
            if (a.ring != b.ring) return a.ring < b.ring;
        }
        return a.club < b.club;
    });
    return order;
}

void placeResults(std::vector<ResultRow>& results, bool ascending) {
    std::vector<size_t> order(results.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t ia, size_t ib) {
        const ResultRow& a = results[ia];
        const ResultRow& b = results[ib];
        if (a.points != b.points) return ascending ? a.points < b.points : a.points > b.points;
        std::optional<double> pa, pb;
        if (!a.points2.isNull()) pa = a.points2.toDouble();
        if (!b.points2.isNull()) pb = b.points2.toDouble();
        return compareOrder(pa, pb, false) < 0;
    });
    for (size_t k = 0; k < order.size(); ++k) results[order[k]].placering = static_cast<long long>(k + 1);
}

void addCells(std::vector<PageRow>& cells, size_t raceCount, const std::string& idText,
              const std::vector<std::optional<std::string>>& cellByRace) {
    for (size_t j = 0; j < raceCount; ++j) {
        if (j % kPageColumns == 0) cells.push_back({static_cast<long long>(j / kPageColumns), idText, {}});
        if (cellByRace[j]) cells.back().f[j % kPageColumns] = Value(*cellByRace[j]);
    }
}

}  // namespace vemora::championships::detail
