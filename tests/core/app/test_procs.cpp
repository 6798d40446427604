#include <gtest/gtest.h>

#include <clocale>

#include "core/app/procs.h"
#include "core/domain/catalogue.h"
#include "core/app/startup.h"
#include "core/base/text.h"
#include "support/testdb.h"

using namespace vemora;

TEST(Procs, SqlNumberUsesAPointUnderACommaLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    bool comma = std::setlocale(LC_NUMERIC, "da_DK.UTF-8") != nullptr;
    EXPECT_EQ(SqlNumber(1.5), "1.5");
    EXPECT_EQ(SqlNumber(-1234.25), "-1234.25");
    EXPECT_EQ(SqlNumber(1000), "1000");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!comma) GTEST_SKIP() << "da_DK.UTF-8 locale not generated on this machine";
}

TEST(Procs, RaceCategoryByPrefix) {
    EXPECT_EQ(raceCategory("85 - Privat"), "Privat");
    EXPECT_EQ(raceCategory("93 - Hvid skema"), "Ryx");
    EXPECT_EQ(raceCategory("96 - Gul skema"), "Sektion");
    EXPECT_EQ(raceCategory("97"), "Privat");
    EXPECT_EQ(raceCategory("9A"), "Privat");  // above "97" as text
    EXPECT_EQ(raceCategory("86"), "Privat");
    EXPECT_TRUE(isPrivateOrSection("95 - Blå skema"));
    EXPECT_FALSE(isPrivateOrSection("91 - Orange skema"));
}

TEST(Procs, GetSectionNumberTakesTheFirstRunOfDigits) {
    test::TestApp t;
    auto sec = [&](const Value& name) {
        t.db().execute("UPDATE Generelt SET Sektionsnavn = ?", {name});
        return GetSectionNumber(t.db());
    };
    EXPECT_TRUE(sec(Value()).isNull());
    EXPECT_TRUE(sec("Sektion 7").isNull());  // no two adjacent digits
    EXPECT_EQ(sec("12 Sydjylland"), Value("12"));
    EXPECT_EQ(sec("Sektion 123"), Value("12"));
    EXPECT_EQ(sec("S4 sektion 05"), Value("04"));  // a single first digit, padded
}

TEST(Procs, BusyCounterNests) {
    test::TestApp t;
    SetBusy(t.app, true);
    SetBusy(t.app, true);
    SetBusy(t.app, false);
    EXPECT_EQ(t.ui.busyOn, 1);
    EXPECT_EQ(t.ui.busyOff, 0);  // the hourglass stays
    SetBusy(t.app, false);
    EXPECT_EQ(t.ui.busyOff, 1);
    SetBusy(t.app, false);  // unmatched off does not go below zero
    EXPECT_EQ(t.app.busyCounter, 0);
}

TEST(Startup, LandAndTitles) {
    test::TempFolder f;
    EXPECT_EQ(readLand(f.path()), "DK");  // no CONFIG.INI
    f.write("config.ini", "[Generelt]\r\nLand=SE\r\n");
    EXPECT_EQ(readLand(f.path()), "SE");
    EXPECT_EQ(mainWindowTitle(readLand(f.path())), "Vendrasa - Vemora - 21-05-2014");
    f.write("config.ini", "[Generelt]\nLand=NO\n");
    EXPECT_EQ(federationName(readLand(f.path())), "Ostrelin");
    f.write("config.ini", "[Andet]\nLand=SE\n[Generelt]\nLand=XX\n");
    EXPECT_EQ(readLand(f.path()), "XX");
    EXPECT_EQ(mainWindowTitle("XX"), "Tavrenia - Vemora - 21-05-2014");
    f.write("config.ini", std::string("\0\xff\xfe garbage", 11));
    EXPECT_EQ(readLand(f.path()), "DK");
}
