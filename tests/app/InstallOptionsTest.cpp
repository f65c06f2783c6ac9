#include "InstallOptions.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "Paths.h"
#include "ScratchFolder.h"

// This executable holds only these tests, so the first test sees the very first call.
TEST(InstallOptions, FirstUseCreatesTheDefaultInstallationFolder) {
  const std::wstring folder = GetDefaultInstallFolder();
  RemoveTree(folder);
  ASSERT_FALSE(Exists(folder));

  std::vector<InstallOptions*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&, i] { seen[i] = &GetInstallOptions(); });
  for (auto& thread : threads) thread.join();

  for (InstallOptions* options : seen) EXPECT_EQ(options, seen.front());
  EXPECT_TRUE(IsDirectory(folder));
  EXPECT_EQ(GetInstallOptions().installDir, folder);
}

TEST(InstallOptions, StartsWithBothShortcutsAndUnequalCounters) {
  InstallOptions& options = GetInstallOptions();
  EXPECT_TRUE(options.desktopShortcut);
  EXPECT_TRUE(options.taskbarPin);
  EXPECT_EQ(options.bytesDone.load(), 0u);
  EXPECT_EQ(options.bytesTotal.load(), UINT64_C(0x7FFFFFFFFFFFFFFF));
}

TEST(InstallOptions, BinDirFollowsTheInstallationFolder) {
  InstallOptions& options = GetInstallOptions();
  const std::wstring saved = options.installDir;
  EXPECT_EQ(GetBinDir(), saved + L"\\zkbin");
  options.installDir = L"D:\\Tools\\Tessaro";
  EXPECT_EQ(GetBinDir(), L"D:\\Tools\\Tessaro\\zkbin");
  // The folder dialog returns a drive root with its backslash.
  options.installDir = L"D:\\";
  EXPECT_EQ(GetBinDir(), L"D:\\zkbin");
  options.installDir = saved;
}

TEST(InstallOptions, CountersAreNeverTornOnThirtyTwoBitTargets) {
  static_assert(std::atomic<uint64_t>::is_always_lock_free, "single 64-bit atomic operations");
  InstallOptions& options = GetInstallOptions();
  // Every value written has equal 32-bit halves; a read done as two halves would see a mix.
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (uint32_t k = 1; !stop.load(); ++k) options.bytesDone.store(uint64_t{k} * UINT64_C(0x100000001));
  });
  bool torn = false;
  for (int i = 0; i < 2000000 && !torn; ++i) {
    const uint64_t value = options.bytesDone.load();
    torn = static_cast<uint32_t>(value) != static_cast<uint32_t>(value >> 32);
  }
  stop = true;
  writer.join();
  options.bytesDone = 0;
  EXPECT_FALSE(torn);
}
