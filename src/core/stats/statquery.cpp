#include "core/stats/statquery.h"

#include "core/db/database.h"
#include "core/stats/statformat.h"

namespace vemora {

namespace {

std::string sourcesAndFilter(const std::string& club) {
    std::string clubCondition = club.empty() ? "" : "AND Deltagere.Forening = " + sqlQuote(club) + " ";
    // National races (90..94) are the federation's own and are left out.
    return "FROM Stationer INNER JOIN Kapflyvninger ON Stationer.Nr = Kapflyvninger.Station "
           "INNER JOIN Deltagere ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
           "INNER JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
           "LEFT JOIN \"Q Antal slag pr kapflyvning\" ON Deltagere.Kapflyvning = \"Q Antal slag pr kapflyvning\".Kapflyvning "
           "WHERE substr(Kapflyvninger.Farvekode, 1, 2) IN ('81', '82', '83', '84', '85', '95', '96', '97', '98', '99') " +
           clubCondition;
}

// The section placing and the points go out only for birds within the first fifth of their
// race (placing below a fifth of the birds in it).
#define VEMORA_FIRST_FIFTH(x) "iif(Deltagere.Placering < 0.2 * Deltagere.Kapflyvning_ialt, " x ", NULL)"

}  // namespace

std::string StatistikSql(const std::string& club) {
    // The race number last: two races of one week and colour code keep the order they were
    // made in. ReadStatistics orders by the same terms.
    return "SELECT Deltagere.Slag AS Kodenr, Deltagere.Slag_Navn AS Slagnavn, Deltagere.Forening, "
           "Foreninger.Navn AS Foreningsnavn, Kapflyvninger.Uge, substr(Kapflyvninger.Farvekode, 1, 2) AS KK, "
           "Kapflyvninger.Station, Stationer.Navn AS Stationsnavn, Deltagere.Ringnummer, "
           "Deltagere.\"Meter / min\" AS Hastighed, Deltagere.Slag_Placering AS \"Nr egne\", "
           "Deltagere.Slag_Ialt AS \"Antal egne\", Deltagere.Forening_placering AS \"Nr forening\", "
           "Deltagere.Forening_ialt AS \"Antal forening\", " VEMORA_FIRST_FIFTH("Deltagere.Placering") " AS \"Nr sektion\", "
           "Deltagere.Kapflyvning_ialt AS \"Antal sektion\", \"Q Antal slag pr kapflyvning\".\"Antal slag\" AS \"Antal Slag\", "
           "Deltagere.\"Antal præmier\", "
           "ifnull(substr(Deltagere.Ringnummer, -4), '') || ifnull(substr(Deltagere.Ringnummer, 5, 2), '') || "
           "ifnull(substr(Deltagere.Ringnummer, 1, 3), '') AS Due, " VEMORA_FIRST_FIFTH("Deltagere.Point") " AS Point " +
           sourcesAndFilter(club) +
           "ORDER BY Deltagere.Forening, Deltagere.Slag, Deltagere.Ringnummer, Kapflyvninger.Uge, Kapflyvninger.Farvekode, "
           "Kapflyvninger.Nr";
}

OrderedLines ReadStatistics(Database& db, const std::string& club, bool withClub) {
    // The stored query's sources and filter with only the columns a line needs, ordered here
    // rather than by the engine: its sorter and the name columns nobody writes out took
    // three quarters of a season's export.
    enum { cForening, cKodenr, cRing, cUge, cFarvekode, cNr, cKK, cStation, cHast, cNrEgne, cAntalEgne, cNrForening,
           cAntalForening, cNrSektion, cAntalSektion, cAntalSlag, cPoint };
    Statement st = db.prepare(
        "SELECT Deltagere.Forening, Deltagere.Slag, Deltagere.Ringnummer, Kapflyvninger.Uge, Kapflyvninger.Farvekode, "
        "Kapflyvninger.Nr, substr(Kapflyvninger.Farvekode, 1, 2), Kapflyvninger.Station, Deltagere.\"Meter / min\", "
        "Deltagere.Slag_Placering, Deltagere.Slag_Ialt, Deltagere.Forening_placering, Deltagere.Forening_ialt, "
        VEMORA_FIRST_FIFTH("Deltagere.Placering") ", Deltagere.Kapflyvning_ialt, "
        "\"Q Antal slag pr kapflyvning\".\"Antal slag\", " VEMORA_FIRST_FIFTH("Deltagere.Point") " " +
        sourcesAndFilter(club));
    OrderedLines rows;
    rows.reserve(static_cast<size_t>(
        (club.empty() ? db.scalar("SELECT count(*) FROM Deltagere")
                      : db.scalar("SELECT count(*) FROM Deltagere WHERE Forening = ?", {club}))
            .toInt()));
    std::string key;
    while (st.step()) {
        StatRow r{st.column(cUge),        st.column(cKK),           st.column(cHast),      st.column(cRing),
                  st.column(cForening),   st.column(cKodenr),       st.column(cNrEgne),    st.column(cAntalEgne),
                  st.column(cNrForening), st.column(cAntalForening), st.column(cNrSektion), st.column(cAntalSektion),
                  st.column(cStation),    st.column(cPoint),        st.column(cAntalSlag)};
        key.clear();
        appendTextKey(key, r.forening);
        appendTextKey(key, r.kodenr);
        appendTextKey(key, r.ringnummer);
        appendNumberKey(key, r.uge);
        appendTextKey(key, st.column(cFarvekode));
        appendNumberKey(key, st.column(cNr));
        rows.add(key, r.forening.toText(), statLine(r, withClub));
    }
    rows.sort();
    return rows;
}

#undef VEMORA_FIRST_FIFTH

}  // namespace vemora
