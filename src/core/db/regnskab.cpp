#include "core/db/regnskab.h"

#include "core/db/database.h"

namespace vemora {

namespace {

std::string birdCounts() {
    std::string s = "SELECT Kapflyvning, Forening, count(*), sum(iif(Køn = 'A', 1, 0)), sum(iif(Køn = 'U', 1, 0)), "
                    "sum(iif(Elite, 1, 0)), sum(iif(Pulje, 1, 0))";
    for (const char* stake : {"\"Sektion A\"", "\"Sektion B\""})
        for (int k = 1; k <= 6; ++k) s += ", sum(iif(" + std::string(stake) + " = " + std::to_string(k) + ", 1, 0))";
    return s;
}

std::string birdColumns() {
    std::string s = "Kapflyvning, Forening, AntalDuer, AntalHanner, AntalHunner, AntalE, AntalP";
    for (char c : {'A', 'B'})
        for (int k = 1; k <= 6; ++k) s += ", Antal" + std::string(1, c) + std::to_string(k);
    return s;
}

}  // namespace

void fillRegnskab(Database& db, const std::vector<long long>* races) {
    Transaction t(db);
    // A club without a number has no account row to be counted in.
    std::string where = races ? " WHERE Kapflyvning = ?1 AND Forening IS NOT NULL" : " WHERE Forening IS NOT NULL";
    std::string birds = "INSERT INTO Regnskab (" + birdColumns() + ") " + birdCounts() + " FROM Deltagere" + where +
                        " GROUP BY Kapflyvning, Forening";
    std::string games =
        "INSERT INTO Regnskab (Kapflyvning, Forening, AntalS, AntalA, AntalU, AntalX) "
        "SELECT Kapflyvning, Forening, sum(iif(Slagspil_S, 1, 0)), sum(iif(Slagspil_A, 1, 0)), sum(iif(Slagspil_U, 1, 0)), "
        "sum(iif(Slagspil_X, 1, 0)) FROM Slagspil" + where + " GROUP BY Kapflyvning, Forening "
        "ON CONFLICT (Kapflyvning, Forening) DO UPDATE SET AntalS = excluded.AntalS, AntalA = excluded.AntalA, "
        "AntalU = excluded.AntalU, AntalX = excluded.AntalX";
    if (!races) {
        db.exec("DELETE FROM Regnskab");
        db.execute(birds);
        db.execute(games);
    } else {
        Statement del = db.prepare(
            "DELETE FROM Regnskab WHERE Kapflyvning = ?1 AND Forening IN "
            "(SELECT Forening FROM Deltagere WHERE Kapflyvning = ?1 UNION SELECT Forening FROM Slagspil WHERE Kapflyvning = ?1)");
        Statement addBirds = db.prepare(birds), addGames = db.prepare(games);
        for (long long race : *races) {
            for (Statement* st : {&del, &addBirds, &addGames}) {
                st->bind(1, race);
                st->run();
            }
        }
    }
    t.commit();
}

}  // namespace vemora
