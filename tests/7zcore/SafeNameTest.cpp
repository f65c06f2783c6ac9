// Name checks on their own, so that they also run under Wine.

#include <gtest/gtest.h>

#include "SafeName.h"

namespace {

bool Safe(const std::u16string& name) {
  std::vector<std::u16string> parts;
  std::string why;
  return zk7z::SplitSafeName(name, &parts, &why);
}

TEST(SafeName, OrdinaryNamesSplitIntoComponents) {
  std::vector<std::u16string> parts;
  std::string why;
  ASSERT_TRUE(zk7z::SplitSafeName(u"zkbin\\plugins/说明.txt", &parts, &why));
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[2], u"说明.txt");
  EXPECT_TRUE(Safe(u"folder/"));
  EXPECT_TRUE(Safe(u".hidden"));
  EXPECT_TRUE(Safe(u"a..b"));
  EXPECT_TRUE(Safe(u"CONSOLE.txt"));
  EXPECT_TRUE(Safe(u"com10"));
  EXPECT_TRUE(Safe(u"backup.zk7z"));
  EXPECT_TRUE(Safe(u"a.zk7zip~part"));
}

TEST(SafeName, EscapesDevicesStreamsAndForbiddenCharactersAreRefused) {
  for (const char16_t* bad : {u"", u"/", u"/etc/x", u"\\x", u"..", u"a/../b", u"..\\b", u"C:x", u"x:y", u"con",
                              u"Nul.txt", u"aux .c", u"COM\u00B9", u"lpt3.log", u"COM0", u"lpt0.txt", u"com\u00B2.x",
                              u"LPT\u00B3", u"a<b", u"a>b", u"a\"b", u"a|b",
                              u"a?b", u"a*b", u"a\x01", u"dot.", u"space ", u"a//b", u"\xD800x",
                              u"bin/a.dll.zk7z~part", u"A.ZK7Z~OLD3", u"x.Zk7z~journal/y"}) {
    EXPECT_FALSE(Safe(bad)) << zk7z::Utf16ToUtf8Lossy(bad);
  }
}

TEST(SafeName, Utf8ConversionKeepsSurrogatePairs) {
  std::string out;
  ASSERT_TRUE(zk7z::Utf16ToUtf8(u"\U0001F600", &out));
  EXPECT_EQ(out, "\xF0\x9F\x98\x80");
  EXPECT_FALSE(zk7z::Utf16ToUtf8(u"\xDC00", &out));
  EXPECT_EQ(zk7z::Utf16ToUtf8Lossy(u"a\xD800"), "a\xEF\xBF\xBD");
}

}  // namespace
