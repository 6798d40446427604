#include <gtest/gtest.h>

#include <ctime>

#include "core/base/dates.h"

using namespace vemora;
using namespace std::chrono;

namespace {

Date D(int y, unsigned m, unsigned d) { return Date{year(y), month(m), day(d)}; }

// Reference ISO week from the C library's %V, an independent computation.
int referenceWeek(Date d) {
    std::tm tm{};
    tm.tm_year = static_cast<int>(d.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(d.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(d.day()));
    tm.tm_hour = 12;
    std::mktime(&tm);
    char buf[8];
    std::strftime(buf, sizeof buf, "%V", &tm);
    return std::atoi(buf);
}

}  // namespace

TEST(WeekOfDate, DocumentedExamples) {
    EXPECT_EQ(WeekOfDate(D(2016, 1, 1)), 53);   // a Friday belongs to the last week of 2015
    EXPECT_EQ(WeekOfDate(D(2014, 12, 29)), 1);  // a Monday already in week 1 of 2015
}

TEST(WeekOfDate, AgreesWithIsoReferenceOverManyYears) {
    for (Date d = D(1990, 1, 1); sys_days(d) < sys_days(D(2060, 1, 1)); d = addDays(d, 1))
        ASSERT_EQ(WeekOfDate(d), referenceWeek(d)) << isoDate(d);
}

TEST(Week1Start, IsTheMondayOfWeekOne) {
    EXPECT_EQ(Week1Start(2015, 2026), D(2014, 12, 29));
    EXPECT_EQ(Week1Start(2016, 2026), D(2016, 1, 4));
    EXPECT_EQ(Week1Start("26", 2026), D(2025, 12, 29));
    for (int y = 1995; y < 2055; ++y) {
        Date s = Week1Start(y, 2026);
        EXPECT_EQ(weekdayMonday1(s), 1);
        EXPECT_EQ(WeekOfDate(s), 1);
        EXPECT_NE(WeekOfDate(addDays(s, -1)), 1);
    }
}

TEST(FourDigitYear, WidensToTheNearestCentury) {
    EXPECT_EQ(FourDigitYear("14", 2014), 2014);
    EXPECT_EQ(FourDigitYear("80", 2014), 1980);
    EXPECT_EQ(FourDigitYear("64", 2014), 2064);
    EXPECT_EQ(FourDigitYear("97", 2026), 1997);
    EXPECT_EQ(FourDigitYear("1997", 2026), 1997);
    EXPECT_EQ(FourDigitYear("00", 2026), 2000);
}

TEST(CurrentWeek, MondayAndTuesdayBelongToThePreviousWeek) {
    // 4 January 2027 is the Monday of week 1: the secretary still works on week 53 of 2026.
    EXPECT_EQ(CurrentWeekFor(D(2027, 1, 4)), 53);
    EXPECT_EQ(CurrentWeekFor(D(2027, 1, 5)), 53);
    EXPECT_EQ(CurrentWeekFor(D(2027, 1, 6)), 1);  // Wednesday
    // 2024 has 52 weeks: Monday 30 December 2024 is week 1 of 2025, the week before is 52.
    EXPECT_EQ(CurrentWeekFor(D(2024, 12, 30)), 52);
    EXPECT_EQ(CurrentWeekFor(D(2026, 6, 10)), 24);  // a Wednesday: its own week
}
