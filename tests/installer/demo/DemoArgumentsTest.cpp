#include "DemoArguments.h"

#include <gtest/gtest.h>

TEST(DemoArguments, NoArgumentsStayOpen) {
  const DemoArguments args = ParseDemoArguments({});
  EXPECT_TRUE(args.valid);
  EXPECT_EQ(args.exitAfterSeconds, 0);
  EXPECT_FALSE(args.quiet);
}

TEST(DemoArguments, ExitAfterTakesWholeSecondsUpToADay) {
  EXPECT_EQ(ParseDemoArguments({L"--exit-after", L"3"}).exitAfterSeconds, 3);
  EXPECT_EQ(ParseDemoArguments({L"--exit-after", L"86400"}).exitAfterSeconds, 86400);
  const DemoArguments both = ParseDemoArguments({L"--quiet", L"--exit-after", L"1"});
  EXPECT_TRUE(both.valid);
  EXPECT_TRUE(both.quiet);
  EXPECT_EQ(both.exitAfterSeconds, 1);
}

TEST(DemoArguments, MalformedSecondsAreRefusedWithTheReason) {
  const wchar_t* const bad[] = {L"0", L"-1", L"1.5", L"abc", L"", L"86401", L"99999999999", L"3s", L" 3"};
  for (size_t i = 0; i < sizeof(bad) / sizeof(bad[0]); ++i) {
    const DemoArguments args = ParseDemoArguments({L"--exit-after", bad[i]});
    EXPECT_FALSE(args.valid) << "accepted bad value number " << i;
    EXPECT_EQ(args.exitAfterSeconds, 0);
    EXPECT_NE(args.error.find(L"--exit-after"), std::wstring::npos);
  }
}

TEST(DemoArguments, MissingValueRepeatedOptionAndUnknownArgumentAreRefused) {
  EXPECT_FALSE(ParseDemoArguments({L"--exit-after"}).valid);
  EXPECT_FALSE(ParseDemoArguments({L"--exit-after", L"1", L"--exit-after", L"2"}).valid);
  const DemoArguments unknown = ParseDemoArguments({L"--exit"});
  EXPECT_FALSE(unknown.valid);
  EXPECT_NE(unknown.error.find(L"--exit"), std::wstring::npos);
}
