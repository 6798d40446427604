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

void fillRegnskab(Database& db) {
    Transaction t(db);
    // A club without a number has no account row to be counted in.
    db.exec("DELETE FROM Regnskab");
    db.exec("INSERT INTO Regnskab (" + birdColumns() + ") " + birdCounts() +
            " FROM Deltagere WHERE Forening IS NOT NULL GROUP BY Kapflyvning, Forening");
    db.exec("INSERT INTO Regnskab (Kapflyvning, Forening, AntalS, AntalA, AntalU, AntalX) "
            "SELECT Kapflyvning, Forening, sum(iif(Slagspil_S, 1, 0)), sum(iif(Slagspil_A, 1, 0)), sum(iif(Slagspil_U, 1, 0)), "
            "sum(iif(Slagspil_X, 1, 0)) FROM Slagspil WHERE Forening IS NOT NULL GROUP BY Kapflyvning, Forening "
            "ON CONFLICT (Kapflyvning, Forening) DO UPDATE SET AntalS = excluded.AntalS, AntalA = excluded.AntalA, "
            "AntalU = excluded.AntalU, AntalX = excluded.AntalX");
    t.commit();
}

}  // namespace vemora
