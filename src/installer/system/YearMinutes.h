#pragma once
// Minutes from 1 January of a year, 00:00 UTC, to now (or to a given UTC time).
#include <cstdint>

struct UtcTime {
    int year, month, day, hour, minute; // month 1-12, day 1-31
};

std::int64_t minutesFromYearStart(int year, const UtcTime& now);
std::int64_t minutesSinceYearStart(int year);
