#include "core/races/races.h"

#include "core/app/procs.h"
#include "core/app/text.h"

namespace vemora::races {

const std::vector<std::string>& colourCodes() {
    static const std::vector<std::string> c{
        "81 - Privat",      "82 - Privat",    "83 - Privat",    "84 - Privat",   "85 - Privat",
        "90 - Sprint",      "91 - Orange skema", "92 - Grøn skema", "93 - Hvid skema", "94 - Rød skema",
        "95 - Blå skema",   "96 - Gul skema", "97 - Privat",    "98 - Privat"};
    return c;
}

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

// The template of each per-race prize table, in the order a new race's rows are copied.
const char* const kCreationOrder[] = {"Kontantpræmier",  "Slagpræmier",     "Slagspilspræmier", "P-spils-præmier",
                                      "E-spils-præmier", "Z-spils-præmier", "R-spils-præmier"};

void message(AppState& app, const std::string& text) { app.userInterface().message(text, "Fejl", Icon::Exclamation); }

}  // namespace

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
    const std::string category = raceCategory(code);
    const bool ownRace = category == "Privat" || category == "Sektion";

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
            db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, Beregn) VALUES (?, ?, 1)", {week, code});
            nr = db.lastInsertId();
            if (ownRace) {
                RowSet m = db.query(
                    "SELECT Pulje_Puljepræmier, Elite_Puljepræmier, Z_Puljepræmier, R_Puljepræmier FROM Markering LIMIT 1");
                if (!m.empty())
                    db.execute(
                        "UPDATE Kapflyvninger SET Pulje_Puljepræmier = ?, Elite_Puljepræmier = ?, Z_Puljepræmier = ?, "
                        "R_Puljepræmier = ? WHERE Nr = ?",
                        {m.rows[0][0], m.rows[0][1], m.rows[0][2], m.rows[0][3], nr});
                for (const char* table : kCreationOrder) {
                    // rowid order is the order the template rows were stored in.
                    db.execute("INSERT INTO " + sqlIdent(table) + " (Kapflyvning, Antal, Værdi) SELECT ?, Antal, Værdi FROM " +
                                   sqlIdent(std::string(table) + "_Init") + " ORDER BY rowid",
                               {nr});
                }
            }
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

bool MarkForCalculation(Database& db, long long nr) {
    return db.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = ?", {nr}) > 0;
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
