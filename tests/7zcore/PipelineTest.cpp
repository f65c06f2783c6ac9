// The decoder and the writer threads side by side, on payloads that keep several writers busy at
// once. The whole suite also runs with 1, 2 and 4 writers and decoders (ZK7Z_TEST_WRITERS and
// ZK7Z_TEST_DECODERS, set by CTest).

#include <algorithm>
#include <atomic>
#include <sstream>

#include "ArchiveFixture.h"

namespace {

constexpr uint64_t kMiB = 1 << 20;
constexpr uint64_t kMinGap = 64 << 10;

class PipelineTest : public ArchiveFixture {
 protected:
  // FOLDERS x PER_FOLDER tiny text files of 1 to 700 bytes below dir; returns their total size.
  uint64_t WriteTinyFiles(const std::string& dir, int folders, int perFolder) {
    uint64_t total = 0;
    for (int d = 0; d < folders; ++d) {
      for (int i = 0; i < perFolder; ++i) {
        const std::string bytes = Text(1 + (d * 131 + i * 17) % 700, d * 1000 + i);
        WriteFile(dir + "/d" + std::to_string(d) + "/f" + std::to_string(i) + ".txt", bytes);
        total += bytes.size();
      }
    }
    return total;
  }

  void ExpectNoTemporaries(const std::string& dir) {
    for (auto& e : fs::recursive_directory_iterator(Path(dir))) {
      EXPECT_EQ(e.path().string().find(".zk7z~"), std::string::npos) << e.path();
    }
  }

  // An earlier installation: some of the archive's names with other contents, and a file of its own.
  void InstallEarlier(const std::string& dir) {
    WriteFile(dir + "/d3/f7.txt", "earlier");
    WriteFile(dir + "/d9/f99.txt", "earlier too");
    WriteFile(dir + "/mine.txt", "the user's");
  }
};

// The stress shape at CI size: 20,000 tiny files and one 32 MiB file (not 300 MB) in one
// solid block still have every writer create, close and rename files while another one writes
// the large file, and the decoder wait for room in the queue.
TEST_F(PipelineTest, ManyTinyFilesAndOneLargeInOneSolidBlockMatch7zz) {
  uint64_t total = WriteTinyFiles("src", 100, 200);
  const std::string large = RandomBytes(8 * kMiB, 1) + Text(24 * kMiB, 2);
  WriteFile("src/d50/large.bin", large);
  total += large.size();
  Make7z("a.7z", "src", "-mx1 -ms=1000000f16g");
  ASSERT_EQ(Run("7zz l -slt " + Quote(Path("a.7z")) + " | grep -qx 'Blocks = 1'"), 0) << "not one solid block";
  Extract7zz("a.7z", "ref");

  std::string error;
  ASSERT_TRUE(Extract("a.7z", "out", &error)) << error;
  ExpectSameTree("ref", "out");
  ExpectNoTemporaries("out");
  // Progress counts written bytes, whichever writer wrote them.
  ASSERT_FALSE(reports_.empty());
  uint64_t last = 0;
  for (size_t i = 1; i < reports_.size(); ++i) {
    EXPECT_EQ(reports_[i].second, total);
    EXPECT_GE(reports_[i].first - last, kMinGap) << i;
    EXPECT_LE(reports_[i].first - last, kMiB) << i;
    last = reports_[i].first;
  }
  EXPECT_EQ(reports_.back().first, total);
}

// Asked to stop while writers put tiny files in place (some replacing installed ones), the
// extraction reports nothing more and leaves the earlier installation as it was: from one solid
// block, and from twelve folders decoded four at a time.
TEST_F(PipelineTest, CancelWhileWritersAreBusyUndoesEverything) {
  WriteTinyFiles("src", 40, 150);
  Make7z("a.7z", "src", "-mx1");
  Make7z("blocks.7z", "src", "-mx1 -ms=500f");
  InstallEarlier("out");
  const auto before = Snapshot(Path("out"));

  for (const auto& [archive, decoders] : {std::pair<const char*, unsigned>{"a.7z", Decoders()}, {"blocks.7z", 4}}) {
    SCOPED_TRACE(archive);
    reports_.clear();
    std::atomic<bool> stop{false};
    size_t reportsAtStop = 0;
    zk7z::SevenZipExtractor extractor;
    extractor.SetWriters(Writers());
    extractor.SetDecoders(decoders);
    extractor.SetStopFlag(&stop);
    extractor.SetProgress([&](uint64_t done, uint64_t) {
      reports_.emplace_back(done, 0);
      if (done > 0 && !stop) {
        stop = true;
        reportsAtStop = reports_.size();
      }
    });
    EXPECT_FALSE(extractor.Extract(Path(archive).string(), Path("out").string()));
    EXPECT_EQ(extractor.error(), "the extraction was cancelled");
    ASSERT_GT(reportsAtStop, 0u);
    EXPECT_EQ(reports_.size(), reportsAtStop) << "reported after the stop";
    EXPECT_TRUE(Snapshot(Path("out")) == before);
  }
}

// Several folders (solid blocks of 25 files), the third damaged: the files of the folders before
// it, already in place, are taken back too. LZMA2 stores random bytes as they are, so the damage
// can be placed.
TEST_F(PipelineTest, DamagedFolderAmongSeveralUndoesAllFolders) {
  WriteTinyFiles("src", 10, 10);
  const std::string marker = "damage here " + RandomBytes(64, 9);
  WriteFile("src/d2/f5.txt", RandomBytes(50000, 10) + marker + RandomBytes(50000, 11));
  Make7z("a.7z", "src", "-mx1 -m0=LZMA2 -ms=25f");
  ASSERT_EQ(Run("7zz l -slt " + Quote(Path("a.7z")) + " | grep -qx 'Blocks = 4'"), 0) << "not four folders";
  std::string damaged = ReadFile(Path("a.7z"));
  const size_t at = damaged.find(marker);
  ASSERT_NE(at, std::string::npos);
  damaged[at] ^= 0x5a;
  WriteFile("damaged.7z", damaged);
  InstallEarlier("out");
  const auto before = Snapshot(Path("out"));

  std::string error;
  EXPECT_FALSE(Extract("damaged.7z", "out", &error));
  EXPECT_NE(error.find("CRC mismatch in \"d2/f5.txt\""), std::string::npos) << error;
  EXPECT_TRUE(Snapshot(Path("out")) == before);
  ExpectNoTemporaries("out");

  Extract7zz("a.7z", "ref");
  ASSERT_TRUE(Extract("a.7z", "fresh", &error)) << error;
  ExpectSameTree("ref", "fresh");
}

// Thirteen folders decoded four at a time into one writer (raised to four): every file lands, the
// installed list keeps archive order, and progress stays within its gaps. Then a name in two
// folders, behind a large file in the first and first in the third: the later one wins, as with
// 7zz, which needs the folders decoded in order.
TEST_F(PipelineTest, FoldersDecodedSideBySideKeepArchiveOrder) {
  uint64_t total = WriteTinyFiles("src", 12, 20);
  // Large files in the first two folders keep two writers waiting for more at once.
  for (const char* dir : {"d0", "d1"}) {
    const std::string big = RandomBytes(2 * kMiB, dir[1]) + Text(4 * kMiB, 4);
    WriteFile(std::string("src/") + dir + "/big.bin", big);
    total += big.size();
  }
  Make7z("a.7z", "src", "-mx1 -m0=LZMA2 -ms=20f");
  ASSERT_EQ(Run("7zz l -slt " + Quote(Path("a.7z")) + " | grep -qx 'Blocks = 13'"), 0) << "not 13 folders";
  Extract7zz("a.7z", "ref");

  auto extract = [this](const std::string& archive, const std::string& out, std::vector<std::string>* installed) {
    zk7z::SevenZipExtractor extractor;
    extractor.SetWriters(1);
    extractor.SetDecoders(4);
    extractor.SetProgress([this](uint64_t done, uint64_t all) { reports_.emplace_back(done, all); });
    const bool ok = extractor.Extract(Path(archive).string(), Path(out).string());
    EXPECT_TRUE(ok) << extractor.error();
    if (installed) *installed = extractor.installed();
  };
  std::vector<std::string> installed;
  extract("a.7z", "out", &installed);
  ExpectSameTree("ref", "out");
  ExpectNoTemporaries("out");
  std::vector<std::string> files;
  for (const std::string& name : installed) {
    if (name.back() != '\\') files.push_back(name);
  }
  ASSERT_EQ(files.size(), 242u);
  ASSERT_EQ(Run("7zz l -slt " + Quote(Path("a.7z")) + " | sed -n 's/^Path = //p' | tr / '\\\\' | tee " +
                Quote(Path("order.txt"))),
            0);
  std::istringstream listed(ReadFile(Path("order.txt")));
  std::vector<std::string> archiveOrder;
  for (std::string line; std::getline(listed, line);) {
    if (std::find(files.begin(), files.end(), line) != files.end()) archiveOrder.push_back(line);
  }
  EXPECT_EQ(files, archiveOrder);
  ASSERT_FALSE(reports_.empty());
  for (size_t i = 1; i < reports_.size(); ++i) {
    EXPECT_GE(reports_[i].first - reports_[i - 1].first, kMinGap) << i;
    EXPECT_LE(reports_[i].first - reports_[i - 1].first, kMiB) << i;
  }
  EXPECT_EQ(reports_.back().first, total);

  // The last file of the first folder (behind the large one) and the first of the third.
  const auto slashed = [](std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
  };
  const std::string earlier = slashed(archiveOrder[19]);
  const std::string later = slashed(archiveOrder[40]);
  ASSERT_EQ(Run("cp " + Quote(Path("a.7z")) + " " + Quote(Path("dup.7z"))), 0);
  ASSERT_EQ(Run("7zz rn -bd " + Quote(Path("dup.7z")) + " " + later + " " + earlier), 0);
  Extract7zz("dup.7z", "ref-dup");
  extract("dup.7z", "out-dup", nullptr);
  ExpectSameTree("ref-dup", "out-dup");
  EXPECT_EQ(ReadFile(Path("out-dup/" + earlier)), ReadFile(Path("src/" + later)));
}

}  // namespace
