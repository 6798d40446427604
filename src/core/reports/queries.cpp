#include "core/reports/queries.h"

#include "core/app/procs.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/domain/catalogue.h"
#include "core/stats/statquery.h"

namespace vemora::reports::queries {

namespace {

// The section and private race kinds: national races (90 to 94) are not the section's.
std::string sectionKinds() { return privateOrSectionCodesSql(); }

std::string generelt(const char* field) { return std::string("(SELECT ") + field + " FROM Generelt LIMIT 1)"; }

}  // namespace

std::string sectionNumber() { return generelt("Sektionsnr"); }
std::string sectionName() { return generelt("Sektionsnavn"); }

std::string bestPerLoftFilter() { return " And Slag_Placering = 1 "; }
std::string countFilter(double n) { return " And (Placering <= " + SqlNumber(n) + " Or Præmie > 0) "; }
// The engine divides whole numbers as whole numbers; 100.0 keeps the share exact.
std::string percentFilter(double n) {
    return " And (Placering <= " + SqlNumber(n) + " * Kapflyvning_Ialt / 100.0 Or Præmie > 0) ";
}

std::string raceResults(const RaceResultsOptions& o) {
    const std::string div =
        "iif(Kapflyvninger.Kode = '1', Deltagere.Kode1, iif(Kapflyvninger.Kode = '2', Deltagere.Kode2, "
        "iif(Kapflyvninger.Kode = '3', Deltagere.Kode3, ' ')))";
    // With the list by area, a bird without an area is printed under the section.
    const std::string noArea = "(Deltagere.Område IS NULL OR Deltagere.Område = '')";
    std::string nr = sectionNumber(), name = sectionName();
    if (o.byArea) {
        nr = "iif(" + noArea + ", " + sectionNumber() + ", Deltagere.Område)";
        name = "iif(" + noArea + ", 'Sektion ' || ifnull(" + sectionNumber() + ", ''), 'Område ' || Deltagere.Område)";
    }
    const std::string point =
        o.noPoints ? "iif(100 - 300.0 * (Deltagere.Placering - 1) / Deltagere.Kapflyvning_ialt < 0, 0, "
                     "100 - 300.0 * (Deltagere.Placering - 1) / Deltagere.Kapflyvning_ialt)"
                   : "Deltagere.Point";
    // Beyond the list's own columns: the race's week and colour code and its number of lofts
    // for the race heading, the section's name (Sektionsnavn names the area in a list by
    // area) and whether the list is by area, so the layout prints area headings only then.
    std::string sql =
        "SELECT " + nr + " AS Sektionsnr, " + name + " AS Sektionsnavn, Kapflyvninger.Nr, " + div +
        " AS Div, Deltagere.Placering, Deltagere.Ringnummer, Deltagere.Køn, Stationer.Navn AS Stationsnavn, "
        "Kapflyvninger.SlipDato, Kapflyvninger.Sliptid, \"Q Antal duer pr kapflyvning\".\"Antal duer\", Deltagere.HjemKomst, "
        "iif(length(Deltagere.HjemKomst) = 5, Deltagere.HjemKomst || ':00', Deltagere.HjemKomst) AS \"Hjem kl\", "
        "Deltagere.\"Meter / min\", Deltagere.Slag_Placering, Deltagere.Slag_Ialt, Deltagere.Sportsdue, "
        "Deltagere.ForeningskrydsT, Deltagere.Slag, Deltagere.Slag_Navn, Deltagere.Forening, " +
        point +
        " AS Point, Deltagere.Præmie, Deltagere.PræmieretIKlasseA, Deltagere.PræmieretIKlasseB, Deltagere.PræmieretIKlE, "
        "Deltagere.PræmieretIKlP, " +
        prizeSummarySql() +
         " AS Præmier, Kapflyvninger.Kommentarer, Kapflyvninger.Uge, Kapflyvninger.Farvekode, "
        "\"Q Antal slag pr kapflyvning\".\"Antal slag\", " +
        sectionName() + " AS Sektion, " + (o.byArea ? "1" : "0") + " AS Områdeopdelt "
        "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
        "INNER JOIN \"Q Antal duer pr kapflyvning\" ON \"Q Antal duer pr kapflyvning\".Nr = Kapflyvninger.Nr "
        "INNER JOIN Deltagere ON Deltagere.Kapflyvning = Kapflyvninger.Nr "
        "LEFT JOIN \"Q Antal slag pr kapflyvning\" ON \"Q Antal slag pr kapflyvning\".Kapflyvning = Kapflyvninger.Nr "
        "Where Deltagere.Placering > 0 And Kapflyvninger.Nr = " +
        std::to_string(o.race) + " " + o.birdFilter;
    if (!o.division.empty()) sql += "And " + div + " = " + sqlQuote(o.division) + " ";
    sql += "ORDER BY Kapflyvninger.Nr, ";
    if (o.byArea) sql += "Sektionsnr, ";
    if (!o.acrossDivisions) sql += "Div, ";
    sql += "Deltagere.Placering, substr(Deltagere.Ringnummer, -4), Deltagere.Ringnummer";
    return sql;
}

std::string receiptList(long long week) {
    return "Select * From Q_ModtFiler Where Uge = " + std::to_string(week) + " Order By Nr";
}

std::string raceAccounts(long long race) { return kapflyvningsregnskabSql("Regnskab.Kapflyvning = " + std::to_string(race)); }

std::string yearAccounts(const std::optional<std::string>& club) {
    std::string where = std::string("substr(Kapflyvninger.Farvekode, 1, 2) IN ") + sectionKinds();
    if (club) where += " And Regnskab.Forening = " + sqlQuote(*club);
    return kapflyvningsregnskabSql(where);
}

std::string prizes(const std::optional<std::string>& club, const std::optional<long long>& week) {
    std::string sql =
        "SELECT " + sectionNumber() + " AS Sektionsnr, " + sectionName() +
        " AS Sektionsnavn, Deltagere.Forening, Foreninger.Navn AS Foreningsnavn, Deltagere.Slag, Deltagere.Slag_Navn, "
        "Kapflyvninger.Uge, Kapflyvninger.Farvekode, substr(Kapflyvninger.Farvekode, 1, 2) AS KFK, Stationer.Navn AS Station, "
        "Deltagere.Ringnummer, Deltagere.\"Meter / min\", Deltagere.Placering, Deltagere.Præmie "
        "FROM Stationer INNER JOIN Kapflyvninger ON Stationer.Nr = Kapflyvninger.Station "
        "INNER JOIN Deltagere ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
        "INNER JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
        "Where Deltagere.Præmie > 0 ";
    if (club) sql += "And Forening = " + sqlQuote(*club) + " ";
    if (week) sql += "And Kapflyvninger.Uge = " + std::to_string(*week) + " ";
    sql += "ORDER BY Deltagere.Forening, Kapflyvninger.Uge, Deltagere.Præmie DESC, Kapflyvninger.Farvekode, Stationer.Navn";
    return sql;
}

std::string sectionWinners() {
    return "Select * From Q_Sektionsvindere Order By Uge, KFK, substr(Ringnummer, -4), Ringnummer";
}

std::string bankTransfers(long long race) {
    const std::string cols =
        sectionNumber() + ", " + sectionName() +
        ", Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, substr(Kapflyvninger.Farvekode, 1, 2), "
        "Kapflyvninger.Station, Stationer.Navn, Deltagere.Forening, Foreninger.Navn, Foreninger.Bank, Foreninger.Regnr, "
        "Foreninger.Kontonr, " +
        generelt("Bank") + ", " + generelt("Regnr") + ", " + generelt("Kontonr");
    return "SELECT " + sectionNumber() + " AS Sektionsnr, " + sectionName() +
           " AS Sektionsnavn, Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, "
           "substr(Kapflyvninger.Farvekode, 1, 2) AS KFK, Kapflyvninger.Station, Stationer.Navn AS Stationsnavn, "
           "Deltagere.Forening AS Foreningsnr, Foreninger.Navn AS Foreningsnavn, Foreninger.Bank, Foreninger.Regnr, "
           "Foreninger.Kontonr, " +
           generelt("Bank") + " AS Sektionsbank, " + generelt("Regnr") + " AS Sektionsregnr, " + generelt("Kontonr") +
           " AS Sektionskontonr, sum(Deltagere.Præmie) AS Beløb "
           "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
           "INNER JOIN Deltagere ON Deltagere.Kapflyvning = Kapflyvninger.Nr "
           "LEFT JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
           "WHERE Kapflyvninger.Nr = " +
           std::to_string(race) + " GROUP BY " + cols + " HAVING sum(Deltagere.Præmie) > 0";
}

std::string addresses() { return "SELECT * FROM \"Q Adresser\""; }

std::string statistics(const std::string& club, const std::string& loft, bool sectionOnly, bool allBirds) {
    std::string sql = StatistikSelect();
    while (!sql.empty() && sql.back() == ' ') sql.pop_back();
    std::vector<std::string> conds;
    if (!club.empty()) {
        std::string c = "Deltagere.Forening = " + sqlQuote(club);
        if (!loft.empty()) c += " And Deltagere.Slag = " + sqlQuote(loft);
        conds.push_back(c);
    }
    if (sectionOnly) conds.push_back(std::string("substr(Kapflyvninger.Farvekode, 1, 2) IN ") + sectionKinds());
    if (!allBirds) conds.push_back("Deltagere.\"Meter / min\" > 0 And Deltagere.Placering < 0.2 * Deltagere.Kapflyvning_ialt");
    for (size_t i = 0; i < conds.size(); ++i) sql += (i ? " And " : " Where ") + conds[i];
    return sql;
}

std::string raceDiplomas(const std::string& count, const std::optional<long long>& week) {
    std::string sql =
        "Select " + sectionName() + " As Sektion, substr(" + sectionName() +
        ", 9) AS Sektionsnr, Stationer.Navn AS Station, Kapflyvninger.SlipDato AS Slip, "
        "CAST(strftime('%d', Kapflyvninger.SlipDato) AS INTEGER) || '/' || CAST(strftime('%m', Kapflyvninger.SlipDato) AS INTEGER) "
        "|| '/' || strftime('%Y', Kapflyvninger.SlipDato) AS SlipF, Deltagere.Slag_Navn AS Slagnavn, Deltagere.Forening, "
        "Foreninger.Navn AS Foreningsnavn, Deltagere.Ringnummer, Deltagere.\"Meter / min\", "
        "replace(printf('%.2f', Deltagere.\"Meter / min\"), '.', ',') AS MPM, "
        "iif(Deltagere.Placering = 1, 'Sektionsvinder', Deltagere.Placering || '. Præmie') AS Titel, Deltagere.Placering "
        "FROM Deltagere INNER JOIN Kapflyvninger ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
        "LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
        "LEFT JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
        "Where Placering <= " +
        count + " And (substr(Farvekode, 1, 2) >= '95' Or substr(Farvekode, 1, 2) < '90')";
    if (week) sql += " And Uge = " + std::to_string(*week);
    sql += " Order By Uge, Farvekode, Placering";
    return sql;
}

std::string championshipDiplomas(const std::string& count, const std::string& nr) {
    return "Select " + sectionName() +
           " As Sektion, Slagnavn, Placering, Mesterskabstitel As Titel From Mesterskabsresultat Where Placering <= " + count +
           " AND Mesterskabsnr = " + sqlQuote(nr) + " Order By Mesterskabsnr, Placering";
}

}  // namespace vemora::reports::queries
