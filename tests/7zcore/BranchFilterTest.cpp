// The branch filters of ARM, ARM Thumb, ARM64, PowerPC, SPARC, IA-64 and RISC-V: what 7zz packs
// with them extracts to what 7zz extracts, however the input reaches the filter.

#include <algorithm>

#include "ArchiveFixture.h"
#include "Coders.h"
#include "SevenZipArchive.h"

namespace {

struct FilterCase {
  const char* name;
  size_t window;  // bytes one conversion may look at
};

constexpr FilterCase kFilters[] = {{"ARM", 4},   {"ARMT", 4}, {"ARM64", 4}, {"PPC", 4},
                                   {"SPARC", 4}, {"IA64", 16}, {"RISCV", 8}};

// Hands out a buffer in chunks: `first` bytes, then `chunk` bytes at a time.
class ChunkedSource final : public zk7z::ByteStream {
 public:
  ChunkedSource(const std::string& data, size_t first, size_t chunk) : data_(data), next_(first), chunk_(chunk) {}
  bool Read(uint8_t* out, size_t size, size_t* got) override {
    size_t n = std::min({size, next_ == 0 ? chunk_ : next_, data_.size() - pos_});
    std::copy(data_.begin() + pos_, data_.begin() + pos_ + n, out);
    pos_ += n;
    next_ = chunk_;
    *got = n;
    return true;
  }

 private:
  const std::string& data_;
  size_t pos_ = 0;
  size_t next_;
  size_t chunk_;
};

class BranchFilterTest : public ArchiveFixture {
 protected:
  // Names of the coders of every folder, as zk7z l shows them.
  std::string Methods(const std::string& archive) {
    zk7z::SevenZipArchive a;
    if (!a.Open(Path(archive).string(), zk7z::DecodeLimits())) return a.error();
    std::string all;
    for (auto& f : a.db().streams.folders) {
      for (auto& c : f.coders) all += zk7z::MethodName(c.methodId) + " ";
    }
    return all;
  }
};

TEST_F(BranchFilterTest, EveryFilterBeforeLzma2OrCopyMatches7zzAndIsNamed) {
  for (const FilterCase& f : kFilters) {
    SCOPED_TRACE(f.name);
    const std::string name = f.name;
    fs::remove_all(Path("src"));
    WriteBranchCode("src/code.bin", name, 300000, 1);
    WriteBranchCode("src/odd.bin", name, 1001, 2);
    WriteBranchCode("src/tiny.bin", name, 1, 3);
    WriteFile("src/notes.txt", Text(20000, 4));
    Make7z("named.7z", "src", "-m0=" + name + " -m1=LZMA2");
    EXPECT_EQ(Methods("named.7z"), "LZMA2 " + name + " ");  // outermost coder first
    ExpectSameAs7zz("src", "-mf=" + name);
    ExpectSameAs7zz("src", "-m0=" + name + " -m1=Copy");
    ExpectSameAs7zz("src", "-m0=" + name + " -m1=LZMA2:d=1m -ms=off");
  }
  // 7zz writes a start offset for these two.
  fs::remove_all(Path("src"));
  WriteBranchCode("src/arm64.bin", "ARM64", 100000, 5);
  WriteBranchCode("src/riscv.bin", "RISCV", 100000, 6);
  ExpectSameAs7zz("src", "-m0=ARM64:4096 -m1=LZMA2");
  ExpectSameAs7zz("src", "-m0=RISCV:4098 -m1=Copy");
  ExpectSameAs7zz("src", "-m0=ARM64:4294963200 -m1=Copy");
}

TEST_F(BranchFilterTest, ReadsSplitAtEveryOffsetOfAnInstructionDecodeAlike) {
  for (const FilterCase& f : kFilters) {
    SCOPED_TRACE(f.name);
    fs::remove_all(Path("src"));
    WriteBranchCode("src/code.bin", f.name, 20000, 7);
    fs::remove(Path("f.7z"));
    Make7z("f.7z", "src", std::string("-m0=") + f.name);
    const std::string original = ReadFile(Path("src/code.bin"));
    zk7z::SevenZipArchive archive;
    ASSERT_TRUE(archive.Open(Path("f.7z").string(), zk7z::DecodeLimits())) << archive.error();
    const zk7z::Folder& folder = archive.db().streams.folders.at(0);
    ASSERT_EQ(folder.coders.size(), 1u);
    const std::string packed = ReadFile(Path("f.7z")).substr(archive.db().packOffsets.at(0), original.size());
    ASSERT_NE(packed, original);  // the filter did rewrite calls
    for (size_t first = 0; first <= 2 * f.window; ++first) {
      for (size_t chunk : {size_t(1), f.window - 1, f.window + 1, size_t(4099)}) {
        ChunkedSource source(packed, first, chunk);
        zk7z::DecodeStatus status;
        auto coder = zk7z::CreateCoder(folder.coders[0], {&source}, original.size(), zk7z::DecodeLimits(), &status);
        ASSERT_NE(coder, nullptr) << status.error;
        std::string out(original.size() + 1, '\0');
        size_t got = 0;
        ASSERT_TRUE(zk7z::ReadFull(*coder, reinterpret_cast<uint8_t*>(&out[0]), out.size(), &got));
        out.resize(got);
        ASSERT_TRUE(out == original) << "first " << first << ", chunk " << chunk;
      }
    }
  }
}

}  // namespace
