// vemora-cli champ run as a program on a prepared program folder.
#include <gtest/gtest.h>

#include "core/calc/calc_fixture.h"
#include "support/process.h"
#include "support/testdb.h"

namespace vemora {
namespace {

using namespace calctest;

struct ChampRun {
    int exitCode;
    std::string output;  // stderr, where the tool reports
};

ChampRun champ(const std::filesystem::path& folder, const std::string& args) {
    test::ProcessResult r = test::runCommand(std::string(VEMORA_CLI_PATH) + " --folder " + test::shellQuote(folder.string()) +
                                             " champ " + args);
    return {r.exitCode, r.err + r.out};
}

TEST(ChampCli, ComputesChosenOrAllChampionshipsAndReportsFailures) {
    test::TestApp t;
    Database& db = t.db();
    insertRow(db, "Foreninger", {{"Nr", "001"}, {"Navn", "Alfa"}});
    long long r = addRace(db, "95 - Sektion");
    addBird(db, r, "100-26-0001", 1200.0);
    addBird(db, r, "100-26-0002", 1100.0, {{"Slag", "002"}});
    insertRow(db, "Mesterskaber", {{"Nr", "007"}, {"Type", "HB"}});
    long long hb = db.lastInsertId();
    insertRow(db, "Mesterskaber", {{"Nr", "002"}, {"Type", "NO Plac.point"}});
    long long no = db.lastInsertId();
    for (long long c : {hb, no}) insertRow(db, "Mesterskabsflyvninger", {{"Mesterskab", c}, {"Kapflyvning", r}});

    // "7" is championship 007; the race is computed on the way.
    ChampRun one = champ(t.folder.path(), "--nr 7 --specify-points --decimals");
    EXPECT_EQ(one.exitCode, 0) << one.output;
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Mesterskabsresultat WHERE Mesterskabsnr = '007'").toInt(), 2);
    // "Vis decimaler" is not offered for HB, so the cells stay whole.
    EXPECT_EQ(db.scalar("SELECT F1 FROM CrosstabResult WHERE IdText = '001/001 '"), Value("1"));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Q_Mesterskab_Crosstab").toInt(), 2);

    // All in number order: the stored query ends on the last one, 007.
    ChampRun all = champ(t.folder.path(), "--all --decimals");
    EXPECT_EQ(all.exitCode, 0) << all.output;
    EXPECT_LT(all.output.find("Mesterskab 002"), all.output.find("Mesterskab 007")) << all.output;
    EXPECT_EQ(db.scalar("SELECT Proportioner FROM \"Q Mesterskabsresultat\" LIMIT 1"), Value(""));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"Q Mesterskabsresultat\"").toInt(), 2);
    EXPECT_EQ(db.scalar("SELECT Mesterskabsnr FROM \"Q Mesterskabsresultat\" LIMIT 1"), Value("007"));

    // A missing championship fails with its message; one failure does not stop the others.
    EXPECT_EQ(champ(t.folder.path(), "--nr 999").exitCode, 1);
    insertRow(db, "Mesterskaber", {{"Nr", "001"}, {"Type", "Point"}});
    long long bad = db.lastInsertId();
    insertRow(db, "Mesterskabsflyvninger", {{"Mesterskab", bad}, {"Kapflyvning", r}});
    db.execute("UPDATE Kapflyvninger SET Beregn = 1 WHERE Nr = ?", {r});
    addBird(db, r, "100-26-0003", 1000.0, {{"Sektion A", 7}});
    ChampRun failing = champ(t.folder.path(), "--all");
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_NE(failing.output.find("Fejl: "), std::string::npos) << failing.output;
    EXPECT_NE(champ(t.folder.path(), "").exitCode, 0);
}

}  // namespace
}  // namespace vemora
