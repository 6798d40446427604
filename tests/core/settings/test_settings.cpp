#include <gtest/gtest.h>

#include <functional>

#include "core/db/schema.h"
#include "core/settings/clubs.h"
#include "core/settings/postnr.h"
#include "core/settings/settings.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

void addRace(Database& db, const std::string& farvekode) {
    db.execute("INSERT INTO Kapflyvninger (Uge, Farvekode, Beregn) VALUES (20, ?, 0)", {Value(farvekode)});
}

std::vector<std::string> markedRaces(Database& db) {
    RowSet r = db.query("SELECT Farvekode FROM Kapflyvninger WHERE Beregn = 1 ORDER BY Farvekode");
    std::vector<std::string> out;
    for (auto& row : r.rows) out.push_back(row[0].toText());
    return out;
}

// A database whose point table is filled in for every kind, as a section that has set it up.
void fillPointTable(Database& db) {
    for (const auto& k : pointTableKinds())
        db.exec("UPDATE Markering SET SE_PointPrSlag" + k + " = 3, SE_PointStep" + k + " = 10");
}

struct SettingsFixture : ::testing::Test {
    test::TestApp t;
    Database& db = t.db();
    Record sek() { return *LoadSektionsData(db); }
    MarkeringData mark() { return *LoadMarkering(db); }
    // The settings dialog's boxes of the section data and the markings, saved together.
    SektionsdataResult save(Record shown, const MarkeringData& m) {
        shown.insert(m.fields.begin(), m.fields.end());
        return SaveSektionsdata(db, shown, m.pointsystem);
    }
};

}  // namespace

TEST(SettingsRules, EmptyValuesOfTheBoxes) {
    // "Duer pr. slag" 3 with an empty step gives step 1, a step alone 2 birds; clearing one clears the other.
    const std::vector<std::pair<std::string, std::string>> cases{
        {MestPointText(""), "1000"},           {MestPointText("850"), "850"},     {StepAfterPrSlag("3", ""), "1"},
        {StepAfterPrSlag("3", "5"), "5"},      {StepAfterPrSlag("", "5"), ""},     {PrSlagAfterStep("2", ""), "2"},
        {PrSlagAfterStep("2", "4"), "4"},      {PrSlagAfterStep("", "4"), ""},     {PadCode("7"), "007"},
        {PadCode(""), ""},                     {PadCode("123"), "123"},           {StakeText("   "), "0"},
        {StakeText(""), "0"},                  {StakeText("25"), "25"},           {FactorText(""), "0"},
        {FactorShown(Value(2.25)), "2,25"},    {FactorShown(Value()), ""}};
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << i;
    EXPECT_DOUBLE_EQ(ParseFactor("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(ParseFactor("12"), 12);
    for (const char* bad : {"1,5,3", ",", "-1", "1e3"}) EXPECT_THROW(ParseFactor(bad), DbError) << bad;
}

TEST_F(SettingsFixture, ChangingOneKindMarksOnlyItsRaces) {
    fillPointTable(db);
    addRace(db, "91 - Orange skema");
    addRace(db, "92 - Grøn skema");
    addRace(db, "81 - Privat");
    MarkeringData m = mark();
    m.fields["MestPoint91"] = "900";
    // "Duer pr. slag" and "Step" of 93 cleared: a change from the stored 3 and 10, kept as Null.
    EXPECT_EQ(m.fields["SE_PointPrSlag93"].toText(), "3");
    m.fields["SE_PointPrSlag93"] = Value();
    m.fields["SE_PointStep93"] = Value();
    auto result = save(sek(), m);
    EXPECT_EQ(result.markedKinds, (std::vector<std::string>{"91", "93"}));
    EXPECT_FALSE(result.pointSystemChanged);
    EXPECT_EQ(markedRaces(db), std::vector<std::string>{"91 - Orange skema"});
    EXPECT_EQ(test::rowsText(db, "SELECT MestPoint91, SE_PointPrSlag93, SE_PointStep93, SE_PointStep94 FROM Markering"),
              "900|-|-|10\n");

    // Saved again unchanged, every kind filled in: equal, so nothing is marked.
    fillPointTable(db);
    db.exec("UPDATE Kapflyvninger SET Beregn = 0");
    result = save(sek(), mark());
    EXPECT_TRUE(result.markedKinds.empty());
    EXPECT_TRUE(markedRaces(db).empty());
}

TEST_F(SettingsFixture, EmptyBoxesAgainstNullFieldsMarkOnEverySave) {
    // A new database has no "Duer pr. slag" or "Step": the empty boxes differ from the Null
    // fields, so every kind is marked each time the settings are saved.
    addRace(db, "95 - Sektion");
    for (int round = 0; round < 2; ++round) {
        db.exec("UPDATE Kapflyvninger SET Beregn = 0");
        auto result = save(sek(), mark());
        EXPECT_EQ(result.markedKinds.size(), pointTableKinds().size());
        EXPECT_EQ(markedRaces(db), std::vector<std::string>{"95 - Sektion"});
        EXPECT_TRUE(db.scalar("SELECT SE_PointPrSlag95 FROM Markering").isNull());
    }
}

TEST_F(SettingsFixture, PointSystemSwitchMarksEveryRace) {
    fillPointTable(db);
    addRace(db, "91 - Orange skema");
    addRace(db, "97 - Privat");
    MarkeringData m = mark();
    ASSERT_EQ(m.pointsystem, PointSystem::Points1000);
    auto result = save(sek(), m);
    EXPECT_FALSE(result.pointSystemChanged);
    EXPECT_TRUE(markedRaces(db).empty());

    m.pointsystem = PointSystem::Placering;
    result = save(sek(), m);
    EXPECT_TRUE(result.pointSystemChanged);
    EXPECT_EQ(markedRaces(db).size(), 2u);
    EXPECT_EQ(db.scalar("SELECT Pointsystem FROM Markering").toInt(), 1);

    // A Null point system is not equal to either choice: choosing one counts as a switch.
    db.exec("UPDATE Markering SET Pointsystem = NULL; UPDATE Kapflyvninger SET Beregn = 0");
    EXPECT_EQ(mark().pointsystem, PointSystem::None);
    m.pointsystem = PointSystem::Points1000;
    EXPECT_TRUE(save(sek(), m).pointSystemChanged);
}

TEST_F(SettingsFixture, SectionDataRoundTripsWithEmptyAsNull) {
    Record s = sek();
    s["Sektionsnr"] = PadCode("7");
    s["Sektionsnavn"] = "Sektion 12";
    s["Bank"] = "Andelskassen";
    s["Bank_Adr"] = "";
    s["Bank_Postnr"] = "8800";
    s["Regnr"] = "1234";
    s["Kontonr"] = "12345678901234";
    MarkeringData m = mark();
    m.fields["Præmiefaktor_A"] = "1,5";
    m.fields["Pulje_Puljepræmier"] = 1;
    m.fields["Z_Puljepræmier"] = 1;
    save(s, m);
    EXPECT_EQ(test::rowsText(db, "SELECT Sektionsnr, Bank_Adr, Kontonr, (SELECT Præmiefaktor_A FROM Markering) FROM Generelt"),
              "007|-|12345678901234|1.5\n");
    Record shown = mark().fields;
    EXPECT_EQ(shown["Præmiefaktor_A"], Value("1,5"));
    EXPECT_EQ(shown["Pulje_Puljepræmier"].toText() + shown["Elite_Puljepræmier"].toText() + shown["Z_Puljepræmier"].toText() +
                  shown["R_Puljepræmier"].toText(),
              "1010");
    EXPECT_EQ(sek()["Bank_Postnr"], Value("8800"));
}

TEST_F(SettingsFixture, AFailingStepWritesNothing) {
    addRace(db, "91 - Orange skema");
    Record s = sek();
    s["Sektionsnavn"] = "Ny sektion";
    MarkeringData m = mark();
    m.pointsystem = PointSystem::Placering;
    m.fields["Præmiefaktor_B"] = "1,2,3";  // not a number: the Markering row cannot be written
    auto refusedField = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const FieldError& e) {
            return e.field();
        }
        return std::string("(nothing refused)");
    };
    EXPECT_EQ(refusedField([&] { save(s, m); }), "Præmiefaktor_B");  // named, so the dialog can show it
    EXPECT_TRUE(db.scalar("SELECT Sektionsnavn FROM Generelt").isNull());
    EXPECT_TRUE(markedRaces(db).empty());
    EXPECT_EQ(db.scalar("SELECT Pointsystem FROM Markering").toInt(), 0);

    // The stakes step: a refusing row leaves every stake as it was.
    Record stakes = *LoadIndskud(db);
    stakes["A_Klasse1"] = "25";
    stakes["Kl_R"] = "x";
    EXPECT_EQ(refusedField([&] { SaveIndskud(db, stakes); }), "Kl_R");
    EXPECT_EQ(db.scalar("SELECT A_Klasse1 FROM Indskud").toInt(), 0);
    stakes["Kl_R"] = "  ";
    SaveIndskud(db, stakes);
    EXPECT_EQ(db.scalar("SELECT A_Klasse1 FROM Indskud").toInt(), 25);
    EXPECT_EQ(db.scalar("SELECT Kl_R FROM Indskud").toInt(), 0);
}

TEST_F(SettingsFixture, TemplatesReadHighestValueFirstAndWriteOnlyDirtyRows) {
    db.exec("INSERT INTO \"P-spils-præmier_Init\" (Antal, Værdi) VALUES (2, 50), (1, 200)");
    for (int i = 0; i < 7; ++i) EXPECT_NO_THROW(ReadTemplate(db, i)) << i;
    auto rows = ReadTemplate(db, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].værdi.toInt(), 200);
    rows[1].antal = 3;
    rows[1].dirty = true;
    rows.push_back({0, Value(4), Value(25.5), true});
    WriteTemplateRows(db, 2, rows);
    EXPECT_NE(rows[2].rowId, 0);
    EXPECT_FALSE(rows[1].dirty);
    RowSet r = db.query("SELECT Antal, Værdi FROM \"P-spils-præmier_Init\" ORDER BY Værdi DESC");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r.rows[1][0].toInt(), 3);
    EXPECT_DOUBLE_EQ(r.rows[2][1].toDouble(), 25.5);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Kontantpræmier_Init").toInt(), 0);

    // A refused row keeps every row dirty, so the grid can write them again.
    rows[0].antal = Value("mange");
    rows[0].dirty = true;
    rows[1].dirty = true;
    EXPECT_THROW(WriteTemplateRows(db, 2, rows), DbError);
    EXPECT_TRUE(rows[1].dirty);

    DeleteTemplateRow(db, 2, rows[2].rowId);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"P-spils-præmier_Init\"").toInt(), 2);
}

TEST_F(SettingsFixture, PostalCodesAreAddedAtOnceAndShareTheirTown) {
    EXPECT_EQ(LookupPostnr(db, "").result, PostnrLookup::Empty);
    EXPECT_EQ(LookupPostnr(db, "880").result, PostnrLookup::WrongLength);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Postnr").toInt(), 0);

    EXPECT_EQ(LookupPostnr(db, "8800").result, PostnrLookup::Added);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Postnr WHERE Postnr = '8800'").toInt(), 1);
    StoreTown(db, "8800", "Viborg");
    // The same code typed later, in another club or in the section's bank address.
    auto again = LookupPostnr(db, "8800");
    EXPECT_EQ(again.result, PostnrLookup::Found);
    EXPECT_EQ(again.town, "Viborg");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Postnr").toInt(), 1);

    // A town typed for a code the list lost is stored with its code; a cleared town is Null.
    StoreTown(db, "9000", "Aalborg");
    EXPECT_EQ(LookupPostnr(db, "9000").town, "Aalborg");
    StoreTown(db, "9000", "");
    EXPECT_TRUE(db.scalar("SELECT \"By\" FROM Postnr WHERE Postnr = '9000'").isNull());
    StoreTown(db, "900", "Nowhere");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Postnr").toInt(), 2);
}

TEST_F(SettingsFixture, ClubsAreAddedSavedAndDeletedAfterMarkingEveryRace) {
    addRace(db, "91 - Orange skema");
    addRace(db, "97 - Privat");
    int64_t rec = NewForening(db);
    Record d = *LoadForening(db, rec);
    EXPECT_TRUE(d["Nr"].isNull());
    d["Nr"] = PadCode("5");
    d["Navn"] = "Brevduer Nord";
    d["Kontakt_Postnr"] = "8800";
    SaveForening(db, rec, d);
    EXPECT_EQ(db.scalar("SELECT Nr FROM Foreninger WHERE RecNr = ?", {Value(static_cast<long long>(rec))}).toText(), "005");
    EXPECT_TRUE(db.scalar("SELECT Kontakt FROM Foreninger").isNull());
    // A second club with the same number is accepted.
    int64_t twin = NewForening(db);
    SaveForening(db, twin, d);
    EXPECT_EQ(ListForeninger(db).size(), 2u);

    // The delete sees every race already marked when the row goes.
    db.exec(
        "CREATE TEMP TABLE seen (unmarked INTEGER);"
        "CREATE TEMP TRIGGER watch BEFORE DELETE ON Foreninger BEGIN "
        "INSERT INTO seen SELECT count(*) FROM Kapflyvninger WHERE Beregn = 0; END;");
    DeleteForening(db, rec);
    EXPECT_EQ(db.scalar("SELECT unmarked FROM seen").toInt(), 0);
    EXPECT_EQ(markedRaces(db).size(), 2u);
    EXPECT_FALSE(LoadForening(db, rec).has_value());
    EXPECT_TRUE(LoadForening(db, twin).has_value());
}
