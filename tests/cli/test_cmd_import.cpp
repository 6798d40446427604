#include <gtest/gtest.h>

#include "core/import/demo.h"
#include "core/import/importrun.h"
#include "support/process.h"
#include "support/testdb.h"

using namespace vemora;

namespace {

test::ProcessResult cli(const test::TempFolder& f, const std::string& args) { return test::runCli(f.path(), args); }

std::string file(const test::TempFolder& f, const std::string& name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    return "'" + f.write(name, bytes).string() + "'";
}

long long scalar(const test::TempFolder& f, const std::string& sql) {
    auto db = Database::open(f.path() / "SEKDATA.MDB");
    return db->scalar(sql).toInt();
}

const Date kDay{std::chrono::year(2026), std::chrono::June, std::chrono::day(6)};

}  // namespace

TEST(ImportCli, ExitCodesAndAnswers) {
    test::TempFolder f;
    std::string race = formatRace("95", kDay, "07:15", "101", " Flensborg");
    BirdRecord b;
    b.cc = "95";
    b.ring = "123-25-0001";
    std::string good = file(f, "SEK12301.U23", {formatHeader("123", "3.A"), race, formatBird(b, Layout::L6)});

    // Club and race questions, answered from --answers: No to the club is a silent end.
    test::ProcessResult r = cli(f, "import " + good + " --answers n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Info: Forening 123 er ikke oprettet. Skal foreningen oprettes.\n");

    r = cli(f, "import " + good + " --answers yy");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err,
              "Info: Forening 123 er ikke oprettet. Skal foreningen oprettes.\n"
              "Advarsel: Kapflyvning 95 (Flensborg) er ikke oprettet. Ønsker du at oprette kapflyvningen.\n"
              "Info: Indlæsning er afsluttet.\n");
    EXPECT_EQ(scalar(f, "SELECT count(*) FROM Deltagere"), 1);

    // No terminal and no answers: the default button; nothing is asked the second time.
    r = cli(f, "import " + good);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Info: Indlæsning er afsluttet.\n");

    std::string wrong = file(f, "SEK45601.U23", {formatHeader("123", "3.A")});
    r = cli(f, "import " + wrong);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Fejl: Ugyldigt filformat.\n");

    std::string bad = file(f, "SEK12301.U24", {formatHeader("123", "3.A"), race, "295xxx123251234A 9"});
    r = cli(f, "import " + bad + " --yes");
    EXPECT_EQ(r.exitCode, 1);
    // The reason on the line below the known sentence.
    EXPECT_NE(r.err.find("Fejl: Fejl ved indlæsning af data.\nLinje 3, Sektion A/B: klasse 9\n"), std::string::npos) << r.err;

    r = cli(f, "import '" + (f.path() / "notes.txt").string() + "'");
    EXPECT_EQ(r.exitCode, 2);
}

TEST(ImportCli, CheckResultsSwitchesTheSetting) {
    test::TempFolder f;
    std::string empty = file(f, "SEK12301.U23", {});
    EXPECT_EQ(cli(f, "import " + empty + " --check-results").exitCode, 0);
    EXPECT_EQ(scalar(f, "SELECT CheckResFiler FROM Generelt"), 1);
    EXPECT_EQ(cli(f, "import " + empty + " --no-check-results").exitCode, 0);
    EXPECT_EQ(scalar(f, "SELECT CheckResFiler FROM Generelt"), 0);
    EXPECT_NE(cli(f, "import " + empty + " --check-results --no-check-results").exitCode, 0);
}

TEST(ImportCli, DemoGivesAPopulatedSeason) {
    test::TempFolder f;
    test::ProcessResult r = cli(f, "demo --clubs 3 --weeks 20-22 --birds-per-club 50 --seed 7");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("9 foreningsfiler skrevet"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(f.path() / "demo" / "SEK01101.U20"));
    EXPECT_EQ(scalar(f, "SELECT count(*) FROM Kapflyvninger"), 6);  // the same seed, the same season
    EXPECT_EQ(scalar(f, "SELECT count(*) FROM Deltagere"), 588);
    EXPECT_EQ(scalar(f, "SELECT count(*) FROM ResModt WHERE Resultat = 1"), 9);
    EXPECT_EQ(cli(f, "demo --weeks 60").exitCode, 1);
}
