// The decoder and the writer threads side by side, on payloads that keep several writers busy at
// once. The whole suite also runs with 1, 2 and 4 writers (ZK7Z_TEST_WRITERS, set by CTest).

#include <atomic>

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
// extraction reports nothing more and leaves the earlier installation as it was.
TEST_F(PipelineTest, CancelWhileWritersAreBusyUndoesEverything) {
  WriteTinyFiles("src", 40, 150);
  Make7z("a.7z", "src", "-mx1");
  InstallEarlier("out");
  const auto before = Snapshot(Path("out"));

  std::atomic<bool> stop{false};
  size_t reportsAtStop = 0;
  zk7z::SevenZipExtractor extractor;
  extractor.SetWriters(Writers());
  extractor.SetStopFlag(&stop);
  extractor.SetProgress([&](uint64_t done, uint64_t) {
    reports_.emplace_back(done, 0);
    if (done > 0 && !stop) {
      stop = true;
      reportsAtStop = reports_.size();
    }
  });
  EXPECT_FALSE(extractor.Extract(Path("a.7z").string(), Path("out").string()));
  EXPECT_EQ(extractor.error(), "the extraction was cancelled");
  ASSERT_GT(reportsAtStop, 0u);
  EXPECT_EQ(reports_.size(), reportsAtStop) << "reported after the stop";
  EXPECT_TRUE(Snapshot(Path("out")) == before);
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

}  // namespace
