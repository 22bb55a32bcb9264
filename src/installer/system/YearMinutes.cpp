#include "installer/system/YearMinutes.h"

#include <ctime>

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

std::int64_t minutesFromYearStart(int year, const UtcTime& now)
{
    static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::int64_t days = 0;
    for (int y = year; y < now.year; ++y)
        days += isLeapYear(y) ? 366 : 365;
    for (int m = 1; m < now.month && m <= 12; ++m)
        days += kMonthDays[m - 1] + (m == 2 && isLeapYear(now.year) ? 1 : 0);
    days += now.day - 1;
    return days * 1440 + now.hour * 60 + now.minute;
}

std::int64_t minutesSinceYearStart(int year)
{
    const std::time_t seconds = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    return minutesFromYearStart(year, UtcTime{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min});
}
