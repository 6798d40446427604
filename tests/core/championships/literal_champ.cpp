// The championship calculations done the slow way, as their steps are described: one
// ordered statement per run, running variables per unit or bird, a row saved at a time.
#include "core/championships/literal_champ.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/app/procs.h"

namespace vemora::champtest {

namespace {

char lowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The engine's Like: * any run, ? one character, # one digit, [list] and [!list] one
// character of (not of) the list with ranges; letters without regard to case.
bool likeMatch(const char* p, const char* s) {
    for (; *p; ++p) {
        if (*p == '*') {
            for (const char* t = s;; ++t) {
                if (likeMatch(p + 1, t)) return true;
                if (!*t) return false;
            }
        }
        if (!*s) return false;
        if (*p == '?') {
        } else if (*p == '#') {
            if (*s < '0' || *s > '9') return false;
        } else if (*p == '[') {
            const char* q = p + 1;
            bool negate = *q == '!';
            if (negate) ++q;
            bool hit = false;
            for (; *q && *q != ']'; ++q) {
                if (q[1] == '-' && q[2] && q[2] != ']') {
                    hit |= lowerChar(*s) >= lowerChar(*q) && lowerChar(*s) <= lowerChar(q[2]);
                    q += 2;
                } else {
                    hit |= lowerChar(*s) == lowerChar(*q);
                }
            }
            if (!*q || hit == negate) return false;
            p = q;
        } else if (lowerChar(*p) != lowerChar(*s)) {
            return false;
        }
        ++s;
    }
    return !*s;
}

void jetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const char* s = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, likeMatch(p, s) ? 1 : 0);
}

std::string q(const std::string& s) { return sqlQuote(s); }

std::string lower(std::string s) {
    for (char& c : s) c = lowerChar(c);
    return s;
}

bool same(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return lower(a.toText()) == lower(b.toText());
}

Value nullIfEmpty(const Value& v) { return v.isNull() || v.toText().empty() ? Value() : v; }

double nz(const Value& v) { return v.isNull() ? 0.0 : v.toDouble(); }

std::string upperType(const std::string& s) {
    std::string u;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "æ") == 0) {
            u += "Æ";
            ++i;
        } else if (s.compare(i, 2, "ø") == 0) {
            u += "Ø";
            ++i;
        } else if (s.compare(i, 2, "å") == 0) {
            u += "Å";
            ++i;
        } else {
            u += static_cast<char>(s[i] >= 'a' && s[i] <= 'z' ? s[i] - 32 : s[i]);
        }
    }
    return u;
}

struct Def {
    RowSet row;
    Value get(const char* f) const { return row.get(0, f); }
    std::string recNr() const { return get("RecNr").toText(); }
    std::string type() const { return get("Type").toText(); }
};

// The distance factor as an expression on Middelafstand.
std::string factorExpression(Database& db) {
    RowSet f = db.query("SELECT * FROM KM_faktorer ORDER BY KM DESC");
    if (f.empty()) return "1";
    std::string e = "iif(Middelafstand IS NULL, 1, ";
    for (size_t i = 0; i < f.size(); ++i) {
        Value faktor = f.get(i, "Faktor");
        e += "iif(Middelafstand >= " + SqlNumber(f.get(i, "KM").toDouble()) + ", " +
             (faktor.isNull() ? std::string("1") : SqlNumber(faktor.toDouble())) + ", ";
    }
    e += "1";
    for (size_t i = 0; i <= f.size(); ++i) e += ")";
    return e;
}

struct RaceArray {
    std::vector<long long> nr;
    std::vector<int> kind;
    int indexOf(long long race) const {
        for (size_t i = 0; i < nr.size(); ++i)
            if (nr[i] == race) return static_cast<int>(i);
        return -1;
    }
};

// Step 4 of the loft routine, shared by the bird routine with its own kinds.
RaceArray races(Database& db, const Def& d, bool loftKinds, bool distances, bool specify) {
    RaceArray a;
    RowSet rs = db.query(
        "SELECT Kapflyvning, Uge, Farvekode, LMU, Navn FROM (Mesterskabsflyvninger INNER JOIN Kapflyvninger ON "
        "Mesterskabsflyvninger.Kapflyvning = Kapflyvninger.Nr) LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr "
        "WHERE Mesterskab = " + d.recNr() + " ORDER BY Uge, Farvekode, Kapflyvninger.Nr");
    std::vector<Value> header(15);
    for (size_t i = 0; i < rs.size(); ++i) {
        std::string race = rs.get(i, "Kapflyvning").toText();
        if (distances) {
            Value avg = db.scalar("SELECT avg(Afstand) AS Afst FROM Deltagere WHERE Kapflyvning = " + race);
            // The average as 15 digits, as the program stores it; bound rather than written into
            // the text, since the engine's reading of a number in SQL text can miss the nearest
            // double by one unit in the last place.
            db.execute("UPDATE Kapflyvninger SET Middelafstand = ? WHERE Nr = " + race,
                       {avg.isNull() ? Value() : Value(std::stod(SqlNumber(avg.toDouble())))});
        }
        std::string fk = rs.get(i, "Farvekode").toText();
        size_t pos = fk.find(" - ");
        std::string code = pos == std::string::npos ? fk : fk.substr(0, pos);
        std::string label = pos == std::string::npos ? "" : fk.substr(pos + 3);
        std::string lmu = rs.get(i, "LMU").toText();
        if (lmu == "l") lmu = "L";
        if (lmu == "m") lmu = "M";
        int kind;
        if (code >= "90" && code <= "94") {
            if (loftKinds)
                kind = lmu == "L" ? 1 : lmu == "M" ? 2 : 0;
            else
                kind = lmu == "M" ? (d.get("Antal_M_flyvninger").isNull() ? 0 : 2)
                                  : lmu == "L" ? (d.get("Antal_L_flyvninger").isNull() ? 0 : 1) : 0;
        } else if (code == "95" || code == "96") {
            kind = loftKinds || !d.get("Antal_S_flyvninger").isNull() ? 3 : 0;
        } else {
            kind = loftKinds || !d.get("Antal_P_flyvninger").isNull() ? 4 : 0;
        }
        a.nr.push_back(rs.get(i, "Kapflyvning").toInt());
        a.kind.push_back(kind);
        if (specify) {
            if (i % 14 == 0) std::fill(header.begin(), header.end(), Value());
            std::string word = label.substr(0, label.find(' '));
            header[i % 14 + 1] = rs.get(i, "Uge").toText() + "\r\n" + code + " " + word + "\r\n" + rs.get(i, "Navn").toText();
            if (i % 14 == 13 || i + 1 == rs.size()) {
                std::vector<Value> vals{Value(static_cast<long long>(i / 14))};
                for (int c = 1; c <= 14; ++c) vals.push_back(header[c]);
                db.execute("INSERT INTO CrosstabHeaders (Page, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           vals);
            }
        }
    }
    return a;
}

// The page rows of one unit or bird: cells[j] for race j, empty for none.
void pageRows(Database& db, size_t raceCount, const std::string& idText, const std::vector<std::string>& cells) {
    std::vector<Value> row;
    for (size_t j = 0; j < raceCount; ++j) {
        if (j % 14 == 0) {
            row.assign(15, Value());
            row[0] = Value(static_cast<long long>(j / 14));
        }
        if (!cells[j].empty()) row[j % 14 + 1] = cells[j];
        if (j % 14 == 13 || j + 1 == raceCount) {
            row.insert(row.begin() + 1, Value(idText));
            db.execute("INSERT INTO CrosstabResult (Page, IdText, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       row);
        }
    }
}

std::string criteria(const Def& d) {
    std::string w;
    bool b = d.get("Kun_Begyndere").toBool(), j = d.get("Kun_juniorduer").toBool(), p = d.get("Kun_Pensionister").toBool();
    if (b && p && j)
        w += " AND (Deltagere.Begynder OR Deltagere.Pensionist OR Deltagere.Junior)";
    else if (b && j && !p)
        w += " AND (Deltagere.Begynder OR Deltagere.Junior)";
    else if (b && p && !j)
        w += " AND (Deltagere.Begynder OR Deltagere.Pensionist)";
    else if (p && j && !b)
        w += " AND (Deltagere.Pensionist OR Deltagere.Junior)";
    else if (b)
        w += " AND Deltagere.Begynder";
    else if (j)
        w += " AND Deltagere.Junior";
    else if (p)
        w += " AND Deltagere.Pensionist";
    auto text = [&](const char* f) { return d.get(f).toText(); };
    if (!d.get("Foreningsmarkering1").isNull())
        w += " AND instr(upper(Deltagere.ForeningskrydsT), upper(" + q(text("Foreningsmarkering1")) + ")) > 0";
    for (int k = 1; k <= 3; ++k) {
        std::string f = "Kun_kode" + std::to_string(k);
        if (!d.get(f.c_str()).isNull()) w += " AND Deltagere.Kode" + std::to_string(k) + " = " + q(text(f.c_str()));
    }
    if (!d.get("Område").isNull()) w += " AND Deltagere.Område = " + q(text("Område"));
    if (d.get("Kun_sportsduer").toBool()) w += " AND Deltagere.Sportsdue";
    if (d.get("Ekskl_Sportsduer").toBool()) w += " AND NOT Deltagere.Sportsdue";
    if (d.get("Kun_foreningsafkrydsede").toBool()) w += " AND Deltagere.Foreningskryds";
    if (!d.get("Køn").isNull()) w += " AND Deltagere.Køn = " + q(text("Køn"));
    if (!d.get("Årgang").isNull()) w += " AND jetlike(" + q("*-" + text("Årgang") + "-*") + ", Deltagere.Ringnummer)";
    if (!d.get("Ekskl_Årgang").isNull()) w += " AND NOT jetlike(" + q("*-" + text("Ekskl_Årgang") + "-*") + ", Deltagere.Ringnummer)";
    if (!d.get("TopProc").isNull())
        w += " AND 100.0 * Deltagere.Placering / Deltagere.Kapflyvning_ialt <= " + SqlNumber(d.get("TopProc").toDouble());
    return w;
}

std::string fromPart(Database& db, const Def& d, bool withRaces) {
    std::string from =
        "(Deltagere INNER JOIN Foreninger ON Deltagere.Forening = Foreninger.Nr) INNER JOIN Mesterskabsflyvninger ON "
        "Mesterskabsflyvninger.Kapflyvning = Deltagere.Kapflyvning";
    if (withRaces) from = "(" + from + ") INNER JOIN Kapflyvninger ON Deltagere.Kapflyvning = Kapflyvninger.Nr";
    if (!db.query("SELECT * FROM Mesterskaber_Duer WHERE Mesterskab = " + d.recNr()).empty())
        from = "(" + from + ") INNER JOIN Mesterskaber_Duer ON Mesterskabsflyvninger.Mesterskab = Mesterskaber_Duer.Mesterskab "
                            "AND Deltagere.Ringnummer = Mesterskaber_Duer.Ringnummer";
    return from;
}

void insertResult(Database& db, const std::string& nr, const Def& d, const Value& club, const Value& clubName, const Value& slag,
                  const Value& slagNavn, const Value& ring, double points, const Value& points2, const std::string& id) {
    db.execute(
        "INSERT INTO Mesterskabsresultat (Mesterskabsnr, Mesterskabstitel, Foreningsnr, Foreningsnavn, Slag, Slagnavn, "
        "Ringnummer, Points, Points2, Id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {nr, d.get("Titel"), club, clubName, slag, slagNavn, ring, points, points2, id});
}

void placings(Database& db, const std::string& order) {
    RowSet rs = db.query(order);
    for (size_t i = 0; i < rs.size(); ++i)
        db.execute("UPDATE Mesterskabsresultat SET Placering = ? WHERE rowid = ?", {static_cast<long long>(i + 1), rs.rows[i][0]});
}

const std::string kNoPoints =
    "iif((100 - 300.0 * (Placering - 1) / Kapflyvning_ialt) < 0, 0, (100 - 300.0 * (Placering - 1) / Kapflyvning_ialt))";

void loftRoutine(Database& db, const Def& d, const std::string& nr, bool specify, bool decimals) {
    const std::string type = d.type();
    db.exec("DELETE FROM Mesterskabsresultat WHERE Mesterskabsnr = " + q(nr));
    if (specify) {
        db.exec("DELETE FROM CrosstabHeaders");
        db.exec("DELETE FROM CrosstabResult");
    }
    std::string factor = type == "NO Km-tillæg" ? factorExpression(db) : "";
    RaceArray ra = races(db, d, true, type == "NO Km-tillæg", specify);

    std::string cols, cond, order;
    const std::string tie = ", substr(Deltagere.Ringnummer, -4) COLLATE NOCASE, Deltagere.Ringnummer, Foreninger.RecNr";
    if (type == "Forening/point") {
        cols = "'' AS Slag, '' AS Slag_Navn, Deltagere.Point";
        cond = " AND Deltagere.Point > 0";
        order = " ORDER BY Deltagere.Forening, Deltagere.Kapflyvning, Deltagere.Point DESC";
    } else if (type == "HB") {
        cols = "Slag, Slag_Navn, Placering, Kapflyvning_ialt";
        cond = " AND Deltagere.\"Meter / min\" > 0";
        order = " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Kapflyvning, Deltagere.\"Meter / min\" DESC";
    } else if (type == "½ points, ½ koef.") {
        cols = "Slag, Slag_Navn, (Deltagere.Points1000 + Deltagere.PointsPlac) / 2 AS Point";
        cond = " AND (Deltagere.Points1000 > 0 OR Deltagere.PointsPlac > 0)";
        order = " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Kapflyvning, (Deltagere.Points1000 + Deltagere.PointsPlac) / 2 DESC";
    } else if (type == "NO Plac.point" || type == "NO Km-tillæg") {
        cols = "Slag, Slag_Navn, " + (type == "NO Km-tillæg" ? factor + " * " : std::string()) + kNoPoints + " AS Point";
        cond = " AND Deltagere.Placering > 0";
        order = " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Kapflyvning, Deltagere.Placering";
    } else {
        cols = "Slag, Slag_Navn, Deltagere.Point";
        cond = " AND Deltagere.Point > 0";
        order = " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Kapflyvning, Deltagere.Point DESC";
    }
    std::string sql = "SELECT Deltagere.Kapflyvning, Deltagere.Forening, Foreninger.Navn, " + cols + " FROM " +
                      fromPart(db, d, type == "NO Km-tillæg") + " WHERE Mesterskabsflyvninger.Mesterskab = " + d.recNr() + cond +
                      criteria(d) + order + tie;
    RowSet rs = db.query(sql);

    const Value antalDuer = d.get("Antal_duer_pr_slag"), antalFlyv = d.get("Antal_flyvninger");
    const Value cap[5] = {Value(), d.get("Antal_L_flyvninger"), d.get("Antal_M_flyvninger"), d.get("Antal_S_flyvninger"),
                          d.get("Antal_P_flyvninger")};
    struct Flight {
        double points = 0, sum2 = 0;
        int index = 0;
        double rows = 0;
    };
    std::vector<Flight> flights;
    Value prevForening, prevSlag, unitForening, unitNavn, unitSlag, unitSlagNavn;
    long long prevRace = -1;
    bool unit = false;

    auto finish = [&] {
        double B = 0;
        for (auto& f : flights)
            while (B >= f.points) B = B - 100;
        if (B < 0)
            for (auto& f : flights) f.points = f.points - B;
        double count = static_cast<double>(flights.size());
        if (!antalFlyv.isNull() && antalFlyv.toDouble() < count) count = antalFlyv.toDouble();
        double T1 = 0, T2 = 0;
        double counter[5] = {0, 0, 0, 0, 0};
        for (int i = 1; i <= count; ++i) {
            for (auto& f : flights) {
                int k = ra.kind[static_cast<size_t>(f.index)];
                if (k >= 1 && k <= 4 && !cap[k].isNull() && counter[k] >= cap[k].toDouble() && f.points > 0) f.points = 0;
            }
            int best = -1;
            for (size_t k = 0; k < flights.size(); ++k) {
                if (flights[k].points <= 0) continue;
                if (best < 0 || flights[k].points > flights[best].points ||
                    (flights[k].points == flights[best].points && flights[k].sum2 < flights[best].sum2))
                    best = static_cast<int>(k);
            }
            if (best >= 0 && flights[best].points > 0) {
                T1 = T1 + (flights[best].points + B);
                T2 = T2 + flights[best].sum2;
                flights[best].points = -flights[best].points;
                counter[ra.kind[static_cast<size_t>(flights[best].index)]] += 1;
            }
        }
        for (auto& f : flights) f.points = -f.points;
        std::string id = type == "Forening/point" ? unitForening.toText() + " " + unitNavn.toText()
                                                  : unitForening.toText() + "/" + unitSlag.toText() + " " + unitSlagNavn.toText();
        if (specify) {
            std::vector<std::string> cells(ra.nr.size());
            for (size_t j = 0; j < ra.nr.size(); ++j)
                for (auto& f : flights)
                    if (f.index == static_cast<int>(j) && f.points > 0) cells[j] = literalFormat(f.points + B, decimals ? 3 : 0);
            pageRows(db, ra.nr.size(), id, cells);
        }
        Value points2;
        if (type != "HB")
            points2 = Value(T2);
        else if (T1 != 0)
            points2 = Value(T2 * 1000 / T1);
        bool club = type == "Forening/point";
        insertResult(db, nr, d, unitForening, unitNavn, club ? Value() : nullIfEmpty(unitSlag),
                     club ? Value() : nullIfEmpty(unitSlagNavn), Value(), T1, points2, id);
    };

    for (size_t r = 0; r < rs.size(); ++r) {
        Value forening = rs.get(r, "Forening"), slag = rs.get(r, "Slag");
        if (!unit || !same(forening, prevForening) || !same(slag, prevSlag)) {
            if (unit) finish();
            unit = true;
            flights.clear();
            prevRace = -1;
            prevForening = unitForening = forening;
            prevSlag = unitSlag = slag;
            unitNavn = rs.get(r, "Navn");
            unitSlagNavn = rs.get(r, "Slag_Navn");
        }
        long long race = rs.get(r, "Kapflyvning").toInt();
        if (flights.empty() || race != prevRace) {
            Flight f;
            f.index = ra.indexOf(race);
            flights.push_back(f);
            prevRace = race;
        }
        Flight& f = flights.back();
        if (antalDuer.isNull() || antalDuer.toDouble() > f.rows) {
            if (type == "HB") {
                f.points = f.points + 1;
                Value p = rs.get(r, "Placering"), n = rs.get(r, "Kapflyvning_ialt");
                if (!p.isNull() && !n.isNull() && n.toDouble() != 0) f.sum2 = f.sum2 + p.toDouble() / n.toDouble();
            } else {
                f.points = f.points + nz(rs.get(r, "Point"));
            }
        }
        f.rows = f.rows + 1;
    }
    if (unit) finish();
    placings(db, "SELECT rowid FROM Mesterskabsresultat WHERE Mesterskabsnr = " + q(nr) + " ORDER BY Points DESC, Points2, rowid");
}

void birdRoutine(Database& db, const Def& d, const std::string& nr, bool specify, bool decimals) {
    const std::string type = upperType(d.type());
    const bool koef = type != "DUE/POINT" && type != "NO DUE/POINT" && type != "NO ES-DUE KM-TILLÆG" && type != "ES-DUE-KILOMETER";
    double quota[5];
    quota[1] = nz(d.get("Antal_L_flyvninger"));
    quota[2] = nz(d.get("Antal_M_flyvninger"));
    quota[3] = nz(d.get("Antal_S_flyvninger"));
    quota[4] = nz(d.get("Antal_P_flyvninger"));
    if (d.get("Antal_flyvninger").isNull())
        quota[0] = -1;
    else
        quota[0] = std::max(0.0, d.get("Antal_flyvninger").toDouble() - quota[1] - quota[2] - quota[3] - quota[4]);

    db.exec("DELETE FROM Mesterskabsresultat WHERE Mesterskabsnr = " + q(nr));
    if (specify) {
        db.exec("DELETE FROM CrosstabHeaders");
        db.exec("DELETE FROM CrosstabResult");
    }
    const bool km = type == "NO ES-DUE KM-TILLÆG";
    std::string factor = km ? factorExpression(db) : "";
    RaceArray ra = races(db, d, false, km, specify);

    const std::string base =
        "SELECT Deltagere.Kapflyvning, Deltagere.Forening, Foreninger.Navn, Deltagere.Slag, Deltagere.Slag_Navn, "
        "Deltagere.Ringnummer, 1.0 * Deltagere.Placering / Deltagere.Kapflyvning_ialt AS PlacKoefficient, ";
    const std::string noPoints =
        "iif((100 - 300.0 * (Deltagere.Placering - 1) / Deltagere.Kapflyvning_ialt) < 0, 0, (100 - 300.0 * (Deltagere.Placering - 1) "
        "/ Deltagere.Kapflyvning_ialt))";
    const std::string head = " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Ringnummer, ";
    std::string cols, cond = " AND Deltagere.Placering > 0", order;
    if (type == "NO DUE/POINT") {
        cols = noPoints + " AS Point, Deltagere.Afstand";
        order = head + noPoints + " DESC";
    } else if (km) {
        cols = factor + " * " + noPoints + " AS Point, Deltagere.Afstand";
        order = head + factor + " * " + noPoints + " DESC";
    } else if (type == "ES-DUE-KILOMETER") {
        cols = "Deltagere.Point, Deltagere.Afstand";
        order = head + "Deltagere.Point + iif(Deltagere.Afstand IS NULL, 0, Deltagere.Afstand) DESC";
    } else if (type == "DUE/POINT") {
        cols = "Deltagere.Point, Deltagere.Afstand";
        order = head + "Deltagere.Point DESC";
    } else {
        cols = "Deltagere.Point, Deltagere.Afstand";
        cond = " AND Deltagere.Placering > 0 AND Placering <= 0.2 * Kapflyvning_Ialt";
        order = head + "1.0 * Deltagere.Placering / Deltagere.Kapflyvning_ialt";
    }
    RowSet rs = db.query(base + cols + " FROM " + fromPart(db, d, km) + " WHERE Mesterskabsflyvninger.Mesterskab = " + d.recNr() +
                         cond + criteria(d) + order + ", Deltagere.Kapflyvning, Foreninger.RecNr");

    Value prevRing, prevForening, prevSlag, birdNavn, birdSlagNavn;
    bool bird = false;
    double counter[5], total = 0;
    std::vector<std::pair<int, double>> counted;
    auto finish = [&] {
        for (int k = 0; k < 5; ++k)
            if (quota[k] != -1 && counter[k] < quota[k]) return;
        std::string id = prevRing.toText() + " " + prevForening.toText() + "/" + prevSlag.toText() + " " + birdSlagNavn.toText();
        insertResult(db, nr, d, prevForening, birdNavn, nullIfEmpty(prevSlag), nullIfEmpty(birdSlagNavn), prevRing, total, Value(), id);
        if (specify) {
            std::vector<std::string> cells(ra.nr.size());
            for (auto& [index, v] : counted) cells[static_cast<size_t>(index)] = literalFormat(v, koef || decimals ? 3 : 0);
            pageRows(db, ra.nr.size(), id, cells);
        }
    };
    for (size_t r = 0; r < rs.size(); ++r) {
        Value ring = rs.get(r, "Ringnummer"), forening = rs.get(r, "Forening"), slag = rs.get(r, "Slag");
        if (!bird || !same(ring, prevRing) || !same(forening, prevForening) || !same(slag, prevSlag)) {
            if (bird) finish();
            bird = true;
            prevRing = ring;
            prevForening = forening;
            prevSlag = slag;
            birdNavn = rs.get(r, "Navn");
            birdSlagNavn = rs.get(r, "Slag_Navn");
            std::fill(counter, counter + 5, 0.0);
            total = 0;
            counted.clear();
        }
        int index = ra.indexOf(rs.get(r, "Kapflyvning").toInt());
        int kind = ra.kind[static_cast<size_t>(index)];
        double value;
        if (type == "DUE/POINT" || type == "NO DUE/POINT" || km)
            value = nz(rs.get(r, "Point"));
        else if (type == "ES-DUE-KILOMETER")
            value = rs.get(r, "Point").isNull() ? 0 : rs.get(r, "Point").toDouble() + nz(rs.get(r, "Afstand"));
        else
            value = nz(rs.get(r, "PlacKoefficient"));
        if (quota[kind] == -1 || counter[kind] < quota[kind]) {
            total = total + value;
            counter[kind] = counter[kind] + 1;
            counted.emplace_back(index, value);
        }
    }
    if (bird) finish();

    if (!d.get("Antal_duer_pr_slag").isNull()) {
        RowSet all = db.query("SELECT rowid, Foreningsnr, Slag FROM Mesterskabsresultat WHERE Mesterskabsnr = " + q(nr) +
                              " ORDER BY Foreningsnr, Slag, CAST(Points AS REAL)" + (koef ? "" : " DESC") + ", rowid");
        double c = 0;
        for (size_t r = 0; r < all.size(); ++r) {
            if (r == 0 || !same(all.rows[r][1], all.rows[r - 1][1]) || !same(all.rows[r][2], all.rows[r - 1][2]))
                c = 1;
            else
                c = c + 1;
            if (c > d.get("Antal_duer_pr_slag").toDouble())
                db.execute("DELETE FROM Mesterskabsresultat WHERE rowid = ?", {all.rows[r][0]});
        }
    }
    placings(db, "SELECT rowid FROM Mesterskabsresultat WHERE Mesterskabsnr = " + q(nr) + " ORDER BY Points" + (koef ? "" : " DESC") +
                     ", rowid");
}

}  // namespace

std::string literalFormat(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v < 0 ? -v : v);
    // mantissa d.dddddddddddddd and exponent: the value is m * 10^(e - 14) with m whole
    long long m = 0;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p != '.') m = m * 10 + (*p - '0');
    int e = std::atoi(p + 1) - 14 + decimals;  // value * 10^decimals = m * 10^e
    long long scaled;
    if (e >= 0) {
        scaled = m;
        for (int i = 0; i < e; ++i) scaled *= 10;
    } else if (e < -18) {
        scaled = 0;
    } else {
        long long div = 1;
        for (int i = 0; i < -e; ++i) div *= 10;
        scaled = (m + div / 2) / div;
    }
    long long pow10 = 1;
    for (int i = 0; i < decimals; ++i) pow10 *= 10;
    std::string out = (v < 0 && scaled != 0 ? "-" : "") + std::to_string(scaled / pow10);
    if (decimals) {
        std::string frac = std::to_string(scaled % pow10);
        out += "," + std::string(static_cast<size_t>(decimals) - frac.size(), '0') + frac;
    }
    return out;
}

bool literalChampionship(Database& db, const std::string& nr, bool specifyPoints, bool decimals) {
    sqlite3_create_function(db.handle(), "jetlike", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, jetLike, nullptr, nullptr);
    Def d{db.query("SELECT * FROM Mesterskaber WHERE Nr = " + q(nr) + " ORDER BY RecNr LIMIT 1")};
    if (d.row.empty()) return false;
    const std::string type = d.type();
    if (type == "Point" || type == "½ points, ½ koef." || type == "NO Plac.point" || type == "NO Km-tillæg" ||
        type == "Forening/point" || type == "HB")
        loftRoutine(db, d, nr, specifyPoints, decimals);
    else
        birdRoutine(db, d, nr, specifyPoints, decimals);
    return true;
}

}  // namespace vemora::champtest
