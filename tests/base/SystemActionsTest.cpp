#include "SystemActions.h"

#include <gtest/gtest.h>

TEST(IsWow64, AnswersWhatThePlatformSaysAboutThisProcess) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(IsWow64() != 0, wow64 != FALSE);
  // The harness prefix is 64-bit, as on our users' machines, so this 32-bit test is WOW64.
  EXPECT_NE(IsWow64(), 0u);
}

TEST(IsWindows10OrGreater, AgreesWithTheVersionThisProcessIsShown) {
  // Both answers pass through the same manifest-based compatibility of the running program.
  OSVERSIONINFOEXW shown = {};
  shown.dwOSVersionInfoSize = sizeof(shown);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&shown)));
#pragma GCC diagnostic pop
  EXPECT_EQ(IsWindows10OrGreater(), shown.dwMajorVersion >= 10);
}

TEST(OpenWithShell, MissingFileReportsFailure) {
  const HINSTANCE result = OpenWithShell(L"C:\\definitely\\not\\here\\agreement.html");
  EXPECT_LE(reinterpret_cast<INT_PTR>(result), 32);
}
