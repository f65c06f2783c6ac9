// libFuzzer target for the 7z reader: each input is written to an archive file (with its header
// CRCs usually repaired) and extracted in full into a scratch folder of this process, which is
// emptied again afterwards.

#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "SevenZipExtractor.h"

namespace fs = std::filesystem;

namespace {

// Small enough that forged dictionary sizes are refused at once.
constexpr uint64_t kMaxDictionary = uint64_t(16) << 20;

struct Scratch {
  fs::path root;
  fs::path archive;
  fs::path out;

  Scratch() {
    const char* base = std::getenv("ZK7Z_FUZZ_SCRATCH");
    fs::path parent = base && *base ? fs::path(base) : fs::temp_directory_path();
    root = parent / ("zk7z-fuzz-" + std::to_string(getpid()));
    fs::create_directories(root);
    archive = root / "input.7z";
    out = root / "out";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

bool WriteWhole(const fs::path& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

uint64_t Le(const uint8_t* p, int n) {
  uint64_t v = 0;
  for (int i = n; i-- > 0;) v = v << 8 | p[i];
  return v;
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Random changes rarely keep the header CRCs right, which would stop most inputs at the first
// check. Unless the low bit of the minor version (a byte readers ignore) is set, both CRCs of
// the signature header are made to match, so that mutations reach the header parser and decoders.
void FixHeaderCrcs(std::vector<uint8_t>* bytes) {
  constexpr size_t kSignatureHeaderSize = 32;
  std::vector<uint8_t>& b = *bytes;
  if (b.size() < kSignatureHeaderSize || (b[7] & 1)) return;
  const uint64_t offset = Le(&b[12], 8);
  const uint64_t size = Le(&b[20], 8);
  const uint64_t room = b.size() - kSignatureHeaderSize;
  if (offset <= room && size <= room - offset) {
    const uint8_t* header = b.data() + kSignatureHeaderSize + offset;
    PutLe32(&b[28], static_cast<uint32_t>(crc32(0, header, static_cast<uInt>(size))));
  }
  PutLe32(&b[8], static_cast<uint32_t>(crc32(0, &b[12], 20)));
}

// Extracted files may carry any mode bits; make everything removable first.
void Empty(const fs::path& dir) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(dir, ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scratch& s = TheScratch();
  std::vector<uint8_t> bytes(data, data + size);
  FixHeaderCrcs(&bytes);
  if (!WriteWhole(s.archive, bytes.data(), bytes.size())) std::abort();
  zk7z::SevenZipExtractor extractor;
  zk7z::DecodeLimits limits;
  limits.maxDictionary = kMaxDictionary;
  extractor.SetLimits(limits);
  uint64_t lastDone = 0;
  extractor.SetProgress([&lastDone](uint64_t done, uint64_t total) {
    // The reader promises monotonic progress that never passes the total.
    if (done < lastDone || done > total) std::abort();
    lastDone = done;
  });
  const bool ok = extractor.Extract(s.archive.string(), s.out.string());
  // A failure always says why.
  if (!ok && extractor.error().empty()) std::abort();
  Empty(s.out);
  return 0;
}
