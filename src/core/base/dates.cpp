#include "core/base/dates.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vemora {

using namespace std::chrono;

int weekdayMonday1(Date d) { return static_cast<int>(weekday(sys_days(d)).iso_encoding()); }

Date addDays(Date d, int n) { return Date(sys_days(d) + days(n)); }

int daysBetween(Date from, Date to) { return static_cast<int>((sys_days(to) - sys_days(from)).count()); }

int FourDigitYear(std::string_view text, int currentYear) {
    int n = std::atoi(std::string(text).c_str());
    if (n >= 100) return n;
    n += currentYear - currentYear % 100;
    if (std::abs(currentYear - n) > 50) n += (n > currentYear) ? -100 : 100;
    return n;
}

Date Week1Start(int year, int currentYear) {
    if (year < 100) year = FourDigitYear(std::to_string(year), currentYear);
    Date jan1{std::chrono::year(year), January, day(1)};
    int w = weekdayMonday1(jan1);
    return w < 5 ? addDays(jan1, 1 - w) : addDays(jan1, 8 - w);
}

Date Week1Start(std::string_view year, int currentYear) {
    return Week1Start(FourDigitYear(year, currentYear), currentYear);
}

int WeekOfDate(Date d) {
    int y = static_cast<int>(d.year());
    Date prev = Week1Start(y - 1, y), cur = Week1Start(y, y), next = Week1Start(y + 1, y);
    Date start = sys_days(d) >= sys_days(next) ? next : sys_days(d) >= sys_days(cur) ? cur : prev;
    return daysBetween(start, d) / 7 + 1;
}

int CurrentWeekFor(Date today) { return weekdayMonday1(today) < 3 ? WeekOfDate(addDays(today, -7)) : WeekOfDate(today); }

Date todayLocal() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return Date{std::chrono::year(tm.tm_year + 1900), month(static_cast<unsigned>(tm.tm_mon + 1)),
                day(static_cast<unsigned>(tm.tm_mday))};
}

std::optional<Date> makeDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    Date r{std::chrono::year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))};
    if (!r.ok()) return std::nullopt;
    return r;
}

std::string isoDate(Date d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return buf;
}

std::optional<Date> parseIsoDate(std::string_view s) {
    if (s.size() < 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[static_cast<size_t>(i)] < '0' || s[static_cast<size_t>(i)] > '9') return std::nullopt;
    auto num = [&](size_t a, size_t n) { return std::atoi(std::string(s.substr(a, n)).c_str()); };
    return makeDate(num(0, 4), num(5, 2), num(8, 2));
}

std::string danishDate(std::string_view iso) {
    auto d = parseIsoDate(iso);
    if (!d) return std::string(iso);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u-%02u-%04d", static_cast<unsigned>(d->day()), static_cast<unsigned>(d->month()),
                  static_cast<int>(d->year()));
    return buf;
}

}  // namespace vemora
