#include "core/championships/definition.h"

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"

namespace vemora::championships {

const std::vector<std::string>& ChampionshipTypes() {
    static const std::vector<std::string> t{"Point",          "½ points, ½ koef.", "Es-due-koefficient", "Es-due-kilometer",
                                            "Due/point",      "Forening/point",    "HB",                 "NO Plac.point",
                                            "NO Km-tillæg",   "NO due/point",      "NO es-due km-tillæg"};
    return t;
}

bool IsLoftOrClubType(std::string_view type) {
    for (const char* t : {"Point", "½ points, ½ koef.", "NO Plac.point", "NO Km-tillæg", "Forening/point", "HB"})
        if (type == t) return true;
    return false;
}

std::string UpperType(std::string_view type) {
    std::string out;
    out.reserve(type.size());
    for (size_t i = 0; i < type.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(type[i]);
        // æ ø å are two bytes in UTF-8 (C3 A6, C3 B8, C3 A5); their capitals differ by 0x20 in
        // the second byte.
        if (c == 0xC3 && i + 1 < type.size()) {
            unsigned char d = static_cast<unsigned char>(type[i + 1]);
            out.push_back(type[i]);
            out.push_back(static_cast<char>(d == 0xA6 || d == 0xB8 || d == 0xA5 ? d - 0x20 : d));
            ++i;
            continue;
        }
        out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
    }
    return out;
}

std::string NormalizeType(std::string_view text) {
    for (const auto& t : ChampionshipTypes())
        if (text == t) return t;
    return "Point";
}

std::optional<std::string> TypeForKey(char key) {
    switch (key) {
        case '\b':
        case 'P':
        case 'p': return "Point";
        case 'E':
        case 'e': return "Es-due-koefficient";
        case 'M':
        case 'm': return "Es-due-kilometer";
        case 'D':
        case 'd': return "Due/point";
        case 'F':
        case 'f': return "Forening/point";
        case 'H':
        case 'h': return "HB";
        default: return std::nullopt;
    }
}

CountCaptions CaptionsForType(std::string_view type) {
    const std::string perBird = " pr. due";
    if (type == "Es-due-koefficient" || type == "Es-due-kilometer" || type == "Due/point") {
        CountCaptions c{"due(r) pr. slag", "kapflyvning(er)" + perBird, "langflyvning(er)" + perBird,
                        "mellemflyvning(er)" + perBird, std::nullopt, std::nullopt};
        if (type != "Es-due-kilometer") c.s = "sektionsflyvning(er)" + perBird;
        if (type == "Due/point") c.p = "private flyvning(er)" + perBird;
        return c;
    }
    const std::string per = type == "Forening/point" ? " pr. forening" : " pr. slag";
    return {"due(r) pr. flyvning",      "kapflyvning(er)" + per,       "langflyvning(er)" + per,
            "mellemflyvning(er)" + per, "sektionsflyvning(er)" + per, "private flyvning(er)" + per};
}

std::string RewriteRingnr(std::string_view text) {
    if (text.size() != 9 || !allDigits(text)) return std::string(text);
    return std::string(text.substr(0, 3)) + "-" + std::string(text.substr(3, 2)) + "-" + std::string(text.substr(5));
}

bool IsRingnr(std::string_view t) {
    if (t.size() != 11 || t[3] != '-' || t[6] != '-') return false;
    return allDigits(t.substr(0, 3)) && allDigits(t.substr(4, 2)) && allDigits(t.substr(7));
}

const std::vector<std::string>& DefinitionFields() {
    static const std::vector<std::string> f{
        "Nr",          "Titel",       "Type",        "Kun_juniorduer",     "Kun_begyndere",      "Kun_pensionister",
        "Kun_sportsduer", "Ekskl_sportsduer", "Kun_foreningsafkrydsede", "Foreningsmarkering1", "Kun_Kode1", "Kun_Kode2",
        "Kun_Kode3",   "Område",      "Køn",         "Årgang",             "Ekskl_Årgang",       "Antal_duer_pr_slag",
        "Antal_flyvninger", "Antal_L_Flyvninger", "Antal_M_Flyvninger", "Antal_S_Flyvninger", "Antal_P_Flyvninger", "TopProc"};
    return f;
}

RowSet ListChampionships(Database& db, size_t offset, size_t limit) {
    return db.queryPage("SELECT * FROM \"Q Mesterskaber\" ORDER BY Nr, RecNr", {}, offset, limit);
}

std::optional<Record> LoadDefinition(Database& db, long long recNr) {
    RowSet rs = db.query("SELECT * FROM Mesterskaber WHERE RecNr = ?", {recNr});
    if (rs.empty()) return std::nullopt;
    Record r;
    for (const auto& f : DefinitionFields()) r[f] = rs.get(0, f);
    return r;
}

long long NewChampionship(Database& db) {
    db.exec("INSERT INTO Mesterskaber DEFAULT VALUES");
    return db.lastInsertId();
}

bool DeleteChampionship(AppState& app, long long recNr) {
    try {
        Database& db = app.database();
        Transaction tr(db);
        Value nr = db.scalar("SELECT Nr FROM Mesterskaber WHERE RecNr = ?", {recNr});
        // The races and member birds go with the row through their relations; the standings
        // are kept by number, so they go only when no other championship has that number.
        db.execute("DELETE FROM Mesterskabsflyvninger WHERE Mesterskab = ?", {recNr});
        db.execute("DELETE FROM Mesterskaber_Duer WHERE Mesterskab = ?", {recNr});
        db.execute("DELETE FROM Mesterskaber WHERE RecNr = ?", {recNr});
        if (!nr.isNull() && db.scalar("SELECT count(*) FROM Mesterskaber WHERE Nr = ?", {nr}).toInt() == 0)
            db.execute("DELETE FROM Mesterskabsresultat WHERE Mesterskabsnr = ?", {nr});
        tr.commit();
        return true;
    } catch (const std::exception&) {
        app.userInterface().message("Fejl ved sletning af mesterskab.", "Fejl", Icon::Exclamation);
        return false;
    }
}

bool SaveDefinition(AppState& app, long long recNr, const Record& fields) {
    try {
        Database& db = app.database();
        if (fields.empty()) return true;
        std::string set;
        std::vector<Value> values(fields.size() + 1);
        size_t i = 0;
        for (const auto& [name, v] : fields) {
            set += (i ? ", " : "") + sqlIdent(name) + " = ?";
            values[i++] = NullIfEmpty(v);
        }
        values.back() = Value(recNr);
        db.execute("UPDATE Mesterskaber SET " + set + " WHERE RecNr = ?", values);
        return true;
    } catch (const std::exception&) {
        app.userInterface().message("Fejl ved lagring af mesterskab.", "Fejl", Icon::Exclamation);
        return false;
    }
}

RowSet AvailableRaces(Database& db, long long recNr) {
    return db.query(
        "SELECT Kapflyvninger.Nr, ifnull(Kapflyvninger.Uge, '') || ' - ' || ifnull(Kapflyvninger.Farvekode, '') || ' (' || "
        "ifnull(Stationer.Navn, '') || ')' AS Id FROM Kapflyvninger LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr "
        "WHERE Kapflyvninger.Nr NOT IN (SELECT Kapflyvning FROM Mesterskabsflyvninger WHERE Mesterskab = ?) "
        "ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode, Kapflyvninger.Nr",
        {recNr});
}

RowSet ChampionshipRaces(Database& db, long long recNr, size_t offset, size_t limit) {
    RowSet rs = db.queryPage(
        "SELECT Mesterskabsflyvninger.Kapflyvning, Kapflyvninger.Uge, Kapflyvninger.Farvekode, '' AS Regi, "
        "ifnull(Kapflyvninger.Station, '') || ' ' || ifnull(Stationer.Navn, '') AS Station2, Kapflyvninger.SlipDato AS Slipdato, "
        "Kapflyvninger.Sliptid FROM Mesterskabsflyvninger LEFT JOIN Kapflyvninger ON Mesterskabsflyvninger.Kapflyvning = "
        "Kapflyvninger.Nr LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr WHERE Mesterskabsflyvninger.Mesterskab = ? "
        "ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode, Mesterskabsflyvninger.Kapflyvning, Mesterskabsflyvninger.rowid",
        {recNr}, offset, limit);
    int regi = rs.columnIndex("Regi"), fk = rs.columnIndex("Farvekode");
    for (auto& row : rs.rows) row[regi] = Value(raceCategory(row[fk].toText()));
    return rs;
}

bool AddRace(AppState& app, long long recNr, long long raceNr) {
    Database& db = app.database();
    if (db.scalar("SELECT count(*) FROM Mesterskabsflyvninger WHERE Mesterskab = ? AND Kapflyvning = ?", {recNr, raceNr}).toInt()) {
        app.userInterface().message("Kapflyvning er allerede tilmeldt mesterskab.", "Fejl", Icon::Exclamation);
        return false;
    }
    db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {recNr, raceNr});
    return true;
}

void RemoveRace(Database& db, long long recNr, long long raceNr) {
    db.execute("DELETE FROM Mesterskabsflyvninger WHERE Mesterskab = ? AND Kapflyvning = ?", {recNr, raceNr});
}

std::vector<std::string> MemberBirds(Database& db, long long recNr) {
    std::vector<std::string> out;
    RowSet rs = db.query(
        "SELECT Ringnummer FROM Mesterskaber_Duer WHERE Mesterskab = ? ORDER BY substr(Ringnummer, -4) COLLATE NOCASE, Ringnummer",
        {recNr});
    for (const auto& r : rs.rows) out.push_back(r[0].toText());
    return out;
}

bool AddMemberBird(AppState& app, long long recNr, std::string_view ringnr) {
    if (!IsRingnr(ringnr)) {
        app.userInterface().message("Angiv ringnummer.", "Fejl", Icon::Exclamation);
        return false;
    }
    BusyScope busy(app);
    Database& db = app.database();
    if (db.scalar("SELECT count(*) FROM Mesterskaber_Duer WHERE Mesterskab = ? AND Ringnummer = ?", {recNr, ringnr}).toInt()) {
        app.userInterface().message("Ringnummer er allerede tilmeldt mesterskabet.", "Fejl", Icon::Exclamation);
        return false;
    }
    db.execute("INSERT INTO Mesterskaber_Duer (Mesterskab, Ringnummer) VALUES (?, ?)", {recNr, ringnr});
    return true;
}

void DeleteMemberBirds(Database& db, long long recNr, const std::vector<std::string>& rings) {
    Transaction tr(db);
    for (const auto& r : rings) db.execute("DELETE FROM Mesterskaber_Duer WHERE Mesterskab = ? AND Ringnummer = ?", {recNr, r});
    tr.commit();
}

void ClearMemberBirds(Database& db, long long recNr) {
    db.execute("DELETE FROM Mesterskaber_Duer WHERE Mesterskab = ?", {recNr});
}

}  // namespace vemora::championships
