// PreparePrint: the report chosen for every combination of the print dialog's boxes, the
// checks and their messages, the stored query written and the rows it gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "core/reports/prepare.h"
#include "support/reportseason.h"
#include "support/testdb.h"

namespace vemora::reports {
namespace {

TEST(PrintChoice, EveryCombinationOfBoxesChoosesItsDefinition) {
    PrintRequest r;
    r.tab = PrintTab::RaceResults;
    for (int bits = 0; bits < 8; ++bits) {
        r.receiptList = bits & 1;
        r.acrossDivisions = bits & 2;
        r.clubMarking = bits & 4;
        const char* expected = r.receiptList       ? "MODTFIL.RPT"
                               : r.acrossDivisions ? (r.clubMarking ? "KAPRES2F.RPT" : "KAPRES2.RPT")
                                                   : (r.clubMarking ? "KAPRESF.RPT" : "KAPRES.RPT");
        EXPECT_EQ(reportFileFor(r), expected) << bits;
    }
    r = {};
    r.tab = PrintTab::PrizeStatement;
    EXPECT_EQ(reportFileFor(r), "Praemie.RPT");
    r.memberTotals = true;
    EXPECT_EQ(reportFileFor(r), "PraemieM.RPT");
    r.weekTotals = true;  // the dialog unticks one when the other is ticked; week totals win here
    EXPECT_EQ(reportFileFor(r), "PraemieU.RPT");

    r = {};
    r.tab = PrintTab::YearAccounts;
    r.weekTotals = true;  // ignored for the section's accounts
    EXPECT_EQ(reportFileFor(r), "SekRegns.RPT");
    r.clubAccounts = true;
    EXPECT_EQ(reportFileFor(r), "ForRegnU.RPT");
    r.weekTotals = false;
    EXPECT_EQ(reportFileFor(r), "ForRegns.RPT");

    r = {};
    r.tab = PrintTab::Labels;
    EXPECT_EQ(reportFileFor(r), "Labels1.RPT");  // neither format chosen
    r.labelFormat = 2;
    EXPECT_EQ(reportFileFor(r), "Labels2.RPT");
    r.tab = PrintTab::Statistics;
    EXPECT_EQ(reportFileFor(r), "Stat2.RPT");
    r.statOrderByRace = true;
    EXPECT_EQ(reportFileFor(r), "Stat.RPT");
    r.tab = PrintTab::Championship;
    r.sectionWinners = true;
    EXPECT_EQ(reportFileFor(r), "KAPFVIND.RPT");
    r.tab = PrintTab::Diplomas;
    EXPECT_EQ(reportFileFor(r), "");
    r.diploma = DiplomaKind::Races;
    EXPECT_EQ(reportFileFor(r), "kapfdipl.RPT");
    r.diploma = DiplomaKind::Championships;
    EXPECT_EQ(reportFileFor(r), "mestdipl.RPT");
}

TEST(PrintChoice, ChampionshipDefinitionFollowsThePointSystem) {
    struct Row {
        const char* type;
        const char *plain, *decimals, *specified, *specifiedDecimals;
    };
    const Row rows[] = {
        {"Point", "Mestersk.RPT", "Mesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"½ points, ½ koef.", "Mestersk.RPT", "Mesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"NO Plac.point", "Mestersk.RPT", "Mesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"NO Km-tillæg", "Mestersk.RPT", "Mesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"Forening/point", "fMest.RPT", "fMestd.RPT", "fMestt.RPT", "fMestdt.RPT"},
        {"HB", "MESTHB.RPT", "MESTHB.RPT", "Mesterst.RPT", "Mesterst.RPT"},
        {"Es-due-koefficient", "Esdue.RPT", "Esdue.RPT", "Esduet.RPT", "Esduet.RPT"},
        {"Es-due-kilometer", "Dmesters.RPT", "Dmesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"Due/point", "Dmesters.RPT", "Dmesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"NO due/point", "Dmesters.RPT", "Dmesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
        {"NO es-due km-tillæg", "Dmesters.RPT", "Dmesterd.RPT", "Mesterst.RPT", "Mesterdt.RPT"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(championshipReportFile(r.type, false, false), r.plain) << r.type;
        EXPECT_EQ(championshipReportFile(r.type, false, true), r.decimals) << r.type;
        EXPECT_EQ(championshipReportFile(r.type, true, false), r.specified) << r.type;
        EXPECT_EQ(championshipReportFile(r.type, true, true), r.specifiedDecimals) << r.type;
    }
    EXPECT_EQ(championshipReportFile("hb", false, false), "MESTHB.RPT");
}

TEST(PrintChoice, CountBoxReadsNumbersAndPercentages) {
    struct Case {
        const char* text;
        BirdCount::Kind kind;
        double value;
    };
    const Case cases[] = {
        {"", BirdCount::All, 0},          {"  ", BirdCount::All, 0},         {"10", BirdCount::Number, 10},
        {" 10 ", BirdCount::Number, 10},  {"10%", BirdCount::Percent, 10},   {"10 %", BirdCount::Percent, 10},
        {"12,5%", BirdCount::Percent, 12.5}, {"12.5", BirdCount::Number, 12.5}, {"-3", BirdCount::Number, -3},
        {"1.000,5", BirdCount::Invalid, 0}, {"a10", BirdCount::Invalid, 0}, {"abc", BirdCount::Invalid, 0},
        {"abc%", BirdCount::Invalid, 0},  {"%", BirdCount::Invalid, 0},       {"12,5,3", BirdCount::Invalid, 0},
        {"1.2.3", BirdCount::Invalid, 0}, {"10%%", BirdCount::Invalid, 0},    {"1e3", BirdCount::Invalid, 0},
    };
    for (const auto& c : cases) {
        BirdCount b = parseBirdCount(c.text);
        EXPECT_EQ(b.kind, c.kind) << "'" << c.text << "'";
        if (b.kind == c.kind && (c.kind == BirdCount::Number || c.kind == BirdCount::Percent)) {
            EXPECT_DOUBLE_EQ(b.value, c.value) << c.text;
        }
    }
}

class PreparePrintTest : public ::testing::Test {
protected:
    test::TestApp t;
    Database& db = t.db();

    void SetUp() override {
        test::loadReportSeason(db);
        test::copyReportDefinitions(t.folder.path());
    }

    // Prepares and reads the rows; fails the test when PreparePrint says no.
    RowSet prepare(const PrintRequest& r, PreparedReport& out) {
        t.ui.shown.clear();
        EXPECT_TRUE(PreparePrint(t.app, r, out)) << (t.ui.shown.empty() ? "" : t.ui.shown.back().text);
        if (!out.storedQuery.empty()) {
            EXPECT_EQ(db.viewSql(out.storedQuery), out.sql);
        }
        return out.sql.empty() ? RowSet{} : db.query(out.sql);
    }
    std::string refused(const PrintRequest& r) {
        t.ui.shown.clear();
        PreparedReport out;
        EXPECT_FALSE(PreparePrint(t.app, r, out));
        EXPECT_TRUE(out.empty());
        return t.ui.shown.empty() ? "" : t.ui.shown.back().title + ": " + t.ui.shown.back().text;
    }
    static PrintRequest results(long long race) {
        PrintRequest r;
        r.race = race;
        return r;
    }
    Value race(long long nr, const char* field) { return db.scalar("SELECT " + sqlIdent(field) + " FROM Kapflyvninger WHERE Nr = ?", {nr}); }
};

TEST_F(PreparePrintTest, ResultListFiltersTheBirdsAsTheCountBoxSays) {
    PreparedReport out;
    // Each loft's best bird.
    RowSet best = prepare(results(1), out);
    EXPECT_EQ(out.title, "Kapflyvningsresultat");
    EXPECT_EQ(out.storedQuery, "Q Kapflyvningsresultat");
    EXPECT_TRUE(out.wordExport);
    EXPECT_EQ(race(1, "Beregn"), Value(0));
    EXPECT_EQ(t.app.currentWeek, 23);
    std::set<std::string> lofts;
    for (size_t i = 0; i < best.size(); ++i) {
        EXPECT_EQ(best.get(i, "Slag_Placering"), Value(1));
        lofts.insert(best.get(i, "Forening").toText() + "/" + best.get(i, "Slag").toText());
    }
    EXPECT_EQ(lofts.size(), best.size());
    EXPECT_EQ(best.size(), db.scalar("SELECT count(DISTINCT Forening || Slag) FROM Deltagere WHERE Kapflyvning = 1 AND Placering > 0").toInt());

    PrintRequest r = results(1);
    r.allBirds = true;
    RowSet all = prepare(r, out);
    EXPECT_EQ(all.size(), db.scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning = 1 AND Placering > 0").toInt());

    // The first n, or the first n per cent of the race's birds, and every bird that won a prize.
    auto expected = [&](const std::string& cond) {
        return db.scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning = 1 AND Placering > 0 AND (" + cond + " OR Præmie > 0)")
            .toInt();
    };
    r.birdCount = "3";
    EXPECT_EQ(prepare(r, out).size(), expected("Placering <= 3"));
    EXPECT_NE(out.sql.find(" And (Placering <= 3 Or Præmie > 0) "), std::string::npos);
    r.birdCount = "12,5%";
    RowSet pct = prepare(r, out);
    EXPECT_NE(out.sql.find(" And (Placering <= 12.5 * Kapflyvning_Ialt / 100.0 Or Præmie > 0) "), std::string::npos);
    EXPECT_EQ(pct.size(), expected("Placering <= 12.5 * Kapflyvning_ialt / 100.0"));
    EXPECT_LT(pct.size(), all.size());

    // Ordered by division, then placing; one division only when asked.
    r.birdCount.clear();
    r.division = "B";
    RowSet b = prepare(r, out);
    ASSERT_FALSE(b.empty());
    for (size_t i = 0; i < b.size(); ++i) EXPECT_EQ(b.get(i, "Div"), Value("B"));
    r.division.clear();
    RowSet ordered = prepare(r, out);
    for (size_t i = 1; i < ordered.size(); ++i) {
        auto prev = std::make_pair(ordered.get(i - 1, "Div").toText(), ordered.get(i - 1, "Placering").toInt());
        auto cur = std::make_pair(ordered.get(i, "Div").toText(), ordered.get(i, "Placering").toInt());
        EXPECT_LE(prev, cur);
    }
}

TEST_F(PreparePrintTest, ResultListByAreaAcrossDivisionsWithNorwegianPoints) {
    PrintRequest r = results(1);
    r.allBirds = true;
    r.byArea = true;
    r.acrossDivisions = true;
    r.noPoints = true;
    r.clubMarking = true;
    PreparedReport out;
    RowSet rs = prepare(r, out);
    std::vector<std::pair<std::string, long long>> order;
    for (size_t i = 0; i < rs.size(); ++i) {
        const std::string area = db.scalar("SELECT ifnull(Område, '') FROM Deltagere WHERE Kapflyvning = 1 AND Ringnummer = ?",
                                           {rs.get(i, "Ringnummer")})
                                     .toText();
        EXPECT_EQ(rs.get(i, "Sektionsnavn"), Value(area.empty() ? "Sektion 012" : "Område " + area));
        EXPECT_EQ(rs.get(i, "Sektionsnr"), Value(area.empty() ? "012" : area));
        order.emplace_back(rs.get(i, "Sektionsnr").toText(), rs.get(i, "Placering").toInt());
        double p = rs.get(i, "Placering").toDouble();
        double total = db.scalar("SELECT Kapflyvning_ialt FROM Deltagere WHERE Kapflyvning = 1 AND Ringnummer = ?",
                                 {rs.get(i, "Ringnummer")})
                           .toDouble();
        EXPECT_NEAR(rs.get(i, "Point").toDouble(), std::max(0.0, 100 - 300 * (p - 1) / total), 1e-9);
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
}

TEST_F(PreparePrintTest, ReceiptListAndAccountsRunNoCalculation) {
    PrintRequest r = results(3);
    r.receiptList = true;
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.title, "Modtagelsesliste");
    EXPECT_EQ(out.sql, "Select * From Q_ModtFiler Where Uge = 24 Order By Nr");
    EXPECT_TRUE(out.storedQuery.empty());
    EXPECT_FALSE(out.wordExport);
    EXPECT_EQ(rs.size(), 3u);
    EXPECT_EQ(race(3, "Beregn"), Value(1));
    EXPECT_EQ(t.app.currentWeek, 24);

    r = results(5);
    r.tab = PrintTab::RaceAccounts;
    rs = prepare(r, out);
    EXPECT_EQ(out.storedQuery, "Q Kapflyvningsregnskab");
    EXPECT_NE(out.sql.find("WHERE Regnskab.Kapflyvning = 5"), std::string::npos);
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Regnskab WHERE Kapflyvning = 5").toInt());
    EXPECT_EQ(race(5, "Beregn"), Value(1));
    EXPECT_EQ(t.app.currentWeek, 25);
}

TEST_F(PreparePrintTest, PrizeStatementComputesTheWeekAndListsPrizesOfOneClubOrAll) {
    PrintRequest r;
    r.tab = PrintTab::PrizeStatement;
    r.statementWeek = "24";
    r.club = "023";
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.title, "Foreningernes præmiekontoudtog");
    EXPECT_EQ(out.storedQuery, "Q Præmier");
    EXPECT_EQ(race(2, "Beregn"), Value(0));
    EXPECT_EQ(race(3, "Beregn"), Value(0));
    EXPECT_EQ(race(1, "Beregn"), Value(1));
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Deltagere d JOIN Kapflyvninger k ON k.Nr = d.Kapflyvning "
                                   "WHERE k.Uge = 24 AND d.Forening = '023' AND d.Præmie > 0")
                             .toInt());
    for (size_t i = 1; i < rs.size(); ++i)
        EXPECT_GE(rs.get(i - 1, "Præmie").toDouble(), rs.get(i, "Præmie").toDouble());

    r.allClubs = true;
    r.statementWeek.clear();
    r.weekTotals = true;
    rs = prepare(r, out);
    EXPECT_EQ(race(1, "Beregn"), Value(0));
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Deltagere WHERE Præmie > 0").toInt());

    r.statementWeek = "uge 7";
    EXPECT_EQ(refused(r), "Fejl: Ugyldig uge.");
    r.statementWeek.clear();
    r.allClubs = false;
    r.club.reset();
    EXPECT_EQ(refused(r), "Fejl: Vælg en forening.");
    r.club = "999";
    EXPECT_EQ(refused(r), "Fejl: Vælg en forening.");
}

TEST_F(PreparePrintTest, YearAccountsLeaveOutNationalRaces) {
    PrintRequest r;
    r.tab = PrintTab::YearAccounts;
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.title, "Sektionens årsregnskab");
    std::set<long long> races;
    for (size_t i = 0; i < rs.size(); ++i) races.insert(rs.get(i, "Nr").toInt());
    EXPECT_EQ(races, (std::set<long long>{1, 2, 4, 5}));  // race 3 is a 91 race

    r.clubAccounts = true;
    EXPECT_EQ(refused(r), "Fejl: Vælg en forening.");
    r.club = "035";
    rs = prepare(r, out);
    EXPECT_EQ(out.title, "Foreningernes årsregnskab");
    EXPECT_NE(out.sql.find("And Regnskab.Forening = '035'"), std::string::npos);
    ASSERT_EQ(rs.size(), 4u);
    for (size_t i = 0; i < rs.size(); ++i) EXPECT_EQ(rs.get(i, "Forening"), Value("035"));
}

TEST_F(PreparePrintTest, BankTransfersSumEachClubsPrizes) {
    PrintRequest r = results(4);
    r.tab = PrintTab::BankTransfers;
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.storedQuery, "Q Bankbilag");
    RowSet expected = db.query(
        "SELECT Forening, sum(Præmie) FROM Deltagere WHERE Kapflyvning = 4 GROUP BY Forening HAVING sum(Præmie) > 0 ORDER BY 1");
    ASSERT_EQ(rs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        size_t k = 0;
        while (k < rs.size() && !(rs.get(k, "Foreningsnr") == expected.rows[i][0])) ++k;
        ASSERT_LT(k, rs.size());
        EXPECT_NEAR(rs.get(k, "Beløb").toDouble(), expected.rows[i][1].toDouble(), 1e-9);
        EXPECT_EQ(rs.get(k, "Sektionsregnr"), Value("1234"));
    }
}

TEST_F(PreparePrintTest, StatisticsConditionsAndDiplomas) {
    PrintRequest r;
    r.tab = PrintTab::Statistics;
    r.statClub = "023 - Skjern Brevdueforening";
    r.statLoft = "004 - Poul O'Neill";
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.title, "Årsstatistik");
    EXPECT_NE(out.sql.find(" Where Deltagere.Forening = '023' And Deltagere.Slag = '004' And Deltagere.\"Meter / min\" > 0 And "),
              std::string::npos);
    for (const char* f : {"Beregn"})
        for (long long nr = 1; nr <= 5; ++nr) EXPECT_EQ(race(nr, f), Value(0));
    ASSERT_FALSE(rs.empty());
    for (size_t i = 0; i < rs.size(); ++i) {
        EXPECT_EQ(rs.get(i, "Kodenr"), Value("004"));
        EXPECT_FALSE(rs.get(i, "Nr sektion").isNull());  // only the best fifth
    }
    r.statAllBirds = true;
    r.statSectionOnly = true;
    r.statLoft.clear();
    rs = prepare(r, out);
    for (size_t i = 0; i < rs.size(); ++i) EXPECT_NE(rs.get(i, "KK"), Value("91"));
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Deltagere d JOIN Kapflyvninger k ON k.Nr = d.Kapflyvning "
                                   "WHERE d.Forening = '023' AND substr(k.Farvekode, 1, 2) <> '91'")
                             .toInt());

    PrintRequest d;
    d.tab = PrintTab::Diplomas;
    EXPECT_TRUE(PreparePrint(t.app, d, out));  // neither option: nothing prepared
    EXPECT_TRUE(out.empty());
    d.diploma = DiplomaKind::Races;
    rs = prepare(d, out);
    EXPECT_EQ(out.title, "Kapflyvningsdiplomer");
    // The winners of the section and private races (two in the race with two divisions).
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning <> 3 AND Placering = 1").toInt());
    EXPECT_GT(rs.size(), 4u);
    for (size_t i = 0; i < rs.size(); ++i) EXPECT_EQ(rs.get(i, "Titel"), Value("Sektionsvinder"));
    d.diplomaCount = "2";
    d.diplomaWeek = "25";
    rs = prepare(d, out);
    ASSERT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Deltagere WHERE Kapflyvning IN (4, 5) AND Placering <= 2").toInt());
    EXPECT_EQ(rs.get(1, "Titel"), Value("2. Præmie"));
    EXPECT_EQ(rs.get(0, "Sektionsnr"), Value("12 Sønderjylland"));
    d.diplomaCount = "2a";
    EXPECT_EQ(refused(d), "Fejl: Ugyldig angivelse.");
}

TEST_F(PreparePrintTest, ChampionshipStandingsAndDiplomasAreComputedAndChosenByTheirType) {
    PrintRequest r;
    r.tab = PrintTab::Championship;
    EXPECT_EQ(refused(r), "Fejl: Vælg et mesterskab.");
    r.championship = "099";
    EXPECT_EQ(refused(r), "Fejl: Vælg et mesterskab.");

    r.championship = "001";
    PreparedReport out;
    RowSet rs = prepare(r, out);
    EXPECT_EQ(out.title, "Mesterskab");
    EXPECT_EQ(out.storedQuery, "Q Mesterskabsresultat");
    EXPECT_TRUE(out.wordExport);
    ASSERT_FALSE(rs.empty());
    EXPECT_EQ(rs.size(), db.scalar("SELECT count(*) FROM Mesterskabsresultat WHERE Mesterskabsnr = '001'").toInt());
    EXPECT_EQ(rs.get(0, "Proportioner"), Value("3 duer pr. kapflyvning. 3 kapflyvninger medtalt. "));
    r.decimals = true;

    // The page tables: points per flight, the total headed "Point" or, for the coefficient,
    // "Koef."; "Vis decimaler" does not count where the dialog does not offer it.
    r.specifyPoints = true;
    rs = prepare(r, out);
    EXPECT_EQ(out.storedQuery, "Q_Mesterskab_Crosstab");
    ASSERT_FALSE(rs.empty());
    EXPECT_EQ(rs.get(0, "TYPE"), Value("Point"));
    r.championship = "005";
    rs = prepare(r, out);
    EXPECT_EQ(rs.get(0, "TYPE"), Value("Koef."));

    PrintRequest d;
    d.tab = PrintTab::Diplomas;
    d.diploma = DiplomaKind::Championships;
    EXPECT_EQ(refused(d), "Fejl: Angiv mesterskab.");
    d.diplomaChampionship = "001 - Et andet navn";
    EXPECT_EQ(refused(d), "Fejl: Mesterskab kunne ikke findes.");
    d.diplomaChampionship = championshipChoice(db, "003");
    EXPECT_EQ(d.diplomaChampionship, "003 - Foreningsmesterskab");
    rs = prepare(d, out);
    EXPECT_EQ(out.title, "Mesterskabsdiplomer");
    EXPECT_NE(out.sql.find("Where Placering <= 3 AND Mesterskabsnr = '003' Order By Mesterskabsnr, Placering"),
              std::string::npos);
    EXPECT_EQ(rs.size(), 3u);
    EXPECT_EQ(rs.get(0, "Titel"), Value("Foreningsmesterskab"));
    d.diplomaCount = "1";
    EXPECT_EQ(prepare(d, out).size(), 1u);
}

TEST_F(PreparePrintTest, RefusalsLeaveTheStoredQueryAlone) {
    const std::string before = db.viewSql("Q Kapflyvningsresultat");
    PrintRequest r;
    EXPECT_EQ(refused(r), "Fejl: Vælg en kapflyvning.");
    r.race = 99;
    EXPECT_EQ(refused(r), "Fejl: Vælg en kapflyvning.");
    r.tab = PrintTab::BankTransfers;
    EXPECT_EQ(refused(r), "Fejl: Vælg en kapflyvning.");
    r.tab = PrintTab::RaceAccounts;
    EXPECT_EQ(refused(r), "Fejl: Vælg en kapflyvning.");

    r = results(1);
    r.allBirds = true;
    for (const char* bad : {"abc", "abc%", "%"}) {
        r.birdCount = bad;
        EXPECT_EQ(refused(r), "Fejl: Ugyldig angivelse.") << bad;
    }
    EXPECT_EQ(db.viewSql("Q Kapflyvningsresultat"), before);

    // A calculation that fails shows its own message only.
    db.execute("UPDATE Deltagere SET \"Sektion A\" = 7 WHERE Kapflyvning = 2 AND rowid = (SELECT min(rowid) FROM Deltagere "
               "WHERE Kapflyvning = 2)");
    r = results(2);
    t.ui.shown.clear();
    PreparedReport out;
    EXPECT_FALSE(PreparePrint(t.app, r, out));
    EXPECT_EQ(t.ui.shown.size(), 1u);
    EXPECT_EQ(db.viewSql("Q Kapflyvningsresultat"), before);

    // A definition missing from the program folder is named.
    std::filesystem::remove(t.folder.path() / "KAPRES.RPT");
    EXPECT_EQ(refused(results(1)), "Fejl: Rapportdefinitionen KAPRES.RPT findes ikke i programmappen " + t.folder.path().string() + ".");
}

}  // namespace
}  // namespace vemora::reports
