// The schema of a new section database, checked against its tables, fields and stored queries
// written out independently here (not read back from the schema description).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/base/text.h"
#include "core/db/schema.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

// Type classes: B Boolean, N number (integer or floating), T text, D date/time (ISO text).
char typeClass(const std::string& declared) {
    if (declared == "BOOLEAN") return 'B';
    if (declared == "TEXT") return 'D';
    if (declared.rfind("VARCHAR", 0) == 0) return 'T';
    if (declared == "INTEGER" || declared == "SMALLINT" || declared == "DOUBLE") return 'N';
    return '?';
}

std::string series(const std::string& prefix, const std::vector<std::string>& suffixes, char cls) {
    std::string out;
    for (auto& s : suffixes) out += " " + prefix + s + ":" + cls;
    return out;
}

const std::vector<std::string> k16{"1", "2", "3", "4", "5", "6"};
const std::vector<std::string> kinds{"81", "82", "83", "84", "85", "90", "91", "92", "93", "94", "95", "96", "97", "98", "99"};

// "Field:Class" separated by blanks; blanks inside names written as '_' is avoided by using '|'.
std::map<std::string, std::string> expectedTables() {
    std::map<std::string, std::string> t;
    t["Generelt"] = "Sektionsnr:T Sektionsnavn:T Bank:T Bank_Adr:T Bank_Postnr:T Regnr:T Kontonr:T Version:N CheckResFiler:B";
    t["Indskud"] = series("A_Klasse", k16, 'N') + series("B_Klasse", k16, 'N') + " Kl_P:N Kl_E:N Kl_Z:N Kl_R:N Slagspil:N";
    t["Markering"] = "Præmiefaktor_A:N Præmiefaktor_B:N Pointsystem:N Hastighed_9192:N Hastighed_Andre:N Pulje_Puljepræmier:B "
                     "Elite_Puljepræmier:B Z_Puljepræmier:B R_Puljepræmier:B" +
                     series("MestPoint", kinds, 'N') + series("SE_PointPrSlag", kinds, 'N') + series("SE_PointStep", kinds, 'N');
    t["Kapflyvninger"] = "Nr:N Uge:N Farvekode:T Station:T SlipDato:D Sliptid:D Gebyr:N GebyrSlag:N LMU:T Kode:T Kommentarer:T "
                         "Beregn:B Middelafstand:N Kontantpræmier:B Slagpræmier:B Slagspil_S:B Slagspil_A:B Slagspil_U:B "
                         "Slagspil_X:B Kl_P:B Kl_E:B Kl_Z:B Kl_R:B Pulje_Puljepræmier:B Elite_Puljepræmier:B Z_Puljepræmier:B "
                         "R_Puljepræmier:B RestKontant:N RestSlag:N RestSlagspil:N RestPulje:N RestElite:N" +
                         series("RestA", k16, 'N') + series("RestB", k16, 'N') + " RestZ:N RestR:N";
    t["Deltagere"] = "Kapflyvning:N Ringnummer:T Lnr:T Forening:T Slag:T Slag_Navn:T Køn:T Sportsdue:B Junior:B Pensionist:B "
                     "Begynder:B Foreningskryds:B ForeningskrydsT:T Kode1:T Kode2:T Kode3:T Område:T Afstand:N Sektion|A:N "
                     "Sektion|B:N Gruppe|A:N Gruppe|B:N Pulje:B Elite:B Kl_Z:B Kl_R:B HjemKomst:D Korrigeret|hjemkomst:D "
                     "Døgn:N Meter|/|min:N Placering:N Kapflyvning_ialt:N Forening_placering:N Forening_ialt:N "
                     "Slag_Placering:N Slag_Ialt:N Slag_Placering2:N Område_Placering:N Område_Ialt:N Antal|præmier:N "
                     "Præmie:N Point:N Points1000:N PointsPlac:N PræmieretIKlasseA:N PræmieretIKlasseB:N PræmieretIKlE:B "
                     "PræmieretIKlP:B PræmieretIKlZ:B PræmieretIKlR:B PræmieretIKlS:B";
    t["Foreninger"] = "RecNr:N Nr:T Navn:T Kontakt:T Kontakt_Adr:T Kontakt_Postnr:T Bank:T Bank_Adr:T Bank_Postnr:T Regnr:T Kontonr:T";
    t["Stationer"] = "Nr:T Navn:T";
    t["Postnr"] = "Postnr:T By:T";
    t["Regnskab"] = "Kapflyvning:N Forening:T AntalDuer:N AntalHanner:N AntalHunner:N" + series("AntalA", k16, 'N') +
                    series("AntalB", k16, 'N') + " AntalP:N AntalE:N AntalZ:N AntalR:N AntalS:N AntalA:N AntalU:N AntalX:N";
    t["Indbetalinger"] = "Kapflyvning:N Forening:T Indbetalt:N";
    t["Slagspil"] = "Kapflyvning:N Forening:T Slag:T Slag_Navn:T Slagspil_S:B Slagspil_A:B Slagspil_U:B Slagspil_X:B";
    for (const char* p : {"Kontantpræmier", "Slagpræmier", "Slagspilspræmier", "E-spils-præmier", "P-spils-præmier",
                          "Z-spils-præmier", "R-spils-præmier"}) {
        t[p] = "Kapflyvning:N Værdi:N Antal:N";
        t[std::string(p) + "_Init"] = "Antal:N Værdi:N";
    }
    t["ResModt"] = "Uge:N Forening:T Regnskab:N Resultat:N";
    t["ImportFejl"] = "Forening:T Slag:T Slagnavn:T Uge:N Farvekode:T Ringnummer:T Tekst:T";
    t["KM_faktorer"] = "KM:N Faktor:N";
    t["Mesterskaber"] = "RecNr:N Nr:T Titel:T Type:T Kun_juniorduer:B Kun_sportsduer:B Kun_foreningsafkrydsede:B "
                        "Ekskl_Sportsduer:B Kun_Begyndere:B Kun_Pensionister:B Kun_Kode1:T Kun_Kode2:T Kun_Kode3:T Køn:T "
                        "Årgang:T Ekskl_Årgang:T Område:T Foreningsmarkering:T Foreningsmarkering1:T Antal_duer_pr_slag:N "
                        "Antal_flyvninger:N Antal_L_flyvninger:N Antal_M_flyvninger:N Antal_S_flyvninger:N "
                        "Antal_P_flyvninger:N TopProc:N";
    t["Mesterskabsflyvninger"] = "Mesterskab:N Kapflyvning:N";
    t["Mesterskaber_Duer"] = "Mesterskab:N Ringnummer:T";
    t["Mesterskabsresultat"] = "Mesterskabsnr:T Mesterskabstitel:T Placering:N Foreningsnr:T Foreningsnavn:T Slag:T Slagnavn:T "
                               "Ringnummer:T Points:N Points2:N Id:T";
    std::string h = "Page:N", r = "Page:N IdNumber:N IdText:T";
    for (int i = 1; i <= 30; ++i) {
        h += " F" + std::to_string(i) + ":T";
        r += " F" + std::to_string(i) + ":T";
    }
    t["CrosstabHeaders"] = h;
    t["CrosstabResult"] = r;
    return t;
}

std::vector<std::pair<std::string, char>> parse(const std::string& fields) {
    std::vector<std::pair<std::string, char>> out;
    std::istringstream in(fields);
    std::string item;
    while (in >> item) {
        auto colon = item.rfind(':');
        std::string name = item.substr(0, colon);
        for (auto& c : name)
            if (c == '|') c = ' ';
        out.emplace_back(name, item[colon + 1]);
    }
    return out;
}

}  // namespace

TEST(DbSchema, EveryTableAndFieldWithItsTypeClassInOrder) {
    test::TestApp t;
    auto expected = expectedTables();
    for (auto& [table, fields] : expected) {
        SCOPED_TRACE(table);
        ASSERT_TRUE(t.db().tableExists(table));
        auto cols = t.db().columns(table);
        auto want = parse(fields);
        ASSERT_EQ(cols.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(cols[i].name, want[i].first);
            EXPECT_EQ(typeClass(cols[i].declaredType), want[i].second) << cols[i].name << " " << cols[i].declaredType;
        }
    }
    // Nothing besides the section's tables (SQLite's own bookkeeping aside).
    for (auto& name : t.db().tableNames()) {
        bool known = false;
        for (auto& [table, fields] : expected) known = known || iequals(table, name);
        EXPECT_TRUE(known) << name;
    }
}

TEST(DbSchema, DeliveredRowsAndDefaults) {
    test::TestApp t;
    EXPECT_EQ(test::rowsText(t.db(), "SELECT (SELECT group_concat(Version) FROM Generelt), (SELECT count(*) FROM Indskud), "
                                     "MestPoint81 + MestPoint99, SE_PointStep91 FROM Markering"),
              "35|1|2000|-\n");
    EXPECT_EQ(test::rowsText(t.db(), "SELECT KM, Faktor FROM KM_faktorer ORDER BY KM DESC"),
              "570|3.5\n475|3\n360|2.5\n270|2\n180|1.5\n");
    t.db().exec("INSERT INTO Kapflyvninger (Uge) VALUES (20); INSERT INTO Mesterskaber (Nr) VALUES ('1')");
    EXPECT_EQ(test::rowsText(t.db(), "SELECT Beregn, GebyrSlag, RestZ, Kl_Z, (SELECT Type FROM Mesterskaber) FROM Kapflyvninger"),
              "0|0|0|0|Point\n");
}

TEST(DbSchema, NumberFieldsRefuseText) {
    test::TestApp t;
    t.db().exec("INSERT INTO Kapflyvninger (Nr, Uge) VALUES (1, 20)");
    EXPECT_THROW(t.db().execute("INSERT INTO Deltagere (Kapflyvning, Ringnummer, \"Meter / min\") VALUES (1, 'DK', 'abc')"), DbError);
    // Digits in text form are converted, as the engine converted the club file's characters.
    t.db().execute("INSERT INTO Deltagere (Kapflyvning, Ringnummer, \"Meter / min\") VALUES (1, 'DK', '1234.5')");
    EXPECT_EQ(t.db().scalar("SELECT \"Meter / min\" FROM Deltagere"), Value(1234.5));
}

namespace {

// Whether a row with `text` in the field (and a plain value in every required field) goes in.
bool storesText(Database& db, const TableDef& t, const FieldDef& f, const std::string& text) {
    std::string cols, marks;
    std::vector<Value> vals;
    for (const auto& g : t.fields) {
        if (g.type == FieldType::Counter || (&g != &f && !g.required)) continue;
        cols += (cols.empty() ? "" : ", ") + sqlIdent(g.name);
        marks += marks.empty() ? "?" : ", ?";
        vals.push_back(&g == &f ? Value(text) : g.type == FieldType::Text ? Value("1") : Value(1));
    }
    Transaction tr(db);
    try {
        db.execute("INSERT INTO " + sqlIdent(t.name) + " (" + cols + ") VALUES (" + marks + ")", vals);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(DbSchema, TextFieldsHoldTheirSizeInCharactersWhoeverWrites) {
    test::TestApp t;
    Database& db = t.db();
    db.exec("PRAGMA foreign_keys = OFF");  // rows without their race, for the field alone
    const std::map<std::string, int> knownSizes{
        {"Deltagere.Ringnummer", 11}, {"Deltagere.Forening", 3}, {"Deltagere.Slag_Navn", 50}, {"Deltagere.ForeningskrydsT", 10},
        {"Deltagere.Område", 5},      {"Deltagere.Kode2", 1},    {"Kapflyvninger.Kommentarer", 255}, {"Kapflyvninger.LMU", 1},
        {"ImportFejl.Farvekode", 2},  {"ImportFejl.Tekst", 255}, {"ResModt.Forening", 3}, {"Regnskab.Forening", 3}};
    int checkedSizes = 0;
    for (const auto& table : schemaTables()) {
        for (const auto& f : table.fields) {
            if (f.type != FieldType::Text) continue;
            std::string name = table.name + "." + f.name;
            if (auto d = knownSizes.find(name); d != knownSizes.end()) {
                EXPECT_EQ(f.size, d->second) << name;
                ++checkedSizes;
            }
            // Characters, not bytes: "æ" is two bytes in the file.
            EXPECT_TRUE(storesText(db, table, f, repeat("æ", f.size))) << name;
            EXPECT_FALSE(storesText(db, table, f, repeat("æ", f.size) + "x")) << name;
        }
    }
    EXPECT_EQ(checkedSizes, static_cast<int>(knownSizes.size()));
    // The engine's own message names the field and its size; the sqlite3 shell gets the same.
    try {
        db.execute("INSERT INTO Stationer (Nr, Navn) VALUES ('101', ?)", {std::string(51, 'x')});
        ADD_FAILURE() << "a 51-character station name was stored";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "CHECK constraint failed: Navn højst 50 tegn");
    }
}

TEST(DbSchema, EveryStoredQueryIsSelectableWithItsDocumentedColumns) {
    test::TestApp t;
    std::map<std::string, std::vector<std::string>> viewColumns{
        {"Q Antal duer pr kapflyvning", {"Nr", "Antal duer"}},
        {"Q Adresser", {"Forening", "Foreningsnavn", "Navn", "Adresse", "Postnr", "By"}},
        {"Q Antal slag pr kapflyvning1", {"Kapflyvning", "Forening", "Slag"}},
        {"Q Antal slag pr kapflyvning", {"Kapflyvning", "Antal slag"}},
        {"Q Antal slag pr kapflyvning pr forening", {"Kapflyvning", "Forening", "Antal slag"}},
        {"Q_Uger", {"Uge"}},
        {"Q_ModtFiler", {"Uge", "Nr", "Navn", "Regnsk", "Res"}},
        {"Q Kapflyvninger",
         {"Nr", "Uge", "Farvekode", "Regi", "LMU", "Kode", "Station", "Station3", "Navn", "SlipDato", "Sliptid", "Gebyr",
          "GebyrSlag", "Kl_P", "Kl_E", "Kontantpræmier", "Slagpræmier", "Slagspil_S", "Slagspil_A", "Slagspil_U", "Slagspil_X",
          "Duer", "Hanner", "Hunner"}},
        {"Q Kapflyvningsresultat", {"Sektionsnr", "Sektionsnavn", "Nr", "Antal duer", "HjemKomst", "Hjem kl", "Meter / min",
                                    "Slag_Placering", "Slag_Ialt", "Sportsdue", "Point", "Præmie", "Præmier"}},
        {"Q Kapflyvningsregnskab",
         {"Sektionsnr", "Sektionsnavn", "Nr", "Forening", "Foreningsnavn", "Uge", "Farvekode", "KFK", "Navn", "SlipDato",
          "Sliptid", "Antal duer", "Antal A1", "Antal A2", "Antal A3", "Antal A4", "Antal A5", "Antal A6", "Antal B1",
          "Antal B2", "Antal B3", "Antal B4", "Antal B5", "Antal B6", "Antal P", "Antal E", "Antal Z", "Antal R", "Antal_S",
          "Antal_A", "Antal_U", "Antal_X", "Sektion", "GebytIalt", "AfstemtBeløb", "Indskud A1", "Indskud A2", "Indskud A3",
          "Indskud A4", "Indskud A5", "Indskud A6", "Indskud B1", "Indskud B2", "Indskud B3", "Indskud B4", "Indskud B5",
          "Indskud B6", "Indskud P", "Indskud E", "Indskud Z", "Indskud R", "Spil", "Slagspil"}},
        {"Q_Statistik",
         {"Kodenr", "Slagnavn", "Forening", "Foreningsnavn", "Uge", "KK", "Station", "Stationsnavn", "Ringnummer", "Hastighed",
          "Nr egne", "Antal egne", "Nr forening", "Antal forening", "Nr sektion", "Antal sektion", "Antal Slag",
          "Antal præmier", "Due", "Point"}},
        {"Q Mesterskaber", {"RecNr", "Nr", "Titel", "Juniorduer", "Sportsduer", "EksklSportsduer", "Foreningsafkrydsede",
                            "Begyndere", "Pensionister", "TopProc", "Foreningsmarkering1"}},
        {"Q_Sektionsvindere", {"Sektionsnr", "Sektionsnavn", "Uge", "KFK", "Station", "SlipDato", "Forening", "Slag",
                               "Slagnavn", "Ringnummer", "HjemDato", "HjemKl", "Meter / min", "Kapflyvning_Ialt"}},
        {"Q_KapflDiplomer", {"Sektion", "Station", "Slip", "SlipF", "Slagnavn", "Ringnummer", "Meter / min", "MPM", "Titel"}},
        {"Q_MesterskDiplomer", {"Sektion", "Slagnavn", "Placering", "Titel"}},
        {"Q_Mesterskab_Crosstab", {"TYPE", "Mesterskabsnr", "Points2", "Id", "IdText", "CrosstabResult.F30", "CrosstabHeaders.F1"}},
    };
    EXPECT_EQ(t.db().viewNames().size(), viewColumns.size());
    for (auto& [view, cols] : viewColumns) {
        SCOPED_TRACE(view);
        ASSERT_TRUE(t.db().viewExists(view));
        RowSet rs = t.db().query("SELECT * FROM " + sqlIdent(view));
        for (auto& c : cols) EXPECT_GE(rs.columnIndex(c), 0) << c;
    }
    // The race accounts list exactly these columns in their order.
    RowSet acc = t.db().query("SELECT * FROM \"Q Kapflyvningsregnskab\"");
    EXPECT_EQ(acc.columns, viewColumns["Q Kapflyvningsregnskab"]);
}

TEST(DbSchema, RaceListLabelsKindsAndCountsRacesWithoutAccounts) {
    test::TestApp t;
    t.db().exec(
        "INSERT INTO Stationer (Nr, Navn) VALUES ('007', 'Padborg');"
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode, Station, SlipDato) VALUES (1, 20, '85 - Privat', '7', '2026-05-16'),"
        " (2, 20, '93 - Hvid skema', NULL, NULL), (3, 21, '96 - Gul skema', '007', NULL);"
        "INSERT INTO Regnskab (Kapflyvning, Forening, AntalDuer, AntalHanner, AntalHunner) VALUES (3, '001', 10, 6, 4),"
        " (3, '002', 5, NULL, 5);");
    // A race without accounts counts no birds; a Null count counts as 0.
    EXPECT_EQ(test::rowsText(t.db(), "SELECT Regi, Station3, Navn, Duer, Hanner, Hunner FROM \"Q Kapflyvninger\""),
              "Privat|007|-|0|0|0\nRyx|-|-|0|0|0\nSektion|007|Padborg|15|6|9\n");  // "7" shows as 007 but finds no name
}

TEST(DbSchema, PrizeSummaryLetters) {
    test::TestApp t;
    t.db().exec(
        "INSERT INTO Kapflyvninger (Nr, Uge, Farvekode) VALUES (1, 20, '95 - Blå skema');"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Placering, PræmieretIKlasseA, PræmieretIKlE) VALUES "
        "(1, 'DK-1', 1, 3, 1);"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Placering, PræmieretIKlS) VALUES (1, 'DK-2', 2, 1);"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Placering) VALUES (1, 'DK-3', 3);"
        "INSERT INTO Deltagere (Kapflyvning, Ringnummer, Placering) VALUES (1, 'DK-4', 0);");
    // The unplaced bird is not listed.
    EXPECT_EQ(test::rowsText(t.db(), "SELECT Ringnummer, Præmier, \"Antal duer\" FROM \"Q Kapflyvningsresultat\""),
              "DK-1|A3/E|4\nDK-2|S|4\nDK-3||4\n");
}

TEST(DbSchema, DeletingARaceEmptiesEveryPerRaceTable) {
    test::TestApp t;
    std::vector<std::string> perRace{"Deltagere", "Regnskab", "Indbetalinger", "Slagspil", "Kontantpræmier", "Slagpræmier",
                                     "Slagspilspræmier", "E-spils-præmier", "P-spils-præmier", "Z-spils-præmier",
                                     "R-spils-præmier", "Mesterskabsflyvninger"};
    t.db().exec(
        "INSERT INTO Kapflyvninger (Nr, Uge) VALUES (1, 20), (2, 21);"
        "INSERT INTO Mesterskaber (RecNr, Nr) VALUES (1, '1');");
    for (int race : {1, 2}) {
        std::string r = std::to_string(race);
        t.db().exec("INSERT INTO Deltagere (Kapflyvning, Ringnummer) VALUES (" + r + ", 'X');"
                    "INSERT INTO Regnskab (Kapflyvning, Forening) VALUES (" + r + ", '001');"
                    "INSERT INTO Indbetalinger (Kapflyvning, Forening, Indbetalt) VALUES (" + r + ", '001', 100);"
                    "INSERT INTO Slagspil (Kapflyvning, Forening, Slag) VALUES (" + r + ", '001', '001');"
                    "INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (1, " + r + ");");
        for (size_t i = 4; i < 11; ++i)
            t.db().exec("INSERT INTO " + sqlIdent(perRace[i]) + " (Kapflyvning, Værdi, Antal) VALUES (" + r + ", 100, 1)");
    }
    t.db().exec("UPDATE Kapflyvninger SET Nr = 12 WHERE Nr = 2");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning = 12").toInt(), 1);
    t.db().exec("DELETE FROM Kapflyvninger WHERE Nr = 1");
    for (auto& table : perRace) {
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM " + sqlIdent(table) + " WHERE Kapflyvning = 1").toInt(), 0) << table;
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM " + sqlIdent(table) + " WHERE Kapflyvning = 12").toInt(), 1) << table;
    }
    EXPECT_EQ(t.db().integrityCheck(), "ok");
}

TEST(DbSchema, DeletingAClubTakesItsAccountsWithIt) {
    test::TestApp t;
    t.db().exec(
        "INSERT INTO Kapflyvninger (Nr, Uge) VALUES (1, 20);"
        "INSERT INTO Foreninger (Nr, Navn) VALUES ('001', 'A'), ('002', 'B'), ('002', 'B igen');"
        "INSERT INTO Regnskab (Kapflyvning, Forening) VALUES (1, '001'), (1, '002');");
    t.db().exec("DELETE FROM Foreninger WHERE Nr = '001'");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Regnskab WHERE Forening = '001'").toInt(), 0);
    // Another club still carries number 002: its accounts stay.
    t.db().exec("DELETE FROM Foreninger WHERE Navn = 'B'");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Regnskab WHERE Forening = '002'").toInt(), 1);
    t.db().exec("UPDATE Foreninger SET Nr = '003' WHERE Nr = '002'");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Regnskab WHERE Forening = '003'").toInt(), 1);
}
