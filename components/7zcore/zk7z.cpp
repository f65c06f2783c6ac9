// zk7z: command-line front end of the reader. "zk7z x ARCHIVE DIR" extracts, "zk7z l ARCHIVE"
// lists. Exit code 0 on success, 1 on failure, 2 on bad usage.

#include <cinttypes>
#include <cstdio>
#include <string>

#include "SafeName.h"
#include "SevenZipArchive.h"
#include "SevenZipExtractor.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

#ifdef _WIN32
using Arg = const wchar_t*;
zk7z::NativePath ToPath(Arg a) { return a; }
bool Is(Arg a, const char* s) { return std::wstring(a) == std::wstring(s, s + std::char_traits<char>::length(s)); }
#else
using Arg = const char*;
zk7z::NativePath ToPath(Arg a) { return a; }
bool Is(Arg a, const char* s) { return std::string(a) == s; }
#endif

int Usage() {
  std::fprintf(stderr, "usage: zk7z x ARCHIVE DIR   extract ARCHIVE into DIR\n       zk7z l ARCHIVE       list ARCHIVE\n");
  return kExitUsage;
}

int List(const zk7z::NativePath& path) {
  zk7z::SevenZipArchive archive;
  if (!archive.Open(path, zk7z::DecodeLimits())) {
    std::fprintf(stderr, "zk7z: error: %s\n", archive.error().c_str());
    return kExitFailure;
  }
  const zk7z::ArchiveDatabase& db = archive.db();
  uint64_t total = 0;
  for (const zk7z::FileEntry& file : db.files) {
    const char kind = file.isDir ? 'D' : (file.isAnti ? 'A' : '.');
    const char ro = file.attribDefined && (file.attrib & zk7z::kAttribReadOnly) ? 'R' : '.';
    const char hidden = file.attribDefined && (file.attrib & zk7z::kAttribHidden) ? 'H' : '.';
    std::printf("%c%c%c %12" PRIu64 "  %s\n", kind, ro, hidden, file.size, zk7z::Utf16ToUtf8Lossy(file.name).c_str());
    total += file.size;
  }
  std::printf("%zu items, %" PRIu64 " bytes in %zu folders\n", db.files.size(), total, db.streams.folders.size());
  for (size_t i = 0; i < db.streams.folders.size(); ++i) {
    std::string methods;
    for (const zk7z::CoderInfo& coder : db.streams.folders[i].coders) {
      if (!methods.empty()) methods += ' ';
      methods += zk7z::MethodName(coder.methodId);
    }
    std::printf("folder %zu: %s\n", i, methods.c_str());
  }
  return 0;
}

int Extract(const zk7z::NativePath& archive, const zk7z::NativePath& target) {
  zk7z::SevenZipExtractor extractor;
  int lastPercent = -1;
  extractor.SetProgress([&lastPercent](uint64_t done, uint64_t total) {
    const int percent = total ? static_cast<int>(done * 100 / total) : 100;
    if (percent != lastPercent) {
      std::fprintf(stderr, "\r%3d%%", percent);
      lastPercent = percent;
    }
  });
  const bool ok = extractor.Extract(archive, target);
  if (lastPercent >= 0) std::fprintf(stderr, "\n");
  if (!ok) {
    std::fprintf(stderr, "zk7z: error: %s\n", extractor.error().c_str());
    return kExitFailure;
  }
  return 0;
}

int Main(int argc, Arg* argv) {
  if (argc == 4 && Is(argv[1], "x")) return Extract(ToPath(argv[2]), ToPath(argv[3]));
  if (argc == 3 && Is(argv[1], "l")) return List(ToPath(argv[2]));
  return Usage();
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return Main(argc, const_cast<Arg*>(argv)); }
#else
int main(int argc, char** argv) { return Main(argc, const_cast<Arg*>(argv)); }
#endif
