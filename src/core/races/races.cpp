#include "core/races/races.h"

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"

namespace vemora::races {

const std::vector<std::string>& weekEntries() {
    static const std::vector<std::string> w = [] {
        std::vector<std::string> out;
        for (int i = 1; i <= 53; ++i) out.push_back(std::to_string(i));
        return out;
    }();
    return w;
}

bool isWeekEntry(std::string_view text) {
    for (const auto& w : weekEntries())
        if (w == text) return true;
    return false;
}

std::optional<std::string> matchColourCode(std::string_view text, const std::vector<std::string>& list) {
    std::string_view prefix = text.substr(0, std::min<size_t>(2, text.size()));
    for (const auto& entry : list)
        if (std::string_view(entry).substr(0, std::min<size_t>(2, entry.size())) == prefix) return entry;
    return std::nullopt;
}

std::optional<long long> findRace(Database& db, int week, std::string_view farvekode) {
    Value nr = db.scalar("SELECT Nr FROM Kapflyvninger WHERE Uge = ? AND Farvekode = ? ORDER BY Nr",
                         {week, std::string(farvekode)});
    if (nr.isNull()) return std::nullopt;
    return nr.toInt();
}

namespace {

void message(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

}  // namespace

long long InsertRace(Database& db, int week, const std::string& farvekode, RaceOrigin origin) {
    const bool dialog = origin == RaceOrigin::Dialog;
    db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, Beregn) VALUES (?, ?, 1)", {week, farvekode});
    const long long nr = db.lastInsertId();
    // The dialog gives national races nothing of the section's defaults.
    if (dialog && !isPrivateOrSection(farvekode)) return nr;
    std::string pools;
    for (const auto& g : games())
        if (dialog || g.importCopiesPool) pools += (pools.empty() ? "" : ", ") + sqlIdent(g.poolSwitch);
    RowSet m = db.query("SELECT " + pools + " FROM Markering LIMIT 1");
    if (!m.empty()) {
        std::string set;
        for (const auto& c : m.columns) set += (set.empty() ? "" : ", ") + sqlIdent(c) + " = ?";
        std::vector<Value> params = m.rows[0];
        params.emplace_back(nr);
        db.execute("UPDATE Kapflyvninger SET " + set + " WHERE Nr = ?", params);
    }
    for (ScaleIndex i : scaleCreationOrder()) {
        const PrizeScale& scale = prizeScales()[i];
        if (!dialog && !scale.importCopies) continue;
        // rowid order is the order the template rows were stored in.
        db.execute("INSERT INTO " + sqlIdent(scale.table) + " (Kapflyvning, Antal, Værdi) SELECT ?, Antal, Værdi FROM " +
                       sqlIdent(scale.templateTable) + " ORDER BY rowid",
                   {nr});
    }
    return nr;
}

CreateResult CreateRace(AppState& app, std::string_view weekText, std::string_view farvekode) {
    if (weekText.empty()) {
        message(app, "Der er ikke angivet nogen uge.");
        return {CreateOutcome::NoWeek};
    }
    if (farvekode.empty()) {
        message(app, "Der er ikke angivet nogen farvekode.");
        return {CreateOutcome::NoColourCode};
    }
    if (!isWeekEntry(weekText)) {
        message(app, "Ugyldig uge.");
        return {CreateOutcome::NoWeek};
    }
    const int week = std::stoi(std::string(weekText));
    const std::string code(farvekode);

    try {
        Database& db = app.database();
        std::optional<long long> existing;
        {
            BusyScope busy(app);
            existing = findRace(db, week, code);
        }
        if (existing) {
            message(app, "Der er allerede oprettet kapflyvning af farvekode " + mid(code, 1, 2) + " i uge " +
                             std::string(weekText) + ".");
            return {CreateOutcome::Duplicate};
        }
        BusyScope busy(app);
        // One transaction for speed; a failure part-way keeps what was saved before it (the race
        // row and the prize rows copied so far), as the row-by-row creation did.
        Transaction tr(db);
        long long nr = 0;
        try {
            nr = InsertRace(db, week, code, RaceOrigin::Dialog);
        } catch (const DbError&) {
            tr.commit();
            throw;
        }
        tr.commit();
        return {CreateOutcome::Created, nr};
    } catch (const DbError& e) {
        message(app, e.what());
        return {CreateOutcome::Failed};
    }
}

std::vector<RaceRef> SelectRaces(Database& db, const RaceSelection& which) {
    std::string where = which.race ? " WHERE Nr = ?" : which.week ? " WHERE Uge = ?" : "";
    std::vector<Value> params;
    if (which.race) params.emplace_back(*which.race);
    else if (which.week) params.emplace_back(*which.week);
    std::vector<RaceRef> out;
    for (auto& r : db.query("SELECT Nr, Uge, Farvekode FROM Kapflyvninger" + where + " ORDER BY Uge, Farvekode, Nr", params).rows)
        out.push_back({r[0].toInt(), r[1], r[2].toText()});
    return out;
}

int MarkForCalculation(Database& db, const RaceSelection& which) {
    std::string where = which.race ? " WHERE Nr = ?" : which.week ? " WHERE Uge = ?" : "";
    std::vector<Value> params;
    if (which.race) params.emplace_back(*which.race);
    else if (which.week) params.emplace_back(*which.week);
    return db.execute("UPDATE Kapflyvninger SET Beregn = 1" + where, params);
}

RowSet ListRaces(Database& db, size_t offset, size_t limit) {
    // The number last, so that races of the same week, colour code and station keep one order.
    return db.queryPage("SELECT * FROM \"Q Kapflyvninger\" ORDER BY Uge, Farvekode, Station, Nr", {}, offset, limit);
}

bool DeleteRace(AppState& app, long long nr) {
    try {
        app.database().execute("DELETE FROM Kapflyvninger WHERE Nr = ?", {nr});
        return true;
    } catch (const DbError&) {
        message(app, "Fejl ved sletning af kapflyvning.");
        return false;
    }
}

int listStartRow(const std::vector<std::optional<int>>& weeks, int currentWeek) {
    for (size_t i = 0; i < weeks.size(); ++i)
        if (weeks[i] && *weeks[i] >= currentWeek) return static_cast<int>(i);
    return static_cast<int>(weeks.size()) - 1;
}

}  // namespace vemora::races
