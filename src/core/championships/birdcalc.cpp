// The standings of single birds: each bird's best results counted under the quotas per race
// kind, only birds that fill every quota, at most the best few birds of each loft.
#include <algorithm>

#include "core/championships/champcalc.h"

namespace vemora::championships::detail {

namespace {

Value nullIfEmpty(const Value& v) { return v.isNull() || v.toText().empty() ? Value() : v; }

}  // namespace

ChampOutput computeBirds(const ChampInput& in) {
    const Definition& def = in.def;
    const bool coefficient = birdTypeOf(def.type) == BirdType::Coefficient;
    // Quotas per kind; -1 is "no limit", which only the free flights can have.
    std::array<double, kKinds> quota{};
    double others = 0;
    for (int k = 1; k < kKinds; ++k) {
        quota[k] = def.caps[k].isNull() ? 0 : def.caps[k].toDouble();
        others += quota[k];
    }
    quota[0] = def.antalFlyvninger.isNull() ? -1 : std::max(0.0, def.antalFlyvninger.toDouble() - others);

    ChampOutput out;
    if (in.specifyPoints) {
        out.headers = pageHeadings(in.races);
        out.cellDecimals = coefficient || in.decimals ? 3 : 0;
        // Every bird may qualify; growing the rows would copy them over and over.
        out.cells.reserve(in.texts.ring.size() * out.headers.size());
    }
    const std::vector<uint32_t> order = sortedRows(in, true);

    struct Loft {
        uint32_t forening;
        long long slag;  // Null and empty loft numbers are one loft in the stored standings
    };
    std::vector<Loft> loftOf;
    std::vector<std::pair<int, double>> remembered;

    for (size_t k = 0; k < order.size();) {
        const Row& first = in.rows[order[k]];
        std::array<double, kKinds> counter{};
        double total = 0;
        remembered.clear();
        size_t end = k;
        for (; end < order.size(); ++end) {
            const Row& row = in.rows[order[end]];
            if (row.forening != first.forening || row.slag != first.slag || row.ring != first.ring) break;
            const int kind = in.races[static_cast<size_t>(row.race)].birdKind;
            if (quota[kind] == -1 || counter[kind] < quota[kind]) {
                // A value the race calculation left Null adds nothing.
                const double v = row.value.value_or(0.0);
                total += v;
                counter[kind] += 1;
                remembered.emplace_back(row.race, v);
            }
        }
        bool qualifies = true;
        for (int q = 0; q < kKinds; ++q)
            if (quota[q] != -1 && counter[q] < quota[q]) qualifies = false;
        if (qualifies) {
            const Value& slag = in.texts.slag[first.slag];
            const Value& navn = in.texts.slagNavn[first.slagNavn];
            ResultRow r;
            r.foreningsnr = in.texts.forening[first.forening];
            r.foreningsnavn = in.texts.clubName[first.club];
            r.slag = nullIfEmpty(slag);
            r.slagnavn = nullIfEmpty(navn);
            r.ringnummer = in.texts.ring[first.ring];
            r.points = total;
            r.id = r.ringnummer.toText() + " " + r.foreningsnr.toText() + "/" + slag.toText() + " " + navn.toText();
            if (in.specifyPoints) {
                // A race counted twice (entered twice) shows its last value.
                const size_t first = addPageRows(out, in.races.size(), r.id);
                for (const auto& [race, v] : remembered) setCell(out, first, static_cast<size_t>(race), v);
            }
            loftOf.push_back({first.forening, r.slag.isNull() ? -1 : static_cast<long long>(first.slag)});
            out.results.push_back(std::move(r));
        }
        k = end;
    }

    // Birds per loft: the best ones of each loft stay.
    if (!def.antalDuer.isNull()) {
        const double keep = def.antalDuer.toDouble();
        std::vector<size_t> byLoft(out.results.size());
        for (size_t i = 0; i < byLoft.size(); ++i) byLoft[i] = i;
        std::stable_sort(byLoft.begin(), byLoft.end(), [&](size_t a, size_t b) {
            if (loftOf[a].forening != loftOf[b].forening) return loftOf[a].forening < loftOf[b].forening;
            if (loftOf[a].slag != loftOf[b].slag) return loftOf[a].slag < loftOf[b].slag;
            const double pa = out.results[a].points, pb = out.results[b].points;
            return coefficient ? pa < pb : pa > pb;
        });
        std::vector<char> drop(out.results.size(), 0);
        double counter = 0;
        for (size_t j = 0; j < byLoft.size(); ++j) {
            const Loft& l = loftOf[byLoft[j]];
            if (j == 0 || l.forening != loftOf[byLoft[j - 1]].forening || l.slag != loftOf[byLoft[j - 1]].slag)
                counter = 1;
            else
                counter += 1;
            if (counter > keep) drop[byLoft[j]] = 1;
        }
        std::vector<ResultRow> kept;
        for (size_t i = 0; i < out.results.size(); ++i)
            if (!drop[i]) kept.push_back(std::move(out.results[i]));
        out.results = std::move(kept);
    }
    placeResults(out.results, coefficient);
    return out;
}

}  // namespace vemora::championships::detail
