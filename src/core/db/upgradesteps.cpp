// The upgrade steps 0 to 34: what each release of the section database added. A step names
// its fields and tables; their types, sizes and defaults are those of the current schema
// (a field whose type a later step changes carries its own definition here).
#include <stdexcept>

#include "core/db/upgrader.h"
#include "core/domain/catalogue.h"

namespace vemora::upgrade {

namespace {

const std::string kBeregnAll = "UPDATE Kapflyvninger SET Beregn = 1";

const ViewDef& current(const std::string& name) {
    const ViewDef* v = findView(name);
    if (!v) throw std::logic_error("stored query missing from the schema: " + name);
    return *v;
}

std::vector<std::string> series(const std::string& prefix, int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(prefix + std::to_string(i));
    return out;
}

void fields(Upgrader& u, const std::string& table, const std::vector<std::string>& names) {
    for (const auto& n : names) u.addField(table, n);
}

void step2(Upgrader& u) {
    u.addField("Kapflyvninger", "Beregn");
    u.execute(kBeregnAll);
    std::vector<std::string> regnskab{"Kapflyvning", "Forening", "AntalS", "AntalA", "AntalU", "AntalX",
                                      "AntalDuer", "AntalHanner", "AntalHunner"};
    for (const auto& f : series("AntalA", 1, 6)) regnskab.push_back(f);
    for (const auto& f : series("AntalB", 1, 6)) regnskab.push_back(f);
    regnskab.push_back("AntalP");
    regnskab.push_back("AntalE");
    u.createTable("Regnskab", regnskab);
    u.createIndex("Regnskab", "Forening");
    u.relation("KapflyvningerRegnskab");
    u.relation("ForeningerRegnskab");
    u.fillRegnskab();
    u.changeQuery("Q Kapflyvningsregnskab", kapflyvningsregnskabQuery(2));
    u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(2));
}

void step12(Upgrader& u) {
    const auto& z = prizeScales()[kScaleZ];
    const auto& r = prizeScales()[kScaleR];
    u.createTable(z.templateTable, {"Antal", "Værdi"});
    u.createTable(r.templateTable, {"Antal", "Værdi"});
    u.createTable(z.table, {"Kapflyvning", "Værdi", "Antal"});
    u.createTable(r.table, {"Kapflyvning", "Værdi", "Antal"});
    u.relation("KapflyvningerZspil");
    u.relation("KapflyvningerRspil");
    fields(u, "Kapflyvninger", {"Kl_Z", "Kl_R", "Z_Puljepræmier", "R_Puljepræmier", "RestZ", "RestR"});
    fields(u, "Deltagere", {"Kl_Z", "Kl_R", "PræmieretIKlZ", "PræmieretIKlR"});
    fields(u, "Indskud", {"Kl_Z", "Kl_R"});
    fields(u, "Markering", {"Z_Puljepræmier", "R_Puljepræmier"});
    fields(u, "Regnskab", {"AntalZ", "AntalR"});
}

void step14(Upgrader& u) {
    u.addField("Kapflyvninger", "Kode");
    u.addField("Mesterskaber", "Køn");
    u.createTable("Mesterskaber_Duer", {"Mesterskab", "Ringnummer"});
    u.createTable("ImportFejl", {"Forening", "Slag", "Slagnavn", "Uge", "Farvekode", "Ringnummer", "Tekst"});
    u.createIndex("ImportFejl", "Forening");
}

void step22(Upgrader& u) {
    u.addField("Mesterskabsresultat", "Id");
    std::vector<std::string> headers{"Page"}, result{"Page", "IdNumber", "IdText"};
    for (const auto& f : series("F", 1, 30)) {
        headers.push_back(f);
        result.push_back(f);
    }
    u.createTable("CrosstabHeaders", headers);
    u.createTable("CrosstabResult", result);
    u.createQuery("Q_Mesterskab_Crosstab", current("Q_Mesterskab_Crosstab").select);
}

void step28(Upgrader& u) {
    u.addField("Kapflyvninger", "GebyrSlag");
    u.execute("UPDATE Kapflyvninger SET GebyrSlag = 0, Beregn = 1");
    fields(u, "Deltagere", {"Område", "Points1000", "PointsPlac"});
    u.addField("Mesterskaber", "Område");
    u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(28));
    u.createQuery("Q Antal slag pr kapflyvning pr forening", current("Q Antal slag pr kapflyvning pr forening").select);
    u.changeQuery("Q Kapflyvningsregnskab", kapflyvningsregnskabQuery(28));
    u.changeQuery("Q Mesterskaber", mesterskaberQuery(28));
}

void step30(Upgrader& u) {
    u.createTable("KM_faktorer", {"KM", "Faktor"});
    for (const char* row : {"(180, 1.5)", "(270, 2)", "(360, 2.5)", "(475, 3)", "(570, 3.5)"})
        u.execute(std::string("INSERT INTO KM_faktorer (KM, Faktor) VALUES ") + row);
    // The club mark letters began as one letter; step 33 widens the field to ten.
    u.addField("Deltagere", FieldDef{"ForeningskrydsT", FieldType::Text, 1, std::nullopt});
    u.addField("Mesterskaber", "Foreningsmarkering");
}

void step32(Upgrader& u) {
    u.addField("Deltagere", "Slag_Placering2");
    for (const char* family : {"MestPoint", "SE_PointPrSlag", "SE_PointStep"})
        for (const auto& kind : pointTableKinds()) u.addField("Markering", family + kind);
    std::string sql = "UPDATE Markering SET ";
    for (size_t i = 0; i < pointTableKinds().size(); ++i)
        sql += (i ? ", MestPoint" : "MestPoint") + pointTableKinds()[i] + " = 1000";
    u.execute(sql);
}

}  // namespace

void runStep(Upgrader& u, int step) {
    switch (step) {
        case 0: u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(0)); break;
        case 1: u.changeQuery("Q Kapflyvningsresultat", current("Q Kapflyvningsresultat").select); break;
        case 2: step2(u); break;
        case 3: u.execute(kBeregnAll); break;
        case 4:
            fields(u, "Deltagere", {"Forening_placering", "Forening_ialt", "Kapflyvning_ialt", "Antal præmier"});
            u.createQuery("Q_Statistik", current("Q_Statistik").select);
            u.execute(kBeregnAll);
            break;
        case 5: u.addField("Kapflyvninger", "Kommentarer"); break;
        case 6:
            fields(u, "Deltagere", {"Pensionist", "Begynder", "Kode1", "Kode2", "Kode3"});
            fields(u, "Mesterskaber",
                   {"Type", "Kun_Begyndere", "Kun_Pensionister", "Kun_Kode1", "Kun_Kode2", "Kun_Kode3", "Ekskl_Årgang",
                    "Antal_L_flyvninger", "Antal_M_flyvninger", "Antal_S_flyvninger", "Antal_P_flyvninger"});
            break;
        case 7:
            u.execute("UPDATE Deltagere SET Begynder = 0, Pensionist = 0");
            u.execute("UPDATE Mesterskaber SET Type = 'Point', Kun_Begyndere = 0, Kun_Pensionister = 0");
            break;
        case 8: u.addField("Kapflyvninger", "LMU"); break;
        case 9: u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(9)); break;
        case 10: u.changeQuery("Q Mesterskaber", mesterskaberQuery(10)); break;
        case 11: u.addField("Mesterskabsresultat", "Ringnummer"); break;
        case 12: step12(u); break;
        case 13:
            // Existing rows get the new values; a field's default applies only to rows added later.
            u.execute("UPDATE Kapflyvninger SET RestZ = 0, RestR = 0");
            u.execute("UPDATE Indskud SET Kl_Z = 0, Kl_R = 0");
            u.execute("UPDATE Regnskab SET AntalZ = 0, AntalR = 0");
            break;
        case 14: step14(u); break;
        case 15: u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(15)); break;
        case 16:
            for (const char* ix : {"Fart", "Kode1Fart", "Kode2Fart", "Kode3Fart"}) u.createIndex("Deltagere", ix);
            break;
        case 17:
            u.createIndex("Deltagere", "ForeningPlac");
            u.createIndex("Deltagere", "SlagPlac");
            break;
        case 18:
            u.addField("Deltagere", "PræmieretIKlS");
            u.execute(kBeregnAll);
            break;
        case 19: u.changeQuery("Q Mesterskaber", mesterskaberQuery(19)); break;
        case 20:
            u.createQuery("Q_KapflDiplomer", current("Q_KapflDiplomer").select);
            u.createQuery("Q_MesterskDiplomer", current("Q_MesterskDiplomer").select);
            break;
        case 21: u.addField("Generelt", "CheckResFiler"); break;
        case 22: step22(u); break;
        case 23: u.addField("Deltagere", "Afstand"); break;
        case 24:
            u.addField("Mesterskaber", "Ekskl_Sportsduer");
            u.createQuery("Q_Sektionsvindere", current("Q_Sektionsvindere").select);
            u.changeQuery("Q Mesterskaber", mesterskaberQuery(24));
            break;
        case 25:
            u.addField("Mesterskaber", "TopProc");
            u.addField("Mesterskabsresultat", "Points2");
            u.createTable("ResModt", {"Uge", "Forening", "Regnskab", "Resultat"});
            u.createQuery("Q_Uger", current("Q_Uger").select);
            u.createQuery("Q_ModtFiler", current("Q_ModtFiler").select);
            u.changeQuery("Q Mesterskaber", mesterskaberQuery(25));
            break;
        case 26: u.changeQuery("Q Kapflyvninger", kapflyvningerQuery(26)); break;
        case 27:
            u.createQuery("Q Antal slag pr kapflyvning1", current("Q Antal slag pr kapflyvning1").select);
            u.createQuery("Q Antal slag pr kapflyvning", current("Q Antal slag pr kapflyvning").select);
            break;
        case 28: step28(u); break;
        case 29:
            fields(u, "Deltagere", {"Område_Placering", "Område_Ialt"});
            u.execute(kBeregnAll);
            break;
        case 30: step30(u); break;
        case 31: u.addField("Kapflyvninger", "Middelafstand"); break;
        case 32: step32(u); break;
        case 33: u.widenField("Deltagere", "ForeningskrydsT", 10); break;
        case 34:
            u.addField("Mesterskaber", "Foreningsmarkering1");
            u.changeQuery("Q Mesterskaber", mesterskaberQuery(34));
            break;
        default: throw std::logic_error("no upgrade step " + std::to_string(step));
    }
}

}  // namespace vemora::upgrade
