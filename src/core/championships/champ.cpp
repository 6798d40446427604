// A championship run: one read of its season, the standings computed in memory and stored
// in one transaction.
#include "core/calc/calc.h"
#include "core/championships/champcalc.h"
#include "core/championships/championships.h"
#include "core/championships/champread.h"
#include "core/championships/criteria.h"
#include "core/championships/definition.h"

namespace vemora::championships {

using namespace detail;

namespace {

std::string pageInsert(const std::string& table, bool withId) {
    std::string cols = "Page", marks = "?";
    if (withId) {
        cols += ", IdText";
        marks += ", ?";
    }
    for (int i = 1; i <= kPageColumns; ++i) {
        cols += ", F" + std::to_string(i);
        marks += ", ?";
    }
    return "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")";
}

void insertPages(Database& db, const ChampOutput& out) {
    Statement heading = db.prepare(pageInsert("CrosstabHeaders", false));
    for (const PageRow& r : out.headers) {
        heading.bind(1, Value(r.page));
        for (int c = 0; c < kPageColumns; ++c) heading.bind(c + 2, r.f[static_cast<size_t>(c)]);
        heading.run();
    }
    Statement cell = db.prepare(pageInsert("CrosstabResult", true));
    for (const CellRow& r : out.cells) {
        cell.bind(1, Value(r.page));
        cell.bind(2, Value(out.unitIds[r.unit]));
        for (int c = 0; c < kPageColumns; ++c)
            cell.bind(c + 3, (r.filled >> c) & 1u ? Value(formatPoints(r.value[static_cast<size_t>(c)], out.cellDecimals)) : Value());
        cell.run();
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
    Statement st = db.prepare(
        "INSERT INTO Mesterskabsresultat (Mesterskabsnr, Mesterskabstitel, Placering, Foreningsnr, Foreningsnavn, Slag, "
        "Slagnavn, Ringnummer, Points, Points2, Id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const ResultRow& r : out.results) {
        st.bindAll({in.def.nr, in.def.titel, Value(r.placering), r.foreningsnr, r.foreningsnavn, r.slag, r.slagnavn, r.ringnummer,
                    Value(r.points), r.points2, Value(r.id)});
        st.run();
    }
    if (in.specifyPoints) insertPages(db, out);
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
