#include "InstalledFileRecord.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

TEST(InstalledFileRecord, RoundTripsWithFoldersBeforeTheirContents) {
  InstalledFileRecord record;
  record.version = "9.0.3.0";
  record.paths = OrderRecordedPaths({"plugins\\list.txt", "VIDer.exe", "plugins\\", "\xE8\xAF\xB4\xE6\x98\x8E.txt",
                                     "plugins\\deep\\", "Plugins\\List.txt", "plugins\\deep\\a.bin"});
  EXPECT_EQ(record.paths, (Paths{"plugins\\", "plugins\\deep\\", "plugins\\deep\\a.bin", "plugins\\list.txt",
                                 "VIDer.exe", "\xE8\xAF\xB4\xE6\x98\x8E.txt"}));

  const std::string text = FormatInstalledFileRecord(record);
  EXPECT_EQ(text.substr(0, 17), "Tessaro 9.0.3.0\r\n");
  InstalledFileRecord parsed;
  ASSERT_TRUE(ParseInstalledFileRecord(text, &parsed));
  EXPECT_EQ(parsed.version, "9.0.3.0");
  EXPECT_EQ(parsed.paths, record.paths);

  // Written by hand: a byte-order mark, bare line feeds, blank lines and any order are read too.
  ASSERT_TRUE(ParseInstalledFileRecord("\xEF\xBB\xBFTessaro 1.0\n\nb\\c\nb\\\n", &parsed));
  EXPECT_EQ(parsed.version, "1.0");
  EXPECT_EQ(parsed.paths, (Paths{"b\\", "b\\c"}));
}

TEST(InstalledFileRecord, RefusesTextsThatCouldDeleteOutsideTheProgramFolder) {
  for (const char* path : {"..\\x", "a\\..\\..\\x", "\\Windows\\x", "C:\\x", "C:x", "a\\\\b", ".\\x", "a/b",
                           "a\\.", "\\", "a\x01", "file.txt:stream"}) {
    EXPECT_FALSE(IsSafeRecordedPath(path)) << path;
    InstalledFileRecord untouched;
    untouched.version = "kept";
    EXPECT_FALSE(ParseInstalledFileRecord(std::string("Tessaro 1\r\nok.txt\r\n") + path + "\r\n", &untouched)) << path;
    EXPECT_EQ(untouched.version, "kept");
  }
  for (const char* path : {"a", "a\\", "a b\\c.d", "..a", "a..\\b"}) EXPECT_TRUE(IsSafeRecordedPath(path)) << path;

  InstalledFileRecord out;
  EXPECT_FALSE(ParseInstalledFileRecord("", &out));
  EXPECT_FALSE(ParseInstalledFileRecord("VIDer.exe\r\n", &out));
  EXPECT_FALSE(ParseInstalledFileRecord("tessaro 1\r\n", &out));
}

TEST(InstalledFileRecord, UpgradeKeepsThePathsOfBothVersions) {
  InstalledFileRecord a{"9.0.2.0", {"old.dll", "plugins\\", "plugins\\a.txt", "VIDer.exe"}};
  InstalledFileRecord b{"9.0.3.0", {"new\\", "new\\b.txt", "plugins\\", "vider.EXE"}};
  const InstalledFileRecord merged = MergeInstalledFileRecords(a, b);
  EXPECT_EQ(merged.version, "9.0.3.0");
  EXPECT_EQ(merged.paths, (Paths{"new\\", "new\\b.txt", "old.dll", "plugins\\", "plugins\\a.txt", "vider.EXE"}));
}

}  // namespace
