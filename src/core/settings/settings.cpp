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

// A box of the shown record as text (an empty box is Null there) and as the field stores
// it (empty as Null); a field the record lacks is an empty box.
std::string boxText(const Record& shownFields, const std::string& field) {
    auto it = shownFields.find(field);
    return it == shownFields.end() || it->second.isNull() ? std::string() : it->second.toText();
}

Value boxValue(const Record& shownFields, const std::string& field) {
    auto it = shownFields.find(field);
    return it == shownFields.end() ? Value() : NullIfEmpty(it->second);
}

}  // namespace

// ---- Loading ---------------------------------------------------------------------------------

std::optional<Record> LoadSektionsData(Database& db) {
    RowSet r = db.query("SELECT * FROM Generelt LIMIT 1");
    if (r.empty()) return std::nullopt;
    Record s{{"Sektionsnr", r.get(0, "Sektionsnr")}, {"Sektionsnavn", r.get(0, "Sektionsnavn")}};
    for (const char* f : kSektionsBankFields) s[f] = r.get(0, f);
    return s;
}

std::optional<MarkeringData> LoadMarkering(Database& db) {
    RowSet r = db.query("SELECT * FROM Markering LIMIT 1");
    if (r.empty()) return std::nullopt;
    MarkeringData m;
    for (const char* f : {"Præmiefaktor_A", "Præmiefaktor_B"}) m.fields[f] = Value(FactorShown(r.get(0, f)));
    for (const auto& g : games()) m.fields[g.poolSwitch] = Value(r.get(0, g.poolSwitch).toBool());
    const Value& ps = r.get(0, "Pointsystem");
    if (ps.isNumber() && ps.toDouble() == 0) m.pointsystem = PointSystem::Points1000;
    else if (ps.isNumber() && ps.toDouble() == 1) m.pointsystem = PointSystem::Placering;
    for (const auto& k : pointTableKinds()) {
        // The box shows 1000 for an empty "Max. point", as it does while the user types.
        m.fields["MestPoint" + k] = Value(MestPointText(shown(r.get(0, "MestPoint" + k))));
        for (const std::string& f : {"SE_PointPrSlag" + k, "SE_PointStep" + k}) m.fields[f] = r.get(0, f);
    }
    return m;
}

std::optional<Record> LoadIndskud(Database& db) {
    RowSet r = db.query("SELECT * FROM Indskud LIMIT 1");
    if (r.empty()) return std::nullopt;
    Record d;
    for (const char* f : kIndskudFields) d[f] = r.get(0, f);
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

std::vector<std::string> SavePointTable(Database& db, const Record& shownFields) {
    RowSet r = db.query("SELECT * FROM Markering LIMIT 1");
    if (r.empty()) return {};
    std::vector<std::string> marked;
    std::string set;
    std::vector<Value> params;
    for (const auto& k : pointTableKinds()) {
        const std::string names[3] = {"MestPoint" + k, "SE_PointPrSlag" + k, "SE_PointStep" + k};
        if (!shownFields.count(names[0])) continue;
        std::string texts[3];
        for (int i = 0; i < 3; ++i) texts[i] = boxText(shownFields, names[i]);
        bool differs = false;
        for (int i = 0; i < 3; ++i) {
            const Value& stored = r.get(0, names[i]);
            // The box's text is never Null, so an empty box against a Null field differs: those
            // kinds are marked on every save.
            Value storedText = stored.isNull() ? Value() : Value(stored.toText());
            if (!VariantsEqual(Value(texts[i]), storedText)) differs = true;
        }
        if (differs) {
            db.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE substr(Farvekode, 1, 2) = ?", {Value(k)});
            marked.push_back(k);
        }
        for (int i = 0; i < 3; ++i) {
            set += (set.empty() ? "" : ", ") + sqlIdent(names[i]) + " = ?";
            params.push_back(numberFromBox(texts[i]));
        }
    }
    if (!set.empty()) db.execute("UPDATE Markering SET " + set, params);
    return marked;
}

SektionsdataResult SaveSektionsdata(Database& db, const Record& shownFields, PointSystem pointsystem) {
    SektionsdataResult result;
    Transaction tr(db);
    if (!db.query("SELECT 1 FROM Generelt LIMIT 1").empty()) {
        std::string sql = "UPDATE Generelt SET Sektionsnr = ?, Sektionsnavn = ?";
        std::vector<Value> params{boxValue(shownFields, "Sektionsnr"), boxValue(shownFields, "Sektionsnavn")};
        for (const char* f : kSektionsBankFields) {
            sql += ", " + sqlIdent(f) + " = ?";
            params.push_back(boxValue(shownFields, f));
        }
        db.execute(sql, params);
    }
    RowSet m = db.query("SELECT Pointsystem FROM Markering LIMIT 1");
    if (!m.empty()) {
        std::string sql = "UPDATE Markering SET Præmiefaktor_A = ?, Præmiefaktor_B = ?";
        std::vector<Value> params;
        params.emplace_back(ParseFactor(FactorText(boxText(shownFields, "Præmiefaktor_A"))));
        params.emplace_back(ParseFactor(FactorText(boxText(shownFields, "Præmiefaktor_B"))));
        for (const auto& g : games()) {
            sql += ", " + sqlIdent(g.poolSwitch) + " = ?";
            params.push_back(Value(boxValue(shownFields, g.poolSwitch).toBool()));
        }
        const Value& stored = m.get(0, "Pointsystem");
        if (pointsystem != PointSystem::None) {
            Value chosen(static_cast<int>(pointsystem));
            // Null is not equal to either system, so a first choice counts as a change.
            if (!VariantsEqual(stored, chosen)) {
                result.pointSystemChanged = true;
                sql += ", Pointsystem = ?";
                params.push_back(chosen);
            }
        }
        db.execute(sql, params);
        result.markedKinds = SavePointTable(db, shownFields);
        if (result.pointSystemChanged) db.exec("UPDATE Kapflyvninger SET Beregn = 1");
    }
    tr.commit();
    return result;
}

void SaveIndskud(Database& db, const Record& shownFields) {
    Transaction tr(db);
    std::string set;
    std::vector<Value> params;
    for (const char* f : kIndskudFields) {
        set += (set.empty() ? "" : ", ") + sqlIdent(f) + " = ?";
        params.push_back(numberFromBox(StakeText(boxText(shownFields, f))));
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
