#include "SetupArguments.h"

#include <gtest/gtest.h>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(SetupArguments, ScopeFollowsTheSwitchesThenTheElevation) {
  struct Case {
    const wchar_t* line;
    bool elevated;
    InstallScope expected;
  };
  const Case cases[] = {
      {L"setup.exe", true, InstallScope::kPerMachine},
      {L"setup.exe", false, InstallScope::kPerUser},
      {L"setup.exe /CURRENTUSER", true, InstallScope::kPerUser},
      {L"setup.exe /currentuser", false, InstallScope::kPerUser},
      {L"setup.exe /AllUsers", false, InstallScope::kPerMachine},
      // The last of the two switches counts.
      {L"setup.exe /ALLUSERS /CURRENTUSER", true, InstallScope::kPerUser},
      {L"setup.exe /CURRENTUSER /ALLUSERS", false, InstallScope::kPerMachine},
  };
  for (const Case& c : cases) {
    const SetupArguments parsed = ParseSetupCommandLine(c.line);
    EXPECT_TRUE(parsed.error.empty()) << Narrow(c.line);
    EXPECT_EQ(DecideInstallScope(parsed, c.elevated), c.expected) << Narrow(c.line) << " elevated " << c.elevated;
  }
}

// As NSIS users write it: /D= last, unquoted, spaces and all; other values may be quoted.
TEST(SetupArguments, SilentInstallWithEverySwitch) {
  const SetupArguments parsed = ParseSetupCommandLine(
      L"\"C:\\Users\\me\\Downloads\\setup (1).exe\"  /s /NoDesktop /NOPIN /LOG=\"C:\\logs\\zk setup.log\" "
      L"/D=D:\\Program Files\\\u5E94\u7528 zk\\  ");
  EXPECT_TRUE(parsed.error.empty()) << Narrow(parsed.error);
  EXPECT_TRUE(parsed.silent);
  EXPECT_TRUE(parsed.noDesktop);
  EXPECT_TRUE(parsed.noPin);
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(parsed.logFile, L"C:\\logs\\zk setup.log");
  EXPECT_EQ(parsed.installDir, L"D:\\Program Files\\\u5E94\u7528 zk");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /D=E:\\").installDir, L"E:\\");
  // What launchers that quote every spaced argument send.
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /S \"/D=C:\\a b\"").installDir, L"C:\\a b");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /S /D=\"C:\\a b\" ").installDir, L"C:\\a b");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /D=\\\\server\\share\\zk").installDir, L"\\\\server\\share\\zk");

  const SetupArguments plain = ParseSetupCommandLine(L"setup.exe");
  EXPECT_FALSE(plain.silent || plain.help || plain.noDesktop || plain.noPin);
  EXPECT_TRUE(plain.installDir.empty() && plain.logFile.empty() && plain.error.empty());
  EXPECT_TRUE(ParseSetupCommandLine(L"setup.exe /?").help);
  EXPECT_TRUE(ParseSetupCommandLine(L"setup.exe /help").help);
}

TEST(SetupArguments, WrongCommandLinesAreNamed) {
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /S /QUIET").error, L"unknown switch: /QUIET");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe install").error, L"unknown switch: install");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /LOG=").error, L"unknown switch: /LOG=");
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /SS").error, L"unknown switch: /SS");
  EXPECT_FALSE(ParseSetupCommandLine(L"setup.exe /D=zk").error.empty());
  EXPECT_FALSE(ParseSetupCommandLine(L"setup.exe /D=").error.empty());
  // After /D= everything is the path: a switch there is part of it.
  EXPECT_EQ(ParseSetupCommandLine(L"setup.exe /D=C:\\a /S").installDir, L"C:\\a /S");
}

}  // namespace
