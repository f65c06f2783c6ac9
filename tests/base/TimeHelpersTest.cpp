#include "TimeHelpers.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(TimeHelpers, NowMillisecondsFollowsTheSystemClock) {
  const uint64_t before = static_cast<uint64_t>(std::time(nullptr)) * 1000;
  const uint64_t now = NowMilliseconds();
  const uint64_t after = (static_cast<uint64_t>(std::time(nullptr)) + 1) * 1000;
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
}

TEST(TimeHelpers, DateTimeRoundTripsInWinter) {
  // 15 January 2024, 12:00 UTC; the round trip holds wherever that date has no daylight saving.
  const int64_t time = 1705320000;
  const DateTime local = TimeToDateTime(time);
  EXPECT_EQ(local.year, 2024);
  EXPECT_EQ(local.month, 1);
  EXPECT_GE(local.day, 14);
  EXPECT_LE(local.day, 16);
  EXPECT_EQ(local.milliseconds, 0);
  std::tm probe{};
  const std::time_t t = static_cast<std::time_t>(time);
#ifdef _WIN32
  localtime_s(&probe, &t);
#else
  localtime_r(&t, &probe);
#endif
  if (probe.tm_isdst == 0) {
    EXPECT_EQ(DateTimeToTime(local), time);
  }
}

TEST(TimeHelpers, DayOfWeekCountsFromSunday) {
  // 10 June 2024 at noon UTC is a Monday everywhere from UTC-11 to UTC+11.
  const DateTime local = TimeToDateTime(1718020800);
  EXPECT_EQ(local.dayOfWeek, 1);
  EXPECT_EQ(local.day, 10);
  EXPECT_EQ(local.month, 6);
}
