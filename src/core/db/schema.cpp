#include "core/db/schema.h"

#include "core/base/text.h"
#include "core/db/database.h"
#include "core/domain/catalogue.h"

namespace vemora {

namespace {

using F = FieldType;

FieldDef B(std::string n, bool defFalse = true) { return {std::move(n), F::Boolean, 0, defFalse ? std::optional<std::string>("0") : std::nullopt}; }
FieldDef I(std::string n, std::optional<std::string> d = std::nullopt) { return {std::move(n), F::Integer, 0, std::move(d)}; }
FieldDef L(std::string n, std::optional<std::string> d = std::nullopt) { return {std::move(n), F::Long, 0, std::move(d)}; }
FieldDef D(std::string n, std::optional<std::string> d = std::nullopt) { return {std::move(n), F::Double, 0, std::move(d)}; }
FieldDef T(std::string n, int size) { return {std::move(n), F::Text, size, std::nullopt}; }
FieldDef Dt(std::string n) { return {std::move(n), F::DateText, 0, std::nullopt}; }
FieldDef Tm(std::string n) { return {std::move(n), F::TimeText, 0, std::nullopt}; }
FieldDef Counter(std::string n) { return {std::move(n), F::Counter, 0, std::nullopt, true}; }
FieldDef Req(FieldDef f) {
    f.required = true;
    return f;
}

const char* kRaceFk = "FOREIGN KEY (Kapflyvning) REFERENCES Kapflyvninger (Nr) ON DELETE CASCADE ON UPDATE CASCADE";

std::vector<FieldDef> series(const std::string& prefix, int from, int to, F type, std::optional<std::string> def) {
    std::vector<FieldDef> out;
    for (int i = from; i <= to; ++i) out.push_back({prefix + std::to_string(i), type, 0, def});
    return out;
}

void append(std::vector<FieldDef>& to, const std::vector<FieldDef>& more) { to.insert(to.end(), more.begin(), more.end()); }

TableDef prizeTable(const std::string& name, bool keyed) {
    TableDef t{name, {Req(L("Kapflyvning")), D("Værdi", "0"), I("Antal", "1")}, {}, {kRaceFk}};
    if (keyed) t.primaryKey = {"Kapflyvning", "Værdi"};
    return t;
}

TableDef templateTable(const std::string& name) { return {name, {I("Antal", "1"), D("Værdi", "0")}, {}, {}}; }

std::vector<TableDef> buildTables() {
    std::vector<TableDef> t;

    // Settings (one row each). The order of the first seven Generelt fields is relied on by
    // the settings dialog, which addresses the bank fields by position.
    t.push_back({"Generelt",
                 {T("Sektionsnr", 3), T("Sektionsnavn", 50), T("Bank", 50), T("Bank_Adr", 50), T("Bank_Postnr", 4),
                  T("Regnr", 4), T("Kontonr", 14), L("Version"), B("CheckResFiler")},
                 {},
                 {}});
    {
        TableDef x{"Indskud", {}, {}, {}};
        append(x.fields, series("A_Klasse", 1, 6, F::Double, "0"));
        append(x.fields, series("B_Klasse", 1, 6, F::Double, "0"));
        x.fields.push_back(D("Kl_P", "0"));
        x.fields.push_back(D("Kl_E", "0"));
        x.fields.push_back(I("Kl_Z", "0"));
        x.fields.push_back(I("Kl_R", "0"));
        x.fields.push_back(D("Slagspil", "0"));
        t.push_back(x);
    }
    {
        TableDef x{"Markering",
                   {D("Præmiefaktor_A"), D("Præmiefaktor_B"), I("Pointsystem"), D("Hastighed_9192"), D("Hastighed_Andre")},
                   {},
                   {}};
        for (const auto& g : games()) x.fields.push_back(B(g.poolSwitch));
        for (const auto& k : pointTableKinds()) x.fields.push_back(L("MestPoint" + k, "1000"));
        for (const auto& k : pointTableKinds()) x.fields.push_back(L("SE_PointPrSlag" + k));
        for (const auto& k : pointTableKinds()) x.fields.push_back(L("SE_PointStep" + k));
        t.push_back(x);
    }

    // Races and what hangs on them.
    {
        TableDef x{"Kapflyvninger",
                   {Counter("Nr"), I("Uge"), T("Farvekode", 50), T("Station", 3), Dt("SlipDato"), Tm("Sliptid"), D("Gebyr"),
                    D("GebyrSlag", "0"), T("LMU", 1), T("Kode", 1), T("Kommentarer", 255), B("Beregn"), D("Middelafstand"),
                    B("Kontantpræmier"), B("Slagpræmier"), B("Slagspil_S"), B("Slagspil_A"), B("Slagspil_U"), B("Slagspil_X"),
                    B("Kl_P"), B("Kl_E"), B("Kl_Z"), B("Kl_R")},
                   {},
                   {}};
        for (const auto& g : games()) x.fields.push_back(B(g.poolSwitch));
        for (const char* f : {"RestKontant", "RestSlag", "RestSlagspil", "RestPulje", "RestElite"}) x.fields.push_back(D(f));
        append(x.fields, series("RestA", 1, 6, F::Double, std::nullopt));
        append(x.fields, series("RestB", 1, 6, F::Double, std::nullopt));
        x.fields.push_back(D("RestZ", "0"));
        x.fields.push_back(D("RestR", "0"));
        t.push_back(x);
    }
    t.push_back({"Deltagere",
                 {Req(L("Kapflyvning")), Req(T("Ringnummer", 11)), T("Lnr", 4), T("Forening", 3), T("Slag", 3), T("Slag_Navn", 50),
                  T("Køn", 1), B("Sportsdue"), B("Junior"), B("Pensionist"), B("Begynder"), B("Foreningskryds"),
                  T("ForeningskrydsT", 10), T("Kode1", 1), T("Kode2", 1), T("Kode3", 1), T("Område", 5), D("Afstand"),
                  I("Sektion A"), I("Sektion B"), I("Gruppe A"), I("Gruppe B"), B("Pulje"), B("Elite"), B("Kl_Z"), B("Kl_R"),
                  Tm("HjemKomst"), Tm("Korrigeret hjemkomst"), I("Døgn"), D("Meter / min"), L("Placering"),
                  I("Kapflyvning_ialt"), I("Forening_placering"), I("Forening_ialt"), I("Slag_Placering"), I("Slag_Ialt"),
                  I("Slag_Placering2"), I("Område_Placering"), I("Område_Ialt"), I("Antal præmier"), D("Præmie"), D("Point"),
                  D("Points1000", "0"), D("PointsPlac", "0"), I("PræmieretIKlasseA"), I("PræmieretIKlasseB"),
                  B("PræmieretIKlE"), B("PræmieretIKlP"), B("PræmieretIKlZ"), B("PræmieretIKlR"), B("PræmieretIKlS")},
                 {"Kapflyvning", "Ringnummer"},
                 {kRaceFk}});

    // Clubs, stations, postal codes. The order of the Foreninger fields is relied on by the
    // club dialog, which addresses its boxes by position.
    t.push_back({"Foreninger",
                 {Counter("RecNr"), T("Nr", 3), T("Navn", 50), T("Kontakt", 50), T("Kontakt_Adr", 50), T("Kontakt_Postnr", 4),
                  T("Bank", 50), T("Bank_Adr", 50), T("Bank_Postnr", 4), T("Regnr", 4), T("Kontonr", 14)},
                 {},
                 {}});
    t.push_back({"Stationer", {Req(T("Nr", 3)), T("Navn", 50)}, {"Nr"}, {}});
    t.push_back({"Postnr", {Req(T("Postnr", 4)), T("By", 50)}, {"Postnr"}, {}});

    {
        TableDef x{"Regnskab", {Req(L("Kapflyvning")), Req(T("Forening", 3))}, {"Kapflyvning", "Forening"}, {kRaceFk}};
        for (const char* n : {"AntalDuer", "AntalHanner", "AntalHunner"}) x.fields.push_back(L(n, "0"));
        append(x.fields, series("AntalA", 1, 6, F::Long, "0"));
        append(x.fields, series("AntalB", 1, 6, F::Long, "0"));
        for (const char* n : {"AntalP", "AntalE", "AntalZ", "AntalR", "AntalS", "AntalA", "AntalU", "AntalX"})
            x.fields.push_back(L(n, "0"));
        t.push_back(x);
    }
    t.push_back({"Indbetalinger", {Req(L("Kapflyvning")), Req(T("Forening", 3)), L("Indbetalt")}, {"Kapflyvning", "Forening"}, {kRaceFk}});
    t.push_back({"Slagspil",
                 {Req(L("Kapflyvning")), Req(T("Forening", 3)), T("Slag", 3), T("Slag_Navn", 50), B("Slagspil_S"), B("Slagspil_A"),
                  B("Slagspil_U"), B("Slagspil_X")},
                 {},
                 {kRaceFk}});

    for (const auto& scale : prizeScales()) {
        t.push_back(prizeTable(scale.table, scale.keyed));
        t.push_back(templateTable(scale.templateTable));
    }

    t.push_back({"ResModt", {Req(I("Uge")), Req(T("Forening", 3)), I("Regnskab"), I("Resultat")}, {"Uge", "Forening"}, {}});
    t.push_back({"ImportFejl",
                 {T("Forening", 3), T("Slag", 3), T("Slagnavn", 50), I("Uge"), T("Farvekode", 2), T("Ringnummer", 11), T("Tekst", 255)},
                 {},
                 {}});
    t.push_back({"KM_faktorer", {Req(I("KM")), Req(D("Faktor"))}, {"KM"}, {}});

    // Championships.
    t.push_back({"Mesterskaber",
                 {Counter("RecNr"), T("Nr", 10), T("Titel", 100), {"Type", F::Text, 20, "'Point'"}, B("Kun_juniorduer"),
                  B("Kun_sportsduer"), B("Kun_foreningsafkrydsede"), B("Ekskl_Sportsduer"), B("Kun_Begyndere"),
                  B("Kun_Pensionister"), T("Kun_Kode1", 1), T("Kun_Kode2", 1), T("Kun_Kode3", 1), T("Køn", 1), T("Årgang", 2),
                  T("Ekskl_Årgang", 2), T("Område", 5), T("Foreningsmarkering", 10), T("Foreningsmarkering1", 1),
                  I("Antal_duer_pr_slag"), I("Antal_flyvninger"), I("Antal_L_flyvninger"), I("Antal_M_flyvninger"),
                  I("Antal_S_flyvninger"), I("Antal_P_flyvninger"), I("TopProc")},
                 {},
                 {}});
    t.push_back({"Mesterskabsflyvninger",
                 {Req(L("Mesterskab")), Req(L("Kapflyvning"))},
                 {},
                 {kRaceFk, "FOREIGN KEY (Mesterskab) REFERENCES Mesterskaber (RecNr) ON DELETE CASCADE ON UPDATE CASCADE"}});
    t.push_back({"Mesterskaber_Duer",
                 {Req(L("Mesterskab")), Req(T("Ringnummer", 11))},
                 {"Mesterskab", "Ringnummer"},
                 {"FOREIGN KEY (Mesterskab) REFERENCES Mesterskaber (RecNr) ON DELETE CASCADE ON UPDATE CASCADE"}});
    t.push_back({"Mesterskabsresultat",
                 {T("Mesterskabsnr", 10), T("Mesterskabstitel", 100), L("Placering"), T("Foreningsnr", 3), T("Foreningsnavn", 50),
                  T("Slag", 3), T("Slagnavn", 50), T("Ringnummer", 11), D("Points"), D("Points2"), T("Id", 70)},
                 {},
                 {}});
    {
        TableDef h{"CrosstabHeaders", {L("Page")}, {}, {}};
        for (int i = 1; i <= 30; ++i) h.fields.push_back(T("F" + std::to_string(i), 50));
        t.push_back(h);
        TableDef r{"CrosstabResult", {L("Page"), L("IdNumber"), T("IdText", 70)}, {}, {}};
        for (int i = 1; i <= 30; ++i) r.fields.push_back(T("F" + std::to_string(i), 25));
        t.push_back(r);
    }
    return t;
}

std::vector<IndexDef> buildIndexes() {
    std::vector<IndexDef> ix{
        {"Deltagere", "Fart", {"Kapflyvning", "\"Meter / min\" DESC"}},
        {"Deltagere", "Kode1Fart", {"Kapflyvning", "Kode1", "\"Meter / min\" DESC"}},
        {"Deltagere", "Kode2Fart", {"Kapflyvning", "Kode2", "\"Meter / min\" DESC"}},
        {"Deltagere", "Kode3Fart", {"Kapflyvning", "Kode3", "\"Meter / min\" DESC"}},
        {"Deltagere", "ForeningPlac", {"Kapflyvning", "Forening", "Placering"}},
        {"Deltagere", "SlagPlac", {"Kapflyvning", "Forening", "Slag", "Placering"}},
        {"Kapflyvninger", "Uge", {"Uge", "Farvekode"}},
        {"Foreninger", "Nr", {"Nr"}},
        {"Regnskab", "Forening", {"Forening"}},
        {"Slagspil", "PrimaryKey", {"Kapflyvning", "Forening", "Slag"}},
        {"ImportFejl", "Forening", {"Forening", "Uge"}},
        {"Mesterskabsflyvninger", "Kapflyvning", {"Kapflyvning"}},
        {"Mesterskabsflyvninger", "Mesterskab", {"Mesterskab"}},
    };
    // The keyed prize tables find a race's rows by their primary key.
    for (const auto& scale : prizeScales())
        if (!scale.keyed) ix.push_back({scale.table, "Kapflyvning", {"Kapflyvning"}});
    return ix;
}

// The section number and name, as the engine's DFirst on the one-row table gave them.
const std::string kSekNr = "(SELECT Sektionsnr FROM Generelt LIMIT 1)";
const std::string kSekNavn = "(SELECT Sektionsnavn FROM Generelt LIMIT 1)";

std::vector<ViewDef> buildViews() {
    std::vector<ViewDef> v;
    v.push_back({"Q Antal duer pr kapflyvning",
                 "SELECT Kapflyvning AS Nr, count(*) AS \"Antal duer\" FROM Deltagere GROUP BY Kapflyvning"});
    v.push_back({"Q Adresser",
                 "SELECT Foreninger.Nr AS Forening, Foreninger.Navn AS Foreningsnavn, Foreninger.Kontakt AS Navn, "
                 "Foreninger.Kontakt_Adr AS Adresse, Foreninger.Kontakt_Postnr AS Postnr, Postnr.\"By\" AS \"By\" "
                 "FROM Foreninger LEFT JOIN Postnr ON Postnr.Postnr = Foreninger.Kontakt_Postnr ORDER BY Foreninger.Nr"});
    v.push_back({"Q Antal slag pr kapflyvning1", "SELECT DISTINCT Kapflyvning, Forening, Slag FROM Deltagere"});
    v.push_back({"Q Antal slag pr kapflyvning",
                 "SELECT Kapflyvning, count(*) AS \"Antal slag\" FROM \"Q Antal slag pr kapflyvning1\" GROUP BY Kapflyvning"});
    v.push_back({"Q Antal slag pr kapflyvning pr forening",
                 "SELECT Kapflyvning, Forening, count(*) AS \"Antal slag\" FROM \"Q Antal slag pr kapflyvning1\" "
                 "GROUP BY Kapflyvning, Forening"});
    v.push_back({"Q_Uger", "SELECT DISTINCT Uge FROM Kapflyvninger"});
    v.push_back({"Q_ModtFiler",
                 "SELECT Q_Uger.Uge, Foreninger.Nr, Foreninger.Navn, "
                 "(SELECT count(*) FROM ResModt WHERE ResModt.Uge = Q_Uger.Uge AND ResModt.Forening = Foreninger.Nr "
                 "AND ResModt.Regnskab = 1) AS Regnsk, "
                 "(SELECT count(*) FROM ResModt WHERE ResModt.Uge = Q_Uger.Uge AND ResModt.Forening = Foreninger.Nr "
                 "AND ResModt.Resultat = 1) AS Res FROM Q_Uger, Foreninger"});
    v.push_back({"Q Kapflyvninger",
                 "SELECT Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, " + raceCategorySql("Kapflyvninger.Farvekode") +
                     " AS Regi, Kapflyvninger.LMU, Kapflyvninger.Kode, Kapflyvninger.Station, "
                     "iif(Kapflyvninger.Station IS NULL, NULL, printf('%03d', Kapflyvninger.Station)) AS Station3, "
                     "Stationer.Navn, Kapflyvninger.SlipDato, Kapflyvninger.Sliptid, Kapflyvninger.Gebyr, Kapflyvninger.GebyrSlag, "
                     "Kapflyvninger.Kl_P, Kapflyvninger.Kl_E, Kapflyvninger.Kontantpræmier, Kapflyvninger.Slagpræmier, "
                     "Kapflyvninger.Slagspil_S, Kapflyvninger.Slagspil_A, Kapflyvninger.Slagspil_U, Kapflyvninger.Slagspil_X, "
                     "sum(iif(Regnskab.AntalDuer IS NULL, 0, Regnskab.AntalDuer)) AS Duer, "
                     "sum(iif(Regnskab.AntalHanner IS NULL, 0, Regnskab.AntalHanner)) AS Hanner, "
                     "sum(iif(Regnskab.AntalHunner IS NULL, 0, Regnskab.AntalHunner)) AS Hunner "
                     "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
                     "LEFT JOIN Regnskab ON Kapflyvninger.Nr = Regnskab.Kapflyvning "
                     "GROUP BY Kapflyvninger.Nr ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode, Kapflyvninger.Station"});
    v.push_back({"Q Kapflyvningsresultat",
                 "SELECT " + kSekNr + " AS Sektionsnr, " + kSekNavn +
                     " AS Sektionsnavn, Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, "
                     "Stationer.Navn AS Stationsnavn, Kapflyvninger.SlipDato, Kapflyvninger.Sliptid, "
                     "\"Q Antal duer pr kapflyvning\".\"Antal duer\", Deltagere.Ringnummer, Deltagere.Køn, Deltagere.HjemKomst, "
                     "substr(Deltagere.HjemKomst, 1, 8) AS \"Hjem kl\", Deltagere.\"Meter / min\", Deltagere.Placering, "
                     "Deltagere.Slag_Placering, Deltagere.Slag_Ialt, Deltagere.Sportsdue, Deltagere.Forening, Deltagere.Slag, "
                     "Deltagere.Slag_Navn, Deltagere.Point, Deltagere.Præmie, Deltagere.PræmieretIKlasseA, "
                     "Deltagere.PræmieretIKlasseB, Deltagere.PræmieretIKlE, Deltagere.PræmieretIKlP, Deltagere.PræmieretIKlZ, "
                     "Deltagere.PræmieretIKlR, Deltagere.PræmieretIKlS, " +
                     prizeSummarySql() + " AS Præmier "
                     "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
                     "INNER JOIN \"Q Antal duer pr kapflyvning\" ON \"Q Antal duer pr kapflyvning\".Nr = Kapflyvninger.Nr "
                     "INNER JOIN Deltagere ON Deltagere.Kapflyvning = Kapflyvninger.Nr "
                     "WHERE Deltagere.Placering > 0 ORDER BY Kapflyvninger.Nr, Deltagere.Placering, Deltagere.Ringnummer"});
    v.push_back({"Q Kapflyvningsregnskab", kapflyvningsregnskabSql()});
    v.push_back({"Q_Statistik",
                 "SELECT Deltagere.Slag AS Kodenr, Deltagere.Slag_Navn AS Slagnavn, Deltagere.Forening, "
                 "Foreninger.Navn AS Foreningsnavn, Kapflyvninger.Uge, substr(Kapflyvninger.Farvekode, 1, 2) AS KK, "
                 "Kapflyvninger.Station, Stationer.Navn AS Stationsnavn, Deltagere.Ringnummer, "
                 "Deltagere.\"Meter / min\" AS Hastighed, Deltagere.Slag_Placering AS \"Nr egne\", "
                 "Deltagere.Slag_Ialt AS \"Antal egne\", Deltagere.Forening_placering AS \"Nr forening\", "
                 "Deltagere.Forening_ialt AS \"Antal forening\", "
                 "iif(Deltagere.Placering < 0.2 * Deltagere.Kapflyvning_ialt, Deltagere.Placering, NULL) AS \"Nr sektion\", "
                 "Deltagere.Kapflyvning_ialt AS \"Antal sektion\", \"Q Antal slag pr kapflyvning\".\"Antal slag\" AS \"Antal Slag\", "
                 "Deltagere.\"Antal præmier\", "
                 "ifnull(substr(Deltagere.Ringnummer, -4), '') || ifnull(substr(Deltagere.Ringnummer, 5, 2), '') || "
                 "ifnull(substr(Deltagere.Ringnummer, 1, 3), '') AS Due, "
                 "iif(Deltagere.Placering < 0.2 * Deltagere.Kapflyvning_ialt, Deltagere.Point, NULL) AS Point "
                 "FROM Stationer INNER JOIN Kapflyvninger ON Stationer.Nr = Kapflyvninger.Station "
                 "INNER JOIN Deltagere ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
                 "INNER JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
                 "LEFT JOIN \"Q Antal slag pr kapflyvning\" ON Deltagere.Kapflyvning = \"Q Antal slag pr kapflyvning\".Kapflyvning "
                 "WHERE substr(Kapflyvninger.Farvekode, 1, 2) IN " + privateOrSectionCodesSql() +
                 " ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Ringnummer, Kapflyvninger.Uge, Kapflyvninger.Farvekode"});
    v.push_back({"Q Mesterskaber",
                 "SELECT Mesterskaber.*, iif(Kun_juniorduer, 'X', NULL) AS Juniorduer, iif(Kun_sportsduer, 'X', NULL) AS Sportsduer, "
                 "iif(Ekskl_Sportsduer, 'X', NULL) AS EksklSportsduer, "
                 "iif(Kun_foreningsafkrydsede, 'X', NULL) AS Foreningsafkrydsede, iif(Kun_Begyndere, 'X', NULL) AS Begyndere, "
                 "iif(Kun_Pensionister, 'X', NULL) AS Pensionister FROM Mesterskaber"});
    v.push_back({"Q_Sektionsvindere",
                 "SELECT " + kSekNr + " AS Sektionsnr, " + kSekNavn +
                     " AS Sektionsnavn, Kapflyvninger.Nr AS Kapflyvning, Kapflyvninger.Uge, "
                     "substr(Kapflyvninger.Farvekode, 1, 2) AS KFK, Kapflyvninger.Station, Stationer.Navn AS Stationsnavn, "
                     "Kapflyvninger.SlipDato, Deltagere.Forening, Foreninger.Navn AS Foreningsnavn, Deltagere.Slag, "
                     "Deltagere.Slag_Navn AS Slagnavn, Deltagere.Ringnummer, "
                     "date(Kapflyvninger.SlipDato, printf('%+d days', Deltagere.Døgn - 1)) AS HjemDato, "
                     "Deltagere.HjemKomst AS HjemKl, Deltagere.\"Meter / min\", Deltagere.Kapflyvning_ialt AS Kapflyvning_Ialt "
                     "FROM Deltagere INNER JOIN Kapflyvninger ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
                     "LEFT JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
                     "LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station WHERE Deltagere.Placering = 1"});
    v.push_back({"Q_KapflDiplomer",
                 "SELECT " + kSekNavn +
                     " AS Sektion, Stationer.Navn AS Station, Kapflyvninger.SlipDato AS Slip, "
                     "CAST(strftime('%d', Kapflyvninger.SlipDato) AS INTEGER) || '/' || "
                     "CAST(strftime('%m', Kapflyvninger.SlipDato) AS INTEGER) || '/' || strftime('%Y', Kapflyvninger.SlipDato) AS SlipF, "
                     "Deltagere.Slag_Navn AS Slagnavn, Deltagere.Ringnummer, Deltagere.\"Meter / min\", "
                     "replace(printf('%.2f', Deltagere.\"Meter / min\"), '.', ',') AS MPM, 'Sektionsvinder' AS Titel "
                     "FROM Deltagere INNER JOIN Kapflyvninger ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
                     "LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station WHERE Deltagere.Placering = 1 "
                     "ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode"});
    v.push_back({"Q_MesterskDiplomer",
                 "SELECT " + kSekNavn +
                     " AS Sektion, Slagnavn, Placering, Mesterskabstitel AS Titel FROM Mesterskabsresultat "
                     "WHERE Placering <= 3 ORDER BY Mesterskabsnr, Placering"});
    v.push_back({"Q_Mesterskab_Crosstab",
                 "SELECT 'Point' AS TYPE, " + mesterskabCrosstabColumns() + " FROM Mesterskabsresultat "
                 "INNER JOIN CrosstabResult ON Mesterskabsresultat.Id = CrosstabResult.IdText "
                 "INNER JOIN CrosstabHeaders ON CrosstabResult.Page = CrosstabHeaders.Page"});
    return v;
}

}  // namespace

const std::vector<std::string>& pointTableKinds() {
    static const std::vector<std::string> k = [] {
        std::vector<std::string> out;
        for (const auto& c : colourCodes()) out.emplace_back(c.code);
        return out;
    }();
    return k;
}

std::string prizeSummarySql() {
    // Each class the bird won in, "/" between them: A3/E. The leading "/" of the first is
    // trimmed off, which also leaves the text empty for a bird without prizes.
    return "ltrim(iif(Deltagere.PræmieretIKlasseA IS NULL, '', '/A' || CAST(Deltagere.PræmieretIKlasseA AS INTEGER)) || "
           "iif(Deltagere.PræmieretIKlasseB IS NULL, '', '/B' || CAST(Deltagere.PræmieretIKlasseB AS INTEGER)) || "
           "iif(Deltagere.PræmieretIKlE, '/E', '') || iif(Deltagere.PræmieretIKlP, '/P', '') || "
           "iif(Deltagere.PræmieretIKlZ, '/Z', '') || iif(Deltagere.PræmieretIKlR, '/R', '') || "
           "iif(Deltagere.PræmieretIKlS, '/S', ''), '/')";
}

std::string mesterskabCrosstabColumns() {
    // The two page tables share Page and F1..F30; the engine the reports were made for named
    // such columns after their table, and the reports bind to those names.
    std::string s = "Mesterskabsresultat.*, CrosstabResult.Page AS \"CrosstabResult.Page\", CrosstabResult.IdNumber, "
                    "CrosstabResult.IdText";
    for (int i = 1; i <= 30; ++i)
        s += ", CrosstabResult.F" + std::to_string(i) + " AS \"CrosstabResult.F" + std::to_string(i) + "\"";
    s += ", CrosstabHeaders.Page AS \"CrosstabHeaders.Page\"";
    for (int i = 1; i <= 30; ++i)
        s += ", CrosstabHeaders.F" + std::to_string(i) + " AS \"CrosstabHeaders.F" + std::to_string(i) + "\"";
    return s;
}

std::string kapflyvningsregnskabSql(std::optional<long long> race) {
    return kapflyvningsregnskabSql(race ? "Regnskab.Kapflyvning = " + std::to_string(*race) : std::string());
}

std::string kapflyvningsregnskabSql(const std::string& where) {
    auto stake = [](const std::string& f) { return "(SELECT " + f + " FROM Indskud LIMIT 1)"; };
    std::string l1 =
        "SELECT Regnskab.Kapflyvning AS Nr, Regnskab.Forening AS Forening, Foreninger.Navn AS Foreningsnavn, "
        "Kapflyvninger.Uge AS Uge, Kapflyvninger.Farvekode AS Farvekode, substr(Kapflyvninger.Farvekode, 1, 2) AS KFK, "
        "Stationer.Navn AS Navn, Kapflyvninger.SlipDato AS SlipDato, Kapflyvninger.Sliptid AS Sliptid, "
        "Regnskab.AntalDuer AS \"Antal duer\", ";
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i)
            l1 += "Regnskab.Antal" + std::string(1, c) + std::to_string(i) + " AS \"Antal " + std::string(1, c) +
                  std::to_string(i) + "\", ";
    for (const auto& g : games())
        l1 += "iif(Kapflyvninger." + std::string(g.raceFlag) + ", Regnskab." + g.countField + ", 0) AS \"Antal " +
              std::string(1, g.letter) + "\", ";
    for (char s : {'S', 'A', 'U', 'X'})
        l1 += "iif(Kapflyvninger.Slagspil_" + std::string(1, s) + ", Regnskab.Antal" + std::string(1, s) + ", 0) AS Antal_" +
              std::string(1, s) + ", ";
    l1 += "Kapflyvninger.Gebyr AS Gebyr, Kapflyvninger.GebyrSlag AS GebyrSlag, q.\"Antal slag\" AS \"Antal slag\", "
          "Indbetalinger.Indbetalt AS Indbetalt "
          "FROM Regnskab LEFT JOIN Foreninger ON Regnskab.Forening = Foreninger.Nr "
          "LEFT JOIN Indbetalinger ON Regnskab.Kapflyvning = Indbetalinger.Kapflyvning AND Regnskab.Forening = Indbetalinger.Forening "
          "LEFT JOIN Kapflyvninger ON Regnskab.Kapflyvning = Kapflyvninger.Nr "
          "LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr "
          "LEFT JOIN \"Q Antal slag pr kapflyvning pr forening\" AS q ON Regnskab.Kapflyvning = q.Kapflyvning "
          "AND Regnskab.Forening = q.Forening";
    // The condition goes on the innermost select, where the race and the club are still the
    // columns of Regnskab, so the engine reads only the rows asked for.
    if (!where.empty()) l1 += " WHERE " + where;

    // Class i of a stake is paid by every bird entered in i or more classes.
    std::string l2 = "SELECT l1.*";
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i) {
            std::string sum;
            for (int k = i; k <= 6; ++k) sum += (k > i ? " + " : "") + std::string("\"Antal ") + c + std::to_string(k) + "\"";
            l2 += ", " + stake(std::string(1, c) + "_Klasse" + std::to_string(i)) + " * (" + sum + ") AS \"Indskud " +
                  std::string(1, c) + std::to_string(i) + "\"";
        }
    for (const auto& g : games())
        l2 += ", " + stake(g.stakeField) + " * \"Antal " + std::string(1, g.letter) + "\" AS \"Indskud " + std::string(1, g.letter) + "\"";
    l2 += ", " + stake("Slagspil") + " * (Antal_S + Antal_A + Antal_U + Antal_X) AS Slagspil FROM (" + l1 + ") AS l1";

    std::string spil;
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i) spil += "\"Indskud " + std::string(1, c) + std::to_string(i) + "\" + ";
    spil += "\"Indskud P\" + \"Indskud E\" + \"Indskud Z\" + \"Indskud R\"";
    std::string l3 = "SELECT l2.*, " + spil + " AS Spil FROM (" + l2 + ") AS l2";

    std::string out = "SELECT " + kSekNr + " AS Sektionsnr, " + kSekNavn +
                      " AS Sektionsnavn, Nr, Forening, Foreningsnavn, Uge, Farvekode, KFK, Navn, SlipDato, Sliptid, \"Antal duer\"";
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i) out += ", \"Antal " + std::string(1, c) + std::to_string(i) + "\"";
    out += ", \"Antal P\", \"Antal E\", \"Antal Z\", \"Antal R\", Antal_S, Antal_A, Antal_U, Antal_X, "
           "Spil + iif(Slagspil IS NULL, 0, Slagspil) AS Sektion, "
           "Gebyr * \"Antal duer\" / 100.0 + GebyrSlag * \"Antal slag\" / 100.0 AS GebytIalt, "
           "iif(Indbetalt IS NULL, 0, Indbetalt / 100.0) AS AfstemtBeløb";
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i) out += ", \"Indskud " + std::string(1, c) + std::to_string(i) + "\"";
    out += ", \"Indskud P\", \"Indskud E\", \"Indskud Z\", \"Indskud R\", Spil, Slagspil FROM (" + l3 + ") AS l3";
    return out;
}

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> t = buildTables();
    return t;
}

const std::vector<IndexDef>& schemaIndexes() {
    static const std::vector<IndexDef> i = buildIndexes();
    return i;
}

const std::vector<ViewDef>& schemaViews() {
    static const std::vector<ViewDef> v = buildViews();
    return v;
}

const ViewDef* findView(const std::string& name) {
    for (const auto& v : schemaViews())
        if (iequals(v.name, name)) return &v;
    return nullptr;
}

const TableDef* findTable(const std::string& name) {
    for (const auto& t : schemaTables())
        if (iequals(t.name, name)) return &t;
    return nullptr;
}

std::string declaredType(const FieldDef& f) {
    switch (f.type) {
        case F::Counter: return "INTEGER";
        case F::Boolean: return "BOOLEAN";
        case F::Integer: return "SMALLINT";
        case F::Long: return "INTEGER";
        case F::Double: return "DOUBLE";
        case F::Text: return "VARCHAR(" + std::to_string(f.size) + ")";
        // Dates and times are ISO text ('YYYY-MM-DD', 'HH:MM:SS'); a TEXT type keeps a release
        // time such as "07.15" exactly as the club file delivered it.
        case F::DateText: return "TEXT";
        case F::TimeText: return "TEXT";
    }
    return "TEXT";
}

std::string columnDefinition(const FieldDef& f) {
    std::string s = sqlIdent(f.name) + " " + declaredType(f);
    if (f.type == F::Counter) return s + " PRIMARY KEY AUTOINCREMENT";
    if (f.type == F::Text || f.type == F::DateText || f.type == F::TimeText) s += " COLLATE NOCASE";
    if (f.required) s += " NOT NULL";
    if (f.def) s += " DEFAULT " + *f.def;
    // The engine refuses text in a number field; SQLite would store it. The check keeps letters
    // from a damaged club file out of the numbers every calculation reads. Written with two
    // values: SQLite builds a temporary table for an IN list of three or more on every row
    // written, which made each insert into Deltagere some forty times slower.
    if (f.type == F::Boolean || f.type == F::Integer || f.type == F::Long || f.type == F::Double)
        s += " CHECK (typeof(" + sqlIdent(f.name) + ") NOT IN ('text', 'blob'))";
    // A text field holds at most its size in characters, whoever writes it (the import, a form,
    // an SQL tool): SQLite would store any length. The constraint's name is the engine's
    // message when a longer value is refused.
    if (f.type == F::Text && f.size > 0)
        s += " CONSTRAINT " + sqlIdent(f.name + " højst " + std::to_string(f.size) + " tegn") + " CHECK (length(" +
             sqlIdent(f.name) + ") <= " + std::to_string(f.size) + ")";
    return s;
}

std::string createTableSql(const TableDef& t) {
    std::string sql = "CREATE TABLE " + sqlIdent(t.name) + " (";
    for (size_t i = 0; i < t.fields.size(); ++i) sql += (i ? ", " : "") + columnDefinition(t.fields[i]);
    if (!t.primaryKey.empty()) {
        sql += ", PRIMARY KEY (";
        for (size_t i = 0; i < t.primaryKey.size(); ++i) sql += (i ? ", " : "") + sqlIdent(t.primaryKey[i]);
        sql += ")";
    }
    for (const auto& c : t.constraints) sql += ", " + c;
    return sql + ")";
}

std::string createIndexSql(const IndexDef& ix) {
    std::string sql = std::string("CREATE ") + (ix.unique ? "UNIQUE " : "") + "INDEX " + sqlIdent(ix.table + "_" + ix.name) +
                      " ON " + sqlIdent(ix.table) + " (";
    for (size_t i = 0; i < ix.fields.size(); ++i) {
        const auto& f = ix.fields[i];
        sql += (i ? ", " : "") + (f.find('"') != std::string::npos ? f : sqlIdent(f));
    }
    return sql + ")";
}

const std::vector<std::string>& clubAccountTriggers() {
    // Club numbers are not unique in the register, so the club-to-accounts relation cascades
    // through triggers: the accounts go with the last club that carries their number.
    static const std::vector<std::string> t{
        "CREATE TRIGGER ForeningerRegnskab_Delete AFTER DELETE ON Foreninger "
        "WHEN NOT EXISTS (SELECT 1 FROM Foreninger WHERE Nr = OLD.Nr) "
        "BEGIN DELETE FROM Regnskab WHERE Forening = OLD.Nr; END",
        "CREATE TRIGGER ForeningerRegnskab_Update AFTER UPDATE OF Nr ON Foreninger "
        "WHEN OLD.Nr IS NOT NEW.Nr AND NOT EXISTS (SELECT 1 FROM Foreninger WHERE Nr = OLD.Nr) "
        "BEGIN UPDATE Regnskab SET Forening = NEW.Nr WHERE Forening = OLD.Nr; END"};
    return t;
}

void createSchema(Database& db) {
    Transaction tr(db);
    for (const auto& t : schemaTables()) db.exec(createTableSql(t));
    for (const auto& ix : schemaIndexes()) db.exec(createIndexSql(ix));
    for (const auto& trigger : clubAccountTriggers()) db.exec(trigger);
    for (const auto& v : schemaViews()) db.exec("CREATE VIEW " + sqlIdent(v.name) + " AS " + v.select);

    db.execute("INSERT INTO Generelt (Version, CheckResFiler) VALUES (?, 0)", {kSchemaVersion});
    db.exec("INSERT INTO Indskud DEFAULT VALUES");
    // Speed thresholds: 0 m/min ranks every bird that was clocked and leaves out the birds that
    // did not come home (no speed, or 0).
    db.exec(
        "INSERT INTO Markering (Præmiefaktor_A, Præmiefaktor_B, Pointsystem, Hastighed_9192, Hastighed_Andre) "
        "VALUES (0, 0, 0, 0, 0)");
    db.exec(
        "INSERT INTO KM_faktorer (KM, Faktor) VALUES (180, 1.5), (270, 2), (360, 2.5), (475, 3), (570, 3.5)");
    tr.commit();
}

}  // namespace vemora
