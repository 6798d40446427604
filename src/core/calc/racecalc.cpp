#include "core/calc/racecalc.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <numeric>

namespace vemora::calc {

const std::array<const char*, kResultFieldCount>& resultFieldNames() {
    static const std::array<const char*, kResultFieldCount> n{
        "Placering",         "Kapflyvning_ialt",  "Slag_Placering", "Slag_Placering2", "Slag_Ialt",     "Forening_placering",
        "Forening_ialt",     "Område_Placering",  "Område_Ialt",    "Point",           "Points1000",    "PointsPlac",
        "Præmie",            "Antal præmier",     "PræmieretIKlasseA", "PræmieretIKlasseB", "PræmieretIKlE", "PræmieretIKlP",
        "PræmieretIKlZ",     "PræmieretIKlR",     "PræmieretIKlS"};
    return n;
}

const std::array<const char*, kRestFieldCount>& restFieldNames() {
    static const std::array<const char*, kRestFieldCount> n{
        "RestA1", "RestA2", "RestA3", "RestA4", "RestA5", "RestA6", "RestB1", "RestB2", "RestB3", "RestB4",
        "RestB5", "RestB6", "RestKontant", "RestSlag", "RestSlagspil", "RestPulje", "RestElite", "RestZ", "RestR"};
    return n;
}

Value BirdResult::value(int f) const {
    if (isNull(f)) return {};
    double v = number[f];
    // Placings, counts, classes and markers are whole numbers; a kept old value that is not
    // whole goes back as it was.
    bool real = f == rPoint || f == rPoints1000 || f == rPointsPlac || f == rPraemie || v != std::floor(v);
    return real ? Value(v) : Value(static_cast<long long>(v));
}

std::string foldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string lastChars(std::string_view s, size_t n) {
    size_t pos = s.size(), count = 0;
    while (pos > 0 && count < n) {
        --pos;
        // Continuation bytes of UTF-8 belong to the character that starts before them.
        if ((static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) ++count;
    }
    return std::string(s.substr(pos));
}

namespace {

// Assigns each bird an id of its text key such that the ids sort as the keys do under
// NOCASE, with Null before every text (the database's order). Ids are dense from 0.
std::vector<int> keyIds(const std::vector<const Value*>& keys) {
    std::unordered_map<std::string, int> seen;
    std::vector<int> raw(keys.size());
    bool anyNull = false;
    for (size_t i = 0; i < keys.size(); ++i) {
        const Value& v = *keys[i];
        if (v.isNull()) {
            raw[i] = -1;
            anyNull = true;
            continue;
        }
        auto it = seen.emplace(foldCase(v.toText()), static_cast<int>(seen.size())).first;
        raw[i] = it->second;
    }
    std::vector<const std::string*> distinct(seen.size());
    for (const auto& kv : seen) distinct[kv.second] = &kv.first;
    std::vector<int> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(), [&](int a, int b) { return *distinct[a] < *distinct[b]; });
    std::vector<int> rank(distinct.size());
    for (size_t r = 0; r < byText.size(); ++r) rank[byText[r]] = static_cast<int>(r) + (anyNull ? 1 : 0);
    for (int& id : raw) id = id < 0 ? 0 : rank[id];
    return raw;
}

// Dense ids 0..k-1 in the order of the given keys.
std::vector<int> denseIds(const std::vector<int64_t>& key) {
    std::vector<int64_t> distinct = key;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<int> out(key.size());
    for (size_t i = 0; i < key.size(); ++i)
        out[i] = static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), key[i]) - distinct.begin());
    return out;
}

// Walks a scale the way the prizes are handed out: one prize at a time, Antal per row.
struct ScaleCursor {
    const std::vector<ScaleRow>* rows;
    size_t row = 0;
    double counter = 0;

    double take() {
        if (row >= rows->size()) return 0;
        double amount = (*rows)[row].vaerdi;
        counter += 1;
        if (counter == (*rows)[row].antal) {
            ++row;
            counter = 0;
        }
        return amount;
    }
    double left() const {
        double rest = 0;
        for (size_t r = row; r < rows->size(); ++r) {
            const ScaleRow& s = (*rows)[r];
            rest += (r == row && counter != 0 ? s.antal - counter : s.antal) * s.vaerdi;
        }
        return rest;
    }
};

// Competition placing: equal speeds share a placing, the next speed's placing skips.
struct Placing {
    double previous = 0;
    int64_t placing = 0;  // carried over between runs, as the running variable of one pass is
    void restart() { previous = 0; }
    int64_t next(double speed, int64_t position) {
        if (speed != previous) {
            placing = position;
            previous = speed;
        }
        return placing;
    }
};

double divide(double a, double b) {
    if (b == 0) throw CalcError("Division med nul.", true);
    return a / b;
}

}  // namespace

RaceResult computeRace(const RaceInput& in) {
    const size_t n = in.birds.size();
    RaceResult out;
    out.birds.resize(n);

    std::vector<std::string> last4(n), ringKey(n);
    std::vector<char> fast(n), fastSql(n);
    for (size_t i = 0; i < n; ++i) {
        const auto& b = in.birds[i];
        last4[i] = foldCase(lastChars(b.ring, 4));
        ringKey[i] = foldCase(b.ring);
        fast[i] = b.speed && *b.speed > in.threshold;
        fastSql[i] = b.speed && *b.speed > in.thresholdSql;
        if (b.sektionA >= 7 || b.sektionB >= 7)
            throw CalcError("Due " + b.ring + " er tilmeldt flere end 6 klasser.", true);
    }

    // "[Meter / min] Desc, Right(Ringnummer, 4), Ringnummer": Null speeds last. Both text
    // keys compare as NOCASE, like every text comparison of the original engine (SQLite would
    // give the Right() expression binary order unless told). The ring number is unique
    // within a race under NOCASE, so the order is total and every tie is decided.
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const auto& sa = in.birds[a].speed;
        const auto& sb = in.birds[b].speed;
        if (sa.has_value() != sb.has_value()) return sa.has_value();
        if (sa && *sa != *sb) return *sa > *sb;
        if (int c = last4[a].compare(last4[b])) return c < 0;
        if (int c = ringKey[a].compare(ringKey[b])) return c < 0;
        return in.birds[a].rowid < in.birds[b].rowid;
    });
    // Birds ordered by a dense key first and then by the ranking order.
    auto orderedBy = [&](const std::vector<int>& key) {
        int k = 0;
        for (int v : key) k = std::max(k, v + 1);
        std::vector<uint32_t> start(static_cast<size_t>(k) + 1, 0);
        for (int v : key) ++start[v + 1];
        for (int v = 0; v < k; ++v) start[v + 1] += start[v];
        std::vector<uint32_t> o(n);
        for (uint32_t i : order) o[start[key[i]]++] = i;
        return o;
    };

    // Everything not set below keeps what the first pass of the procedure leaves: placings,
    // counts and prize markers Null or False, Point and Præmie 0; the area placing and the
    // 1000-scale points of a bird that is not ranked are never touched.
    for (size_t i = 0; i < n; ++i) {
        auto& r = out.birds[i];
        r.set(rPoint, 0.0);
        r.set(rPraemie, 0.0);
        for (int f : {rKlE, rKlP, rKlZ, rKlR, rKlS}) r.set(f, 0.0);
        r.set(rOmraadePlacering, in.birds[i].oldOmraadePlacering);
        r.set(rPoints1000, in.birds[i].oldPoints1000);
        r.set(rPointsPlac, in.birds[i].oldPointsPlac);
    }

    // Code groups: one per code value compared as NOCASE, Null a group of its own. SQLite
    // promises no order for "Select Distinct"; the groups go Null first and then by text, as
    // "Order By" would sort them. The order matters only to the remainders, which are sums of
    // doubles over the groups.
    std::vector<int> group(n, 0);
    int groupCount = 1;
    std::vector<int> codeKey(n, 0);
    if (in.codeField) {
        std::vector<const Value*> keys(n);
        for (size_t i = 0; i < n; ++i) keys[i] = &in.birds[i].kode;
        auto ids = keyIds(keys);
        for (size_t i = 0; i < n; ++i) group[i] = codeKey[i] = ids[i];
        groupCount = ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end()) + 1;
    }
    std::vector<std::vector<uint32_t>> members(groupCount), ranked(groupCount);
    for (size_t i = 0; i < n; ++i) members[group[i]].push_back(static_cast<uint32_t>(i));
    for (uint32_t i : order)
        if (fastSql[i]) ranked[group[i]].push_back(i);

    // The loft lists of the prizes know a loft by its club and loft number written together.
    std::vector<int> loftOf(n);
    std::vector<char> inLoftGame;
    {
        std::unordered_map<std::string, int> ids;
        for (size_t i = 0; i < n; ++i) {
            auto it = ids.emplace(in.birds[i].forening.toText() + in.birds[i].slag.toText(), static_cast<int>(ids.size())).first;
            loftOf[i] = it->second;
        }
        inLoftGame.assign(ids.size(), 0);
        for (const auto& [key, id] : ids) inLoftGame[id] = in.loftGameLofts.count(key) ? 1 : 0;
    }
    const double M = static_cast<double>(in.mestPoint);
    Placing placing;
    for (int g = 0; g < groupCount; ++g) {
        const auto& mem = members[g];
        const int64_t count = static_cast<int64_t>(mem.size());
        std::array<double, 7> poolA{}, poolB{};
        std::array<double, kGameCount> pool{};
        for (uint32_t i : mem) {
            const auto& b = in.birds[i];
            for (int k = 1; k <= b.sektionA; ++k) poolA[k] += in.stakeA[k];
            for (int k = 1; k <= b.sektionB; ++k) poolB[k] += in.stakeB[k];
            if (b.pulje) pool[gP] += in.stakeGame[gP];
            if (b.elite) pool[gE] += in.stakeGame[gE];
            if (b.klZ) pool[gZ] += in.stakeGame[gZ];
            if (b.klR) pool[gR] += in.stakeGame[gR];
            out.birds[i].set(rKapflyvningIalt, static_cast<double>(count));
        }

        std::array<ScaleCursor, kScaleCount> scale;
        for (int s = 0; s < kScaleCount; ++s) scale[s].rows = &in.scales[s];
        std::array<double, kGameCount> available{};
        for (int gm = 0; gm < kGameCount; ++gm) {
            double total = 0;
            for (const auto& row : in.scales[sP + gm]) total += row.antal * row.vaerdi;
            available[gm] = in.poolSwitch[gm] ? (total < pool[gm] ? total : pool[gm]) : total;
        }
        std::vector<char> loftPrized(inLoftGame.size(), 0), loftGamePrized(inLoftGame.size(), 0);

        const auto& rk = ranked[g];
        const double best = rk.empty() ? 0 : *in.birds[rk.front()].speed;
        placing.restart();
        int64_t position = 1;
        for (uint32_t i : rk) {
            const auto& b = in.birds[i];
            auto& r = out.birds[i];
            std::array<double, 7> wonA{}, wonB{};
            if (in.classPrizes) {
                auto classes = [](double entered, std::array<double, 7>& poolX, double factor,
                                  const std::array<double, 7>& stake, std::array<double, 7>& won) {
                    for (int k = 1; k <= entered; ++k) {
                        if (poolX[k] > 0) {
                            double x = factor * stake[k];
                            if (x < poolX[k]) {
                                won[k] = x;
                                poolX[k] -= x;
                            } else {
                                won[k] = poolX[k];
                                poolX[k] = 0;
                            }
                        }
                    }
                };
                classes(b.sektionA, poolA, in.faktorA, in.stakeA, wonA);
                classes(b.sektionB, poolB, in.faktorB, in.stakeB, wonB);
            }
            double cash = scale[sKontant].take();
            std::array<double, kGameCount> game{};
            if (b.pulje) game[gP] = scale[sP].take();
            if (b.elite) game[gE] = scale[sE].take();
            if (b.klZ) game[gZ] = scale[sZ].take();
            if (b.klR) game[gR] = scale[sR].take();
            const int loft = loftOf[i];
            const bool loftPrize = !loftPrized[loft];
            const bool loftGamePrize = inLoftGame[loft] && !loftGamePrized[loft];
            double loftAmount = loftPrize ? scale[sSlag].take() : 0;
            double loftGameAmount = loftGamePrize ? scale[sSlagspil].take() : 0;
            for (int gm = 0; gm < kGameCount; ++gm) {
                if (game[gm] <= available[gm]) {
                    available[gm] -= game[gm];
                } else {
                    game[gm] = available[gm];
                    available[gm] = 0;
                }
            }

            int64_t pl = placing.next(*b.speed, position);
            r.set(rPlacering, static_cast<double>(pl));
            if (in.placingPoints)
                r.set(rPoint, M - static_cast<double>(in.mestPoint * (pl - 1)) / static_cast<double>(count));
            else
                r.set(rPoint, divide(*b.speed * M, best));
            if (!in.splitByCode) {
                r.set(rPoints1000, divide(*b.speed * 1000.0, best));
                r.set(rPointsPlac, 1000.0 - static_cast<double>((pl - 1) * 1000) / static_cast<double>(count));
            }

            double prize = cash;
            int64_t prizes = cash > 0 ? 1 : 0;
            const bool entered[kGameCount] = {b.pulje, b.elite, b.klZ, b.klR};
            const int flag[kGameCount] = {rKlP, rKlE, rKlZ, rKlR};
            for (int gm = 0; gm < kGameCount; ++gm) {
                if (entered[gm] && game[gm] > 0) {
                    r.set(flag[gm], 1.0);
                    prize += game[gm];
                    ++prizes;
                }
            }
            if (loftPrize) {
                loftPrized[loft] = 1;
                prize += loftAmount;
                if (loftAmount > 0) ++prizes;
            }
            if (loftGamePrize) {
                loftGamePrized[loft] = 1;
                prize += loftGameAmount;
                if (loftGameAmount > 0) {
                    r.set(rKlS, 1.0);
                    ++prizes;
                }
            }
            for (int k = 1; k <= b.sektionA; ++k)
                if (wonA[k] > 0) {
                    prize += wonA[k];
                    r.set(rKlasseA, k);
                    ++prizes;
                }
            for (int k = 1; k <= b.sektionB; ++k)
                if (wonB[k] > 0) {
                    prize += wonB[k];
                    r.set(rKlasseB, k);
                    ++prizes;
                }
            r.set(rPraemie, prize > 0 ? Value(prize) : Value());
            r.set(rAntalPraemier, prizes != 0 ? Value(static_cast<double>(prizes)) : Value());
            ++position;
        }

        for (int k = 1; k <= 6; ++k) {
            out.rest[kRestA1 + k - 1] += poolA[k];
            out.rest[kRestB1 + k - 1] += poolB[k];
        }
        out.rest[kRestKontant] += scale[sKontant].left();
        out.rest[kRestSlag] += scale[sSlag].left();
        out.rest[kRestSlagspil] += scale[sSlagspil].left();
        out.rest[kRestPulje] += available[gP];
        out.rest[kRestElite] += available[gE];
        out.rest[kRestZ] += available[gZ];
        out.rest[kRestR] += available[gR];
    }

    // Loft, club and area placings: runs of one key in key order, each in ranking order.
    auto placeRuns = [&](const std::vector<int>& key, int placeField, int placeField2, int countField) {
        std::vector<uint32_t> o = orderedBy(key);
        Placing runPlacing;
        for (size_t start = 0; start < o.size();) {
            size_t end = start;
            while (end < o.size() && key[o[end]] == key[o[start]]) ++end;
            runPlacing.restart();
            int64_t position = 0;
            for (size_t j = start; j < end; ++j) {
                uint32_t i = o[j];
                auto& r = out.birds[i];
                r.set(countField, static_cast<double>(end - start));
                if (fast[i]) {
                    ++position;
                    r.set(placeField, static_cast<double>(runPlacing.next(*in.birds[i].speed, position)));
                    if (placeField2 >= 0) r.set(placeField2, static_cast<double>(position));
                }
            }
            start = end;
        }
    };
    {
        std::vector<const Value*> club(n), loft(n);
        std::vector<Value> area(n);
        for (size_t i = 0; i < n; ++i) {
            club[i] = &in.birds[i].forening;
            loft[i] = &in.birds[i].slag;
            area[i] = in.birds[i].omraade.isNull() ? Value(in.defaultArea) : in.birds[i].omraade;
        }
        auto clubIds = keyIds(club);
        auto loftIds = keyIds(loft);
        std::vector<const Value*> areaPtr(n);
        for (size_t i = 0; i < n; ++i) areaPtr[i] = &area[i];
        auto areaIds = keyIds(areaPtr);
        std::vector<int64_t> loftKey(n);
        for (size_t i = 0; i < n; ++i) loftKey[i] = static_cast<int64_t>(clubIds[i]) * (static_cast<int64_t>(n) + 1) + loftIds[i];
        placeRuns(denseIds(loftKey), rSlagPlacering, rSlagPlacering2, rSlagIalt);
        placeRuns(clubIds, rForeningPlacering, -1, rForeningIalt);
        placeRuns(areaIds, rOmraadePlacering, -1, rOmraadeIalt);
    }

    // A race split by code still gets its 1000-scale points over all its ranked birds.
    if (in.splitByCode) {
        int64_t ranks = 0;
        for (uint32_t i : order) ranks += fastSql[i] ? 1 : 0;
        Placing whole;
        int64_t position = 1;
        double best = 0;
        for (uint32_t i : order) {
            if (!fastSql[i]) continue;
            double speed = *in.birds[i].speed;
            if (position == 1) best = speed;
            int64_t pl = whole.next(speed, position);
            out.birds[i].set(rPoints1000, divide(speed * 1000.0, best));
            out.birds[i].set(rPointsPlac, 1000.0 - static_cast<double>((pl - 1) * 1000) / static_cast<double>(ranks));
            ++position;
        }
    }

    // Per-loft point scheme: within each code, the points fall by the step from bird to bird
    // in ranking order, and only a loft's first birds score.
    const double prSlag = in.pointPrSlag.toDouble(), step = in.pointStep.toDouble();
    if (!in.pointPrSlag.isNull() && !in.pointStep.isNull() && prSlag != 0 && step != 0) {
        for (size_t i = 0; i < n; ++i) out.birds[i].set(rPoint, 0.0);
        std::vector<uint32_t> o = orderedBy(codeKey);
        double current = 0;
        bool first = true;
        int previousCode = 0;
        for (uint32_t i : o) {
            if (!fast[i]) continue;
            if (first || codeKey[i] != previousCode) current = M;
            first = false;
            previousCode = codeKey[i];
            if (current > 0) {
                if (out.birds[i].number[rSlagPlacering2] <= prSlag) out.birds[i].set(rPoint, current);
                current -= step;
            }
        }
    }
    return out;
}

}  // namespace vemora::calc
