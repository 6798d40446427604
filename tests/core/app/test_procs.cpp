#include <gtest/gtest.h>

#include <clocale>

#include "core/app/procs.h"
#include "core/app/startup.h"
#include "core/base/text.h"
#include "support/testdb.h"

using namespace vemora;

TEST(Procs, SqlNumberUsesAPointUnderACommaLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    // Without the Danish locale this would pass under "C" and prove nothing.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "da_DK.UTF-8"), nullptr)
        << "the da_DK.UTF-8 locale is missing: scripts/setup.sh generates it";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    EXPECT_STREQ(buf, "1,5");  // the locale really writes a comma
    EXPECT_EQ(SqlNumber(1.5), "1.5");
    EXPECT_EQ(SqlNumber(-1234.25), "-1234.25");
    EXPECT_EQ(SqlNumber(1000), "1000");
    std::setlocale(LC_NUMERIC, saved.c_str());
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
