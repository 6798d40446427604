// Reading a championship's season once, and storing its standings in one transaction.
#include <charconv>
#include <unordered_map>

#include "core/app/procs.h"
#include "core/calc/calc.h"
#include "core/calc/racecalc.h"
#include "core/championships/champcalc.h"
#include "core/championships/championships.h"
#include "core/championships/criteria.h"
#include "core/championships/definition.h"

namespace vemora::championships {

using namespace detail;

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
    uint32_t add(const Value& v) {
        if (v.isNull()) {
            hasNull_ = true;
            return kNull;
        }
        std::string key = calc::foldCase(v.toText());
        auto [it, inserted] = ids_.emplace(std::move(key), static_cast<uint32_t>(first_.size()));
        if (inserted) first_.push_back(v);
        return it->second;
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
    bool hasNull_ = false;
};

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

// The mean distance of every race, stored on the race, and the factor it gives.
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

// The selection's rows, read race by race without order; the walk sorts them.
void readRows(Database& db, ChampInput& in, bool loftRoutine) {
    const Definition& def = in.def;
    const Selection sel = selectionFor(def, loftRoutine);
    in.orderDescending = sel.descending;
    const bool clubUnits = loftRoutine && loftTypeOf(def.type) == LoftType::ClubPoint;

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

    std::vector<Value> params{Value()};
    std::string sql = "SELECT Forening, Slag, Slag_Navn, Ringnummer, " + sel.columns +
                      " FROM Deltagere WHERE Kapflyvning = ?" + sel.condition + criteriaFilter(def, params);
    if (db.scalar("SELECT count(*) FROM Mesterskaber_Duer WHERE Mesterskab = ?", {def.recNr}).toInt() > 0) {
        sql += " AND Ringnummer IN (SELECT Ringnummer FROM Mesterskaber_Duer WHERE Mesterskab = ?)";
        params.push_back(def.recNr);
    }
    Statement st = db.prepare(sql);

    KeyIds forening, slag, ring, last4;
    std::unordered_map<long long, int> raceIndex;
    for (size_t j = 0; j < in.races.size(); ++j) raceIndex.emplace(in.races[j].nr, static_cast<int>(j));
    const LoftType lt = loftTypeOf(def.type);
    const BirdType bt = birdTypeOf(def.type);

    for (const Race& race : in.races) {
        params[0] = Value(race.nr);
        st.bindAll(params);
        const int index = raceIndex.at(race.nr);
        while (st.step()) {
            Value f = st.column(0);
            auto match = f.isNull() ? clubs.end() : clubs.find(calc::foldCase(f.toText()));
            if (match == clubs.end()) continue;
            Row row;
            row.raceNr = race.nr;
            row.race = index;
            Value s = clubUnits ? Value("") : st.column(1);
            Value navn = clubUnits ? Value("") : st.column(2);
            Value r = st.column(3);
            const double factor = in.races[static_cast<size_t>(index)].factor;
            if (loftRoutine) {
                switch (lt) {
                    case LoftType::HB:
                        row.order = num(st.column(4));
                        row.second = ratio(st.column(5), st.column(6));
                        break;
                    case LoftType::HalfHalf: {
                        Value a = st.column(4), b = st.column(5);
                        if (!a.isNull() && !b.isNull()) row.value = (a.toDouble() + b.toDouble()) / 2;
                        row.order = row.value;
                        break;
                    }
                    case LoftType::NoPlac:
                    case LoftType::NoKm: {
                        row.order = num(st.column(4));
                        row.value = noPlacePoints(st.column(4), st.column(5));
                        if (lt == LoftType::NoKm && row.value) row.value = factor * *row.value;
                        break;
                    }
                    case LoftType::ClubPoint:
                    case LoftType::Point: row.value = row.order = num(st.column(4)); break;
                }
            } else {
                switch (bt) {
                    case BirdType::Coefficient: row.value = ratio(st.column(4), st.column(5)); break;
                    case BirdType::Kilometer: {
                        Value p = st.column(4), a = st.column(5);
                        if (!p.isNull()) row.value = p.toDouble() + (a.isNull() ? 0.0 : a.toDouble());
                        break;
                    }
                    case BirdType::BirdPoint: row.value = num(st.column(4)); break;
                    case BirdType::NoBirdPoint:
                    case BirdType::NoBirdKm:
                        row.value = noPlacePoints(st.column(4), st.column(5));
                        if (bt == BirdType::NoBirdKm && row.value) row.value = factor * *row.value;
                        break;
                }
                row.order = row.value;
            }
            row.forening = forening.add(f);
            row.slag = slag.add(s);
            row.ring = ring.add(r);
            row.last4 = last4.add(r.isNull() ? Value() : Value(calc::lastChars(r.toText(), 4)));
            // A club number registered twice joins each of its clubs.
            for (uint32_t c : match->second) {
                row.club = c;
                in.rows.push_back(row);
                in.texts.slagNavn.push_back(navn);
            }
        }
        st.reset();
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

void insertPageRows(Database& db, const std::string& table, const std::vector<PageRow>& rows, bool withId) {
    std::string cols = "Page", marks = "?";
    if (withId) {
        cols += ", IdText";
        marks += ", ?";
    }
    for (int i = 1; i <= kPageColumns; ++i) {
        cols += ", F" + std::to_string(i);
        marks += ", ?";
    }
    Statement st = db.prepare("INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")");
    for (const PageRow& r : rows) {
        int p = 1;
        st.bind(p++, Value(r.page));
        if (withId) st.bind(p++, Value(r.idText));
        for (const Value& v : r.f) st.bind(p++, v);
        st.run();
    }
}

void store(Database& db, const ChampInput& in, const ChampOutput& out, bool storeDistances) {
    Transaction tr(db);
    db.execute("DELETE FROM Mesterskabsresultat WHERE Mesterskabsnr = ?", {in.def.nr});
    if (in.specifyPoints) {
        db.exec("DELETE FROM CrosstabHeaders");
        db.exec("DELETE FROM CrosstabResult");
    }
    if (storeDistances) {
        Statement st = db.prepare("UPDATE Kapflyvninger SET Middelafstand = ? WHERE Nr = ?");
        for (const Race& r : in.races) {
            st.bind(1, r.middelafstand);
            st.bind(2, Value(r.nr));
            st.run();
        }
    }
    if (in.specifyPoints) insertPageRows(db, "CrosstabHeaders", out.headers, false);
    Statement st = db.prepare(
        "INSERT INTO Mesterskabsresultat (Mesterskabsnr, Mesterskabstitel, Placering, Foreningsnr, Foreningsnavn, Slag, "
        "Slagnavn, Ringnummer, Points, Points2, Id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const ResultRow& r : out.results) {
        st.bindAll({in.def.nr, in.def.titel, Value(r.placering), r.foreningsnr, r.foreningsnavn, r.slag, r.slagnavn, r.ringnummer,
                    Value(r.points), r.points2, Value(r.id)});
        st.run();
    }
    if (in.specifyPoints) insertPageRows(db, "CrosstabResult", out.cells, true);
    tr.commit();
}

bool run(AppState& app, const std::string& nr, const ChampOptions& options, bool loftRoutine) {
    try {
        Database& db = app.database();
        BusyScope busy(app);
        ChampInput in;
        if (!readDefinition(db, nr, in.def)) {
            app.userInterface().message("Fejl ved læsning af mesterskabsrecord.", "Fejl", Icon::Exclamation);
            return false;
        }
        in.specifyPoints = options.specifyPoints;
        in.decimals = options.decimals;
        in.races = readRaces(db, in.def);
        // Every reader of results brings the race up to date first; the race reports its
        // own error.
        for (const Race& r : in.races)
            if (!CalcKapflyvning(app, r.nr)) return false;
        const bool distances =
            loftRoutine ? loftTypeOf(in.def.type) == LoftType::NoKm : birdTypeOf(in.def.type) == BirdType::NoBirdKm;
        if (distances) distanceFactors(db, in.races);
        readRows(db, in, loftRoutine);
        ChampOutput out = loftRoutine ? computeLofts(in) : computeBirds(in);
        store(db, in, out, distances);
        return true;
    } catch (const std::exception& e) {
        app.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
}

}  // namespace

bool DecimalsEnabled(const std::string& type) {
    std::string u = UpperType(type);
    return u != "ES-DUE-KOEFFICIENT" && u != "HB";
}

bool CalcMesterskab(AppState& app, const std::string& nr, const ChampOptions& options) { return run(app, nr, options, true); }

bool CalcMesterskabDue(AppState& app, const std::string& nr, const ChampOptions& options) { return run(app, nr, options, false); }

bool CalcChampionship(AppState& app, const std::string& nr, const ChampOptions& options) {
    Value type;
    try {
        type = app.database().scalar("SELECT Type FROM Mesterskaber WHERE Nr = ? ORDER BY RecNr LIMIT 1", {nr});
    } catch (const std::exception& e) {
        app.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
    // A championship that is not there is reported by the routine itself.
    return IsLoftOrClubType(type.toText()) ? CalcMesterskab(app, nr, options) : CalcMesterskabDue(app, nr, options);
}

}  // namespace vemora::championships
