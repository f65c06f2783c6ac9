#pragma once
// Clock and calendar conversions in the platform's system-time layout.

#include <cstdint>

// Eight 16-bit fields in the order of the Windows SYSTEMTIME record.
struct DateTime {
  uint16_t year;
  uint16_t month;      // 1..12
  uint16_t dayOfWeek;  // 0 = Sunday
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

// Milliseconds since 1 January 1970 (UTC).
uint64_t NowMilliseconds();

// Local calendar time of a time in seconds since 1970; milliseconds are always 0.
DateTime TimeToDateTime(int64_t seconds);

// Seconds since 1970 of a local calendar time, taken as standard time (no daylight saving).
int64_t DateTimeToTime(const DateTime& dateTime);
