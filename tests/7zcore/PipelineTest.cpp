// The decoder and the writer threads side by side, on payloads that keep several writers busy at
// once. The whole suite also runs with 1, 2 and 4 writers (ZK7Z_TEST_WRITERS, set by CTest).

#include "ArchiveFixture.h"

namespace {

constexpr uint64_t kMiB = 1 << 20;
constexpr uint64_t kMinGap = 64 << 10;

class PipelineTest : public ArchiveFixture {};

// Sized for CI: 3,000 tiny files and one 24 MiB file in one solid block are enough to have every
// writer create, close and rename files while another one writes the large file.
TEST_F(PipelineTest, ManyTinyFilesAndOneLargeInOneSolidBlockMatch7zz) {
  constexpr int kFolders = 30;
  constexpr int kFilesPerFolder = 100;
  uint64_t total = 0;
  for (int d = 0; d < kFolders; ++d) {
    for (int i = 0; i < kFilesPerFolder; ++i) {
      const std::string bytes = Text(1 + (d * 131 + i * 17) % 700, d * 1000 + i);
      WriteFile("src/d" + std::to_string(d) + "/f" + std::to_string(i) + ".txt", bytes);
      total += bytes.size();
    }
  }
  const std::string large = RandomBytes(8 * kMiB, 1) + Text(16 * kMiB, 2);
  WriteFile("src/d15/large.bin", large);
  total += large.size();
  Make7z("a.7z", "src", "-mx1 -ms=1000000f16g");
  ASSERT_EQ(Run("7zz l -slt " + Quote(Path("a.7z")) + " | grep -qx 'Blocks = 1'"), 0) << "not one solid block";
  Extract7zz("a.7z", "ref");

  std::string error;
  ASSERT_TRUE(Extract("a.7z", "out", &error)) << error;
  ExpectSameTree("ref", "out");
  for (auto& e : fs::recursive_directory_iterator(Path("out"))) {
    EXPECT_EQ(e.path().string().find(".zk7z~"), std::string::npos) << e.path();
  }
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

}  // namespace
