#include "support/olddb.h"

#include <stdexcept>
#include <vector>

#include "core/base/text.h"
#include "core/db/schema.h"

namespace vemora::test {

namespace fs = std::filesystem;

namespace {

// What each step adds, written out from the step table.
struct Added {
    int step;
    const char* table;
    std::vector<std::string> fields;
};

std::vector<std::string> kinds(const std::string& prefix) {
    std::vector<std::string> out;
    for (const char* k : {"81", "82", "83", "84", "85", "90", "91", "92", "93", "94", "95", "96", "97", "98", "99"})
        out.push_back(prefix + k);
    return out;
}

const std::vector<Added>& addedFields() {
    static const std::vector<Added> a = [] {
        std::vector<Added> v{
            {2, "Kapflyvninger", {"Beregn"}},
            {4, "Deltagere", {"Forening_placering", "Forening_ialt", "Kapflyvning_ialt", "Antal præmier"}},
            {5, "Kapflyvninger", {"Kommentarer"}},
            {6, "Deltagere", {"Pensionist", "Begynder", "Kode1", "Kode2", "Kode3"}},
            {6, "Mesterskaber", {"Type", "Kun_Begyndere", "Kun_Pensionister", "Kun_Kode1", "Kun_Kode2", "Kun_Kode3",
                                 "Ekskl_Årgang", "Antal_L_flyvninger", "Antal_M_flyvninger", "Antal_S_flyvninger",
                                 "Antal_P_flyvninger"}},
            {8, "Kapflyvninger", {"LMU"}},
            {11, "Mesterskabsresultat", {"Ringnummer"}},
            {12, "Kapflyvninger", {"Kl_Z", "Kl_R", "Z_Puljepræmier", "R_Puljepræmier", "RestZ", "RestR"}},
            {12, "Deltagere", {"Kl_Z", "Kl_R", "PræmieretIKlZ", "PræmieretIKlR"}},
            {12, "Indskud", {"Kl_Z", "Kl_R"}},
            {12, "Markering", {"Z_Puljepræmier", "R_Puljepræmier"}},
            {12, "Regnskab", {"AntalZ", "AntalR"}},
            {14, "Kapflyvninger", {"Kode"}},
            {14, "Mesterskaber", {"Køn"}},
            {18, "Deltagere", {"PræmieretIKlS"}},
            {21, "Generelt", {"CheckResFiler"}},
            {22, "Mesterskabsresultat", {"Id"}},
            {23, "Deltagere", {"Afstand"}},
            {24, "Mesterskaber", {"Ekskl_Sportsduer"}},
            {25, "Mesterskaber", {"TopProc"}},
            {25, "Mesterskabsresultat", {"Points2"}},
            {28, "Kapflyvninger", {"GebyrSlag"}},
            {28, "Deltagere", {"Område", "Points1000", "PointsPlac"}},
            {28, "Mesterskaber", {"Område"}},
            {29, "Deltagere", {"Område_Placering", "Område_Ialt"}},
            {30, "Deltagere", {"ForeningskrydsT"}},
            {30, "Mesterskaber", {"Foreningsmarkering"}},
            {31, "Kapflyvninger", {"Middelafstand"}},
            {32, "Deltagere", {"Slag_Placering2"}},
            {34, "Mesterskaber", {"Foreningsmarkering1"}},
        };
        Added markering{32, "Markering", kinds("MestPoint")};
        for (auto& f : kinds("SE_PointPrSlag")) markering.fields.push_back(f);
        for (auto& f : kinds("SE_PointStep")) markering.fields.push_back(f);
        v.push_back(markering);
        return v;
    }();
    return a;
}

const std::map<std::string, int>& addedTables() {
    static const std::map<std::string, int> t{
        {"Regnskab", 2},         {"Z-spils-præmier_init", 12}, {"R-spils-præmier_init", 12}, {"Z-spils-præmier", 12},
        {"R-spils-præmier", 12}, {"Mesterskaber_Duer", 14},    {"ImportFejl", 14},           {"CrosstabHeaders", 22},
        {"CrosstabResult", 22},  {"ResModt", 25},              {"KM_faktorer", 30}};
    return t;
}

const std::map<std::string, int>& addedIndexes() {
    static const std::map<std::string, int> i{
        {"Regnskab_Forening", 2},   {"ImportFejl_Forening", 14},   {"Deltagere_Fart", 16},
        {"Deltagere_Kode1Fart", 16}, {"Deltagere_Kode2Fart", 16},   {"Deltagere_Kode3Fart", 16},
        {"Deltagere_ForeningPlac", 17}, {"Deltagere_SlagPlac", 17}};
    return i;
}

// Stored queries: the step that creates it (-1: the base set) and the last step that writes it.
struct QueryHistory {
    int created, lastWritten;
};
const std::map<std::string, QueryHistory>& queryHistory() {
    static const std::map<std::string, QueryHistory> q{
        {"Q Antal duer pr kapflyvning", {-1, -1}},
        {"Q Adresser", {-1, -1}},
        {"Q Kapflyvninger", {-1, 28}},
        {"Q Kapflyvningsresultat", {-1, 1}},
        {"Q Kapflyvningsregnskab", {-1, 28}},
        {"Q Mesterskaber", {-1, 34}},
        {"Q_Statistik", {4, 4}},
        {"Q_KapflDiplomer", {20, 20}},
        {"Q_MesterskDiplomer", {20, 20}},
        {"Q_Mesterskab_Crosstab", {22, 22}},
        {"Q_Sektionsvindere", {24, 24}},
        {"Q_Uger", {25, 25}},
        {"Q_ModtFiler", {25, 25}},
        {"Q Antal slag pr kapflyvning1", {27, 27}},
        {"Q Antal slag pr kapflyvning", {27, 27}},
        {"Q Antal slag pr kapflyvning pr forening", {28, 28}},
    };
    return q;
}

bool isRelation(const std::string& constraint) { return constraint.rfind("FOREIGN KEY", 0) == 0; }

// Inserts the values whose fields the table has at this version.
void insert(Database& db, const std::string& table, const std::vector<std::pair<std::string, Value>>& values) {
    std::string names, marks;
    std::vector<Value> bound;
    for (const auto& [field, value] : values) {
        if (!db.hasColumn(table, field)) continue;
        names += (names.empty() ? "" : ", ") + sqlIdent(field);
        marks += marks.empty() ? "?" : ", ?";
        bound.push_back(value);
    }
    db.execute("INSERT INTO " + sqlIdent(table) + " (" + names + ") VALUES (" + marks + ")", bound);
}

void fillSample(Database& db, const OldDatabaseOptions& o) {
    Value version = o.versionField == VersionField::Null ? Value() : Value(o.version);
    insert(db, "Generelt", {{"Sektionsnr", "017"}, {"Sektionsnavn", "Sektion 17"}, {"Bank", "Sydbank"}, {"Version", version},
                            {"CheckResFiler", 1}});
    insert(db, "Indskud", {{"A_Klasse1", 5.0}, {"B_Klasse2", 2.5}, {"Kl_P", 10.0}, {"Kl_Z", 7}, {"Kl_R", 8}, {"Slagspil", 20.0}});
    insert(db, "Markering", {{"Præmiefaktor_A", 0.5}, {"Pointsystem", 1}, {"Hastighed_Andre", 600.0}, {"Z_Puljepræmier", 1},
                             {"MestPoint91", 800}, {"SE_PointStep91", 3}});
    insert(db, "Stationer", {{"Nr", "007"}, {"Navn", "Padborg"}});
    insert(db, "Foreninger", {{"Nr", "001"}, {"Navn", "Alfa"}});
    insert(db, "Foreninger", {{"Nr", "002"}, {"Navn", "Beta"}});
    insert(db, "Kapflyvninger",
           {{"Nr", 1}, {"Uge", 20}, {"Farvekode", "91 - Orange skema"}, {"Station", "007"}, {"SlipDato", "2026-05-16"},
            {"Sliptid", "07:15"}, {"Gebyr", 150.0}, {"GebyrSlag", 250.0}, {"LMU", "L"}, {"Kode", "1"},
            {"Kommentarer", "Modvind"}, {"Beregn", 0}, {"Middelafstand", 301.5}, {"Kontantpræmier", 1}, {"Kl_Z", 1},
            {"RestKontant", 4.25}, {"RestZ", 12.5}, {"RestR", 3.0}, {"RestA3", 1.5}});
    insert(db, "Kapflyvninger", {{"Nr", 2}, {"Uge", 21}, {"Farvekode", "85 - Privat"}, {"Beregn", 0}});
    auto bird = [&](int race, const char* ring, const char* club, const char* loft, const char* sex, int elite, int pool,
                    Value a, Value b) {
        insert(db, "Deltagere",
               {{"Kapflyvning", race}, {"Ringnummer", ring}, {"Lnr", std::string(ring).substr(7)}, {"Forening", club},
                {"Slag", loft}, {"Slag_Navn", "Hansen"}, {"Køn", sex}, {"Elite", elite}, {"Pulje", pool}, {"Sektion A", a},
                {"Sektion B", b}, {"Begynder", 1}, {"Pensionist", 1}, {"Kode1", "1"}, {"ForeningskrydsT", "K"},
                {"Meter / min", 1234.5}, {"Placering", 1}, {"Point", 10.0}, {"Points1000", 500.0}, {"Område", "Syd"},
                {"Slag_Placering2", 1}, {"PræmieretIKlS", 1}, {"Afstand", 280.25}, {"HjemKomst", "11:02:03"}});
    };
    bird(1, "DK-01-0001", "001", "001", "A", 1, 0, 3, 1);
    bird(1, "DK-01-0002", "001", "002", "U", 0, 1, 1, Value());
    bird(1, "DK-01-0003", "002", "004", "A", 0, 1, Value(), 6);
    bird(2, "DK-02-0004", "002", "004", "U", 0, 0, Value(), Value());
    insert(db, "Slagspil", {{"Kapflyvning", 1}, {"Forening", "001"}, {"Slag", "001"}, {"Slagspil_S", 1}, {"Slagspil_U", 1}});
    insert(db, "Slagspil", {{"Kapflyvning", 1}, {"Forening", "001"}, {"Slag", "002"}, {"Slagspil_S", 1}, {"Slagspil_X", 1}});
    insert(db, "Slagspil", {{"Kapflyvning", 1}, {"Forening", "003"}, {"Slag", "005"}, {"Slagspil_A", 1}});
    insert(db, "Indbetalinger", {{"Kapflyvning", 1}, {"Forening", "001"}, {"Indbetalt", 12345}});
    insert(db, "Kontantpræmier", {{"Kapflyvning", 1}, {"Værdi", 100.0}, {"Antal", 2}});
    insert(db, "Kontantpræmier", {{"Kapflyvning", 1}, {"Værdi", 12.5}, {"Antal", 1}});
    insert(db, "Kontantpræmier_Init", {{"Værdi", 75.0}, {"Antal", 3}});
    insert(db, "Mesterskaber", {{"RecNr", 1}, {"Nr", "1"}, {"Titel", "Es"}, {"Type", "Es"}, {"Kun_Begyndere", 1},
                                {"Kun_Pensionister", 1}, {"Foreningsmarkering", "ABC"}, {"TopProc", 20}, {"Køn", "A"}});
    insert(db, "Mesterskabsflyvninger", {{"Mesterskab", 1}, {"Kapflyvning", 1}});
    insert(db, "Mesterskabsresultat", {{"Mesterskabsnr", "1"}, {"Placering", 1}, {"Ringnummer", "DK-01-0001"}, {"Points", 10.0}});
    if (o.version > 2) insert(db, "Regnskab", {{"Kapflyvning", 1}, {"Forening", "001"}, {"AntalDuer", 99}, {"AntalZ", 4}});
    if (o.version > 12) insert(db, "Z-spils-præmier", {{"Kapflyvning", 1}, {"Værdi", 50.0}, {"Antal", 1}});
    if (o.version > 25) insert(db, "ResModt", {{"Uge", 20}, {"Forening", "001"}, {"Regnskab", 1}, {"Resultat", 1}});
    if (o.version > 30) insert(db, "KM_faktorer", {{"KM", 200}, {"Faktor", 1.7}});
}

}  // namespace

int stepAddingField(const std::string& table, const std::string& field) {
    for (const auto& a : addedFields())
        if (iequals(a.table, table))
            for (const auto& f : a.fields)
                if (iequals(f, field)) return a.step;
    if (iequals(table, "Generelt") && iequals(field, "Version")) return -1;
    return stepAddingTable(table);
}

int stepAddingTable(const std::string& table) {
    for (const auto& [name, step] : addedTables())
        if (iequals(name, table)) return step;
    return -1;
}

void buildOldDatabase(const fs::path& file, const OldDatabaseOptions& o) {
    auto db = Database::create(file);
    Transaction t(*db);
    for (const auto& def : schemaTables()) {
        if (stepAddingTable(def.name) >= o.version) continue;
        TableDef old{def.name, {}, def.primaryKey, {}};
        for (auto f : def.fields) {
            if (stepAddingField(def.name, f.name) >= o.version) continue;
            if (iequals(def.name, "Generelt") && f.name == "Version" && o.versionField == VersionField::Missing) continue;
            if (f.name == "ForeningskrydsT" && o.version <= 33) f.size = 1;
            old.fields.push_back(f);
        }
        bool base = stepAddingTable(def.name) < 0;
        for (const auto& c : def.constraints)
            if (!base || o.relations || !isRelation(c)) old.constraints.push_back(c);
        db->exec(createTableSql(old));
    }
    for (const auto& ix : schemaIndexes()) {
        auto it = addedIndexes().find(ix.table + "_" + ix.name);
        if ((it != addedIndexes().end() && it->second >= o.version) || stepAddingTable(ix.table) >= o.version) continue;
        db->exec(createIndexSql(ix));
    }
    if (o.version > 2)
        for (const auto& trigger : clubAccountTriggers()) db->exec(trigger);
    for (const auto& v : schemaViews()) {
        const auto& h = queryHistory().at(v.name);
        if (h.created >= o.version) continue;
        // A query that a later step rewrites holds some earlier text; the upgrade must replace it.
        std::string select = h.lastWritten >= o.version ? "SELECT 'tidligere udgave' AS Tekst" : v.select;
        db->exec("CREATE VIEW " + sqlIdent(v.name) + " AS " + select);
    }
    fillSample(*db, o);
    t.commit();
}

std::map<std::string, std::string> schemaDump(Database& db) {
    std::map<std::string, std::string> out;
    RowSet objects = db.query(
        "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' ORDER BY type, name");
    for (auto& r : objects.rows) {
        std::string type = r[0].toText(), name = r[1].toText();
        std::string d = r[3].toText();
        if (type == "table") {
            for (auto& c : db.query("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?)", {name}).rows)
                d += "\n  field " + c[0].toText() + " " + c[1].toText() + (c[2].toBool() ? " required" : "") + " default " +
                     (c[3].isNull() ? "-" : c[3].toText()) + " key " + c[4].toText();
            for (auto& f : db.query("SELECT \"table\", \"from\", \"to\", on_update, on_delete FROM pragma_foreign_key_list(?)",
                                    {name}).rows)
                d += "\n  relation " + f[1].toText() + " -> " + f[0].toText() + "." + f[2].toText() + " update " +
                     f[3].toText() + " delete " + f[4].toText();
        } else if (type == "index") {
            d += "\n  on " + r[2].toText();
            for (auto& c : db.query("SELECT name, \"desc\" FROM pragma_index_xinfo(?) WHERE key", {name}).rows)
                d += "\n  key " + c[0].toText() + (c[1].toBool() ? " desc" : "");
        }
        out[type + " " + name] = d;
    }
    return out;
}

}  // namespace vemora::test
