// Archives made by 7zz in its common modes extract to exactly what 7zz itself extracts.

#include <sys/stat.h>

#include "ArchiveFixture.h"
#include "SevenZipArchive.h"

namespace {

constexpr uint64_t kMiB = 1 << 20;
constexpr uint64_t kMinGap = 64 << 10;

class SevenZipExtractorTest : public ArchiveFixture {
 protected:
  // A mixed tree: text, incompressible data, a program, an empty file and an empty folder.
  void MakeMixedTree(const std::string& dir) {
    WriteFile(dir + "/readme.txt", Text(300000, 1));
    WriteFile(dir + "/data/random.bin", RandomBytes(700000, 2));
    WriteFile(dir + "/data/zeros.bin", std::string(200000, '\0'));
    WriteFile(dir + "/bin/tool.exe", ProgramBytes());
    WriteFile(dir + "/empty.txt", "");
    fs::create_directories(Path(dir + "/data/empty folder"));
    WriteFile(dir + "/tiny.txt", "x");
  }
};

TEST_F(SevenZipExtractorTest, EveryCompressionLevelMatches7zz) {
  MakeMixedTree("src");
  for (const char* level : {"-mx0", "-mx1", "-mx3", "-mx5", "-mx7", "-mx9"}) ExpectSameAs7zz("src", level);
}

TEST_F(SevenZipExtractorTest, EveryMethodAndFilterMatches7zz) {
  MakeMixedTree("src");
  for (const char* switches :
       {"-m0=LZMA", "-m0=LZMA2:d=1m", "-m0=Deflate", "-m0=Copy", "-mf=Delta:4", "-mf=BCJ", "-mf=BCJ2",
        "-mf=off", "-m0=Delta:2 -m1=LZMA", "-m0=BCJ -m1=Deflate", "-m0=LZMA:lc=4:lp=0:pb=0",
        "-m0=LZMA2:lc=1:lp=3:pb=2"}) {
    ExpectSameAs7zz("src", switches);
  }
}

TEST_F(SevenZipExtractorTest, SolidityAndHeaderVariantsMatch7zz) {
  MakeMixedTree("src");
  for (const char* switches : {"-ms=off", "-ms=2f", "-ms=100k", "-mhc=off", "-mhc=off -ms=off", "-mtm=off -mtc=on -mta=on",
                               "-mx9 -ms=off", "-mqs=on"}) {
    ExpectSameAs7zz("src", switches);
  }
}

TEST_F(SevenZipExtractorTest, SevenZipDefaultsOnAProgramUseBcjFiltersAndMatch) {
  WriteFile("src/app/VIDer.exe", ProgramBytes());
  WriteFile("src/app/helper.dll", ProgramBytes().substr(1000));
  WriteFile("src/notes.txt", Text(50000, 4));
  Make7z("a.7z", "src", "");
  Make7z("b.7z", "src", "-mx9");
  zk7z::SevenZipArchive plain, max;
  ASSERT_TRUE(plain.Open(Path("a.7z").string(), zk7z::DecodeLimits()));
  ASSERT_TRUE(max.Open(Path("b.7z").string(), zk7z::DecodeLimits()));
  auto methods = [](const zk7z::ArchiveDatabase& db) {
    std::string all;
    for (auto& f : db.streams.folders) {
      for (auto& c : f.coders) all += zk7z::MethodName(c.methodId) + " ";
    }
    return all;
  };
  EXPECT_NE(methods(plain.db()).find("BCJ "), std::string::npos) << methods(plain.db());
  EXPECT_NE(methods(max.db()).find("BCJ2"), std::string::npos) << methods(max.db());
  ExpectSameAs7zz("src", "");
  ExpectSameAs7zz("src", "-mx9");
}

TEST_F(SevenZipExtractorTest, UnicodeNamesReachTheDiskUnchanged) {
  WriteFile("src/说明.txt", "readme");
  WriteFile("src/Ünïcödé/файл.bin", RandomBytes(1000, 5));
  WriteFile("src/emoji 😀.txt", "smile");
  ExpectSameAs7zz("src", "");
  Make7z("a.7z", "src", "");
  ASSERT_TRUE(Extract("a.7z", "out"));
  EXPECT_EQ(ReadFile(Path("out/说明.txt")), "readme");
  EXPECT_EQ(ReadFile(Path("out/emoji 😀.txt")), "smile");
}

TEST_F(SevenZipExtractorTest, FileLargerThanSixteenMebibytesMatches) {
  std::string big = RandomBytes(6 << 20, 6) + Text(12 << 20, 7);
  WriteFile("src/big.bin", big);
  ExpectSameAs7zz("src", "-mx1");
  ExpectSameAs7zz("src", "-m0=LZMA:d=1m");
}

TEST_F(SevenZipExtractorTest, EmptyFilesAndFoldersAreCreated) {
  WriteFile("src/a/empty1", "");
  WriteFile("src/empty2", "");
  fs::create_directories(Path("src/b/c/d"));
  Make7z("a.7z", "src", "");
  ASSERT_TRUE(Extract("a.7z", "out"));
  EXPECT_TRUE(fs::is_regular_file(Path("out/a/empty1")));
  EXPECT_EQ(fs::file_size(Path("out/empty2")), 0u);
  EXPECT_TRUE(fs::is_directory(Path("out/b/c/d")));
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_.back(), std::make_pair(uint64_t(0), uint64_t(0)));
}

TEST_F(SevenZipExtractorTest, EmptyArchiveSucceedsWithOneFinalReport) {
  fs::create_directories(Path("src"));
  Make7z("a.7z", "src", "");
  ASSERT_TRUE(Extract("a.7z", "out"));
  EXPECT_TRUE(fs::is_directory(Path("out")));
  ASSERT_EQ(reports_.size(), 1u);
}

TEST_F(SevenZipExtractorTest, ModificationTimeAndReadOnlyAreApplied) {
  WriteFile("src/old.txt", "old");
  WriteFile("src/ro.txt", "read only");
  ASSERT_EQ(Run("touch -d '2001-02-03 04:05:06 UTC' " + Quote(Path("src/old.txt"))), 0);
  ASSERT_EQ(chmod(Path("src/ro.txt").c_str(), 0444), 0);
  Make7z("a.7z", "src", "");
  ASSERT_TRUE(Extract("a.7z", "out"));
  struct stat st;
  ASSERT_EQ(stat(Path("out/old.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 981173106);
  ASSERT_EQ(stat(Path("out/ro.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
}

TEST_F(SevenZipExtractorTest, ProgressIsMonotonicSpacedAndEndsWithDoneEqualTotal) {
  WriteFile("src/a.bin", RandomBytes(5 * kMiB + 12345, 8));
  WriteFile("src/b.txt", Text(3 * kMiB, 9));
  WriteFile("src/c.txt", "small");
  Make7z("a.7z", "src", "-mx1");
  ASSERT_TRUE(Extract("a.7z", "out"));
  ASSERT_GE(reports_.size(), 8u);
  const uint64_t total = 8 * kMiB + 12345 + 5;
  uint64_t last = 0;
  for (size_t i = 0; i < reports_.size(); ++i) {
    EXPECT_EQ(reports_[i].second, total);
    if (i > 0) {
      EXPECT_GE(reports_[i].first - last, kMinGap) << i;
      EXPECT_LE(reports_[i].first - last, kMiB) << i;
    }
    if (i + 1 < reports_.size()) {
      EXPECT_LT(reports_[i].first, total) << i;
    }
    last = reports_[i].first;
  }
  EXPECT_EQ(reports_.back().first, total);
}

TEST_F(SevenZipExtractorTest, ExtractingAgainReplacesEarlierFiles) {
  WriteFile("src/f.txt", "new contents");
  Make7z("a.7z", "src", "");
  WriteFile("out/f.txt", "old contents that are longer");
  WriteFile("out/keep.txt", "untouched");
  ASSERT_TRUE(Extract("a.7z", "out"));
  EXPECT_EQ(ReadFile(Path("out/f.txt")), "new contents");
  EXPECT_EQ(ReadFile(Path("out/keep.txt")), "untouched");
}

TEST_F(SevenZipExtractorTest, MissingTargetFolderIsCreatedWithParents) {
  WriteFile("src/f.txt", "x");
  Make7z("a.7z", "src", "");
  ASSERT_TRUE(Extract("a.7z", "deep/er/out"));
  EXPECT_EQ(ReadFile(Path("deep/er/out/f.txt")), "x");
}

}  // namespace
