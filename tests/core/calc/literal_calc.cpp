// The race calculation done the slow way, as its passes are described row by row: each
// pass selects its rows with its own ORDER BY and saves every row it touches at once. The
// fast calculation must leave the database exactly as this one does.
#include "core/calc/literal_calc.h"

#include <stdexcept>

#include "core/app/procs.h"
#include "core/domain/catalogue.h"

namespace vemora::calctest {

namespace {

// Jet compares texts without regard to case; the translated ORDER BY texts say so for the
// expressions that carry no column collation of their own.
const std::string kRankOrder = "\"Meter / min\" DESC, substr(Ringnummer, -4) COLLATE NOCASE, Ringnummer";

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    return s;
}

bool sameText(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return lower(a.toText()) == lower(b.toText());
}

bool faster(const Value& speed, double threshold) { return !speed.isNull() && speed.toDouble() > threshold; }

void setField(Database& db, const Value& rowid, const std::string& field, const Value& v) {
    db.execute("UPDATE Deltagere SET " + sqlIdent(field) + " = ? WHERE rowid = ?", {v, rowid});
}

struct Scale {
    RowSet rows;
    size_t cursor = 0;
    double counter = 0;
    double take() {
        if (cursor >= rows.size()) return 0;
        double amount = rows.get(cursor, "Værdi").toDouble();
        counter = counter + 1;
        if (counter == rows.get(cursor, "Antal").toDouble()) {
            cursor++;
            counter = 0;
        }
        return amount;
    }
    double left() {
        double rest = 0;
        for (size_t r = cursor; r < rows.size(); ++r) {
            double antal = rows.get(r, "Antal").toDouble();
            if (r == cursor && counter != 0) antal = antal - counter;
            rest = rest + antal * rows.get(r, "Værdi").toDouble();
        }
        return rest;
    }
};

}  // namespace

void literalCalc(Database& db, long long nr) {
    const std::string race = std::to_string(nr);
    // 1. default area
    std::string area;
    RowSet g = db.query("SELECT * FROM Generelt");
    if (!g.empty()) {
        Value v = g.get(0, "Sektionsnr");
        if (v.isNull()) v = g.get(0, "Sektionsnavn");
        std::string s = v.toText();
        while (!s.empty() && s.front() == ' ') s.erase(s.begin());
        while (!s.empty() && s.back() == ' ') s.pop_back();
        auto p = s.rfind(' ');
        area = p == std::string::npos ? s : s.substr(p + 1);
    }
    // 2.
    RowSet k = db.query("SELECT * FROM Kapflyvninger WHERE Nr = " + race);
    if (!k.get(0, "Beregn").toBool()) return;
    // 3.
    std::string prefix = k.get(0, "Farvekode").toText().substr(0, 2);
    RowSet m = db.query("SELECT * FROM Markering");
    double M = m.get(0, "MestPoint" + prefix).isNull() ? 1000 : m.get(0, "MestPoint" + prefix).toDouble();
    Value prSlag = m.get(0, "SE_PointPrSlag" + prefix), step = m.get(0, "SE_PointStep" + prefix);
    double faktorA = m.get(0, "Præmiefaktor_A").toDouble(), faktorB = m.get(0, "Præmiefaktor_B").toDouble();
    bool placingPoints = m.get(0, "Pointsystem").toDouble() != 0;
    double threshold = (prefix == "91" || prefix == "92") ? m.get(0, "Hastighed_9192").toDouble()
                                                          : m.get(0, "Hastighed_Andre").toDouble();
    std::string thresholdText = SqlNumber(threshold);
    RowSet ind = db.query("SELECT * FROM Indskud");
    auto stake = [&](const std::string& f) { return ind.get(0, f).toDouble(); };
    // 4.
    std::string reset = "UPDATE Kapflyvninger SET Beregn = 0";
    for (const char* f : {"RestA", "RestB"})
        for (int i = 1; i <= 6; ++i) reset += std::string(", ") + f + std::to_string(i) + " = 0";
    db.exec(reset + ", RestKontant = 0, RestSlag = 0, RestSlagspil = 0, RestPulje = 0, RestElite = 0, RestZ = 0, RestR = 0 WHERE Nr = " + race);
    // 5.
    Value kode = k.get(0, "Kode");
    std::string kodeField = kode == Value("1") ? "Kode1" : kode == Value("2") ? "Kode2" : kode == Value("3") ? "Kode3" : "";
    bool split = !kode.isNull() && kode.toText() >= "1" && kode.toText() <= "3";
    RowSet groups = kodeField.empty()
                        ? db.query("SELECT ' ' AS Kode FROM Kapflyvninger WHERE Nr = " + race)
                        : db.query("SELECT DISTINCT " + kodeField + " AS Kode FROM Deltagere WHERE Kapflyvning = " + race +
                                   " ORDER BY Kode");
    bool national = !isPrivateOrSection(k.get(0, "Farvekode").toText());
    double placing = 0;
    // 6.
    for (size_t gi = 0; gi < groups.size(); ++gi) {
        Value gv = groups.get(gi, "Kode");
        std::string where = "Kapflyvning = " + race;
        if (!kodeField.empty()) where += " AND " + kodeField + (gv.isNull() ? " IS NULL" : " = " + sqlQuote(gv.toText()));
        RowSet birds = db.query("SELECT rowid AS rid, * FROM Deltagere WHERE " + where);
        // b.
        long long count = 0;
        double poolA[7] = {}, poolB[7] = {}, poolP = 0, poolE = 0, poolZ = 0, poolR = 0;
        for (size_t i = 0; i < birds.size(); ++i) {
            count++;
            Value rid = birds.get(i, "rid");
            db.execute("UPDATE Deltagere SET Placering = NULL, Slag_Placering = NULL, Slag_Placering2 = NULL, Slag_Ialt = NULL, "
                       "Forening_placering = NULL, Forening_ialt = NULL, Kapflyvning_ialt = NULL, \"Antal præmier\" = NULL, "
                       "PræmieretIKlasseA = NULL, PræmieretIKlasseB = NULL, Point = 0, Præmie = 0, PræmieretIKlE = 0, "
                       "PræmieretIKlP = 0, PræmieretIKlZ = 0, PræmieretIKlR = 0, PræmieretIKlS = 0 WHERE rowid = ?",
                       {rid});
            for (int c = 1; c <= birds.get(i, "Sektion A").toDouble(); ++c) poolA[c] += stake("A_Klasse" + std::to_string(c));
            for (int c = 1; c <= birds.get(i, "Sektion B").toDouble(); ++c) poolB[c] += stake("B_Klasse" + std::to_string(c));
            if (birds.get(i, "Pulje").toBool()) poolP += stake("Kl_P");
            if (birds.get(i, "Elite").toBool()) poolE += stake("Kl_E");
            if (birds.get(i, "Kl_Z").toBool()) poolZ += stake("Kl_Z");
            if (birds.get(i, "Kl_R").toBool()) poolR += stake("Kl_R");
        }
        // c.
        for (size_t i = 0; i < birds.size(); ++i) setField(db, birds.get(i, "rid"), "Kapflyvning_ialt", count);
        // d.
        auto open = [&](const std::string& table, const char* flag) {
            Scale s;
            s.rows = k.get(0, flag).toBool()
                         ? db.query("SELECT * FROM " + sqlIdent(table) + " WHERE Kapflyvning = " + race +
                                    " AND Værdi > 0 ORDER BY Værdi DESC, rowid")
                         : db.query("SELECT * FROM " + sqlIdent(table) + " WHERE 0");
            return s;
        };
        Scale cash = open("Kontantpræmier", "Kontantpræmier"), loft = open("Slagpræmier", "Slagpræmier"),
              loftGame = open("Slagspilspræmier", "Slagspil_S"), sp = open("P-spils-præmier", "Kl_P"),
              se = open("E-spils-præmier", "Kl_E"), sz = open("Z-spils-præmier", "Kl_Z"), sr = open("R-spils-præmier", "Kl_R");
        auto available = [&](Scale& s, double pool, const char* sw) {
            double total = 0;
            for (size_t r = 0; r < s.rows.size(); ++r) total += s.rows.get(r, "Antal").toDouble() * s.rows.get(r, "Værdi").toDouble();
            if (k.get(0, sw).toBool()) return total < pool ? total : pool;
            return total;
        };
        double avP = available(sp, poolP, "Pulje_Puljepræmier"), avE = available(se, poolE, "Elite_Puljepræmier"),
               avZ = available(sz, poolZ, "Z_Puljepræmier"), avR = available(sr, poolR, "R_Puljepræmier");
        std::string loftGameList = "|";
        if (k.get(0, "Slagspil_S").toBool()) {
            RowSet ss = db.query("SELECT * FROM Slagspil WHERE Kapflyvning = " + race);
            for (size_t r = 0; r < ss.size(); ++r) loftGameList += ss.get(r, "Forening").toText() + ss.get(r, "Slag").toText() + "|";
        }
        std::string loftList = "|", loftGameWon = "|";
        // e.
        RowSet ranked = db.query("SELECT rowid AS rid, * FROM Deltagere WHERE " + where + " AND \"Meter / min\" > " + thresholdText +
                                 " ORDER BY " + kRankOrder);
        double best = ranked.empty() ? 0 : ranked.get(0, "Meter / min").toDouble();
        long long position = 1;
        double previous = 0;
        for (size_t i = 0; i < ranked.size(); ++i) {
            auto f = [&](const char* name) { return ranked.get(i, name); };
            double speed = f("Meter / min").toDouble();
            double sekA = f("Sektion A").toDouble(), sekB = f("Sektion B").toDouble();
            double a[7] = {}, b[7] = {};
            if (!national) {
                for (int c = 1; c <= sekA; ++c)
                    if (poolA[c] > 0) {
                        double x = faktorA * stake("A_Klasse" + std::to_string(c));
                        if (x < poolA[c]) {
                            a[c] = x;
                            poolA[c] -= x;
                        } else {
                            a[c] = poolA[c];
                            poolA[c] = 0;
                        }
                    }
                for (int c = 1; c <= sekB; ++c)
                    if (poolB[c] > 0) {
                        double x = faktorB * stake("B_Klasse" + std::to_string(c));
                        if (x < poolB[c]) {
                            b[c] = x;
                            poolB[c] -= x;
                        } else {
                            b[c] = poolB[c];
                            poolB[c] = 0;
                        }
                    }
            }
            double kontant = cash.take(), p = 0, e = 0, z = 0, r = 0, sl = 0, ssp = 0;
            bool pulje = f("Pulje").toBool(), elite = f("Elite").toBool(), klZ = f("Kl_Z").toBool(), klR = f("Kl_R").toBool();
            if (pulje) p = sp.take();
            if (elite) e = se.take();
            if (klZ) z = sz.take();
            if (klR) r = sr.take();
            std::string key = "|" + f("Forening").toText() + f("Slag").toText() + "|";
            if (loftList.find(key) == std::string::npos) sl = loft.take();
            if (loftGameList.find(key) != std::string::npos && loftGameWon.find(key) == std::string::npos) ssp = loftGame.take();
            for (auto [amount, av] : {std::pair<double*, double*>{&p, &avP}, {&e, &avE}, {&z, &avZ}, {&r, &avR}}) {
                if (*amount <= *av) {
                    *av -= *amount;
                } else {
                    *amount = *av;
                    *av = 0;
                }
            }
            if (speed != previous) {
                placing = static_cast<double>(position);
                previous = speed;
            }
            Value rid = f("rid");
            setField(db, rid, "Placering", static_cast<long long>(placing));
            if (placingPoints)
                setField(db, rid, "Point", M - M * (placing - 1) / count);
            else
                setField(db, rid, "Point", speed * M / best);
            if (!split) {
                setField(db, rid, "Points1000", speed * 1000 / best);
                setField(db, rid, "PointsPlac", 1000 - (placing - 1) * 1000 / count);
            }
            double prize = kontant;
            long long number = kontant > 0 ? 1 : 0;
            if (pulje && p > 0) setField(db, rid, "PræmieretIKlP", true), prize += p, number++;
            if (elite && e > 0) setField(db, rid, "PræmieretIKlE", true), prize += e, number++;
            if (klZ && z > 0) setField(db, rid, "PræmieretIKlZ", true), prize += z, number++;
            if (klR && r > 0) setField(db, rid, "PræmieretIKlR", true), prize += r, number++;
            if (loftList.find(key) == std::string::npos) {
                loftList += key.substr(1);
                prize += sl;
                if (sl > 0) number++;
            }
            if (loftGameList.find(key) != std::string::npos && loftGameWon.find(key) == std::string::npos) {
                loftGameWon += key.substr(1);
                prize += ssp;
                if (ssp > 0) setField(db, rid, "PræmieretIKlS", true), number++;
            }
            for (int c = 1; c <= sekA; ++c)
                if (a[c] > 0) prize += a[c], setField(db, rid, "PræmieretIKlasseA", c), number++;
            for (int c = 1; c <= sekB; ++c)
                if (b[c] > 0) prize += b[c], setField(db, rid, "PræmieretIKlasseB", c), number++;
            setField(db, rid, "Præmie", prize > 0 ? Value(prize) : Value());
            setField(db, rid, "Antal præmier", number != 0 ? Value(number) : Value());
            position++;
        }
        // f.
        std::string add = "UPDATE Kapflyvninger SET ";
        std::vector<Value> vals;
        for (int c = 1; c <= 6; ++c) {
            add += "RestA" + std::to_string(c) + " = RestA" + std::to_string(c) + " + ?, ";
            vals.push_back(poolA[c]);
            add += "RestB" + std::to_string(c) + " = RestB" + std::to_string(c) + " + ?, ";
            vals.push_back(poolB[c]);
        }
        add += "RestKontant = RestKontant + ?, RestSlag = RestSlag + ?, RestSlagspil = RestSlagspil + ?, RestPulje = RestPulje + ?, "
               "RestElite = RestElite + ?, RestZ = RestZ + ?, RestR = RestR + ? WHERE Nr = " + race;
        for (double v : {cash.left(), loft.left(), loftGame.left(), avP, avE, avZ, avR}) vals.push_back(v);
        db.execute(add, vals);
    }

    // 7. loft placings
    RowSet lofts = db.query("SELECT rowid AS rid, * FROM Deltagere WHERE Kapflyvning = " + race + " ORDER BY Forening, Slag, " + kRankOrder);
    // 8. club placings; 9. area placings: the same walk over runs of another key.
    auto walk = [&](RowSet& rs, auto sameRun, const char* placeField, const char* placeField2, const char* countField) {
        double runPlacing = 0;
        for (size_t start = 0; start < rs.size();) {
            size_t end = start + 1;
            while (end < rs.size() && sameRun(start, end)) end++;
            long long position = 0;
            double previous = 0;
            for (size_t i = start; i < end; ++i) {
                Value rid = rs.get(i, "rid");
                setField(db, rid, countField, static_cast<long long>(end - start));
                Value speed = rs.get(i, "Meter / min");
                if (faster(speed, threshold)) {
                    position++;
                    if (speed.toDouble() != previous) {
                        runPlacing = static_cast<double>(position);
                        previous = speed.toDouble();
                    }
                    setField(db, rid, placeField, static_cast<long long>(runPlacing));
                    if (placeField2) setField(db, rid, placeField2, position);
                }
            }
            start = end;
        }
    };
    walk(
        lofts,
        [&](size_t a, size_t b) {
            return sameText(lofts.get(a, "Forening"), lofts.get(b, "Forening")) && sameText(lofts.get(a, "Slag"), lofts.get(b, "Slag"));
        },
        "Slag_Placering", "Slag_Placering2", "Slag_Ialt");
    RowSet clubs = db.query("SELECT rowid AS rid, * FROM Deltagere WHERE Kapflyvning = " + race + " ORDER BY Forening, " + kRankOrder);
    walk(clubs, [&](size_t a, size_t b) { return sameText(clubs.get(a, "Forening"), clubs.get(b, "Forening")); },
         "Forening_placering", nullptr, "Forening_ialt");
    std::string omr = "iif(Område IS NULL, " + sqlQuote(area) + ", Område)";
    RowSet areas = db.query("SELECT rowid AS rid, *, " + omr + " AS Omr FROM Deltagere WHERE Kapflyvning = " + race + " ORDER BY " +
                            omr + " COLLATE NOCASE, " + kRankOrder);
    walk(areas, [&](size_t a, size_t b) { return sameText(areas.get(a, "Omr"), areas.get(b, "Omr")); }, "Område_Placering", nullptr,
         "Område_Ialt");

    // 10.
    if (split) {
        RowSet all = db.query("SELECT rowid AS rid, * FROM Deltagere WHERE Kapflyvning = " + race + " AND \"Meter / min\" > " +
                              thresholdText + " ORDER BY " + kRankOrder);
        long long n = static_cast<long long>(all.size());
        double best = n ? all.get(0, "Meter / min").toDouble() : 0, previous = 0, pl = 0;
        for (size_t i = 0; i < all.size(); ++i) {
            double speed = all.get(i, "Meter / min").toDouble();
            if (speed != previous) {
                pl = static_cast<double>(i + 1);
                previous = speed;
            }
            setField(db, all.get(i, "rid"), "Points1000", speed * 1000 / best);
            setField(db, all.get(i, "rid"), "PointsPlac", 1000 - (pl - 1) * 1000 / n);
        }
    }

    // 11.
    if (!prSlag.isNull() && !step.isNull() && prSlag.toDouble() != 0 && step.toDouble() != 0) {
        db.exec("UPDATE Deltagere SET Point = 0 WHERE Kapflyvning = " + race);
        std::string kf = kodeField.empty() ? "' '" : kodeField;
        std::string p = kodeField.empty() ? "" : kodeField + ", ";
        RowSet rs = db.query("SELECT rowid AS rid, Deltagere.*, " + kf + " AS Kode FROM Deltagere WHERE Kapflyvning = " + race +
                             " AND Slag_Placering2 > 0 ORDER BY " + p + kRankOrder);
        double current = 0;
        for (size_t i = 0; i < rs.size(); ++i) {
            if (i == 0 || !sameText(rs.get(i, "Kode"), rs.get(i - 1, "Kode"))) current = M;
            if (current > 0) {
                if (rs.get(i, "Slag_Placering2").toDouble() <= prSlag.toDouble()) setField(db, rs.get(i, "rid"), "Point", current);
                current -= step.toDouble();
            }
        }
    }
    // 12.
    db.exec("UPDATE Kapflyvninger SET Beregn = 0 WHERE Nr = " + race);
}

}  // namespace vemora::calctest
