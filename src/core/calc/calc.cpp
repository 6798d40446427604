#include "core/calc/calc.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <string>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/calc/racecalc.h"
#include "core/domain/catalogue.h"

namespace vemora {

namespace {

using calc::CalcError;
using calc::RaceInput;

// A setting the calculation cannot do without; Null stops it like any other error.
double needNumber(const RowSet& rs, const std::string& table, const std::string& field) {
    const Value& v = rs.get(0, field);
    if (v.isNull()) throw CalcError("Ugyldig brug af Null (" + table + "." + field + ").", false);
    return v.toDouble();
}

// The area of birds without one: the section number (or name) after its last blank.
std::string defaultArea(Database& db) {
    RowSet g = db.query("SELECT Sektionsnr, Sektionsnavn FROM Generelt ORDER BY rowid LIMIT 1");
    if (g.empty()) return {};
    Value v = g.get(0, "Sektionsnr");
    if (v.isNull()) v = g.get(0, "Sektionsnavn");
    std::string s = trim(v.toText());
    auto blank = s.rfind(' ');
    return blank == std::string::npos ? s : s.substr(blank + 1);
}

std::vector<calc::ScaleRow> readScale(Database& db, const std::string& table, long long nr) {
    std::vector<calc::ScaleRow> rows;
    // rowid keeps rows of equal value in the order they were entered.
    Statement st = db.prepare("SELECT Værdi, Antal FROM " + sqlIdent(table) +
                              " WHERE Kapflyvning = ? AND Værdi > 0 ORDER BY Værdi DESC, rowid");
    st.bind(1, Value(nr));
    while (st.step()) {
        Value antal = st.column(1);
        if (antal.isNull()) throw CalcError("Ugyldig brug af Null (" + table + ".Antal).", true);
        rows.push_back({st.column(0).toDouble(), antal.toDouble()});
    }
    return rows;
}

void readBirds(Database& db, long long nr, const std::string& sql, RaceInput& in);

// The calculation keeps its scales in its own order (the games P, E, Z, R side by side).
calc::ScaleKind calcScale(ScaleIndex i) {
    switch (i) {
        case kScaleKontant: return calc::sKontant;
        case kScaleSlagspil: return calc::sSlagspil;
        case kScaleP: return calc::sP;
        case kScaleE: return calc::sE;
        case kScaleSlag: return calc::sSlag;
        case kScaleZ: return calc::sZ;
        default: return calc::sR;
    }
}

// Everything the calculation reads, in one pass over the race's rows.
RaceInput readRace(Database& db, long long nr) {
    RaceInput in;
    std::string fields = "Farvekode, Kode";
    for (const auto& scale : prizeScales()) fields += ", " + sqlIdent(scale.flagField);
    for (const auto& g : games()) fields += ", " + sqlIdent(g.poolSwitch);
    RowSet race = db.query("SELECT " + fields + " FROM Kapflyvninger WHERE Nr = ?", {Value(nr)});
    std::string farvekode = race.get(0, "Farvekode").toText();
    std::string prefix = farvekode.substr(0, std::min<size_t>(2, farvekode.size()));
    in.classPrizes = isPrivateOrSection(farvekode);
    in.defaultArea = defaultArea(db);

    for (const char* f : {"MestPoint", "SE_PointPrSlag", "SE_PointStep"})
        if (!db.hasColumn("Markering", f + prefix))
            throw CalcError(std::string("Feltet ") + f + prefix + " findes ikke i Markering.", false);
    RowSet mark = db.query("SELECT Præmiefaktor_A, Præmiefaktor_B, Pointsystem, Hastighed_9192, Hastighed_Andre, " +
                           sqlIdent("MestPoint" + prefix) + " AS MestPoint, " + sqlIdent("SE_PointPrSlag" + prefix) +
                           " AS PrSlag, " + sqlIdent("SE_PointStep" + prefix) + " AS Step FROM Markering ORDER BY rowid LIMIT 1");
    if (mark.empty()) throw CalcError("Ingen aktuel post (Markering).", false);
    in.faktorA = needNumber(mark, "Markering", "Præmiefaktor_A");
    in.faktorB = needNumber(mark, "Markering", "Præmiefaktor_B");
    in.placingPoints = mark.get(0, "Pointsystem").toDouble() != 0;
    in.threshold = needNumber(mark, "Markering", prefix == "91" || prefix == "92" ? "Hastighed_9192" : "Hastighed_Andre");
    // The ranked passes select with the threshold written as statement text.
    std::string thresholdText = SqlNumber(in.threshold);
    in.thresholdSql = in.threshold;
    std::from_chars(thresholdText.data(), thresholdText.data() + thresholdText.size(), in.thresholdSql);
    in.mestPoint = mark.get(0, "MestPoint").toInt(1000);
    in.pointPrSlag = mark.get(0, "PrSlag");
    in.pointStep = mark.get(0, "Step");

    RowSet stakes = db.query("SELECT * FROM Indskud ORDER BY rowid LIMIT 1");
    if (stakes.empty()) throw CalcError("Ingen aktuel post (Indskud).", false);
    for (int k = 1; k <= 6; ++k) {
        in.stakeA[k] = needNumber(stakes, "Indskud", "A_Klasse" + std::to_string(k));
        in.stakeB[k] = needNumber(stakes, "Indskud", "B_Klasse" + std::to_string(k));
    }
    // The calculation's games are the catalogue's, in the same order.
    static_assert(static_cast<int>(calc::kGameCount) == static_cast<int>(kGameCount));
    for (int g = 0; g < calc::kGameCount; ++g) {
        in.stakeGame[g] = needNumber(stakes, "Indskud", games()[g].stakeField);
        in.poolSwitch[g] = race.get(0, games()[g].poolSwitch).toBool();
    }

    Value kode = race.get(0, "Kode");
    std::string k = kode.toText();
    in.codeField = kode.isNull() ? 0 : k == "1" ? 1 : k == "2" ? 2 : k == "3" ? 3 : 0;
    in.splitByCode = !kode.isNull() && k >= "1" && k <= "3";

    for (int i = 0; i < kScaleCount; ++i) {
        const PrizeScale& scale = prizeScales()[static_cast<size_t>(i)];
        if (race.get(0, scale.flagField).toBool()) in.scales[calcScale(static_cast<ScaleIndex>(i))] = readScale(db, scale.table, nr);
    }
    if (race.get(0, "Slagspil_S").toBool()) {
        Statement st = db.prepare("SELECT Forening, Slag FROM Slagspil WHERE Kapflyvning = ?");
        st.bind(1, Value(nr));
        while (st.step()) in.loftGameLofts.insert(st.column(0).toText() + st.column(1).toText());
    }

    std::string sql = "SELECT rowid, Ringnummer, Forening, Slag, Område, " +
                      (in.codeField ? "Kode" + std::to_string(in.codeField) : std::string("NULL")) +
                      ", \"Meter / min\", \"Sektion A\", \"Sektion B\", Pulje, Elite, Kl_Z, Kl_R";
    sql += ", Område_Placering, Points1000, PointsPlac";
    readBirds(db, nr, sql + " FROM Deltagere WHERE Kapflyvning = ?", in);
    return in;
}

void readBirds(Database& db, long long nr, const std::string& sql, RaceInput& in) {
    Statement st = db.prepare(sql);
    st.bind(1, Value(nr));
    while (st.step()) {
        RaceInput::Bird b;
        b.rowid = st.column(0).toInt();
        b.ring = st.column(1).toText();
        b.forening = st.column(2);
        b.slag = st.column(3);
        b.omraade = st.column(4);
        b.kode = st.column(5);
        Value speed = st.column(6);
        if (!speed.isNull()) b.speed = speed.toDouble();
        // An empty class entry means none, as the import delivers it.
        b.sektionA = st.column(7).toDouble();
        b.sektionB = st.column(8).toDouble();
        b.pulje = st.column(9).toBool();
        b.elite = st.column(10).toBool();
        b.klZ = st.column(11).toBool();
        b.klR = st.column(12).toBool();
        b.oldOmraadePlacering = st.column(13);
        b.oldPoints1000 = st.column(14);
        b.oldPointsPlac = st.column(15);
        in.birds.push_back(std::move(b));
    }
}

// The race row as the calculation leaves it before any bird is written: remainders 0 and
// Beregn False. An error of the race's own data found after this point (a Null prize count, a
// bird in more than six classes) leaves the race counting as current. Every such error is
// found before anything is written, so the birds then keep their old results, where a
// row-by-row calculation would have left the rows it had saved so far. An error of the
// engine (a locked or damaged file) changes nothing: the race stays marked for calculation.
void storeReset(Database& db, long long nr) {
    std::string sql = "UPDATE Kapflyvninger SET Beregn = 0";
    for (const char* f : calc::restFieldNames()) sql += ", " + sqlIdent(f) + " = 0";
    db.execute(sql + " WHERE Nr = ?", {Value(nr)});
}

void storeResult(Database& db, long long nr, const RaceInput& in, const calc::RaceResult& out) {
    Transaction tr(db);
    std::string sql = "UPDATE Kapflyvninger SET Beregn = 0";
    for (const char* f : calc::restFieldNames()) sql += ", " + sqlIdent(f) + " = ?";
    Statement race = db.prepare(sql + " WHERE Nr = ?");
    int p = 1;
    for (double r : out.rest) race.bind(p++, Value(r));
    race.bind(p, Value(nr));
    race.run();

    // A row is written only when one of its values differs from the stored one; the engine
    // compares, so the birds' old results need not be read.
    sql = "UPDATE Deltagere SET ";
    std::string differs;
    for (int f = 0; f < calc::kResultFieldCount; ++f) {
        std::string name = sqlIdent(calc::resultFieldNames()[f]), param = "?" + std::to_string(f + 1);
        sql += (f ? ", " : "") + name + " = " + param;
        differs += (f ? " OR " : "") + name + " IS NOT " + param;
    }
    const int rowParam = calc::kResultFieldCount + 1;
    Statement bird = db.prepare(sql + " WHERE rowid = ?" + std::to_string(rowParam) + " AND (" + differs + ")");
    // In row order, so that consecutive updates land on the same pages.
    std::vector<uint32_t> byRow(in.birds.size());
    std::iota(byRow.begin(), byRow.end(), 0u);
    std::sort(byRow.begin(), byRow.end(), [&](uint32_t a, uint32_t b) { return in.birds[a].rowid < in.birds[b].rowid; });
    for (uint32_t i : byRow) {
        for (int f = 0; f < calc::kResultFieldCount; ++f) bird.bind(f + 1, out.birds[i].value(f));
        bird.bind(rowParam, Value(in.birds[i].rowid));
        bird.run();
    }
    tr.commit();
}

}  // namespace

bool CalcKapflyvning(AppState& app, long long nr) {
    bool reset = false;
    try {
        Database& db = app.database();
        Value beregn;
        {
            Statement st = db.prepare("SELECT Beregn FROM Kapflyvninger WHERE Nr = ?");
            st.bind(1, Value(nr));
            if (!st.step()) throw CalcError("Kapflyvning " + std::to_string(nr) + " findes ikke.", false);
            beregn = st.column(0);
        }
        if (!beregn.toBool()) return true;

        BusyScope busy(app);
        try {
            RaceInput in;
            try {
                in = readRace(db, nr);
            } catch (const DbError& e) {
                throw CalcError(e.what(), false);
            }
            calc::RaceResult out = calc::computeRace(in);
            storeResult(db, nr, in, out);
            return true;
        } catch (const CalcError& e) {
            reset = e.afterReset();
            throw;
        }
        // A database error (the file held by another program past the busy wait, a damaged
        // table) rolls the results back and leaves the race row alone too, so the race keeps
        // its Beregn flag and the next calculation repairs it.
    } catch (const std::exception& e) {
        if (reset) {
            try {
                storeReset(app.database(), nr);
            } catch (const std::exception&) {
                // The first error is the one the user needs to see.
            }
        }
        app.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return false;
    }
}

}  // namespace vemora
