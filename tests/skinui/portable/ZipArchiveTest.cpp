#include "ZipArchive.h"

#include "SkinZips.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace SkinUI;

namespace {

constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;

struct Closer {
  void operator()(ZipArchive* archive) const { CloseZip(archive); }
};
using Archive = std::unique_ptr<ZipArchive, Closer>;

// An archive over its own heap copy of the bytes, so reads past the end are caught.
struct HeldArchive {
  std::unique_ptr<uint8_t[]> bytes;
  Archive archive;
};

HeldArchive OpenCopy(const std::vector<uint8_t>& data, size_t length, const char* password = nullptr) {
  HeldArchive held;
  held.bytes.reset(new uint8_t[length == 0 ? 1 : length]);
  if (length != 0) std::memcpy(held.bytes.get(), data.data(), length);
  held.archive.reset(OpenZipMemory(held.bytes.get(), length, password));
  return held;
}

HeldArchive OpenTestZip(const std::string& name, const char* password = nullptr) {
  const std::vector<uint8_t> data = ReadSkinZip(name);
  EXPECT_FALSE(data.empty()) << name;
  return OpenCopy(data, data.size(), password);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<uint8_t> UnzipWhole(ZipArchive* archive, int index, ZipResult* result) {
  ZipEntry entry;
  *result = GetZipEntry(archive, index, &entry);
  if (*result != kZipOk) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(entry.uncompressedSize));
  *result = UnzipItemToMemory(archive, index, bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes;
}

int Find(ZipArchive* archive, const std::string& name, bool ignoreCase = true) {
  int index = -2;
  ZipEntry entry;
  FindZipEntry(archive, Wide(name).c_str(), ignoreCase, &index, &entry);
  return index;
}

int EntryCount(ZipArchive* archive) {
  ZipEntry entry;
  EXPECT_EQ(GetZipEntry(archive, -1, &entry), kZipOk);
  return entry.index;
}

std::wstring Describe(ZipResult code) {
  wchar_t text[128];
  DescribeZipResult(code, text, 128);
  return text;
}

// The local broken-down time of a file time, for checking DOS times.
std::tm LocalTimeOf(uint64_t fileTime) {
  std::tm t{};
#ifdef _WIN32
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)}, local;
  SYSTEMTIME s;
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &s);
  t.tm_year = s.wYear - 1900;
  t.tm_mon = s.wMonth - 1;
  t.tm_mday = s.wDay;
  t.tm_hour = s.wHour;
  t.tm_min = s.wMinute;
  t.tm_sec = s.wSecond;
#else
  const std::time_t seconds =
      static_cast<std::time_t>((fileTime - kUnixEpochAsFileTime) / kTicksPerSecond);
  localtime_r(&seconds, &t);
#endif
  return t;
}

uint64_t UnixToFileTime(uint32_t seconds) {
  return kUnixEpochAsFileTime + uint64_t{seconds} * kTicksPerSecond;
}

// One stored member "a.txt" with the given data; the offsets of its three records.
struct MiniZip {
  std::vector<uint8_t> bytes;
  size_t central = 0;
  size_t end = 0;
};

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

MiniZip BuildMiniZip(const std::string& data) {
  const std::string name = "a.txt";
  const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
  MiniZip z;
  std::vector<uint8_t>& b = z.bytes;
  b.assign(30, 0);
  Put32(b, 0, 0x04034b50);
  Put16(b, 4, 20);
  Put32(b, 14, crc);
  Put32(b, 18, static_cast<uint32_t>(data.size()));
  Put32(b, 22, static_cast<uint32_t>(data.size()));
  Put16(b, 26, static_cast<uint16_t>(name.size()));
  b.insert(b.end(), name.begin(), name.end());
  b.insert(b.end(), data.begin(), data.end());
  z.central = b.size();
  b.resize(b.size() + 46, 0);
  Put32(b, z.central, 0x02014b50);
  Put16(b, z.central + 4, 20);
  Put16(b, z.central + 6, 20);
  Put32(b, z.central + 16, crc);
  Put32(b, z.central + 20, static_cast<uint32_t>(data.size()));
  Put32(b, z.central + 24, static_cast<uint32_t>(data.size()));
  Put16(b, z.central + 28, static_cast<uint16_t>(name.size()));
  b.insert(b.end(), name.begin(), name.end());
  z.end = b.size();
  b.resize(b.size() + 22, 0);
  Put32(b, z.end, 0x06054b50);
  Put16(b, z.end + 8, 1);
  Put16(b, z.end + 10, 1);
  Put32(b, z.end + 12, static_cast<uint32_t>(z.end - z.central));
  Put32(b, z.end + 16, static_cast<uint32_t>(z.central));
  return z;
}

// Opens and reads everything an archive offers; success must come with the right bytes.
void ReadEverything(ZipArchive* archive, const std::vector<uint8_t>& expected) {
  ZipEntry entry;
  if (GetZipEntry(archive, -1, &entry) != kZipOk) return;
  const int count = entry.index;
  for (int i = 0; i < count; ++i) {
    if (GetZipEntry(archive, i, &entry) != kZipOk) continue;
    if (entry.uncompressedSize < 0 || entry.uncompressedSize > (1 << 22)) continue;
    std::vector<uint8_t> bytes(static_cast<size_t>(entry.uncompressedSize) + 1);
    const ZipResult r =
        UnzipItemToMemory(archive, i, bytes.data(), static_cast<uint32_t>(entry.uncompressedSize));
    bytes.pop_back();
    if (r == kZipOk && !expected.empty() && std::wstring(entry.name) == L"big.bin") {
      EXPECT_EQ(bytes, expected);
    }
  }
  int index;
  FindZipEntry(archive, L"big.bin", true, &index, &entry);
}

}  // namespace

TEST(ZipArchive, ArchivesOfEveryMakerUnpackToTheirSources) {
  const char* archives[] = {"stored.zip", "deflated.zip", "infozip.zip", "7z-deflate.zip",
                            "7z-stored.zip", "upper.zip"};
  const char* members[] = {"ZKMainFrame.xml", "image15/a.png", "big.bin",
                           "Install_and_uninstall/bg.png"};
  for (const char* name : archives) {
    HeldArchive held = OpenTestZip(name);
    ASSERT_TRUE(held.archive) << name;
    int found = 0;
    for (const char* member : members) {
      const int index = Find(held.archive.get(), member);
      if (index < 0) continue;
      ++found;
      ZipResult r;
      EXPECT_EQ(UnzipWhole(held.archive.get(), index, &r), ReadMemberSource(member)) << name << " " << member;
      EXPECT_EQ(r, kZipOk) << name << " " << member;
    }
    EXPECT_GE(found, 2) << name;
  }
}

TEST(ZipArchive, CountQueryAndIndexRange) {
  HeldArchive held = OpenTestZip("stored.zip");
  ASSERT_TRUE(held.archive);
  ZipEntry entry;
  std::memset(&entry, 0x5A, sizeof entry);
  ASSERT_EQ(GetZipEntry(held.archive.get(), -1, &entry), kZipOk);
  EXPECT_EQ(entry.index, 5);
  EXPECT_EQ(entry.name[0], L'\0');
  EXPECT_EQ(entry.uncompressedSize, 0);
  EXPECT_EQ(entry.modificationTime, 0u);
  EXPECT_EQ(GetZipEntry(held.archive.get(), -2, &entry), kZipBadArguments);
  EXPECT_EQ(GetZipEntry(held.archive.get(), 5, &entry), kZipBadArguments);
  std::vector<uint8_t> buffer(16);
  EXPECT_EQ(UnzipItemToMemory(held.archive.get(), 5, buffer.data(), 16), kZipBadArguments);
  EXPECT_EQ(GetZipEntry(nullptr, 0, &entry), kZipBadArguments);
}

TEST(ZipArchive, EntriesReadInAnyOrderMatchTheirNames) {
  HeldArchive held = OpenTestZip("deflated.zip");
  ASSERT_TRUE(held.archive);
  const wchar_t* names[] = {L"ZKMainFrame.xml", L"image15/a.png", L"big.bin",
                            L"Install_and_uninstall/bg.png", L"empty.txt"};
  const int order[] = {3, 1, 4, 0, 0, 2, 4, 1};
  for (int index : order) {
    ZipEntry entry;
    ASSERT_EQ(GetZipEntry(held.archive.get(), index, &entry), kZipOk);
    EXPECT_EQ(entry.index, index);
    EXPECT_STREQ(entry.name, names[index]);
  }
  ZipEntry big;
  ASSERT_EQ(GetZipEntry(held.archive.get(), 2, &big), kZipOk);
  EXPECT_EQ(big.uncompressedSize, 200000);
  EXPECT_LT(big.compressedSize, 200000);
}

TEST(ZipArchive, FindMatchesCaseOnlyWhenAsked) {
  HeldArchive held = OpenTestZip("upper.zip");
  ASSERT_TRUE(held.archive);
  int index = -2;
  ZipEntry entry;
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"image15/a.png", true, &index, &entry), kZipOk);
  EXPECT_EQ(index, 0);
  EXPECT_STREQ(entry.name, L"IMAGE15/A.PNG");
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"image15/a.png", false, &index, &entry), kZipNotFound);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(entry.index, -1);
  EXPECT_EQ(entry.name[0], L'\0');
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"IMAGE15/A.PNG", false, &index, &entry), kZipOk);
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"zkmainframe.xml", true, &index, &entry), kZipOk);
  EXPECT_EQ(index, 1);
  // A backslash is not a folder separator inside the archive.
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"image15\\a.png", true, &index, &entry), kZipNotFound);
}

TEST(ZipArchive, NamesOf256BytesOrMoreAreNeverFound) {
  HeldArchive held = OpenTestZip("stored.zip");
  ASSERT_TRUE(held.archive);
  int index;
  ZipEntry entry;
  EXPECT_EQ(FindZipEntry(held.archive.get(), std::wstring(256, L'a').c_str(), true, &index, &entry),
            kZipNotFound);
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"", true, &index, &entry), kZipNotFound);
  // The walk position survives a failed search.
  ASSERT_EQ(GetZipEntry(held.archive.get(), 2, &entry), kZipOk);
  EXPECT_STREQ(entry.name, L"big.bin");
}

TEST(ZipArchive, StoredNamesAreMadeSafe) {
  HeldArchive held = OpenTestZip("traversal.zip");
  ASSERT_TRUE(held.archive);
  const wchar_t* expected[] = {L"x.png", L"a/b.png", L"abs/c.png", L"d.png", L"e.png", L"f.png"};
  ASSERT_EQ(EntryCount(held.archive.get()), 6);
  for (int i = 0; i < 6; ++i) {
    ZipEntry entry;
    ASSERT_EQ(GetZipEntry(held.archive.get(), i, &entry), kZipOk);
    EXPECT_STREQ(entry.name, expected[i]);
  }
  // Lookups compare the names as stored.
  EXPECT_EQ(Find(held.archive.get(), "..\\..\\x.png"), 0);
  EXPECT_EQ(Find(held.archive.get(), "x.png"), -1);
}

TEST(ZipArchive, Utf8NamesBecomeUtf16) {
  HeldArchive held = OpenTestZip("utf8.zip");
  ASSERT_TRUE(held.archive);
  ZipEntry entry;
  ASSERT_EQ(GetZipEntry(held.archive.get(), 0, &entry), kZipOk);
  EXPECT_EQ(std::wstring(entry.name), std::wstring(L"bild\x00e4/\x56fe.png"));
  int index;
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"BILD\x00c4/\x56fe.PNG", true, &index, &entry), kZipNotFound)
      << "only a-z fold";
  EXPECT_EQ(FindZipEntry(held.archive.get(), L"BILD\x00e4/\x56fe.PNG", true, &index, &entry), kZipOk);
}

TEST(ZipArchive, UnzippingInPiecesContinuesWhereItStopped) {
  const std::vector<uint8_t> expected = ReadMemberSource("big.bin");
  for (const char* name : {"deflated.zip", "stored.zip", "password.zip"}) {
    HeldArchive held = OpenTestZip(name, "secret");
    ASSERT_TRUE(held.archive) << name;
    const int index = Find(held.archive.get(), "big.bin");
    ASSERT_GE(index, 0);
    std::vector<uint8_t> all;
    std::vector<uint8_t> piece(7001);
    ZipResult r;
    int calls = 0;
    do {
      std::fill(piece.begin(), piece.end(), 0);
      r = UnzipItemToMemory(held.archive.get(), index, piece.data(), static_cast<uint32_t>(piece.size()));
      ASSERT_TRUE(r == kZipOk || r == kZipMoreData) << name << " " << std::hex << r;
      const size_t got = r == kZipMoreData ? piece.size() : expected.size() - all.size();
      all.insert(all.end(), piece.begin(), piece.begin() + got);
      ASSERT_LT(++calls, 100);
    } while (r == kZipMoreData);
    EXPECT_EQ(calls, static_cast<int>((expected.size() + piece.size() - 1) / piece.size())) << name;
    EXPECT_EQ(all, expected) << name;
  }
}

TEST(ZipArchive, AnotherOperationRestartsAnUnfinishedMember) {
  HeldArchive held = OpenTestZip("deflated.zip");
  ASSERT_TRUE(held.archive);
  const std::vector<uint8_t> expected = ReadMemberSource("big.bin");
  std::vector<uint8_t> piece(1000);
  ASSERT_EQ(UnzipItemToMemory(held.archive.get(), 2, piece.data(), 1000), kZipMoreData);
  ASSERT_EQ(UnzipItemToMemory(held.archive.get(), 2, piece.data(), 1000), kZipMoreData);
  EXPECT_TRUE(std::equal(piece.begin(), piece.end(), expected.begin() + 1000));
  ZipEntry entry;
  ASSERT_EQ(GetZipEntry(held.archive.get(), 0, &entry), kZipOk);
  ASSERT_EQ(UnzipItemToMemory(held.archive.get(), 2, piece.data(), 1000), kZipMoreData);
  EXPECT_TRUE(std::equal(piece.begin(), piece.end(), expected.begin()));
  // A finished member starts over on the next call.
  ZipResult r;
  EXPECT_EQ(UnzipWhole(held.archive.get(), 2, &r), expected);
  EXPECT_EQ(r, kZipOk);
  EXPECT_EQ(UnzipWhole(held.archive.get(), 2, &r), expected);
  EXPECT_EQ(r, kZipOk);
}

TEST(ZipArchive, EmptyMembersUnzipToNothing) {
  for (const char* name : {"stored.zip", "deflated.zip"}) {
    HeldArchive held = OpenTestZip(name);
    ASSERT_TRUE(held.archive);
    const int index = Find(held.archive.get(), "empty.txt");
    ASSERT_GE(index, 0);
    uint8_t byte = 0x77;
    EXPECT_EQ(UnzipItemToMemory(held.archive.get(), index, &byte, 1), kZipOk) << name;
    EXPECT_EQ(byte, 0x77);
  }
}

TEST(ZipArchive, LongArchiveCommentsStillOpen) {
  for (const char* name : {"comment60000.zip", "comment65535.zip", "infozip.zip"}) {
    HeldArchive held = OpenTestZip(name);
    ASSERT_TRUE(held.archive) << name;
    ZipResult r;
    EXPECT_EQ(UnzipWhole(held.archive.get(), Find(held.archive.get(), "ZKMainFrame.xml"), &r),
              ReadMemberSource("ZKMainFrame.xml"));
    EXPECT_EQ(r, kZipOk);
  }
}

TEST(ZipArchive, PrefixedArchiveOpens) {
  for (const char* name : {"prefixed-raw.zip", "prefixed-adjusted.zip"}) {
    HeldArchive held = OpenTestZip(name);
    ASSERT_TRUE(held.archive) << name;
    EXPECT_EQ(EntryCount(held.archive.get()), 5);
    ZipResult r;
    EXPECT_EQ(UnzipWhole(held.archive.get(), Find(held.archive.get(), "big.bin"), &r),
              ReadMemberSource("big.bin"));
    EXPECT_EQ(r, kZipOk) << name;
  }
}

TEST(ZipArchive, EndRecordSignatureInsideTheCommentIsPassedOver) {
  HeldArchive held = OpenTestZip("fake-end.zip");
  ASSERT_TRUE(held.archive);
  ZipResult r;
  EXPECT_EQ(UnzipWhole(held.archive.get(), 0, &r), ReadMemberSource("ZKMainFrame.xml"));
  EXPECT_EQ(r, kZipOk);
}

TEST(ZipArchive, FatAndUnixAttributesMapToWindowsBits) {
  HeldArchive held = OpenTestZip("attributes.zip");
  ASSERT_TRUE(held.archive);
  const uint32_t expected[] = {
      kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem | kZipAttrArchive,
      kZipAttrDirectory,
      kZipAttrHidden | kZipAttrArchive,
      kZipAttrReadOnly | kZipAttrArchive,
      kZipAttrArchive,
      kZipAttrDirectory | kZipAttrArchive,
  };
  for (int i = 0; i < 6; ++i) {
    ZipEntry entry;
    ASSERT_EQ(GetZipEntry(held.archive.get(), i, &entry), kZipOk);
    EXPECT_EQ(entry.attributes, expected[i]) << i;
  }
  HeldArchive infozip = OpenTestZip("infozip.zip");
  ZipEntry entry;
  ASSERT_EQ(GetZipEntry(infozip.archive.get(), Find(infozip.archive.get(), "readonly.txt"), &entry), kZipOk);
  EXPECT_EQ(entry.attributes, kZipAttrReadOnly | kZipAttrArchive);
  ASSERT_EQ(GetZipEntry(infozip.archive.get(), Find(infozip.archive.get(), "image15/"), &entry), kZipOk);
  EXPECT_EQ(entry.attributes, kZipAttrDirectory | kZipAttrArchive);
}

TEST(ZipArchive, ExtendedTimestampsReplaceTheDosTime) {
  HeldArchive held = OpenTestZip("times.zip");
  ASSERT_TRUE(held.archive);
  ZipEntry full, shortened, dos;
  ASSERT_EQ(GetZipEntry(held.archive.get(), 0, &full), kZipOk);
  ASSERT_EQ(GetZipEntry(held.archive.get(), 1, &shortened), kZipOk);
  ASSERT_EQ(GetZipEntry(held.archive.get(), 2, &dos), kZipOk);
  EXPECT_EQ(full.modificationTime, UnixToFileTime(1500000000));
  EXPECT_EQ(full.accessTime, UnixToFileTime(1500000100));
  EXPECT_EQ(full.creationTime, UnixToFileTime(1500000200));
  // The block promises three times but holds one: the others keep the DOS time.
  EXPECT_EQ(shortened.modificationTime, UnixToFileTime(1400000000));
  EXPECT_EQ(shortened.accessTime, dos.modificationTime);
  EXPECT_EQ(shortened.creationTime, dos.modificationTime);
  EXPECT_EQ(dos.accessTime, dos.modificationTime);
  EXPECT_EQ(dos.creationTime, dos.modificationTime);
  const std::tm t = LocalTimeOf(dos.modificationTime);
  EXPECT_EQ(t.tm_year + 1900, 2021);
  EXPECT_EQ(t.tm_mon + 1, 3);
  EXPECT_EQ(t.tm_mday, 4);
  EXPECT_EQ(t.tm_hour, 5);
  EXPECT_EQ(t.tm_min, 6);
  EXPECT_EQ(t.tm_sec, 8);

  HeldArchive infozip = OpenTestZip("infozip.zip");
  ZipEntry entry;
  ASSERT_EQ(GetZipEntry(infozip.archive.get(), Find(infozip.archive.get(), "ZKMainFrame.xml"), &entry), kZipOk);
  EXPECT_EQ(entry.modificationTime, UnixToFileTime(1600000000));
}

TEST(ZipArchive, EncryptedMembersNeedTheRightPassword) {
  const std::vector<uint8_t> skin = ReadMemberSource("ZKMainFrame.xml");
  const std::vector<uint8_t> big = ReadMemberSource("big.bin");
  for (const char* name : {"password.zip", "7z-password.zip"}) {
    {
      HeldArchive held = OpenTestZip(name, "secret");
      ASSERT_TRUE(held.archive);
      ZipResult r;
      EXPECT_EQ(UnzipWhole(held.archive.get(), Find(held.archive.get(), "ZKMainFrame.xml"), &r), skin);
      EXPECT_EQ(r, kZipOk) << name;
      EXPECT_EQ(UnzipWhole(held.archive.get(), Find(held.archive.get(), "big.bin"), &r), big);
      EXPECT_EQ(r, kZipOk) << name;
    }
    // Enough wrong passwords that some pass the one-byte header check by chance.
    std::vector<std::string> wrongs = {"nope", "", "secreT"};
    for (int i = 0; i < 1000; ++i) wrongs.push_back("wrong" + std::to_string(i));
    for (const std::string& wrong : wrongs) {
      HeldArchive held = OpenTestZip(name, wrong.c_str());
      ASSERT_TRUE(held.archive);
      ZipResult r;
      UnzipWhole(held.archive.get(), Find(held.archive.get(), "big.bin"), &r);
      ASSERT_EQ(r, kZipPassword) << name << " with " << wrong;
    }
  }
}

TEST(ZipArchive, DamagedMembersReportAnErrorNotData) {
  HeldArchive crc = OpenTestZip("bad-crc-stored.zip");
  ASSERT_TRUE(crc.archive);
  ZipResult r;
  UnzipWhole(crc.archive.get(), Find(crc.archive.get(), "ZKMainFrame.xml"), &r);
  EXPECT_EQ(r, kZipCorrupt);
  // Other members are unharmed.
  EXPECT_EQ(UnzipWhole(crc.archive.get(), Find(crc.archive.get(), "big.bin"), &r), ReadMemberSource("big.bin"));
  EXPECT_EQ(r, kZipOk);

  HeldArchive deflate = OpenTestZip("bad-deflate.zip");
  ASSERT_TRUE(deflate.archive);
  UnzipWhole(deflate.archive.get(), Find(deflate.archive.get(), "big.bin"), &r);
  EXPECT_NE(r, kZipOk);
  EXPECT_NE(r, kZipMoreData);
}

TEST(ZipArchive, TruncatedCopiesFailWithoutReadingOutOfBounds) {
  const std::vector<uint8_t> data = ReadSkinZip("deflated.zip");
  const std::vector<uint8_t> big = ReadMemberSource("big.bin");
  ASSERT_FALSE(data.empty());
  int opened = 0;
  for (size_t length = 0; length < data.size(); length += (data.size() - length > 400 ? 397 : 1)) {
    HeldArchive held = OpenCopy(data, length);
    if (!held.archive) continue;
    ++opened;
    ReadEverything(held.archive.get(), big);
  }
  // The end record stands at the very end: no cut keeps it whole.
  EXPECT_EQ(opened, 0);
}

TEST(ZipArchive, CorruptedCopiesFailWithoutReadingOutOfBounds) {
  const std::vector<uint8_t> big = ReadMemberSource("big.bin");
  for (const char* name : {"times.zip", "attributes.zip", "deflated.zip", "password.zip"}) {
    const std::vector<uint8_t> original = ReadSkinZip(name);
    ASSERT_FALSE(original.empty());
    // Every byte of small archives; the directory and end record of large ones.
    const size_t first = original.size() > 4096 ? original.size() - 600 : 0;
    uint32_t seed = 99;
    for (size_t at = first; at < original.size(); ++at) {
      for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}}) {
        std::vector<uint8_t> copy = original;
        copy[at] = value;
        seed = seed * 1664525u + 1013904223u;
        copy[first + seed % (copy.size() - first)] ^= static_cast<uint8_t>(seed >> 24);
        HeldArchive held = OpenCopy(copy, copy.size(), "secret");
        if (held.archive) ReadEverything(held.archive.get(), big);
      }
    }
  }
}

TEST(ZipArchive, HostileRecordsAreRejected) {
  const std::string data = "hello skin";
  {
    MiniZip z = BuildMiniZip(data);
    HeldArchive held = OpenCopy(z.bytes, z.bytes.size());
    ASSERT_TRUE(held.archive) << "the builder makes a sound archive";
    ZipResult r;
    EXPECT_EQ(UnzipWhole(held.archive.get(), 0, &r), std::vector<uint8_t>(data.begin(), data.end()));
    EXPECT_EQ(r, kZipOk);
  }
  struct Case {
    const char* what;
    void (*damage)(MiniZip&);
    bool opens;
  };
  const Case cases[] = {
      {"directory beyond its record", [](MiniZip& z) { Put32(z.bytes, z.end + 16, 0x7FFFFFF0); }, false},
      {"directory size beyond its record", [](MiniZip& z) { Put32(z.bytes, z.end + 12, 0xFFFFFFF0); }, false},
      {"more entries than the directory holds", [](MiniZip& z) { Put16(z.bytes, z.end + 8, 900); Put16(z.bytes, z.end + 10, 900); }, false},
      {"entry counts differ", [](MiniZip& z) { Put16(z.bytes, z.end + 8, 2); }, false},
      {"second disk", [](MiniZip& z) { Put16(z.bytes, z.end + 4, 1); }, false},
      {"name beyond the directory", [](MiniZip& z) { Put16(z.bytes, z.central + 28, 0xFFFF); }, true},
      {"comment beyond the directory", [](MiniZip& z) { Put16(z.bytes, z.central + 32, 40); }, true},
      {"local header beyond the file", [](MiniZip& z) { Put32(z.bytes, z.central + 42, 0xFFFFFF00); }, true},
      {"local header in the middle of the data", [](MiniZip& z) { Put32(z.bytes, z.central + 42, 35); }, true},
      {"compressed size beyond the file", [](MiniZip& z) { Put32(z.bytes, z.central + 20, 0x7FFFFFFF); }, true},
      {"stored sizes differ", [](MiniZip& z) { Put32(z.bytes, z.central + 24, 4); }, true},
      {"uncompressed size larger than the data", [](MiniZip& z) { Put32(z.bytes, z.central + 24, 100); Put32(z.bytes, z.central + 20, 100); }, true},
      {"local extra field beyond the file", [](MiniZip& z) { Put16(z.bytes, 28, 0xFFFF); }, true},
      {"unknown method", [](MiniZip& z) { Put16(z.bytes, 8, 99); Put16(z.bytes, z.central + 10, 99); }, true},
      {"encrypted but shorter than its header", [](MiniZip& z) { Put16(z.bytes, z.central + 8, 1); Put32(z.bytes, z.central + 20, 5); }, true},
  };
  for (const Case& c : cases) {
    MiniZip z = BuildMiniZip(data);
    c.damage(z);
    HeldArchive held = OpenCopy(z.bytes, z.bytes.size());
    EXPECT_EQ(static_cast<bool>(held.archive), c.opens) << c.what;
    if (!held.archive) continue;
    ZipEntry entry;
    const ZipResult got = GetZipEntry(held.archive.get(), 0, &entry);
    std::vector<uint8_t> buffer(200);
    const ZipResult r = UnzipItemToMemory(held.archive.get(), 0, buffer.data(), 200);
    EXPECT_TRUE(got != kZipOk || (r != kZipOk && r != kZipMoreData)) << c.what;
  }
}

TEST(ZipArchive, GarbageDoesNotOpen) {
  std::vector<uint8_t> junk(5000, 0x50);
  EXPECT_FALSE(OpenCopy(junk, junk.size()).archive);
  DescribeZipResult(kZipLastResult, nullptr, 0);
  wchar_t text[64];
  DescribeZipResult(kZipLastResult, text, 64);
  EXPECT_STREQ(text, L"Couldn't create/open file");
  EXPECT_FALSE(OpenCopy(junk, 0).archive);
  EXPECT_EQ(OpenZipMemory(nullptr, 10, nullptr), nullptr);
  EXPECT_EQ(Describe(kZipLastResult), L"Caller: faulty arguments");
}

TEST(ZipArchive, CloseRefusesWhatItDidNotOpen) {
  EXPECT_EQ(CloseZip(nullptr), kZipBadArguments);
  int notAnArchive = 0;
  EXPECT_EQ(CloseZip(reinterpret_cast<ZipArchive*>(&notAnArchive)), kZipMixedModes);
  const std::vector<uint8_t> data = ReadSkinZip("stored.zip");
  ZipArchive* archive = OpenZipMemory(data.data(), data.size(), nullptr);
  ASSERT_NE(archive, nullptr);
  EXPECT_EQ(CloseZip(archive), kZipOk);
  EXPECT_EQ(CloseZip(archive), kZipMixedModes);
  ZipEntry entry;
  EXPECT_EQ(GetZipEntry(archive, 0, &entry), kZipBadArguments);
}

TEST(ZipArchive, DescribeGivesTheTextOfEveryCode) {
  const std::pair<ZipResult, const wchar_t*> table[] = {
      {0x0, L"Success"},
      {0x100, L"Culdn't duplicate handle"},
      {0x200, L"Couldn't create/open file"},
      {0x300, L"Failed to allocate memory"},
      {0x400, L"Error writing to file"},
      {0x500, L"File not found in the zipfile"},
      {0x600, L"Still more data to unzip"},
      {0x700, L"Zipfile is corrupt or not a zipfile"},
      {0x800, L"Error reading file"},
      {0x1000, L"Correct password required"},
      {0x10000, L"Caller: faulty arguments"},
      {0x20000, L"Caller: can only get memory of a memory zipfile"},
      {0x30000, L"Caller: not enough space allocated for memory zipfile"},
      {0x40000, L"Caller: there was a previous error"},
      {0x50000, L"Caller: additions to the zip have already been ended"},
      {0x60000, L"Zip-bug: the anticipated size turned out wrong"},
      {0x70000, L"Caller: the file had already been partially unzipped"},
      {0x80000, L"Caller: mixing creation and opening of zip"},
      {0x1000000, L"Zip-bug: internal initialisation not completed"},
      {0x2000000, L"Zip-bug: trying to seek the unseekable"},
      {0x4000000, L"Zip-bug: tried to change mind, but not allowed"},
      {0x5000000, L"Zip-bug: an internal error during flation"},
      {0x42, L"unknown zip result code"},
      {0x3000000, L"unknown zip result code"},
  };
  for (const auto& row : table) EXPECT_EQ(Describe(row.first), row.second) << std::hex << row.first;
}

TEST(ZipArchive, DescribeCopiesWhatFitsAndReturnsTheFullLength) {
  wchar_t text[8];
  std::fill(std::begin(text), std::end(text), L'#');
  EXPECT_EQ(DescribeZipResult(kZipNotFound, text, 5), 29u);
  EXPECT_STREQ(text, L"File");
  EXPECT_EQ(text[5], L'#');
  EXPECT_EQ(DescribeZipResult(kZipNotFound, nullptr, 0), 29u);
  EXPECT_EQ(DescribeZipResult(kZipNotFound, text, 0), 29u);
  EXPECT_EQ(text[0], L'F');
  EXPECT_EQ(DescribeZipResult(kZipOk, text, 1), 7u);
  EXPECT_EQ(text[0], L'\0');
}

TEST(ZipArchive, LastResultFollowsEveryOperation) {
  HeldArchive held = OpenTestZip("stored.zip");
  ASSERT_TRUE(held.archive);
  EXPECT_EQ(Describe(kZipLastResult), L"Success");
  int index;
  ZipEntry entry;
  FindZipEntry(held.archive.get(), L"missing.png", true, &index, &entry);
  EXPECT_EQ(Describe(kZipLastResult), L"File not found in the zipfile");
  std::vector<uint8_t> piece(10);
  UnzipItemToMemory(held.archive.get(), 2, piece.data(), 10);
  EXPECT_EQ(Describe(kZipLastResult), L"Still more data to unzip");
  SetZipTargetFolder(held.archive.get(), L"C:\\out");
  EXPECT_EQ(Describe(kZipLastResult), L"Success");
}
