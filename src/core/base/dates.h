#pragma once
// Week and year arithmetic of the section: ISO 8601 weeks, two-digit years.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vemora {

using Date = std::chrono::year_month_day;

// Weekday counted with Monday = 1 .. Sunday = 7.
int weekdayMonday1(Date d);
Date addDays(Date d, int days);
int daysBetween(Date from, Date to);

// The Monday that starts ISO week 1 of the year; two-digit years are widened by FourDigitYear.
Date Week1Start(int year, int currentYear);
Date Week1Start(std::string_view year, int currentYear);
// ISO 8601 week number, 1..53.
int WeekOfDate(Date d);
// Two-digit years to the century within 50 years of the current year; 100 and above unchanged.
int FourDigitYear(std::string_view year, int currentYear);
// The working week offered at start: on Monday and Tuesday the previous week is still worked on.
int CurrentWeekFor(Date today);

Date todayLocal();
std::optional<Date> makeDate(int y, int m, int d);  // nullopt when no such day
std::string isoDate(Date d);                         // YYYY-MM-DD
std::optional<Date> parseIsoDate(std::string_view s);  // also accepts a time after the date
// A stored date as the forms and lists show it, "dd-mm-yyyy"; a text that is no ISO date is
// returned as it is.
std::string danishDate(std::string_view iso);

}  // namespace vemora
