// The standings of lofts and clubs: per unit the flights it took part in, the best flights
// counted under the caps per race kind, then the units ranked by their points.
#include <cmath>

#include "core/championships/champcalc.h"

namespace vemora::championships::detail {

namespace {

struct Flight {
    double points = 0;
    double second = 0;
    int race = 0;
    int kind = 0;
    long long raceNr = 0;
    double rowsMet = 0;
};

std::optional<double> number(const Value& v) {
    if (v.isNull()) return std::nullopt;
    return v.toDouble();
}

std::string text(const Value& v) { return v.toText(); }

Value nullIfEmpty(const Value& v) { return v.isNull() || v.toText().empty() ? Value() : v; }

}  // namespace

ChampOutput computeLofts(const ChampInput& in) {
    const Definition& def = in.def;
    const LoftType type = loftTypeOf(def.type);
    const bool hb = type == LoftType::HB;
    const std::optional<double> perRace = number(def.antalDuer);
    const std::optional<double> flightsCounted = number(def.antalFlyvninger);
    std::array<std::optional<double>, kKinds> cap;
    for (int k = 1; k < kKinds; ++k) cap[k] = number(def.caps[k]);

    ChampOutput out;
    if (in.specifyPoints) {
        out.headers = pageHeadings(in.races);
        out.cellDecimals = in.decimals ? 3 : 0;
    }
    const std::vector<uint32_t> order = sortedRows(in, false);

    std::vector<Flight> flights;
    auto finish = [&](const Row& first, uint32_t firstIndex) {
        // Shift every flight above 0 points, so that flights worth nothing can still count.
        double B = 0;
        for (const Flight& f : flights) {
            if (!std::isfinite(f.points) || B < f.points) continue;
            // Far below 0 (only a damaged Point field gets there) the steps are jumped.
            double steps = std::floor((B - f.points) / 100);
            if (steps > 1) B -= 100 * (steps - 1);
            while (B >= f.points) B -= 100;
        }
        if (B < 0)
            for (Flight& f : flights) f.points = f.points - B;

        double toCount = static_cast<double>(flights.size());
        if (flightsCounted && *flightsCounted < toCount) toCount = *flightsCounted;
        double T1 = 0, T2 = 0;
        std::array<double, kKinds> counted{};
        for (double i = 1; i <= toCount; ++i) {
            for (Flight& f : flights)
                if (f.kind >= 1 && cap[f.kind] && counted[f.kind] >= *cap[f.kind] && f.points > 0) f.points = 0;
            Flight* best = nullptr;
            for (Flight& f : flights) {
                if (!(f.points > 0)) continue;
                if (!best || f.points > best->points || (f.points == best->points && f.second < best->second)) best = &f;
            }
            if (best) {
                T1 += best->points + B;
                T2 += best->second;
                best->points = -best->points;
                counted[best->kind] += 1;
            }
        }
        for (Flight& f : flights) f.points = -f.points;

        const bool club = type == LoftType::ClubPoint;
        ResultRow r;
        r.foreningsnr = in.texts.forening[first.forening];
        r.foreningsnavn = in.texts.clubName[first.club];
        if (!club) {
            r.slag = nullIfEmpty(in.texts.slag[first.slag]);
            r.slagnavn = nullIfEmpty(in.texts.slagNavn[first.slagNavn]);
        }
        r.points = T1;
        r.points2 = hb ? (T1 == 0 ? Value() : Value(T2 * 1000 / T1)) : Value(T2);
        r.id = club ? text(r.foreningsnr) + " " + text(r.foreningsnavn)
                    : text(r.foreningsnr) + "/" + text(in.texts.slag[first.slag]) + " " + text(in.texts.slagNavn[first.slagNavn]);
        if (in.specifyPoints) {
            const size_t first = addPageRows(out, in.races.size(), r.id);
            for (const Flight& f : flights)
                if (f.points > 0) setCell(out, first, static_cast<size_t>(f.race), f.points + B);
        }
        out.results.push_back(std::move(r));
    };

    for (size_t k = 0; k < order.size();) {
        const Row& first = in.rows[order[k]];
        flights.clear();
        size_t end = k;
        for (; end < order.size(); ++end) {
            const Row& row = in.rows[order[end]];
            if (row.forening != first.forening || row.slag != first.slag) break;
            if (flights.empty() || flights.back().raceNr != row.raceNr) {
                Flight f;
                f.race = row.race;
                f.kind = in.races[static_cast<size_t>(row.race)].loftKind;
                f.raceNr = row.raceNr;
                flights.push_back(f);
            }
            Flight& f = flights.back();
            if (!perRace || *perRace > f.rowsMet) {
                // A value the race calculation left Null adds nothing.
                if (hb) {
                    f.points += 1;
                    f.second += row.second.value_or(0.0);
                } else {
                    f.points += row.value.value_or(0.0);
                }
            }
            f.rowsMet += 1;
        }
        finish(first, order[k]);
        k = end;
    }
    placeResults(out.results, false);
    return out;
}

}  // namespace vemora::championships::detail
