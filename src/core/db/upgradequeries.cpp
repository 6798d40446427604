// The stored queries that the upgrade writes more than once, in the forms of the releases
// that wrote them. The last form of each is the current schema's own text, so an upgraded
// file ends with exactly the queries of a new one.
#include <stdexcept>

#include "core/db/upgrader.h"

namespace vemora::upgrade {

namespace {

std::string currentText(const std::string& name) {
    const ViewDef* v = findView(name);
    if (!v) throw std::logic_error("stored query missing from the schema: " + name);
    return v->select;
}

// Before step 26 the kinds below 90 were not yet private races.
std::string regi(bool finalRule) {
    std::string p = "substr(Kapflyvninger.Farvekode, 1, 2)";
    std::string privat = finalRule ? p + " >= '97' OR " + p + " < '90'" : p + " >= '97'";
    return "iif(" + privat + ", 'Privat', iif(" + p + " = '95' OR " + p + " = '96', 'Sektion', 'Ryx'))";
}

}  // namespace

std::string kapflyvningerQuery(int step) {
    if (step >= 28) return currentText("Q Kapflyvninger");
    bool regnskab = step >= 2, lmu = step >= 9, kode = step >= 15;
    std::string s = "SELECT Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, " + regi(step >= 26) + " AS Regi, ";
    if (lmu) s += "Kapflyvninger.LMU, ";
    if (kode) s += "Kapflyvninger.Kode, ";
    s += "Kapflyvninger.Station, iif(Kapflyvninger.Station IS NULL, NULL, printf('%03d', Kapflyvninger.Station)) AS Station3, "
         "Stationer.Navn, Kapflyvninger.SlipDato, Kapflyvninger.Sliptid, Kapflyvninger.Gebyr, Kapflyvninger.Kl_P, "
         "Kapflyvninger.Kl_E, Kapflyvninger.Kontantpræmier, Kapflyvninger.Slagpræmier, Kapflyvninger.Slagspil_S, "
         "Kapflyvninger.Slagspil_A, Kapflyvninger.Slagspil_U, Kapflyvninger.Slagspil_X, ";
    if (regnskab)
        s += "sum(iif(Regnskab.AntalDuer IS NULL, 0, Regnskab.AntalDuer)) AS Duer, "
             "sum(iif(Regnskab.AntalHanner IS NULL, 0, Regnskab.AntalHanner)) AS Hanner, "
             "sum(iif(Regnskab.AntalHunner IS NULL, 0, Regnskab.AntalHunner)) AS Hunner "
             "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
             "LEFT JOIN Regnskab ON Kapflyvninger.Nr = Regnskab.Kapflyvning ";
    else
        s += "count(Deltagere.Ringnummer) AS Duer, sum(iif(Deltagere.Køn = 'A', 1, 0)) AS Hanner, "
             "sum(iif(Deltagere.Køn = 'U', 1, 0)) AS Hunner "
             "FROM Kapflyvninger LEFT JOIN Stationer ON Stationer.Nr = Kapflyvninger.Station "
             "LEFT JOIN Deltagere ON Kapflyvninger.Nr = Deltagere.Kapflyvning ";
    return s + "GROUP BY Kapflyvninger.Nr ORDER BY Kapflyvninger.Uge, Kapflyvninger.Farvekode, Kapflyvninger.Station";
}

std::string kapflyvningsregnskabQuery(int step) {
    if (step >= 28) return currentText("Q Kapflyvningsregnskab");
    // The first accounts: stakes of A, B, P and E and the loft games, the fee per bird only.
    auto stake = [](const std::string& f) { return "(SELECT " + f + " FROM Indskud LIMIT 1)"; };
    std::string s = "SELECT Regnskab.Kapflyvning AS Nr, Regnskab.Forening, Foreninger.Navn AS Foreningsnavn, "
                    "Kapflyvninger.Uge, Kapflyvninger.Farvekode, Stationer.Navn, Kapflyvninger.SlipDato, "
                    "Kapflyvninger.Sliptid, Regnskab.AntalDuer AS \"Antal duer\"";
    std::string total;
    for (char c : {'A', 'B'})
        for (int i = 1; i <= 6; ++i) {
            std::string n = std::string(1, c) + std::to_string(i);
            s += ", Regnskab.Antal" + n + " AS \"Antal " + n + "\"";
            std::string entered;
            for (int k = i; k <= 6; ++k) entered += (k > i ? " + " : "") + std::string("Regnskab.Antal") + c + std::to_string(k);
            total += (total.empty() ? "" : " + ") + stake(std::string(1, c) + "_Klasse" + std::to_string(i)) + " * (" + entered + ")";
        }
    for (char g : {'P', 'E'}) {
        std::string n(1, g);
        s += ", iif(Kapflyvninger.Kl_" + n + ", Regnskab.Antal" + n + ", 0) AS \"Antal " + n + "\"";
        total += " + " + stake("Kl_" + n) + " * iif(Kapflyvninger.Kl_" + n + ", Regnskab.Antal" + n + ", 0)";
    }
    std::string games;
    for (char v : {'S', 'A', 'U', 'X'}) {
        std::string n(1, v);
        s += ", iif(Kapflyvninger.Slagspil_" + n + ", Regnskab.Antal" + n + ", 0) AS Antal_" + n;
        games += (games.empty() ? "" : " + ") + std::string("iif(Kapflyvninger.Slagspil_") + n + ", Regnskab.Antal" + n + ", 0)";
    }
    s += ", " + total + " + " + stake("Slagspil") + " * (" + games + ") AS Sektion";
    s += ", Kapflyvninger.Gebyr * Regnskab.AntalDuer / 100.0 AS GebytIalt, "
         "iif(Indbetalinger.Indbetalt IS NULL, 0, Indbetalinger.Indbetalt / 100.0) AS AfstemtBeløb "
         "FROM Regnskab LEFT JOIN Foreninger ON Regnskab.Forening = Foreninger.Nr "
         "LEFT JOIN Indbetalinger ON Regnskab.Kapflyvning = Indbetalinger.Kapflyvning "
         "AND Regnskab.Forening = Indbetalinger.Forening "
         "LEFT JOIN Kapflyvninger ON Regnskab.Kapflyvning = Kapflyvninger.Nr "
         "LEFT JOIN Stationer ON Kapflyvninger.Station = Stationer.Nr";
    return s;
}

std::string mesterskaberQuery(int step) {
    // The query reads every field of the table, so the steps that add a field (19, 25, 28, 34)
    // write the same text again; only the criterion columns changed, with step 24.
    if (step >= 24) return currentText("Q Mesterskaber");
    return "SELECT Mesterskaber.*, iif(Kun_juniorduer, 'X', NULL) AS Juniorduer, iif(Kun_sportsduer, 'X', NULL) AS Sportsduer, "
           "iif(Kun_foreningsafkrydsede, 'X', NULL) AS Foreningsafkrydsede, iif(Kun_Begyndere, 'X', NULL) AS Begyndere, "
           "iif(Kun_Pensionister, 'X', NULL) AS Pensionister FROM Mesterskaber";
}

}  // namespace vemora::upgrade
