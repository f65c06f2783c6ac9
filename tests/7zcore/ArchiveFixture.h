#pragma once
// Test ground for the reader: a scratch folder per test, source trees written to disk, archives
// made with the host's 7zz, and byte-for-byte comparison of extracted trees.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "SevenZipExtractor.h"

namespace fs = std::filesystem;

class ArchiveFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zk7z-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    // Read-only files and folders inside must not stop the clean-up.
    for (auto& e : fs::recursive_directory_iterator(root_, ec)) {
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
  }

  fs::path Path(const std::string& relative) const { return root_ / fs::u8path(relative); }

  void WriteFile(const std::string& relative, const std::string& bytes) {
    const fs::path p = Path(relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  static std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(gen());
    return s;
  }

  static std::string Text(size_t n, unsigned seed) {
    static const char* kWords[] = {"alpha ", "beta ", "gamma ", "delta\n", "installer ", "payload ", "7z ", "\t"};
    std::mt19937 gen(seed);
    std::string s;
    while (s.size() < n) s += kWords[gen() % 8];
    s.resize(n);
    return s;
  }

  // An executable of real machine code, so that branch filters have work to do.
  static std::string ProgramBytes() {
    constexpr size_t kKeep = 384 << 10;
    const std::string all = ReadFile("/proc/self/exe");
    return all.substr(0, kKeep);
  }

  static int Run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

  // Packs the contents of folder src into archive with 7zz and the given switches.
  void Make7z(const std::string& archive, const std::string& src, const std::string& switches) {
    const std::string cmd = "cd " + Quote(Path(src)) + " && 7zz a -bd -y " + switches + " " + Quote(Path(archive)) + " .";
    ASSERT_EQ(Run(cmd), 0) << cmd;
  }

  void Extract7zz(const std::string& archive, const std::string& out) {
    ASSERT_EQ(Run("7zz x -bd -y -o" + Quote(Path(out)) + " " + Quote(Path(archive))), 0);
  }

  // Writes call-heavy code for a 7-Zip branch filter (make-branch-code.py): SIZE bytes and one
  // final call.
  void WriteBranchCode(const std::string& relative, const std::string& filter, size_t size, unsigned seed) {
    fs::create_directories(Path(relative).parent_path());
    const std::string cmd = std::string("python3 '") + ZK7Z_TEST_SCRIPTS + "/make-branch-code.py' " + filter + " " +
                            std::to_string(size) + " " + std::to_string(seed) + " " + Quote(Path(relative));
    ASSERT_EQ(Run(cmd), 0) << cmd;
  }

  // The writer and decoder threads every extraction of a run uses: CTest runs the suite with
  // 1, 2 and 4 of each.
  static unsigned Writers() { return FromEnvironment("ZK7Z_TEST_WRITERS"); }
  static unsigned Decoders() { return FromEnvironment("ZK7Z_TEST_DECODERS"); }
  static unsigned FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? static_cast<unsigned>(std::atoi(value)) : 0;
  }

  // Extracts with our reader; its progress reports collect in reports_.
  bool Extract(const std::string& archive, const std::string& out, std::string* error = nullptr) {
    zk7z::SevenZipExtractor extractor;
    extractor.SetWriters(Writers());
    extractor.SetDecoders(Decoders());
    extractor.SetProgress([this](uint64_t done, uint64_t total) { reports_.emplace_back(done, total); });
    const bool ok = extractor.Extract(Path(archive).string(), Path(out).string());
    if (error) *error = extractor.error();
    return ok;
  }

  // Packs src with the switches, extracts with 7zz and with our reader, and compares the trees.
  void ExpectSameAs7zz(const std::string& src, const std::string& switches) {
    SCOPED_TRACE(switches);
    Make7z("a.7z", src, switches);
    Extract7zz("a.7z", "ref");
    std::string error;
    ASSERT_TRUE(Extract("a.7z", "out", &error)) << error;
    ExpectSameTree("ref", "out");
    fs::remove_all(Path("ref"));
    fs::remove_all(Path("out"));
    fs::remove(Path("a.7z"));
    reports_.clear();
  }

  // Relative path -> contents (folders map to "<dir>").
  static std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> tree;
    if (!fs::exists(dir)) return tree;
    for (auto& e : fs::recursive_directory_iterator(dir)) {
      const std::string rel = fs::relative(e.path(), dir).u8string();
      tree[rel] = e.is_directory() ? std::string("<dir>") : ReadFile(e.path());
    }
    return tree;
  }

  void ExpectSameTree(const std::string& a, const std::string& b) {
    const auto left = Snapshot(Path(a));
    const auto right = Snapshot(Path(b));
    ASSERT_EQ(left.size(), right.size());
    for (auto& [name, bytes] : left) {
      auto it = right.find(name);
      ASSERT_NE(it, right.end()) << name;
      EXPECT_TRUE(bytes == it->second) << "contents differ: " << name;
    }
  }

  fs::path root_;
  std::vector<std::pair<uint64_t, uint64_t>> reports_;
};
