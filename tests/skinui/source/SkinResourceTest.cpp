#include "SkinResource.h"

#include "SourceTestFiles.h"
#include "XmlMarkup.h"
#include "ZipArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;

namespace {

constexpr size_t kMarkupLimit = 4194304;

// Every test starts from folder mode on the made archives' folder.
class SkinSource : public ::testing::Test {
 protected:
  void SetUp() override {
    CSkinResource::SetResourceZip(L"", false);
    CSkinResource::SetResourcePath(SkinZipsFolder());
    ASSERT_FALSE(SkinZipsFolder().empty());
    ASSERT_TRUE(FileExists(SkinZipsFolder() + L"ready")) << "the archives are made by the skin_zip_fixtures test";
  }
  void TearDown() override {
    CSkinResource::SetResourceZip(L"", false);
    CSkinResource::SetResourcePath(L"");
  }

  static std::vector<uint8_t> Read(const std::wstring& name, SkinFileStatus expected = SkinFileStatus::kOk) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(CSkinResource::ReadSkinFile(name, bytes, kMarkupLimit), expected) << std::string(name.begin(), name.end());
    return bytes;
  }
};

struct LoadOutcome {
  bool loaded;
  std::wstring message;
  std::wstring location;
};

LoadOutcome LoadFile(const wchar_t* name) {
  CXmlMarkup markup;
  LoadOutcome o;
  o.loaded = markup.LoadFile(name);
  wchar_t message[100], location[50];
  markup.GetErrorMessage(message, 100);
  markup.GetErrorLocation(location, 50);
  o.message = message;
  o.location = location;
  EXPECT_EQ(markup.IsValid(), o.loaded);
  return o;
}

int g_reloads = 0;
void CountReload() { ++g_reloads; }

std::vector<uint8_t> g_firstSkin;
std::vector<uint8_t> g_secondSkin;

}  // namespace

TEST_F(SkinSource, SettingsReadBackAsSet) {
  EXPECT_EQ(CSkinResource::GetResourceType(), kSkinResourceFolder) << "the default type";
  CSkinResource::SetResourceType(kSkinResourceZipModule);
  EXPECT_EQ(CSkinResource::GetResourceType(), 4);
  CSkinResource::SetResourceType(kSkinResourceFolder);

  CSkinResource::SetResourcePath(L"C:\\skin");
  EXPECT_EQ(CSkinResource::GetResourcePath(), L"C:\\skin\\");
  CSkinResource::SetResourcePath(L"C:/skin/");
  EXPECT_EQ(CSkinResource::GetResourcePath(), L"C:/skin/");
  CSkinResource::SetResourcePath(L"");
  EXPECT_EQ(CSkinResource::GetResourcePath(), L"");

  const HINSTANCE module = GetModuleHandleW(nullptr);
  const HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
  CSkinResource::SetInstance(module);
  CSkinResource::SetResourceInstance(nullptr);
  EXPECT_EQ(CSkinResource::GetInstance(), module);
  EXPECT_EQ(CSkinResource::GetResourceInstance(), module);
  CSkinResource::SetResourceInstance(other);
  EXPECT_EQ(CSkinResource::GetResourceInstance(), other);
  CSkinResource::SetResourceInstance(nullptr);
}

TEST_F(SkinSource, FolderModeReadsFilesUnderTheResourcePath) {
  CSkinResource::SetResourcePath(SkinZipsFolder() + L"folder");
  EXPECT_EQ(Read(L"image15\\a.png"), SourceBytes(L"image15\\a.png"));
  EXPECT_EQ(Read(L"ZKMainFrame.xml"), SourceBytes(L"ZKMainFrame.xml"));
  Read(L"missing.png", SkinFileStatus::kOpenFailed);
  Read(L"empty.txt", SkinFileStatus::kEmpty);
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(CSkinResource::ReadSkinFile(L"big.bin", bytes));
  EXPECT_EQ(bytes, SourceBytes(L"big.bin"));
  EXPECT_FALSE(CSkinResource::ReadSkinFile(L"empty.txt", bytes));
  EXPECT_EQ(CSkinResource::ReadSkinFile(L"big.bin", bytes, 199999), SkinFileStatus::kTooLarge);
  EXPECT_TRUE(bytes.empty());
}

TEST_F(SkinSource, ZipFileModeFindsMembersByBackslashNamesIgnoringCase) {
  CSkinResource::SetResourceZip(L"upper.zip");
  EXPECT_FALSE(CSkinResource::IsResourceZipCached());
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), nullptr);
  EXPECT_EQ(Read(L"image15\\a.png"), SourceBytes(L"image15\\a.png"));
  EXPECT_EQ(Read(L"ZKMainFrame.xml"), SourceBytes(L"ZKMainFrame.xml"));
  Read(L"image15\\b.png", SkinFileStatus::kMemberNotFound);

  CSkinResource::SetResourceZip(L"deflated.zip");
  EXPECT_EQ(Read(L"Install_and_uninstall\\bg.png"), SourceBytes(L"Install_and_uninstall\\bg.png"));
  EXPECT_EQ(Read(L"BIG.BIN"), SourceBytes(L"big.bin"));
  Read(L"empty.txt", SkinFileStatus::kEmpty);

  CSkinResource::SetResourceZip(L"missing.zip");
  Read(L"image15\\a.png", SkinFileStatus::kZipOpenFailed);
  CSkinResource::SetResourceZip(L"bad-crc-stored.zip");
  Read(L"ZKMainFrame.xml", SkinFileStatus::kUnzipFailed);
}

TEST_F(SkinSource, CachedZipStaysOpenUntilTheSettingChanges) {
  CSkinResource::SetResourceZip(L"deflated.zip", true);
  EXPECT_TRUE(CSkinResource::IsResourceZipCached());
  ZipArchive* first = CSkinResource::GetResourceZipArchive();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Read(L"big.bin"), SourceBytes(L"big.bin"));
  CSkinResource::SetResourceZip(L"deflated.zip", true);
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), first);
  CSkinResource::SetResourceZip(L"stored.zip", true);
  ASSERT_NE(CSkinResource::GetResourceZipArchive(), nullptr);
  EXPECT_EQ(Read(L"image15/a.png"), SourceBytes(L"image15\\a.png"));
  CSkinResource::SetResourceZip(L"stored.zip", false);
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), nullptr);
  EXPECT_EQ(Read(L"image15/a.png"), SourceBytes(L"image15\\a.png"));
  CSkinResource::SetResourceZip(L"stored.zip", true);
  CSkinResource::CloseResourceZip();
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), nullptr);
  Read(L"image15/a.png", SkinFileStatus::kZipOpenFailed);
}

TEST_F(SkinSource, ACorruptCachedZipFailsEveryReadAndKeepsTheSettings) {
  CSkinResource::SetResourceZip(L"src\\big.bin", true, L"pw");
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), nullptr);
  EXPECT_EQ(CSkinResource::GetResourceZip(), L"src\\big.bin");
  EXPECT_TRUE(CSkinResource::IsResourceZipCached());
  EXPECT_EQ(CSkinResource::GetResourceZipPassword(), L"pw");
  Read(L"ZKMainFrame.xml", SkinFileStatus::kZipOpenFailed);
  Read(L"image15\\a.png", SkinFileStatus::kZipOpenFailed);
}

TEST_F(SkinSource, MemoryZipIsKeptWhenASecondOneIsOffered) {
  ASSERT_TRUE(ReadWholeFile(SkinZipsFolder() + L"deflated.zip", g_firstSkin));
  ASSERT_TRUE(ReadWholeFile(SkinZipsFolder() + L"upper.zip", g_secondSkin));
  CSkinResource::SetResourceZipMemory(g_firstSkin.data(), g_firstSkin.size());
  EXPECT_EQ(CSkinResource::GetResourceZip(), L"membuffer");
  EXPECT_TRUE(CSkinResource::IsResourceZipCached());
  ZipArchive* first = CSkinResource::GetResourceZipArchive();
  ASSERT_NE(first, nullptr);
  CSkinResource::SetResourceZipMemory(g_secondSkin.data(), g_secondSkin.size());
  EXPECT_EQ(CSkinResource::GetResourceZipArchive(), first);
  EXPECT_EQ(Read(L"big.bin"), SourceBytes(L"big.bin"));
  // The resource path plays no part for a memory archive.
  CSkinResource::SetResourcePath(L"C:\\nowhere");
  EXPECT_EQ(Read(L"Install_and_uninstall\\bg.png"), SourceBytes(L"Install_and_uninstall\\bg.png"));
  // Leaving memory mode lets another memory archive in.
  CSkinResource::SetResourceZip(L"", false);
  CSkinResource::SetResourceZipMemory(g_secondSkin.data(), g_secondSkin.size());
  Read(L"big.bin", SkinFileStatus::kMemberNotFound);
  EXPECT_EQ(Read(L"IMAGE15\\A.PNG"), SourceBytes(L"image15\\a.png"));
}

TEST_F(SkinSource, ZipPasswordIsUsedForEveryMode) {
  CSkinResource::SetResourceZip(L"password.zip", false, L"secret");
  EXPECT_EQ(Read(L"big.bin"), SourceBytes(L"big.bin"));
  CSkinResource::SetResourceZip(L"password.zip", true, L"secret");
  EXPECT_EQ(Read(L"ZKMainFrame.xml"), SourceBytes(L"ZKMainFrame.xml"));
  CSkinResource::SetResourceZip(L"7z-password.zip", true, L"wrong");
  Read(L"big.bin", SkinFileStatus::kUnzipFailed);
  CSkinResource::SetResourceZip(L"");
  CSkinResource::SetResourceZip(L"7z-password.zip", false);
  Read(L"big.bin", SkinFileStatus::kUnzipFailed);
}

TEST_F(SkinSource, ReloadSkinRunsTheRegisteredHandler) {
  g_reloads = 0;
  CSkinResource::SetReloadSkinHandler(&CountReload);
  CSkinResource::ReloadSkin();
  CSkinResource::ReloadSkin();
  EXPECT_EQ(g_reloads, 2);
  CSkinResource::SetReloadSkinHandler(nullptr);
  CSkinResource::ReloadSkin();
  EXPECT_EQ(g_reloads, 2);
}

TEST_F(SkinSource, MarkupLoadsFromEachKindOfSource) {
  for (int mode = 0; mode < 3; ++mode) {
    if (mode == 0) CSkinResource::SetResourcePath(SkinZipsFolder() + L"folder");
    if (mode == 1) {
      CSkinResource::SetResourcePath(SkinZipsFolder());
      CSkinResource::SetResourceZip(L"7z-deflate.zip");
    }
    if (mode == 2) CSkinResource::SetResourceZip(L"infozip.zip", true);
    CXmlMarkup markup;
    ASSERT_TRUE(markup.LoadFile(L"ZKMainFrame.xml")) << mode;
    CXmlMarkupNode window = markup.Root();
    EXPECT_STREQ(window.Name(), L"Window");
    EXPECT_STREQ(window.AttributeValue(L"size"), L"700,420");
    EXPECT_STREQ(window.FirstChild().AttributeValue(L"text"), L"\"Tessaro\"");
  }
}

TEST_F(SkinSource, MarkupFilesOfFourMebibytesLoadAndOneByteMoreDoesNot) {
  ScratchFolder folder(L"limit");
  std::string exact = "<a/>" + std::string(kMarkupLimit - 4, ' ');
  ASSERT_TRUE(WriteWholeFile(folder.path() + L"\\exact.xml", exact.data(), exact.size()));
  exact += ' ';
  ASSERT_TRUE(WriteWholeFile(folder.path() + L"\\over.xml", exact.data(), exact.size()));
  CSkinResource::SetResourcePath(folder.path());
  EXPECT_TRUE(LoadFile(L"exact.xml").loaded);
  LoadOutcome over = LoadFile(L"over.xml");
  EXPECT_FALSE(over.loaded);
  EXPECT_EQ(over.message, L"File too large");

  CSkinResource::SetResourcePath(SkinZipsFolder());
  CSkinResource::SetResourceZip(L"limits.zip", true);
  EXPECT_TRUE(LoadFile(L"exact.xml").loaded);
  over = LoadFile(L"over.xml");
  EXPECT_FALSE(over.loaded);
  EXPECT_EQ(over.message, L"File too large");
}

TEST_F(SkinSource, MarkupLoadFailuresCarryTheirMessages) {
  struct Case {
    const wchar_t* zip;
    const wchar_t* file;
    const wchar_t* message;
  };
  const Case cases[] = {
      {L"", L"folder\\missing.xml", L"Error opening file"},
      {L"", L"folder\\empty.txt", L"File is empty"},
      {L"missing.zip", L"ZKMainFrame.xml", L"Error opening zip file"},
      {L"stored.zip", L"missing.xml", L"Could not find ziped file"},
      {L"stored.zip", L"empty.txt", L"File is empty"},
      {L"bad-crc-stored.zip", L"ZKMainFrame.xml", L"Could not unzip file"},
      {L"bad-deflate.zip", L"big.bin", L"Could not unzip file"},
  };
  for (const Case& c : cases) {
    CSkinResource::SetResourceZip(c.zip);
    const LoadOutcome o = LoadFile(c.file);
    EXPECT_FALSE(o.loaded) << c.file;
    EXPECT_EQ(o.message, c.message) << c.file;
    EXPECT_EQ(o.location, L"") << c.file;
  }
}

TEST_F(SkinSource, MarkupFileThatCannotBeReadReportsIt) {
  // A pipe opens like a file but has no size to read by.
  const wchar_t* kPipe = L"\\\\.\\pipe\\zk-skin-source-test";
  unique_file server(CreateNamedPipeW(kPipe, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
  ASSERT_TRUE(server);
  CSkinResource::SetResourcePath(L"\\\\.\\pipe");
  const LoadOutcome o = LoadFile(L"zk-skin-source-test");
  EXPECT_FALSE(o.loaded);
  EXPECT_EQ(o.message, L"Could not read file");
}
