#include "ZipArchive.h"

#include "SourceTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

struct Closer {
  void operator()(ZipArchive* archive) const { CloseZip(archive); }
};
using Archive = std::unique_ptr<ZipArchive, Closer>;

Archive OpenMade(const wchar_t* name, const char* password = nullptr) {
  return Archive(OpenZipFile((SkinZipsFolder() + name).c_str(), password));
}

std::wstring Describe(ZipResult code) {
  wchar_t text[128];
  DescribeZipResult(code, text, 128);
  return text;
}

std::vector<uint8_t> FileBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

uint64_t ModificationTime(const std::wstring& path) {
  unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME created, accessed, modified;
  if (!file || !GetFileTime(file.get(), &created, &accessed, &modified)) return 0;
  return (static_cast<uint64_t>(modified.dwHighDateTime) << 32) | modified.dwLowDateTime;
}

int Find(ZipArchive* archive, const wchar_t* name) {
  int index = -1;
  ZipEntry entry;
  FindZipEntry(archive, name, true, &index, &entry);
  return index;
}

class ZipFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(SkinZipsFolder() + L"ready")) << "the archives are made by the skin_zip_fixtures test";
  }
};

}  // namespace

TEST_F(ZipFiles, ArchiveOnDiskOpensAndReads) {
  Archive archive = OpenMade(L"prefixed-raw.zip");
  ASSERT_TRUE(archive);
  const int index = Find(archive.get(), L"big.bin");
  ASSERT_GE(index, 0);
  std::vector<uint8_t> bytes(200000);
  EXPECT_EQ(UnzipItemToMemory(archive.get(), index, bytes.data(), 200000), kZipOk);
  EXPECT_EQ(bytes, SourceBytes(L"big.bin"));

  EXPECT_FALSE(OpenMade(L"missing.zip"));
  EXPECT_EQ(Describe(kZipLastResult), L"Couldn't create/open file");
  EXPECT_FALSE(OpenMade(L"src\\big.bin"));
  EXPECT_EQ(Describe(kZipLastResult), L"Couldn't create/open file");
  EXPECT_EQ(OpenZipFile(nullptr, nullptr), nullptr);
}

TEST_F(ZipFiles, CallersHandleStaysOpenAndTheArchiveStartsAtItsPosition) {
  const std::wstring path = SkinZipsFolder() + L"prefixed-raw.zip";
  unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  const std::vector<uint8_t> expected = SourceBytes(L"ZKMainFrame.xml");
  for (LONG start : {0L, 4104L}) {
    SetFilePointer(file.get(), start, nullptr, FILE_BEGIN);
    Archive archive(OpenZipHandle(file.get(), nullptr));
    ASSERT_TRUE(archive) << start;
    std::vector<uint8_t> bytes(expected.size());
    EXPECT_EQ(UnzipItemToMemory(archive.get(), Find(archive.get(), L"ZKMainFrame.xml"), bytes.data(),
                                static_cast<uint32_t>(bytes.size())),
              kZipOk);
    EXPECT_EQ(bytes, expected);
  }
  // Still the caller's: it reads on after the archive is gone.
  char stub[2] = {};
  DWORD got = 0;
  SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
  ASSERT_TRUE(ReadFile(file.get(), stub, 2, &got, nullptr));
  EXPECT_EQ(std::string(stub, 2), "MZ");
}

TEST_F(ZipFiles, HandlesThatCannotBeUsedAreRefused) {
  EXPECT_EQ(OpenZipHandle(INVALID_HANDLE_VALUE, nullptr), nullptr);
  EXPECT_EQ(Describe(kZipLastResult), L"Culdn't duplicate handle");
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  unique_file reader(readEnd), writer(writeEnd);
  EXPECT_EQ(OpenZipHandle(reader.get(), nullptr), nullptr);
  EXPECT_EQ(Describe(kZipLastResult), L"Zip-bug: trying to seek the unseekable");
}

TEST_F(ZipFiles, UnzipToFilesKeepsBytesAttributesAndTimes) {
  ScratchFolder out(L"unzip");
  Archive archive = OpenMade(L"infozip.zip");
  ASSERT_TRUE(archive);
  EXPECT_EQ(SetZipTargetFolder(archive.get(), out.path().c_str()), kZipOk);
  ZipEntry count;
  ASSERT_EQ(GetZipEntry(archive.get(), -1, &count), kZipOk);
  for (int i = 0; i < count.index; ++i) {
    ZipEntry entry;
    ASSERT_EQ(GetZipEntry(archive.get(), i, &entry), kZipOk);
    EXPECT_EQ(UnzipItemToFile(archive.get(), i, entry.name), kZipOk) << i;
  }
  const std::wstring base = out.path() + L"\\";
  EXPECT_EQ(FileBytes(base + L"ZKMainFrame.xml"), SourceBytes(L"ZKMainFrame.xml"));
  EXPECT_EQ(FileBytes(base + L"image15\\a.png"), SourceBytes(L"image15\\a.png"));
  EXPECT_EQ(FileBytes(base + L"Install_and_uninstall\\bg.png"), SourceBytes(L"Install_and_uninstall\\bg.png"));
  EXPECT_TRUE(GetFileAttributesW((base + L"image15").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  const DWORD readOnly = GetFileAttributesW((base + L"readonly.txt").c_str());
  EXPECT_TRUE(readOnly & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(GetFileAttributesW((base + L"ZKMainFrame.xml").c_str()) & FILE_ATTRIBUTE_READONLY);
  // The "UT" modification time of the source files.
  EXPECT_EQ(ModificationTime(base + L"ZKMainFrame.xml"), 116444736000000000ULL + 1600000000ULL * 10000000ULL);

  // Unpacking again replaces the files, the read-only one included.
  ASSERT_TRUE(WriteWholeFile(base + L"ZKMainFrame.xml", "changed", 7));
  EXPECT_EQ(UnzipItemToFile(archive.get(), Find(archive.get(), L"ZKMainFrame.xml"), L"ZKMainFrame.xml"), kZipOk);
  EXPECT_EQ(FileBytes(base + L"ZKMainFrame.xml"), SourceBytes(L"ZKMainFrame.xml"));
  EXPECT_EQ(UnzipItemToFile(archive.get(), Find(archive.get(), L"readonly.txt"), L"readonly.txt"), kZipOk);
  EXPECT_EQ(FileBytes(base + L"readonly.txt"), SourceBytes(L"readonly.txt"));
}

TEST_F(ZipFiles, AbsoluteTargetsAndMissingFoldersAreHonoured) {
  ScratchFolder out(L"absolute");
  Archive archive = OpenMade(L"deflated.zip");
  ASSERT_TRUE(archive);
  const std::wstring target = out.path() + L"\\deep\\er/big.copy";
  EXPECT_EQ(UnzipItemToFile(archive.get(), Find(archive.get(), L"big.bin"), target.c_str()), kZipOk);
  EXPECT_EQ(FileBytes(out.path() + L"\\deep\\er\\big.copy"), SourceBytes(L"big.bin"));
  EXPECT_EQ(UnzipItemToFile(archive.get(), 99, target.c_str()), kZipBadArguments);
  EXPECT_EQ(UnzipItemToFile(archive.get(), 0, nullptr), kZipBadArguments);
}

TEST_F(ZipFiles, MadeSafeNamesStayInsideTheTargetFolder) {
  ScratchFolder out(L"traversal");
  const std::wstring inner = out.path() + L"\\inner";
  CreateDirectoryW(inner.c_str(), nullptr);
  Archive archive = OpenMade(L"traversal.zip");
  ASSERT_TRUE(archive);
  SetZipTargetFolder(archive.get(), (inner + L"\\").c_str());
  for (int i = 0; i < 6; ++i) {
    ZipEntry entry;
    ASSERT_EQ(GetZipEntry(archive.get(), i, &entry), kZipOk);
    EXPECT_EQ(UnzipItemToFile(archive.get(), i, entry.name), kZipOk) << i;
  }
  for (const wchar_t* name : {L"x.png", L"a\\b.png", L"abs\\c.png", L"d.png", L"e.png", L"f.png"})
    EXPECT_TRUE(FileExists(inner + L"\\" + name)) << name;
  for (const wchar_t* name : {L"x.png", L"d.png", L"e.png", L"f.png"})
    EXPECT_FALSE(FileExists(out.path() + L"\\" + name)) << name;
}

TEST_F(ZipFiles, FailedUnpackingLeavesNoFileBehind) {
  ScratchFolder out(L"failed");
  Archive archive = OpenMade(L"bad-crc-stored.zip");
  ASSERT_TRUE(archive);
  SetZipTargetFolder(archive.get(), out.path().c_str());
  EXPECT_EQ(UnzipItemToFile(archive.get(), Find(archive.get(), L"ZKMainFrame.xml"), L"ZKMainFrame.xml"), kZipCorrupt);
  EXPECT_FALSE(FileExists(out.path() + L"\\ZKMainFrame.xml"));
  Archive locked = OpenMade(L"password.zip", "wrong");
  SetZipTargetFolder(locked.get(), out.path().c_str());
  EXPECT_EQ(UnzipItemToFile(locked.get(), Find(locked.get(), L"big.bin"), L"big.bin"), kZipPassword);
  EXPECT_FALSE(FileExists(out.path() + L"\\big.bin"));
}

TEST_F(ZipFiles, UnzipToHandleWritesIntoTheCallersFile) {
  ScratchFolder out(L"handle");
  const std::wstring path = out.path() + L"\\member.bin";
  Archive archive = OpenMade(L"7z-deflate.zip");
  ASSERT_TRUE(archive);
  {
    unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(UnzipItemToHandle(archive.get(), Find(archive.get(), L"big.bin"), file.get()), kZipOk);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), "tail", 4, &written, nullptr)) << "the handle is still open";
  }
  std::vector<uint8_t> expected = SourceBytes(L"big.bin");
  expected.insert(expected.end(), {'t', 'a', 'i', 'l'});
  EXPECT_EQ(FileBytes(path), expected);

  unique_file readOnly(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(UnzipItemToHandle(archive.get(), Find(archive.get(), L"big.bin"), readOnly.get()), kZipWriteFailed);
  EXPECT_EQ(Describe(kZipLastResult), L"Error writing to file");
}
