// Championship definitions: input rules, races and member birds, the criteria text and
// which birds each criterion lets take part.
#include <gtest/gtest.h>

#include <set>

#include "core/championships/champ_fixture.h"
#include "core/championships/definition.h"

namespace vemora {
namespace {

using namespace championships;
using champtest::Fields;
using champtest::Season;

TEST(ChampDefinition, InputRules) {
    EXPECT_EQ(RewriteRingnr("123456789"), "123-45-6789");
    EXPECT_EQ(RewriteRingnr("12345678"), "12345678");
    EXPECT_TRUE(IsRingnr("123-45-6789"));
    EXPECT_FALSE(IsRingnr("123-45-678"));
    EXPECT_FALSE(IsRingnr("123-4a-6789"));
    EXPECT_EQ(TypeForKey('h'), "HB");
    EXPECT_EQ(TypeForKey('\b'), "Point");
    EXPECT_EQ(TypeForKey('M'), "Es-due-kilometer");
    EXPECT_EQ(TypeForKey('x'), std::nullopt);
    EXPECT_EQ(NormalizeType("NO Km-tillæg"), "NO Km-tillæg");
    EXPECT_EQ(NormalizeType("hb"), "Point");
    EXPECT_EQ(UpperType("NO es-due km-tillæg"), "NO ES-DUE KM-TILLÆG");
    EXPECT_EQ(ChampionshipTypes().size(), 11u);
    // The captions the dialog's tests do not reach.
    EXPECT_EQ(CaptionsForType("Due/point").p, "private flyvning(er) pr. due");
    EXPECT_EQ(CaptionsForType("Es-due-kilometer").flights, "kapflyvning(er) pr. due");
}

TEST(ChampDefinition, RacesAndMemberBirds) {
    Season s;
    long long a = s.race("95 - Sektion", 21), b = s.race("91 - Orange", 20), c = s.race("85 - Privat", 22);
    long long rec = s.champ("001", "Point");
    ASSERT_TRUE(AddRace(s.app, rec, a));
    EXPECT_FALSE(AddRace(s.app, rec, a));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Kapflyvning er allerede tilmeldt mesterskab.");
    ASSERT_TRUE(AddRace(s.app, rec, b));
    RowSet in = ChampionshipRaces(s.db, rec);
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in.get(0, "Regi"), Value("Ryx"));
    EXPECT_EQ(in.get(1, "Regi"), Value("Sektion"));
    EXPECT_EQ(in.get(0, "Station2"), Value("007 Hamborg"));
    RowSet avail = AvailableRaces(s.db, rec);
    ASSERT_EQ(avail.size(), 1u);
    EXPECT_EQ(avail.get(0, "Id"), Value("22 - 85 - Privat (Hamborg)"));
    RemoveRace(s.db, rec, a);
    EXPECT_EQ(AvailableRaces(s.db, rec).size(), 2u);
    (void)c;

    EXPECT_FALSE(AddMemberBird(s.app, rec, "123-45-678"));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Angiv ringnummer.");
    ASSERT_TRUE(AddMemberBird(s.app, rec, "200-25-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0001"));
    EXPECT_FALSE(AddMemberBird(s.app, rec, "100-26-0001"));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Ringnummer er allerede tilmeldt mesterskabet.");
    // By serial number, then the whole ring number.
    EXPECT_EQ(MemberBirds(s.db, rec), (std::vector<std::string>{"100-26-0001", "100-26-0002", "200-25-0002"}));
    DeleteMemberBirds(s.db, rec, {"100-26-0002", "200-25-0002"});
    EXPECT_EQ(MemberBirds(s.db, rec), (std::vector<std::string>{"100-26-0001"}));
    ClearMemberBirds(s.db, rec);
    EXPECT_TRUE(MemberBirds(s.db, rec).empty());
}

TEST(ChampDefinition, SaveAndDelete) {
    Season s;
    long long rec = NewChampionship(s.db);
    EXPECT_EQ(s.db.scalar("SELECT Type FROM Mesterskaber WHERE RecNr = ?", {rec}), Value("Point"));
    ASSERT_TRUE(SaveDefinition(s.app, rec, {{"Nr", "005"}, {"Titel", ""}, {"Antal_flyvninger", "3"}, {"Kun_begyndere", true}}));
    RowSet row = s.db.query("SELECT * FROM Mesterskaber WHERE RecNr = ?", {rec});
    EXPECT_EQ(row.get(0, "Nr"), Value("005"));
    EXPECT_TRUE(row.get(0, "Titel").isNull());
    EXPECT_EQ(row.get(0, "Kun_Begyndere"), Value(1));
    // A number box holding letters cannot reach the number field.
    EXPECT_FALSE(SaveDefinition(s.app, rec, {{"Antal_flyvninger", "tre"}}));
    EXPECT_EQ(s.t.ui.messages().back(), "Fejl: Fejl ved lagring af mesterskab.");

    long long r = s.race("95 - A", 20);
    s.result(r, "100-26-0001", {{"Point", 10.0}, {"Begynder", true}});
    s.db.execute("INSERT INTO Mesterskabsflyvninger (Mesterskab, Kapflyvning) VALUES (?, ?)", {rec, r});
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0001"));
    ASSERT_TRUE(s.calc("005"));
    long long twin = s.champ("005", "HB");
    ASSERT_TRUE(DeleteChampionship(s.app, rec));
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsflyvninger").toInt(), 0);
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskaber_Duer").toInt(), 0);
    // Another championship still carries the number, so the standings stay until it goes too.
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsresultat").toInt(), 1);
    ASSERT_TRUE(DeleteChampionship(s.app, twin));
    EXPECT_EQ(s.db.scalar("SELECT count(*) FROM Mesterskabsresultat").toInt(), 0);
}

TEST(ChampDefinition, CriteriaTextForEveryCombination) {
    Season s;
    const std::vector<std::pair<int, std::string>> combos{
        {0, ""},
        {1, "Kun begyndere. "},
        {2, "Kun juniorer. "},
        {3, "Kun begyndere + juniorer. "},
        {4, "Kun pensionister. "},
        {5, "Kun begyndere + pensionister. "},
        {6, "Kun juniorer + pensionister. "},
        {7, "Kun begyndere + juniorer + pensionister. "},
    };
    for (const auto& [bits, text] : combos) {
        std::string nr = "10" + std::to_string(bits);
        s.champ(nr, "Point", {{"Kun_Begyndere", (bits & 1) != 0}, {"Kun_juniorduer", (bits & 2) != 0}, {"Kun_Pensionister", (bits & 4) != 0}});
        EXPECT_EQ(CriteriaText(s.db, nr), text) << bits;
    }

    long long rec = s.champ("200", "Point",
                            {{"Kun_sportsduer", true}, {"Ekskl_Sportsduer", true}, {"Kun_foreningsafkrydsede", true},
                             {"Foreningsmarkering1", "B"}, {"Kun_Kode1", "1"}, {"Kun_Kode3", "x"}, {"Område", "O'B"},
                             {"Årgang", "25"}, {"Ekskl_Årgang", "24"}, {"Køn", "A"}, {"Antal_duer_pr_slag", 1}, {"TopProc", 20},
                             {"Antal_flyvninger", 5}, {"Antal_L_flyvninger", 3}, {"Antal_M_flyvninger", 1},
                             {"Antal_S_flyvninger", 2}, {"Antal_P_flyvninger", 1}});
    ASSERT_TRUE(AddMemberBird(s.app, rec, "200-25-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-26-0009"));
    EXPECT_EQ(CriteriaText(s.db, "200"),
              "Deltagende ringnumre: 100-26-0009, 200-25-0002. Kun sportsduer. Udelad sportsduer. Kun foreningsmarkerede duer. "
              "Kun foreningsmarkering = B. Kun kode 1 = 1. Kun kode 3 = x. Kun område = O'B. Kun årgang 25. Eksklusiv årgang 24. "
              "Kun køn A. 1 due pr. kapflyvning. Kun top 20 %. 5 kapflyvninger medtalt. 3 langdistanceflyvninger medtalt. "
              "1 mellemdistanceflyvning medtalt. 2 sektionsflyvninger medtalt. 1 privatflyvning medtalt. ");
    s.champ("201", "Point", {{"Antal_duer_pr_slag", 2}, {"Antal_flyvninger", 1}, {"Antal_L_flyvninger", 1}});
    EXPECT_EQ(CriteriaText(s.db, "201"), "2 duer pr. kapflyvning. 1 kapflyvning medtalt. 1 langdistanceflyvning medtalt. ");
    EXPECT_EQ(CriteriaText(s.db, "999"), "");
}

// Birds that differ in one criterion field each; a Due/point standing shows which take part.
TEST(ChampDefinition, EachCriterionSelectsItsBirds) {
    Season s;
    long long r = s.race("95 - A", 20);
    struct B {
        const char* ring;
        Fields f;
    };
    const std::vector<B> birds{
        {"100-25-0001", {{"Begynder", true}}},
        {"100-25-0002", {{"Junior", true}}},
        {"100-25-0003", {{"Pensionist", true}}},
        {"100-25-0004", {{"Sportsdue", true}, {"Foreningskryds", true}}},
        {"100-24-0005", {{"ForeningskrydsT", "aBc"}, {"Køn", "u"}}},
        {"100-26-0006", {{"Kode1", "x"}, {"Kode2", "1"}, {"Kode3", "2"}, {"Område", "Nord"}}},
        {"100-26-0007", {{"Placering", 5}}},
    };
    for (const auto& b : birds) {
        Fields f = b.f;
        f.emplace("Placering", 1);
        f["Kapflyvning_ialt"] = 20;
        f["Point"] = 100.0;
        s.result(r, b.ring, f);
    }
    auto selected = [&](Fields criteria) {
        static int n = 0;
        std::string nr = std::to_string(300 + ++n);
        s.champ(nr, "Due/point", criteria, {r});
        EXPECT_TRUE(s.calc(nr));
        std::set<std::string> rings;
        for (auto& [id, st] : s.standings(nr)) rings.insert(st.ring.toText().substr(7));
        return rings;
    };
    using Set = std::set<std::string>;
    EXPECT_EQ(selected({}).size(), 7u);
    EXPECT_EQ(selected({{"Kun_Begyndere", true}}), (Set{"0001"}));
    EXPECT_EQ(selected({{"Kun_Begyndere", true}, {"Kun_juniorduer", true}}), (Set{"0001", "0002"}));
    EXPECT_EQ(selected({{"Kun_Pensionister", true}, {"Kun_juniorduer", true}}), (Set{"0002", "0003"}));
    EXPECT_EQ(selected({{"Kun_Begyndere", true}, {"Kun_juniorduer", true}, {"Kun_Pensionister", true}}), (Set{"0001", "0002", "0003"}));
    EXPECT_EQ(selected({{"Kun_sportsduer", true}}), (Set{"0004"}));
    EXPECT_EQ(selected({{"Ekskl_Sportsduer", true}}).count("0004"), 0u);
    EXPECT_EQ(selected({{"Ekskl_Sportsduer", true}}).size(), 6u);
    EXPECT_EQ(selected({{"Kun_foreningsafkrydsede", true}}), (Set{"0004"}));
    EXPECT_EQ(selected({{"Foreningsmarkering1", "b"}}), (Set{"0005"}));  // the letter is found whatever its case
    EXPECT_EQ(selected({{"Køn", "U"}}), (Set{"0005"}));
    EXPECT_EQ(selected({{"Kun_Kode1", "X"}}), (Set{"0006"}));
    EXPECT_EQ(selected({{"Kun_Kode2", "1"}, {"Kun_Kode3", "2"}}), (Set{"0006"}));
    EXPECT_EQ(selected({{"Kun_Kode3", "1"}}), (Set{}));
    EXPECT_EQ(selected({{"Område", "nord"}}), (Set{"0006"}));
    EXPECT_EQ(selected({{"Årgang", "24"}}), (Set{"0005"}));
    EXPECT_EQ(selected({{"Ekskl_Årgang", "25"}}), (Set{"0005", "0006", "0007"}));
    EXPECT_EQ(selected({{"Ekskl_Årgang", "2#"}}), (Set{}));  // the year box is no digits-only box: patterns work
    // Placing 5 of 20 is 25 %.
    EXPECT_EQ(selected({{"TopProc", 20}}).count("0007"), 0u);
    EXPECT_EQ(selected({{"TopProc", 25}}).count("0007"), 1u);
    // Member birds: only they take part; one that flew no race adds nothing.
    long long rec = s.champ("400", "Due/point", {}, {r});
    ASSERT_TRUE(AddMemberBird(s.app, rec, "100-25-0002"));
    ASSERT_TRUE(AddMemberBird(s.app, rec, "999-26-0001"));
    ASSERT_TRUE(s.calc("400"));
    ASSERT_EQ(s.standings("400").size(), 1u);
    EXPECT_EQ(s.standings("400").begin()->first, "100-25-0002 001/001 Hansen");
}

}  // namespace
}  // namespace vemora
