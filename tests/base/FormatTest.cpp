#include "Format.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FormatDuration, SplitsHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(FormatDuration(3725.5), L"01:02:05.500");
  EXPECT_EQ(FormatDuration(0.0), L"00:00:00.000");
  EXPECT_EQ(FormatDuration(59.25), L"00:00:59.250");
  EXPECT_EQ(FormatDuration(360000.0), L"100:00:00.000");
}

TEST(FormatDuration, NegativeAndNotANumberShowAsZero) {
  EXPECT_EQ(FormatDuration(-7200.0), L"00:00:00.000");
  EXPECT_EQ(FormatDuration(-5.0), L"00:00:00.000");
  EXPECT_EQ(FormatDuration(std::nan("")), L"00:00:00.000");
}

TEST(FormatSeconds, HoursAreNotLimitedToTwoDigits) {
  EXPECT_EQ(FormatSeconds(59), L"00:00:59");
  EXPECT_EQ(FormatSeconds(3661), L"01:01:01");
  EXPECT_EQ(FormatSeconds(360000), L"100:00:00");
}

TEST(ParseDuration, FractionCountsAsWholeMilliseconds) {
  EXPECT_EQ(ParseDuration(L"1:02:03.4"), 3723004);
  EXPECT_EQ(ParseDuration(L"0:00:01.250"), 1250);
}

TEST(ParseDuration, MissingFieldsCountAsZero) {
  EXPECT_EQ(ParseDuration(L""), 0);
  EXPECT_EQ(ParseDuration(L"2"), 7200000);
  EXPECT_EQ(ParseDuration(L"1:30"), 5400000);
  EXPECT_EQ(ParseDuration(L"garbage"), 0);
}

TEST(ParseDuration, WrapsAsThirtyTwoBitSigned) {
  // 600 hours is 2,160,000,000 ms, past INT32_MAX.
  EXPECT_EQ(ParseDuration(L"600:00:00"), static_cast<int32_t>(2160000000u));
}

TEST(FormatSize, SwitchesUnitsOnlyAboveOneMebibyteAndOneGibibyte) {
  EXPECT_EQ(FormatSize(1048576.0), L"1024.0 KB");
  EXPECT_EQ(FormatSize(1048577.0), L"1.0 MB");
  EXPECT_EQ(FormatSize(1073741824.0), L"1024.0 MB");
  EXPECT_EQ(FormatSize(1610612736.0), L"1.5 GB");
  EXPECT_EQ(FormatSize(0.0), L"0.0 KB");
}

TEST(FormatSizeCompact, SwitchesAtExactlyOneMebibyteAndOneGibibyteWithoutSpace) {
  EXPECT_EQ(FormatSizeCompact(1048576), L"1.0MB");
  EXPECT_EQ(FormatSizeCompact(1048575), L"1024.0KB");
  EXPECT_EQ(FormatSizeCompact(1073741824), L"1.0GB");
  EXPECT_EQ(FormatSizeCompact(1536), L"1.5KB");
  // Low bits are dropped before dividing: 1 MiB + 1023 bytes is still 1.0MB.
  EXPECT_EQ(FormatSizeCompact(1048576 + 1023), L"1.0MB");
}

TEST(EscapeControlCharacters, LineBreaksControlsAndDirectionOverridesAreWrittenOut) {
  EXPECT_EQ(EscapeControlCharacters(L"C:\\zk\\\u8BF4\u660E.txt"), L"C:\\zk\\\u8BF4\u660E.txt");
  EXPECT_EQ(EscapeControlCharacters(L"a\r\n[2026-01-01 00:00:00] - forged"),
            L"a\\x0D\\x0A[2026-01-01 00:00:00] - forged");
  EXPECT_EQ(EscapeControlCharacters(std::wstring(L"\x01\t\x7F\x9F", 4)), L"\\x01\\x09\\x7F\\x9F");
  EXPECT_EQ(EscapeControlCharacters(L"evil\u202Etxt.exe"), L"evil\\u202Etxt.exe");
  EXPECT_EQ(EscapeControlCharacters(L"\u2066\u200F"), L"\\u2066\\u200F");
  EXPECT_EQ(EscapeControlCharacters(std::wstring(1, L'\0')), L"\\x00");
}
