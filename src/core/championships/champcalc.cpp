#include "core/championships/champcalc.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/base/text.h"
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
        if (j % kPageColumns == 0) out.push_back({static_cast<long long>(j / kPageColumns), {}});
        const Race& r = races[j];
        std::string word = r.label.substr(0, r.label.find(' '));
        out.back().f[j % kPageColumns] =
            Value(r.uge.toText() + "\r\n" + r.code + " " + word + "\r\n" + r.stationNavn.toText());
    }
    return out;
}

std::string formatPoints(double v, int decimals) {
    if (!std::isfinite(v) || decimals < 0 || decimals > 6) return std::to_string(v);
    // The number is taken with fifteen significant digits, as the report formats of the
    // section's earlier program took it, and halves are rounded away from zero. Fixed
    // buffers: a standing with page tables formats hundreds of thousands of cells.
    char sci[40];
    char* end = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific, 14).ptr;
    char digits[16];
    int n = 0;
    const char* p = sci;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[n++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    // value = 0.d1d2...d15 * 10^(exponent + 1); keep the digits down to the last decimal.
    const int keep = exponent + 1 + decimals;
    // kept = the number times 10^decimals as digits, a leading carry place first.
    char kept[400];
    int k = 0;
    kept[k++] = '0';
    if (keep > 0) {
        if (keep > static_cast<int>(sizeof kept) - 2) return std::to_string(v);
        for (int i = 0; i < keep; ++i) kept[k++] = i < n ? digits[i] : '0';
        if (keep < n && digits[keep] >= '5') {
            int i = k - 1;
            while (kept[i] == '9') kept[i--] = '0';
            ++kept[i];
        }
    } else if (keep == 0 && digits[0] >= '5') {
        kept[k++] = '1';
    }
    // At least one whole digit and the decimals.
    char out[420];
    int o = 0;
    int wholeDigits = k - decimals;
    int first = 0;
    while (first < wholeDigits - 1 && kept[first] == '0') ++first;
    bool zero = true;
    for (int i = first; i < k; ++i) zero &= kept[i] == '0';
    if (v < 0 && !zero) out[o++] = '-';
    if (wholeDigits <= 0) out[o++] = '0';
    for (int i = first; i < wholeDigits; ++i) out[o++] = kept[i];
    if (decimals > 0) {
        out[o++] = ',';
        for (int i = wholeDigits; i < 0; ++i) out[o++] = '0';
        for (int i = std::max(wholeDigits, 0); i < k; ++i) out[o++] = kept[i];
    }
    return std::string(out, static_cast<size_t>(o));
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
    // The keys are copied side by side, so the sort does not chase rows through memory.
    struct Key {
        uint32_t forening, slag, third, fourth, fifth, club, index;
        double order;  // Null as -infinity: below every number, as SQL orders it
    };
    std::vector<long long> raceNrs;
    for (const Race& r : in.races) raceNrs.push_back(r.nr);
    std::sort(raceNrs.begin(), raceNrs.end());
    raceNrs.erase(std::unique(raceNrs.begin(), raceNrs.end()), raceNrs.end());
    auto raceRank = [&](long long nr) {
        return static_cast<uint32_t>(std::lower_bound(raceNrs.begin(), raceNrs.end(), nr) - raceNrs.begin());
    };
    const double nullOrder = -std::numeric_limits<double>::infinity();
    std::vector<Key> keys(in.rows.size());
    for (uint32_t i = 0; i < keys.size(); ++i) {
        const Row& r = in.rows[i];
        const double o = r.order ? *r.order : nullOrder;
        if (byBird)
            keys[i] = {r.forening, r.slag, r.ring, raceRank(r.raceNr), 0, r.club, i, o};
        else
            keys[i] = {r.forening, r.slag, raceRank(r.raceNr), r.last4, r.ring, r.club, i, o};
    }
    const bool desc = in.orderDescending;
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (a.forening != b.forening) return a.forening < b.forening;
        if (a.slag != b.slag) return a.slag < b.slag;
        if (a.third != b.third) return a.third < b.third;
        if (byBird) {
            if (a.order != b.order) return desc ? a.order > b.order : a.order < b.order;
            if (a.fourth != b.fourth) return a.fourth < b.fourth;
        } else {
            if (a.order != b.order) return desc ? a.order > b.order : a.order < b.order;
            if (a.fourth != b.fourth) return a.fourth < b.fourth;
            if (a.fifth != b.fifth) return a.fifth < b.fifth;
        }
        if (a.club != b.club) return a.club < b.club;
        return a.index < b.index;
    });
    std::vector<uint32_t> order(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) order[k] = keys[k].index;
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

size_t addPageRows(ChampOutput& out, size_t raceCount, const std::string& idText) {
    const size_t first = out.cells.size();
    const auto unit = static_cast<uint32_t>(out.unitIds.size());
    out.unitIds.push_back(idText);
    for (size_t j = 0; j < raceCount; j += kPageColumns) out.cells.push_back({static_cast<long long>(j / kPageColumns), unit, 0, {}});
    return first;
}

}  // namespace vemora::championships::detail
