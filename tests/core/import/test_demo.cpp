#include <gtest/gtest.h>

#include <chrono>

#include "core/base/text.h"
#include "core/import/demo.h"
#include "core/import/importrun.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

// A bird with every field the layout carries filled in, and the others left out.
BirdRecord fullBird(Layout l) {
    BirdRecord b;
    b.cc = "96";
    b.slag = Value("017");
    b.ring = "045-24-1234";
    b.kon = Value("U");
    b.sportsdue = true;
    b.sektionA = 6;
    b.sektionB = 2;
    b.gruppeA = 1;
    b.gruppeB = 3;
    b.pulje = true;
    b.elite = true;
    b.hjemkomst = Value("13:05:59");
    b.korrigeret = Value("13:06:00");
    b.dogn = Value(2);
    b.speed = Value(1503.125);
    if (l >= Layout::L2) {
        b.foreningskryds = true;
        b.foreningskrydsT = Value(l == Layout::L6 ? "ABØ" : "Ø");
        b.junior = false;
    }
    if (l >= Layout::L3) {
        b.pensionist = true;
        b.begynder = false;
        b.kode = {std::string("1"), std::nullopt, std::string("Å")};
        b.klZ = true;
        b.klR = false;
    }
    if (l >= Layout::L4) b.afstand = Value(312.045);
    if (l >= Layout::L5) b.omrade = Value("Nørre");
    b.slagNavn = Value("Kåre O'Brien & Søn");
    return b;
}

}  // namespace

TEST(ImportDemo, WriterAndReaderAgreeOnEveryLayout) {
    for (Layout l : {Layout::L1, Layout::L2, Layout::L3, Layout::L4, Layout::L5, Layout::L6}) {
        BirdRecord b = fullBird(l);
        std::string line = formatBird(b, l);
        EXPECT_EQ(parseBird(line, l), b) << static_cast<int>(l) << ": " << cp1252ToUtf8(line);
        // Read with the layout of another version, the fields land elsewhere.
        if (l != Layout::L1) {
            EXPECT_NE(parseBird(line, Layout::L1).slagNavn, b.slagNavn);
        }
    }
    EXPECT_EQ(formatPayment("95", 12500), "4950000012500");
    EXPECT_EQ(formatFactor(100, 1.25), "501000001250");
    RaceRecord r = parseRace(formatRace("95", Date{std::chrono::year(1997), std::chrono::June, std::chrono::day(12)}, "07:15",
                                        "103", " Sankt Hans' Plads"),
                             2026);
    EXPECT_EQ(r.dateDigits, "120697");
    EXPECT_EQ(r.time, "07:15");
    EXPECT_EQ(r.station, "103");
    EXPECT_EQ(r.stationName, "Sankt Hans' Plads");
}

TEST(ImportDemo, SeasonImportsAndReadsBackAsWritten) {
    test::TestApp t;
    DemoOptions o;
    o.clubs = 4;  // the fourth club writes layout L5
    o.weeks = {20, 21, 22};
    o.birdsPerClub = 40;
    DemoSummary s = runDemo(t.app, o);
    ASSERT_EQ(s.files.size(), 12u);
    EXPECT_EQ(s.imported, 12) << (s.problems.empty() ? "" : s.problems.front());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Deltagere").toInt(), s.birds);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM ResModt WHERE Resultat = 1").toInt(), 12);
    EXPECT_EQ(t.db().scalar("SELECT Navn FROM Foreninger WHERE Nr = '035'"), Value("Ærø Brevduer"));
    EXPECT_EQ(t.db().scalar("SELECT A_Klasse1 FROM Indskud"), Value(2.0));
    EXPECT_GT(t.db().scalar("SELECT count(*) FROM Kontantpræmier").toInt(), 0);
    EXPECT_EQ(t.db().integrityCheck(), "ok");
    // Every race line's station went in, apostrophe and all.
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM Stationer WHERE Navn = 'Sankt Hans'' Plads'").toInt(), 1);

    // Read every bird line of every file back and find it in the database as written.
    long long checked = 0;
    for (const auto& file : s.files) {
        auto name = parseClubFileName(file.filename().string());
        ClubFileReader r(file);
        std::string line;
        Layout layout = Layout::L1;
        while (r.next(line)) {
            if (line[0] == '0') layout = layoutForVersion(parseHeader(line).version);
            if (line[0] != '2') continue;
            BirdRecord b = parseBird(line, layout);
            RowSet row = t.db().query(
                "SELECT d.* FROM Deltagere d JOIN Kapflyvninger k ON k.Nr = d.Kapflyvning "
                "WHERE k.Uge = ? AND substr(k.Farvekode, 1, 2) = ? AND d.Ringnummer = ?",
                {std::stoi(name->week), b.cc, b.ring});
            ASSERT_EQ(row.size(), 1u) << b.ring;
            EXPECT_EQ(row.get(0, "Forening"), Value(name->club));
            EXPECT_EQ(row.get(0, "Slag"), b.slag);
            EXPECT_EQ(row.get(0, "Slag_Navn"), b.slagNavn);
            EXPECT_EQ(row.get(0, "Meter / min"), b.speed);
            EXPECT_EQ(row.get(0, "HjemKomst"), b.hjemkomst);
            EXPECT_EQ(row.get(0, "Afstand"), *b.afstand);
            EXPECT_EQ(row.get(0, "Område"), *b.omrade);
            EXPECT_EQ(row.get(0, "Sektion A"), Value(b.sektionA));
            ++checked;
        }
    }
    EXPECT_EQ(checked, s.birds);
}
