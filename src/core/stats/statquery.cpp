#include "core/stats/statquery.h"

#include <unordered_map>
#include <vector>

#include "core/db/database.h"
#include "core/stats/statformat.h"

namespace vemora {

namespace {

const char* const kRaceFilter =
    "WHERE substr(Kapflyvninger.Farvekode, 1, 2) IN ('81', '82', '83', '84', '85', '95', '96', '97', '98', '99') ";

std::string sourcesAndFilter(const std::string& club) {
    std::string clubCondition = club.empty() ? "" : "AND Deltagere.Forening = " + sqlQuote(club) + " ";
    // National races (90..94) are the federation's own and are left out.
    return "FROM Stationer INNER JOIN Kapflyvninger ON Stationer.Nr = Kapflyvninger.Station "
           "INNER JOIN Deltagere ON Kapflyvninger.Nr = Deltagere.Kapflyvning "
           "INNER JOIN Foreninger ON Foreninger.Nr = Deltagere.Forening "
           "LEFT JOIN \"Q Antal slag pr kapflyvning\" ON Deltagere.Kapflyvning = \"Q Antal slag pr kapflyvning\".Kapflyvning " +
           std::string(kRaceFilter) + clubCondition;
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
    // The rows of the stored query, joined here rather than by the engine: a season's birds are
    // read in one plain pass over Deltagere and matched with the few races and clubs in memory,
    // then ordered here too. The engine's per-bird lookups and its sorter took three quarters
    // of the export. The joins keep the query's meaning: a bird counts once for every race row
    // and every club register row it matches (club numbers compare without regard to case, as
    // the columns do), and a bird of a race without a registered station, of a national race or
    // of an unregistered club is not there.
    struct Race {
        Value uge, farvekode, kk, station, antalSlag, nr;
    };
    std::unordered_map<int64_t, std::vector<Race>> races;
    {
        Statement st = db.prepare(
            "SELECT Kapflyvninger.Nr, Kapflyvninger.Uge, Kapflyvninger.Farvekode, substr(Kapflyvninger.Farvekode, 1, 2), "
            "Kapflyvninger.Station, \"Q Antal slag pr kapflyvning\".\"Antal slag\" "
            "FROM Stationer INNER JOIN Kapflyvninger ON Stationer.Nr = Kapflyvninger.Station "
            "LEFT JOIN \"Q Antal slag pr kapflyvning\" ON Kapflyvninger.Nr = \"Q Antal slag pr kapflyvning\".Kapflyvning " +
            std::string(kRaceFilter));
        while (st.step())
            races[st.column(0).toInt()].push_back({st.column(1), st.column(2), st.column(3), st.column(4), st.column(5), st.column(0)});
    }
    std::unordered_map<std::string, int> registered;  // club number folded to lower case -> rows
    {
        Statement st = db.prepare("SELECT Nr FROM Foreninger WHERE Nr IS NOT NULL");
        while (st.step()) ++registered[foldCase(st.column(0).toText())];
    }

    enum { cKapflyvning, cForening, cKodenr, cRing, cHast, cNrEgne, cAntalEgne, cNrForening, cAntalForening, cNrSektion,
           cAntalSektion, cPoint };
    Statement st = db.prepare(
        "SELECT Kapflyvning, Forening, Slag, Ringnummer, \"Meter / min\", Slag_Placering, Slag_Ialt, Forening_placering, "
        "Forening_ialt, " VEMORA_FIRST_FIFTH("Deltagere.Placering") ", Kapflyvning_ialt, "
        VEMORA_FIRST_FIFTH("Deltagere.Point") " FROM Deltagere" + std::string(club.empty() ? "" : " WHERE Forening = ?"));
    if (!club.empty()) st.bind(1, Value(club));
    OrderedLines rows;
    rows.reserve(static_cast<size_t>(
        (club.empty() ? db.scalar("SELECT count(*) FROM Deltagere")
                      : db.scalar("SELECT count(*) FROM Deltagere WHERE Forening = ?", {club}))
            .toInt()));
    std::string key, line;
    while (st.step()) {
        auto race = races.find(st.column(cKapflyvning).toInt());
        if (race == races.end()) continue;
        Value forening = st.column(cForening);
        if (forening.isNull()) continue;
        auto reg = registered.find(foldCase(forening.toText()));
        if (reg == registered.end()) continue;
        StatRow r{Value(),           Value(),           st.column(cHast),           st.column(cRing),
                  forening,          st.column(cKodenr), st.column(cNrEgne),        st.column(cAntalEgne),
                  st.column(cNrForening), st.column(cAntalForening), st.column(cNrSektion), st.column(cAntalSektion),
                  Value(),           Value(),           Value()};
        Value point = st.column(cPoint);
        for (const Race& k : race->second) {
            r.uge = k.uge;
            r.kk = k.kk;
            r.station = k.station;
            r.antalSlag = k.antalSlag;
            r.point = point;
            key.clear();
            appendTextKey(key, r.forening);
            appendTextKey(key, r.kodenr);
            appendTextKey(key, r.ringnummer);
            appendNumberKey(key, r.uge);
            appendTextKey(key, k.farvekode);
            appendNumberKey(key, k.nr);
            line.clear();
            appendStatLine(line, r, withClub);
            for (int n = 0; n < reg->second; ++n) rows.add(key, r.forening.toText(), line);
        }
    }
    rows.sort();
    return rows;
}

#undef VEMORA_FIRST_FIFTH

}  // namespace vemora
