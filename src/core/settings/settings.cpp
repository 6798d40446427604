#include "core/settings/settings.h"

#include <cerrno>
#include <cstdlib>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/domain/catalogue.h"

namespace vemora {

const std::array<const char*, 5> kSektionsBankFields = {"Bank", "Bank_Adr", "Bank_Postnr", "Regnr", "Kontonr"};
const std::array<const char*, 17> kIndskudFields = {
    "A_Klasse1", "A_Klasse2", "A_Klasse3", "A_Klasse4", "A_Klasse5", "A_Klasse6", "B_Klasse1", "B_Klasse2", "B_Klasse3",
    "B_Klasse4", "B_Klasse5", "B_Klasse6", "Kl_P",      "Kl_E",      "Slagspil",  "Kl_Z",      "Kl_R"};

namespace {

std::string shown(const Value& v) { return v.isNull() ? std::string() : v.toText(); }

// A box's text as the number field receives it: empty is Null, digits are a whole number.
// Anything else goes to the engine as text, which refuses it, so the step fails as a whole.
Value numberFromBox(const std::string& text) {
    std::string t = trim(text);
    if (t.empty()) return Value();
    if (allDigits(t)) return Value::fromNumberText(t).value_or(Value(text));
    return Value(text);
}

}  // namespace

// ---- Loading ---------------------------------------------------------------------------------

std::optional<SektionsData> LoadSektionsData(Database& db) {
    RowSet r = db.query("SELECT * FROM Generelt LIMIT 1");
    if (r.empty()) return std::nullopt;
    SektionsData s;
    s.sektionsnr = shown(r.get(0, "Sektionsnr"));
    s.sektionsnavn = shown(r.get(0, "Sektionsnavn"));
    for (size_t i = 0; i < kSektionsBankFields.size(); ++i) s.bank[i] = shown(r.get(0, kSektionsBankFields[i]));
    return s;
}

std::optional<MarkeringData> LoadMarkering(Database& db) {
    RowSet r = db.query("SELECT * FROM Markering LIMIT 1");
    if (r.empty()) return std::nullopt;
    MarkeringData m;
    m.faktorA = FactorShown(r.get(0, "Præmiefaktor_A"));
    m.faktorB = FactorShown(r.get(0, "Præmiefaktor_B"));
    for (size_t i = 0; i < m.pulje.size(); ++i) m.pulje[i] = r.get(0, games()[i].poolSwitch).toBool();
    const Value& ps = r.get(0, "Pointsystem");
    if (ps.isNumber() && ps.toDouble() == 0) m.pointsystem = PointSystem::Points1000;
    else if (ps.isNumber() && ps.toDouble() == 1) m.pointsystem = PointSystem::Placering;
    for (const auto& k : pointTableKinds()) {
        // The box shows 1000 for an empty "Max. point", as it does while the user types.
        m.points[k] = {MestPointText(shown(r.get(0, "MestPoint" + k))), shown(r.get(0, "SE_PointPrSlag" + k)),
                       shown(r.get(0, "SE_PointStep" + k))};
    }
    return m;
}

std::optional<IndskudData> LoadIndskud(Database& db) {
    RowSet r = db.query("SELECT * FROM Indskud LIMIT 1");
    if (r.empty()) return std::nullopt;
    IndskudData d;
    for (size_t i = 0; i < kIndskudFields.size(); ++i) d[i] = shown(r.get(0, kIndskudFields[i]));
    return d;
}

// ---- Box rules ---------------------------------------------------------------------------------

std::string MestPointText(const std::string& text) { return text.empty() ? "1000" : text; }

std::string StepAfterPrSlag(const std::string& prSlag, const std::string& step) {
    if (prSlag.empty()) return {};
    return step.empty() ? "1" : step;
}

std::string PrSlagAfterStep(const std::string& step, const std::string& prSlag) {
    if (step.empty()) return {};
    return prSlag.empty() ? "2" : prSlag;
}

std::string StakeText(const std::string& text) { return isBlank(trim(text)) ? "0" : text; }

std::string FactorText(const std::string& text) { return text.empty() ? "0" : text; }

std::string PadCode(const std::string& text) { return text.empty() ? text : padZero(text, 3); }

double ParseFactor(const std::string& text) {
    // A factor has no sign: the box takes digits and the decimal comma only.
    std::string t = trim(text);
    std::optional<double> d = t.find_first_of("+-") == std::string::npos ? parseNumber(t) : std::nullopt;
    if (!d) throw DbError("Ugyldigt tal: " + text);
    return *d;
}

std::string FactorShown(const Value& stored) {
    std::string s = shown(stored);
    auto dot = s.find('.');
    if (dot != std::string::npos) s[dot] = ',';
    return s;
}

// ---- Saving ------------------------------------------------------------------------------------

std::vector<std::string> SavePointTable(Database& db, const std::map<std::string, PointRowTexts>& shownRows) {
    RowSet r = db.query("SELECT * FROM Markering LIMIT 1");
    if (r.empty()) return {};
    std::vector<std::string> marked;
    std::string set;
    std::vector<Value> params;
    for (const auto& k : pointTableKinds()) {
        auto it = shownRows.find(k);
        if (it == shownRows.end()) continue;
        const PointRowTexts& row = it->second;
        const std::string names[3] = {"MestPoint" + k, "SE_PointPrSlag" + k, "SE_PointStep" + k};
        const std::string* texts[3] = {&row.mestPoint, &row.prSlag, &row.step};
        bool differs = false;
        for (int i = 0; i < 3; ++i) {
            const Value& stored = r.get(0, names[i]);
            // The box's text is never Null, so an empty box against a Null field differs: those
            // kinds are marked on every save.
            Value storedText = stored.isNull() ? Value() : Value(stored.toText());
            if (!VariantsEqual(Value(*texts[i]), storedText)) differs = true;
        }
        if (differs) {
            db.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE substr(Farvekode, 1, 2) = ?", {Value(k)});
            marked.push_back(k);
        }
        for (int i = 0; i < 3; ++i) {
            set += (set.empty() ? "" : ", ") + sqlIdent(names[i]) + " = ?";
            params.push_back(numberFromBox(*texts[i]));
        }
    }
    if (!set.empty()) db.execute("UPDATE Markering SET " + set, params);
    return marked;
}

SektionsdataResult SaveSektionsdata(Database& db, const SektionsData& sek, const MarkeringData& mark) {
    SektionsdataResult result;
    Transaction tr(db);
    if (!db.query("SELECT 1 FROM Generelt LIMIT 1").empty()) {
        std::string sql = "UPDATE Generelt SET Sektionsnr = ?, Sektionsnavn = ?";
        std::vector<Value> params;
        params.push_back(NullIfEmpty(Value(sek.sektionsnr)));
        params.push_back(NullIfEmpty(Value(sek.sektionsnavn)));
        for (size_t i = 0; i < kSektionsBankFields.size(); ++i) {
            sql += ", " + sqlIdent(kSektionsBankFields[i]) + " = ?";
            params.push_back(NullIfEmpty(Value(sek.bank[i])));
        }
        db.execute(sql, params);
    }
    RowSet m = db.query("SELECT Pointsystem FROM Markering LIMIT 1");
    if (!m.empty()) {
        std::string sql = "UPDATE Markering SET Præmiefaktor_A = ?, Præmiefaktor_B = ?";
        std::vector<Value> params;
        params.emplace_back(ParseFactor(mark.faktorA));
        params.emplace_back(ParseFactor(mark.faktorB));
        for (size_t i = 0; i < mark.pulje.size(); ++i) {
            sql += ", " + sqlIdent(games()[i].poolSwitch) + " = ?";
            params.push_back(Value(mark.pulje[i]));
        }
        const Value& stored = m.get(0, "Pointsystem");
        if (mark.pointsystem != PointSystem::None) {
            Value chosen(static_cast<int>(mark.pointsystem));
            // Null is not equal to either system, so a first choice counts as a change.
            if (!VariantsEqual(stored, chosen)) {
                result.pointSystemChanged = true;
                sql += ", Pointsystem = ?";
                params.push_back(chosen);
            }
        }
        db.execute(sql, params);
        result.markedKinds = SavePointTable(db, mark.points);
        if (result.pointSystemChanged) db.exec("UPDATE Kapflyvninger SET Beregn = 1");
    }
    tr.commit();
    return result;
}

void SaveIndskud(Database& db, const IndskudData& stakes) {
    Transaction tr(db);
    std::string set;
    std::vector<Value> params;
    for (size_t i = 0; i < kIndskudFields.size(); ++i) {
        set += (i ? ", " : "") + sqlIdent(kIndskudFields[i]) + " = ?";
        params.push_back(numberFromBox(StakeText(stakes[i])));
    }
    db.execute("UPDATE Indskud SET " + set, params);
    tr.commit();
}

// ---- Prize templates ---------------------------------------------------------------------------

std::vector<TemplateRow> ReadTemplate(Database& db, int index) {
    // With the row identity, so edited rows find their row.
    RowSet r = db.query("SELECT rowid AS RowId_, Antal, Værdi FROM " +
                        sqlIdent(prizeScales().at(static_cast<size_t>(index)).templateTable) + " ORDER BY Værdi DESC");
    std::vector<TemplateRow> out;
    for (size_t i = 0; i < r.size(); ++i)
        out.push_back({r.get(i, "RowId_").toInt(), r.get(i, "Antal"), r.get(i, "Værdi"), false});
    return out;
}

void WriteTemplateRows(Database& db, int index, std::vector<TemplateRow>& rows) {
    std::string table = sqlIdent(prizeScales().at(static_cast<size_t>(index)).templateTable);
    std::vector<int64_t> newIds(rows.size(), 0);
    Transaction tr(db);
    for (size_t i = 0; i < rows.size(); ++i) {
        TemplateRow& row = rows[i];
        if (!row.dirty) continue;
        if (row.rowId == 0) {
            db.execute("INSERT INTO " + table + " (Antal, Værdi) VALUES (?, ?)", {row.antal, row.værdi});
            newIds[i] = db.lastInsertId();
        } else {
            db.execute("UPDATE " + table + " SET Antal = ?, Værdi = ? WHERE rowid = ?", {row.antal, row.værdi, row.rowId});
        }
    }
    tr.commit();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (newIds[i]) rows[i].rowId = newIds[i];
        rows[i].dirty = false;
    }
}

}  // namespace vemora
