#include "TextConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

// The harness runs Wine with the 1252 ANSI code page; tests that depend on it say so.
class TextConversion : public ::testing::Test {
 protected:
  bool AnsiIs1252() const { return GetACP() == 1252; }
};

TEST_F(TextConversion, EmptyInputGivesEmptyOutput) {
  EXPECT_EQ(WideToAnsi(L""), "");
  EXPECT_EQ(WideToUtf8(L""), "");
  EXPECT_EQ(AnsiToWide(""), L"");
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(AnsiToUtf8(""), "");
  EXPECT_EQ(Utf8ToAnsi(""), "");
}

TEST_F(TextConversion, Utf8RoundTripsChineseText) {
  const std::wstring text = L"\u8BF4\u660E.txt";  // 说明.txt
  EXPECT_EQ(WideToUtf8(text), "\xE8\xAF\xB4\xE6\x98\x8E.txt");
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
}

TEST_F(TextConversion, AnsiUsesTheSystemCodePage) {
  if (!AnsiIs1252()) GTEST_SKIP() << "needs the 1252 ANSI code page";
  EXPECT_EQ(WideToAnsi(L"caf\u00E9"), "caf\xE9");
  EXPECT_EQ(AnsiToWide("caf\xE9"), L"caf\u00E9");
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9"), "caf\xE9");
}

TEST_F(TextConversion, UnrepresentableCharactersBecomeTheDefaultCharacter) {
  if (!AnsiIs1252()) GTEST_SKIP() << "needs the 1252 ANSI code page";
  EXPECT_EQ(WideToAnsi(L"C:\\\u8BF4\u660E"), "C:\\??");
  EXPECT_FALSE(IsAnsiRepresentable(L"C:\\\u8BF4\u660E"));
  EXPECT_TRUE(IsAnsiRepresentable(L"C:\\Program Files (x86)\\caf\u00E9"));
}

TEST_F(TextConversion, CodePage936HoldsChinese) {
  EXPECT_EQ(WideToCodePage(L"\u8BF4\u660E", 936), "\xCB\xB5\xC3\xF7");
  EXPECT_EQ(CodePageToWide("\xCB\xB5\xC3\xF7", 936), L"\u8BF4\u660E");
}

TEST_F(TextConversion, InvalidUtf8GivesReplacementNotACrash) {
  const std::wstring converted = Utf8ToWide("ok\xFF\xFE");
  EXPECT_EQ(converted.substr(0, 2), L"ok");
}

// Windows 10 and later may run with UTF-8 as the ANSI code page (a user setting); the harness runs
// this case again under a locale without an ANSI code page, for which Wine picks 65001. Windows
// refuses the best-fit flag and the used-default pointer for that code page, which judged every
// folder unrepresentable; Wine accepts them, so here the case pins the results rather than
// reproducing the refusal.
TEST_F(TextConversion, Utf8AnsiCodePageCarriesEveryPath) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "needs UTF-8 as the ANSI code page";
  const std::wstring chinese = L"C:\\\u5B89\u88C5\\Tessaro \U0001F600";  // C:\安装\Tessaro 😀
  EXPECT_TRUE(IsAnsiRepresentable(chinese));
  EXPECT_TRUE(IsAnsiRepresentable(L"C:\\Program Files (x86)\\zk"));
  EXPECT_EQ(WideToAnsi(chinese), WideToUtf8(chinese));
  EXPECT_EQ(AnsiToWide(WideToAnsi(chinese)), chinese);
  // An unpaired surrogate has no UTF-8 form: such a name still takes the short-path fallback.
  EXPECT_FALSE(IsAnsiRepresentable(std::wstring(L"C:\\a") + static_cast<wchar_t>(0xD800)));
}
