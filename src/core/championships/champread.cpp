// One read of a championship's season: the selected result rows with their values and
// dense keys, so that the walk can sort them in memory.
#include "core/championships/champread.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "core/app/procs.h"
#include "core/calc/racecalc.h"
#include "core/championships/criteria.h"

namespace vemora::championships::detail {

namespace {

// A number the way it reaches the engine when written into statement text: fifteen
// significant digits with a decimal point.
double throughText(double v) {
    std::string s = SqlNumber(v);
    double out = v;
    std::from_chars(s.data(), s.data() + s.size(), out);
    return out;
}

// Dense ids of texts that sort as the database's NOCASE order sorts them, Null first.
class KeyIds {
public:
    // repeats: consecutive rows often carry the same text (club, loft), worth a look first.
    explicit KeyIds(bool repeats = true) : repeats_(repeats) {}
    uint32_t add(const Value& v) {
        if (v.isNull()) {
            hasNull_ = true;
            return kNull;
        }
        // Rows come club by club and loft by loft, so the text is often the last one again.
        if (repeats_ && v.isText() && haveLast_ && v.text() == last_) return lastId_;
        uint32_t id = lookup(v);
        if (repeats_ && v.isText()) {
            last_ = v.text();
            lastId_ = id;
            haveLast_ = true;
        }
        return id;
    }
    uint32_t lookup(const Value& v) {
        // Most texts repeat (a loft's number on every row), so look before making a node.
        key_ = v.isText() ? v.text() : v.toText();
        for (char& c : key_)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        auto it = ids_.find(key_);
        if (it != ids_.end()) return it->second;
        ids_.emplace(key_, static_cast<uint32_t>(first_.size()));
        first_.push_back(v);
        return static_cast<uint32_t>(first_.size() - 1);
    }
    // Turns the ids handed out into ranks; returns the text of each rank.
    std::vector<Value> finish(std::vector<uint32_t*>& refs) {
        std::vector<std::pair<const std::string*, uint32_t>> sorted;
        for (const auto& kv : ids_) sorted.push_back({&kv.first, kv.second});
        std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return *a.first < *b.first; });
        const uint32_t base = hasNull_ ? 1 : 0;
        std::vector<uint32_t> rank(first_.size());
        std::vector<Value> texts(first_.size() + base);
        for (uint32_t r = 0; r < sorted.size(); ++r) {
            rank[sorted[r].second] = r + base;
            texts[r + base] = first_[sorted[r].second];
        }
        for (uint32_t* ref : refs) *ref = *ref == kNull ? 0 : rank[*ref];
        return texts;
    }

private:
    static constexpr uint32_t kNull = UINT32_MAX;
    std::unordered_map<std::string, uint32_t> ids_;
    std::vector<Value> first_;
    std::string key_, last_;
    uint32_t lastId_ = 0;
    bool haveLast_ = false;
    bool hasNull_ = false;
    bool repeats_;
};

// The distinct spellings of a text, Null included, numbered as they come.
class Spellings {
public:
    uint32_t add(const Value& v, std::vector<Value>& values) {
        if (haveLast_ && v == last_) return lastId_;
        auto [it, added] = ids_.try_emplace(v.isNull() ? std::string("\x01null") : "t" + v.toText(),
                                            static_cast<uint32_t>(values.size()));
        if (added) values.push_back(v);
        last_ = v;
        lastId_ = it->second;
        haveLast_ = true;
        return lastId_;
    }

private:
    std::unordered_map<std::string, uint32_t> ids_;
    Value last_;
    uint32_t lastId_ = 0;
    bool haveLast_ = false;
};

}  // namespace

std::vector<Race> readRaces(Database& db, const Definition& def) {
    std::vector<Race> races;
    // Races of one week and colour code go in race number order.
    Statement st = db.prepare(
        "SELECT Mesterskabsflyvninger.Kapflyvning, Kapflyvninger.Uge, Kapflyvninger.Farvekode, Kapflyvninger.LMU, Stationer.Navn "
        "FROM Mesterskabsflyvninger INNER JOIN Kapflyvninger ON Mesterskabsflyvninger.Kapflyvning = Kapflyvninger.Nr "
        "LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr WHERE Mesterskabsflyvninger.Mesterskab = ? "
        "ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode, Kapflyvninger.Nr");
    st.bind(1, Value(def.recNr));
    while (st.step()) {
        Race r;
        r.nr = st.column(0).toInt();
        r.uge = st.column(1);
        r.farvekode = st.column(2);
        r.lmu = st.column(3);
        r.stationNavn = st.column(4);
        races.push_back(std::move(r));
    }
    classifyRaces(races, def);
    return races;
}

void distanceFactors(Database& db, std::vector<Race>& races) {
    std::vector<std::pair<double, double>> km;
    RowSet f = db.query("SELECT KM, Faktor FROM KM_faktorer ORDER BY KM DESC");
    for (const auto& row : f.rows)
        km.emplace_back(throughText(row[0].toDouble()), row[1].isNull() ? 1.0 : throughText(row[1].toDouble()));
    Statement avg = db.prepare("SELECT avg(Afstand) FROM Deltagere WHERE Kapflyvning = ?");
    for (Race& r : races) {
        avg.bind(1, Value(r.nr));
        avg.step();
        Value a = avg.column(0);
        avg.reset();
        r.middelafstand = a.isNull() ? Value() : Value(throughText(a.toDouble()));
        r.factor = distanceFactor(r.middelafstand, km);
    }
}

namespace {

struct Selection {
    std::string columns, condition;
    bool descending = true;
};

Selection selectionFor(const Definition& def, bool loftRoutine) {
    if (loftRoutine) {
        switch (loftTypeOf(def.type)) {
            case LoftType::HB: return {"\"Meter / min\", Placering, Kapflyvning_ialt", " AND \"Meter / min\" > 0", true};
            case LoftType::HalfHalf: return {"Points1000, PointsPlac", " AND (Points1000 > 0 OR PointsPlac > 0)", true};
            case LoftType::NoPlac:
            case LoftType::NoKm: return {"Placering, Kapflyvning_ialt", " AND Placering > 0", false};
            case LoftType::ClubPoint:
            case LoftType::Point: return {"Point", " AND Point > 0", true};
        }
    }
    switch (birdTypeOf(def.type)) {
        case BirdType::Coefficient:
            return {"Placering, Kapflyvning_ialt", " AND Placering > 0 AND Placering <= 0.2 * Kapflyvning_ialt", false};
        case BirdType::Kilometer: return {"Point, Afstand", " AND Placering > 0", true};
        case BirdType::BirdPoint: return {"Point", " AND Placering > 0", true};
        case BirdType::NoBirdPoint:
        case BirdType::NoBirdKm: return {"Placering, Kapflyvning_ialt", " AND Placering > 0", true};
    }
    return {};
}

std::optional<double> num(const Value& v) {
    if (v.isNull()) return std::nullopt;
    return v.toDouble();
}

std::optional<double> ratio(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull() || b.toDouble() == 0) return std::nullopt;
    return a.toDouble() / b.toDouble();
}

// What one selected row adds, from the type's columns (from column 5 on).
void rowValues(Row& row, Statement& st, bool loftRoutine, LoftType lt, BirdType bt, double factor) {
    if (loftRoutine) {
        switch (lt) {
            case LoftType::HB:
                row.order = num(st.column(5));
                row.second = ratio(st.column(6), st.column(7));
                break;
            case LoftType::HalfHalf: {
                Value a = st.column(5), b = st.column(6);
                if (!a.isNull() && !b.isNull()) row.value = (a.toDouble() + b.toDouble()) / 2;
                row.order = row.value;
                break;
            }
            case LoftType::NoPlac:
            case LoftType::NoKm:
                row.order = num(st.column(5));
                row.value = noPlacePoints(st.column(5), st.column(6));
                if (lt == LoftType::NoKm && row.value) row.value = factor * *row.value;
                break;
            case LoftType::ClubPoint:
            case LoftType::Point: row.value = row.order = num(st.column(5)); break;
        }
        return;
    }
    switch (bt) {
        case BirdType::Coefficient: row.value = ratio(st.column(5), st.column(6)); break;
        case BirdType::Kilometer: {
            Value p = st.column(5), a = st.column(6);
            if (!p.isNull()) row.value = p.toDouble() + (a.isNull() ? 0.0 : a.toDouble());
            break;
        }
        case BirdType::BirdPoint: row.value = num(st.column(5)); break;
        case BirdType::NoBirdPoint:
        case BirdType::NoBirdKm:
            row.value = noPlacePoints(st.column(5), st.column(6));
            if (bt == BirdType::NoBirdKm && row.value) row.value = factor * *row.value;
            break;
    }
    row.order = row.value;
}

}  // namespace

void readRows(Database& db, ChampInput& in, bool loftRoutine) {
    const Definition& def = in.def;
    const Selection sel = selectionFor(def, loftRoutine);
    in.orderDescending = sel.descending;
    const bool clubUnits = loftRoutine && loftTypeOf(def.type) == LoftType::ClubPoint;
    if (in.races.empty()) return;

    // The clubs of the register by number, in the register's order; a bird of a club that is
    // not registered takes no part.
    std::unordered_map<std::string, std::vector<uint32_t>> clubs;
    {
        RowSet rs = db.query("SELECT Nr, Navn FROM Foreninger ORDER BY RecNr");
        for (size_t i = 0; i < rs.size(); ++i) {
            if (rs.rows[i][0].isNull()) continue;
            clubs[calc::foldCase(rs.rows[i][0].toText())].push_back(static_cast<uint32_t>(in.texts.clubName.size()));
            in.texts.clubName.push_back(rs.rows[i][1]);
        }
    }

    // A race entered twice in the championship gives its rows twice, as the join does.
    std::unordered_map<long long, std::pair<int, int>> raceOf;  // race number -> first index, times entered
    for (size_t j = 0; j < in.races.size(); ++j) {
        auto [it, added] = raceOf.try_emplace(in.races[j].nr, static_cast<int>(j), 0);
        ++it->second.second;
    }
    // When the championship covers much of the season one pass over the table in storage
    // order is cheaper than a search per race, which visits the rows in an index's order.
    const long long allRaces = db.scalar("SELECT count(*) FROM Kapflyvninger").toInt();
    const bool scan = static_cast<long long>(raceOf.size()) * 3 >= allRaces;

    std::vector<Value> params(1);
    if (scan) params[0] = Value(def.recNr);
    std::string sql = "SELECT Kapflyvning, Forening, Slag, Slag_Navn, Ringnummer, " + sel.columns +
                      (scan ? " FROM Deltagere NOT INDEXED WHERE Kapflyvning IN (SELECT Kapflyvning FROM Mesterskabsflyvninger "
                              "WHERE Mesterskab = ?)"
                            : " FROM Deltagere WHERE Kapflyvning = ?") +
                      sel.condition + criteriaFilter(def, params);
    if (db.scalar("SELECT count(*) FROM Mesterskaber_Duer WHERE Mesterskab = ?", {def.recNr}).toInt() > 0) {
        sql += " AND Ringnummer IN (SELECT Ringnummer FROM Mesterskaber_Duer WHERE Mesterskab = ?)";
        params.push_back(def.recNr);
    }
    Statement st = db.prepare(sql);

    const LoftType loftType = loftTypeOf(def.type);
    const BirdType birdType = birdTypeOf(def.type);
    KeyIds forening, slag, ring(false), last4(false);
    Spellings names;
    std::vector<uint32_t> last4OfRing;
    Value lastClubText;
    bool haveLastClub = false;
    const std::vector<uint32_t>* lastClub = nullptr;
    long long lastRace = 0;
    std::pair<int, int> race{-1, 0};
    bool reserved = false;

    auto readAll = [&] {
        while (st.step()) {
            const long long raceNr = st.column(0).toInt();
            if (race.first < 0 || raceNr != lastRace) {
                // Races are about equally large; one reservation saves the copies of growing.
                if (!reserved && !in.rows.empty()) {
                    in.rows.reserve(in.rows.size() * in.races.size() * 11 / 10);
                    reserved = true;
                }
                auto it = raceOf.find(raceNr);
                if (it == raceOf.end()) continue;
                race = it->second;
                lastRace = raceNr;
            }
            Value f = st.column(1);
            if (!haveLastClub || !(f == lastClubText)) {
                haveLastClub = true;
                lastClubText = f;
                lastClub = nullptr;
                if (!f.isNull()) {
                    auto it = clubs.find(calc::foldCase(f.toText()));
                    if (it != clubs.end()) lastClub = &it->second;
                }
            }
            if (!lastClub) continue;
            Row row;
            row.raceNr = raceNr;
            row.race = race.first;
            rowValues(row, st, loftRoutine, loftType, birdType, in.races[static_cast<size_t>(race.first)].factor);
            // For club standings the loft is always empty, so the unit is the club.
            Value s(""), navn("");
            if (!clubUnits) {
                s = st.column(2);
                navn = st.column(3);
            }
            Value r = st.column(4);
            row.forening = forening.add(f);
            row.slag = slag.add(s);
            row.ring = ring.add(r);
            row.slagNavn = names.add(navn, in.texts.slagNavn);
            // The last four characters follow from the ring number: found once per bird.
            if (r.isNull()) {
                row.last4 = last4.add(Value());
            } else {
                if (row.ring >= last4OfRing.size()) last4OfRing.resize(row.ring + 1, UINT32_MAX);
                if (last4OfRing[row.ring] == UINT32_MAX) last4OfRing[row.ring] = last4.add(Value(calc::lastChars(r.toText(), 4)));
                row.last4 = last4OfRing[row.ring];
            }
            // A club number registered twice joins each of its clubs.
            for (int times = 0; times < race.second; ++times)
                for (uint32_t c : *lastClub) {
                    row.club = c;
                    in.rows.push_back(row);
                }
        }
        st.reset();
    };
    if (scan) {
        st.bindAll(params);
        readAll();
    } else {
        for (const auto& [nr, r] : raceOf) {
            params[0] = Value(nr);
            st.bindAll(params);
            readAll();
        }
    }

    std::vector<uint32_t*> refs(in.rows.size());
    for (size_t i = 0; i < in.rows.size(); ++i) refs[i] = &in.rows[i].forening;
    in.texts.forening = forening.finish(refs);
    for (size_t i = 0; i < in.rows.size(); ++i) refs[i] = &in.rows[i].slag;
    in.texts.slag = slag.finish(refs);
    for (size_t i = 0; i < in.rows.size(); ++i) refs[i] = &in.rows[i].ring;
    in.texts.ring = ring.finish(refs);
    for (size_t i = 0; i < in.rows.size(); ++i) refs[i] = &in.rows[i].last4;
    last4.finish(refs);
}

}  // namespace vemora::championships::detail
