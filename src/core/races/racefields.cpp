#include "core/races/racefields.h"

#include <cstdlib>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"

namespace vemora::races {

namespace {

bool matches(std::string_view text, std::string_view pattern) { return matchesDigitPattern(text, pattern); }

int number(std::string_view s) { return std::atoi(std::string(s).c_str()); }

void fail(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

}  // namespace

// ---- release date and time ------------------------------------------------------------

std::optional<std::string> slipdatoWhileTyping(std::string_view text) {
    if (matches(text, "######"))
        return std::string(text.substr(0, 2)) + "-" + std::string(text.substr(2, 2)) + "-" + std::string(text.substr(4, 2));
    if (matches(text, "##-##-####")) return std::string(text.substr(0, 6)) + std::string(text.substr(8, 2));
    return std::nullopt;
}

std::optional<std::string> sliptidWhileTyping(std::string_view text) {
    if (matches(text, "####")) return std::string(text.substr(0, 2)) + ":" + std::string(text.substr(2, 2));
    return std::nullopt;
}

bool releaseDateInWeek(Date d, int week) {
    if (WeekOfDate(d) == week) return true;
    return weekdayMonday1(d) <= 3 && WeekOfDate(addDays(d, -7)) == week;
}

EntryCheck checkSlipdato(std::string_view text, std::string_view weekText, int currentYear) {
    EntryCheck r;
    std::string dd, mm, yy;
    if (matches(text, "######") || matches(text, "########")) {
        dd = text.substr(0, 2), mm = text.substr(2, 2), yy = text.substr(4);
    } else if (matches(text, "##-##-##") || matches(text, "##-##-####")) {
        dd = text.substr(0, 2), mm = text.substr(3, 2), yy = text.substr(6);
    } else {
        r.error = "Indtast dato i formatet DDMMÅÅ.";
        return r;
    }
    auto d = makeDate(FourDigitYear(yy, currentYear), number(mm), number(dd));
    if (!d) {
        r.error = "Ugyldig dato. Indtast dato i formatet DDMMÅÅ.";
        return r;
    }
    if (!releaseDateInWeek(*d, number(weekText))) {
        r.error = "Dato skal ligge indenfor uge " + std::string(weekText) + " eller senest onsdag i efterfølgende uge.";
        return r;
    }
    r.ok = true;
    r.date = d;
    r.text = dd + "-" + mm + "-" + yy.substr(yy.size() - 2);
    return r;
}

EntryCheck checkSliptid(std::string_view text) {
    EntryCheck r;
    if (!matches(text, "##:##")) {
        r.error = "Indtast sliptid i formatet TT:MM.";
        return r;
    }
    if (number(text.substr(0, 2)) > 23 || number(text.substr(3, 2)) > 59) {
        r.error = "Ugyldig tidsangivelse. Indtast sliptid i formatet TT:MM.";
        return r;
    }
    r.ok = true;
    r.text = std::string(text);
    return r;
}

// ---- the race row -------------------------------------------------------------------------

static const std::array<const char*, 8> kPlainFields{"Station", "SlipDato", "Sliptid", "Gebyr",
                                                     "GebyrSlag", "LMU",     "Kode",    "Kommentarer"};

std::string kodeToControl(const Value& field) {
    std::string k = field.toText();
    if (k == "1" || k == "2" || k == "3") return "Kode " + k;
    return "";
}

Value kodeFromControl(const Value& control) {
    std::string k = control.toText();
    if (k == "Kode 1" || k == "Kode 2" || k == "Kode 3") return Value(k.substr(5));
    return Value();
}

std::string slipdatoToControl(const Value& field) { return field.isNull() ? "" : danishDate(field.toText()); }

std::optional<Value> slipdatoFromControl(const Value& control, int currentYear) {
    std::string t = control.toText();
    if (t.empty()) return Value();
    std::string dd, mm, yy;
    if (matches(t, "##-##-##") || matches(t, "##-##-####")) {
        dd = t.substr(0, 2), mm = t.substr(3, 2), yy = t.substr(6);
    } else if (matches(t, "######") || matches(t, "########")) {
        dd = t.substr(0, 2), mm = t.substr(2, 2), yy = t.substr(4);
    } else {
        return std::nullopt;
    }
    auto d = makeDate(FourDigitYear(yy, currentYear), number(mm), number(dd));
    if (!d) return std::nullopt;
    return Value(isoDate(*d));
}

std::optional<RaceRow> LoadRace(Database& db, long long nr) {
    RowSet rs = db.query("SELECT * FROM Kapflyvninger WHERE Nr = ?", {nr});
    if (rs.empty()) return std::nullopt;
    RaceRow r;
    r.nr = nr;
    r.uge = rs.get(0, "Uge");
    r.farvekode = rs.get(0, "Farvekode").toText();
    for (const char* f : kPlainFields) r.controls[f] = rs.get(0, f);
    r.controls["SlipDato"] = NullIfEmpty(Value(slipdatoToControl(rs.get(0, "SlipDato"))));
    r.controls["Kode"] = NullIfEmpty(Value(kodeToControl(rs.get(0, "Kode"))));
    for (const auto& scale : prizeScales()) r.controls[scale.flagField] = Value(rs.get(0, scale.flagField).toBool() ? 1 : 0);
    for (const auto& g : games()) r.controls[g.poolSwitch] = Value(rs.get(0, g.poolSwitch).toBool() ? 1 : 0);
    return r;
}

// A control's value as the race field stores it; throws DbError for a date that is none.
static Value fieldFromControl(std::string_view f, const Value& v, int currentYear) {
    if (f == "SlipDato") {
        std::optional<Value> iso = slipdatoFromControl(v, currentYear);
        if (!iso) throw DbError("Ugyldig dato");
        return iso.value();
    }
    if (f == "Kode") return kodeFromControl(v);
    // A station chosen from the list shows as "007 - Name"; the race stores its number.
    if (f == "Station" && v.isText()) return Value(stationNumber(v.text()));
    // A fee of letters stays text, which the number field refuses.
    if ((f == "Gebyr" || f == "GebyrSlag") && v.isText()) return Value::fromNumberText(v.text()).value_or(v);
    return v;
}

bool SaveRace(AppState& app, long long nr, const RaceControls& controls) {
    auto get = [&](const char* f) {
        auto it = controls.find(f);
        return it == controls.end() ? Value() : NullIfEmpty(it->second);
    };
    try {
        std::string sql = "UPDATE Kapflyvninger SET ";
        std::vector<Value> params;
        auto set = [&](const char* f, const Value& v) {
            sql += (params.empty() ? "" : ", ") + sqlIdent(f) + " = ?";
            params.push_back(v);
        };
        for (const char* f : kPlainFields) set(f, fieldFromControl(f, get(f), app.currentYear()));
        for (const auto& scale : prizeScales()) set(scale.flagField, Value(get(scale.flagField).toBool() ? 1 : 0));
        for (const auto& g : games()) set(g.poolSwitch, Value(get(g.poolSwitch).toBool() ? 1 : 0));
        sql += " WHERE Nr = " + std::to_string(nr);
        app.database().execute(sql, params);
        return true;
    } catch (const DbError&) {
        fail(app, "Fejl ved lagring af kapflyvning.");
        return false;
    }
}

std::vector<int> raceWeeks(Database& db) {
    std::vector<int> out;
    for (auto& r : db.query("SELECT DISTINCT Uge FROM Kapflyvninger WHERE Uge IS NOT NULL ORDER BY Uge").rows)
        out.push_back(static_cast<int>(r[0].toInt()));
    return out;
}

std::vector<std::string> raceColourCodes(Database& db, int week) {
    std::vector<std::string> out;
    for (auto& r : db.query("SELECT DISTINCT Farvekode FROM Kapflyvninger WHERE Uge = ? AND Farvekode IS NOT NULL "
                            "ORDER BY Farvekode",
                            {week})
                       .rows)
        out.push_back(r[0].toText());
    return out;
}

// ---- stations -----------------------------------------------------------------------------

std::vector<std::string> stationListItems(Database& db) {
    std::vector<std::string> out;
    for (auto& r : db.query("SELECT Nr, Navn FROM Stationer WHERE Navn IS NOT NULL ORDER BY Nr").rows)
        out.push_back(padZero(r[0].toText(), 3) + " - " + r[1].toText());
    return out;
}

std::string stationNumber(std::string_view text) { return mid(padZero(text, 3), 1, 3); }

StationLookup LeaveStation(AppState& app, std::string_view text) {
    StationLookup r;
    r.nr = stationNumber(text);
    try {
        if (!allDigits(r.nr)) throw DbError("Stationsnummeret skal være et tal.");
        Database& db = app.database();
        RowSet rs = db.query("SELECT Navn FROM Stationer WHERE Nr = ?", {r.nr});
        if (rs.empty()) {
            db.execute("INSERT INTO Stationer (Nr) VALUES (?)", {r.nr});
            r.added = true;
        } else {
            r.name = rs.rows[0][0].toText();
        }
        r.ok = true;
    } catch (const DbError&) {
        fail(app, "Fejl ved opdatering af stationsnr.");
    }
    return r;
}

std::string stationName(Database& db, std::string_view stationText) {
    return db.scalar("SELECT Navn FROM Stationer WHERE Nr = ?", {stationNumber(stationText)}).toText();
}

bool SaveStationName(AppState& app, std::string_view stationText, std::string_view name) {
    std::string nr = stationNumber(stationText);
    try {
        if (!allDigits(nr)) throw DbError("Stationsnummeret skal være et tal.");
        Database& db = app.database();
        Value navn = NullIfEmpty(Value(std::string(name)));
        if (db.scalar("SELECT count(*) FROM Stationer WHERE Nr = ?", {nr}).toInt() == 0)
            db.execute("INSERT INTO Stationer (Nr, Navn) VALUES (?, ?)", {nr, navn});
        else
            db.execute("UPDATE Stationer SET Navn = ? WHERE Nr = ?", {navn, nr});
        return true;
    } catch (const DbError&) {
        fail(app, "Fejl ved opdatering af stationsnavn.");
        return false;
    }
}

// ---- prize scales -------------------------------------------------------------------------

namespace {

std::string prizeTable(int scale) { return sqlIdent(prizeScales().at(static_cast<size_t>(scale)).table); }

PrizeRow prizeRow(const std::vector<Value>& r) { return {r[0].toInt(), r[1], r[2], r[3]}; }

}  // namespace

std::vector<PrizeRow> LoadPrizes(Database& db, int scale, long long race) {
    RowSet rs = db.query("SELECT rowid, Antal, Værdi, Kapflyvning FROM " + prizeTable(scale) +
                             " WHERE Kapflyvning = ? ORDER BY Værdi DESC, rowid",
                         {race});
    std::vector<PrizeRow> out;
    for (auto& r : rs.rows) out.push_back(prizeRow(r));
    return out;
}

PrizeRow SavePrizeCell(Database& db, int scale, long long race, long long rowid, std::string_view column,
                       const Value& value) {
    if (column != "Antal" && column != "Værdi") throw DbError("Feltet kan ikke ændres.");
    Value v = NullIfEmpty(value);
    if (v.isNull()) throw DbError("Feltet skal udfyldes.");
    if (v.isText())
        if (auto n = Value::fromNumberText(v.text())) v = *n;
    const std::string t = prizeTable(scale);
    if (rowid == 0) {
        db.execute("INSERT INTO " + t + " (Kapflyvning, " + sqlIdent(column) + ") VALUES (?, ?)", {race, v});
        rowid = db.lastInsertId();
    } else {
        db.execute("UPDATE " + t + " SET " + sqlIdent(column) + " = ? WHERE rowid = ?", {v, rowid});
    }
    RowSet rs = db.query("SELECT rowid, Antal, Værdi, Kapflyvning FROM " + t + " WHERE rowid = ?", {rowid});
    return rs.empty() ? PrizeRow{} : prizeRow(rs.rows[0]);
}

}  // namespace vemora::races
