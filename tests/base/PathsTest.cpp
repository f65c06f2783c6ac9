#include "Paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "SystemActions.h"

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(CreateFolderPath, CreatesEveryMissingLevelFromTheTopDown) {
  ScratchFolder scratch;
  const std::wstring deepest = scratch / L"one\\two\\three";
  EXPECT_EQ(CreateFolderPath(deepest), 0);
  EXPECT_TRUE(IsDirectory(scratch / L"one"));
  EXPECT_TRUE(IsDirectory(scratch / L"one\\two"));
  EXPECT_TRUE(IsDirectory(deepest));
}

TEST(CreateFolderPath, ExistingPathIsLeftAsItIs) {
  ScratchFolder scratch;
  WriteWholeFile(scratch / L"keep.txt", "data");
  EXPECT_EQ(CreateFolderPath(scratch.path()), 0);
  EXPECT_EQ(ReadWholeFile(scratch / L"keep.txt"), "data");
}

TEST(CreateFolderPath, TrailingSeparatorAndForwardSlashesGiveTheSameResult) {
  ScratchFolder scratch;
  CreateFolderPath(scratch / L"a\\b\\");
  CreateFolderPath(scratch.path() + L"/c/d");
  CreateFolderPath(scratch.path() + L"/e/f/");
  EXPECT_TRUE(IsDirectory(scratch / L"a\\b"));
  EXPECT_TRUE(IsDirectory(scratch / L"c\\d"));
  EXPECT_TRUE(IsDirectory(scratch / L"e\\f"));
}

TEST(CreateFolderPath, FileInTheWayIsSkippedWithoutHarm) {
  ScratchFolder scratch;
  WriteWholeFile(scratch / L"blocker", "file");
  EXPECT_EQ(CreateFolderPath(scratch / L"blocker\\below"), 0);
  EXPECT_EQ(ReadWholeFile(scratch / L"blocker"), "file");
  EXPECT_FALSE(IsDirectory(scratch / L"blocker\\below"));
}

TEST(CreateFolderPath, PathThatDoesNotFitTheBufferIsRefusedWhole) {
  ScratchFolder scratch;
  // The first level fits; the whole path does not. Nothing at all is created.
  const std::wstring first = scratch / L"first";
  std::wstring tooLong = first + L"\\" + std::wstring(300, L'x');
  EXPECT_EQ(CreateFolderPath(tooLong), 0);
  EXPECT_FALSE(Exists(first));
}

TEST(CreateFolderPath, LongestPathThatFitsIsCreated) {
  ScratchFolder scratch;
  // 259 characters plus the separator the routine appends fill the 260-character buffer.
  std::wstring path = scratch / L"edge\\";
  path += std::wstring(259 - path.size(), L'y');
  ASSERT_EQ(path.size(), 259u);
  CreateFolderPath(path);
  EXPECT_TRUE(IsDirectory(path));
  std::wstring oneMore = path.substr(0, 258) + L"zz";
  CreateFolderPath(oneMore);
  EXPECT_FALSE(Exists(oneMore));
}

TEST(CreateFolderPath, EmptyPathDoesNothing) { EXPECT_EQ(CreateFolderPath(L""), 0); }

TEST(SpecialFolders, ProductFoldersHangBelowLocalApplicationData) {
  const std::wstring local = GetLocalAppDataFolder();
  ASSERT_FALSE(local.empty());
  EXPECT_EQ(GetProductDataFolder(), local + L"\\zk\\data");
  EXPECT_EQ(GetLogFolder(), local + L"\\zk\\data\\zklog");
  EXPECT_NE(local.back(), L'\\');
}

TEST(SpecialFolders, DefaultInstallFolderIsTheProgramFilesSeenByThisProcess) {
  const std::wstring folder = GetDefaultInstallFolder();
  EXPECT_EQ(folder, GetSpecialFolder(38) + L"\\zk");
  // A 32-bit process on 64-bit Windows is pointed at the x86 Program Files.
  if (IsWow64()) {
    EXPECT_TRUE(EndsWith(folder, L"Program Files (x86)\\zk"));
  }
  EXPECT_FALSE(GetDesktopFolder().empty());
}

TEST(SpecialFolders, SetupFolderIsTheExecutablesFolder) {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring expected(module);
  expected.erase(expected.rfind(L'\\'));
  EXPECT_EQ(GetSetupFolder(), expected);
  EXPECT_NE(GetSetupFolder().back(), L'\\');
}
