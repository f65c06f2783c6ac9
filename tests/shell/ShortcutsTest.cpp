#include "Shortcuts.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "FakeShellLink.h"
#include "ShellTestSupport.h"

namespace {

using shelltest::FolderEntries;
using shelltest::PathExists;
using shelltest::ReadLink;
using shelltest::ScratchFolder;

constexpr wchar_t kUninstallPrefix[] = L"\u5378\u8F7D";
constexpr size_t kPathLimit = 259;  // characters before the terminator of a 260-character buffer

std::wstring ShortForm(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

std::wstring CommonPrograms() {
  wchar_t buffer[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_PROGRAMS, FALSE);
  return buffer;
}

std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

// The link file loads and carries these fields.
void ExpectLink(const std::wstring& link, const std::wstring& target, const std::wstring& workingFolder,
                const std::wstring& description, const std::wstring& iconPath, int iconIndex) {
  const auto fields = ReadLink(link);
  ASSERT_TRUE(fields.loaded) << link;
  EXPECT_EQ(fields.target, target);
  EXPECT_EQ(fields.workingFolder, workingFolder);
  EXPECT_EQ(fields.description, description);
  EXPECT_EQ(fields.iconPath, iconPath);
  EXPECT_EQ(fields.iconIndex, iconIndex);
}

// A scratch program folder holding the two programs the links point at.
class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = bin_ / L"VIDer.exe";
    uninstaller_ = bin_ / L"ZKUnInstall.exe";
    shelltest::WriteFileBytes(app_, "MZ");
    shelltest::WriteFileBytes(uninstaller_, "MZ");
  }

  shelltest::ComApartment com_;
  ScratchFolder bin_{L" zk bin"};
  ScratchFolder links_;
  std::wstring app_;
  std::wstring uninstaller_;
};

TEST_F(ShortcutTest, LinkFileCarriesTargetFolderDescriptionAndIcon) {
  const std::wstring link = links_ / L"Tessaro.lnk";
  ASSERT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", app_.c_str(), 3, link.c_str()), 1);

  ExpectLink(link, app_, bin_.path(), L"Tessaro", ShortForm(app_), 3);
}

TEST_F(ShortcutTest, IconIsStoredInItsShortFormWhenThereIsOne) {
  const std::wstring icon = bin_ / L"Long Icon File Name.exe";
  shelltest::WriteFileBytes(icon, "MZ");
  const std::wstring shortIcon = ShortForm(icon);
  ASSERT_FALSE(shortIcon.empty());
  // Wine always has an 8.3 alias for such a name; a Windows volume without 8.3 names gives
  // the long path back, and then the two are equal.
  const std::wstring link = links_ / L"Icon.lnk";
  ASSERT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", icon.c_str(), 0, link.c_str()), 1);
  EXPECT_EQ(ReadLink(link).iconPath, shortIcon);

  // Not unpacked yet: no short form, so the path is kept as given.
  const std::wstring missing = bin_ / L"Not Yet Unpacked.exe";
  ASSERT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", missing.c_str(), 0, link.c_str()), 1);
  EXPECT_EQ(ReadLink(link).iconPath, missing);
}

TEST_F(ShortcutTest, UnsavableLinkPathGivesZero) {
  const std::wstring link = links_ / L"no such folder\\Tessaro.lnk";
  EXPECT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", app_.c_str(), 0, link.c_str()), 0);
  EXPECT_TRUE(FolderEntries(links_.path()).empty());
}

TEST_F(ShortcutTest, LinkObjectThatCannotBeCreatedWritesNothing) {
  shelltest::ShellLinkFactoryOverride failing(shelltest::FailingShellLinkFactory);
  const std::wstring link = links_ / L"Tessaro.lnk";
  EXPECT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", app_.c_str(), 0, link.c_str()), 0);
  EXPECT_TRUE(FolderEntries(links_.path()).empty());
}

TEST_F(ShortcutTest, LinkThatCannotBeSavedWritesNothingAndIsReleased) {
  auto& fake = shelltest::TheUnsavableShellLink();
  shelltest::ShellLinkFactoryOverride unsavable(shelltest::UnsavableShellLinkFactory);
  const std::wstring link = links_ / L"Tessaro.lnk";
  fake.setPathResult = S_OK;  // no IPersistFile
  EXPECT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", app_.c_str(), 0, link.c_str()), 0);
  EXPECT_EQ(fake.references, 0u);
  fake.setPathResult = E_INVALIDARG;  // a link without its target is not saved
  EXPECT_EQ(CreateShortcut(app_.c_str(), bin_.path().c_str(), L"Tessaro", app_.c_str(), 0, link.c_str()), 0);
  EXPECT_EQ(fake.references, 0u);
  fake.setPathResult = S_OK;
  EXPECT_TRUE(FolderEntries(links_.path()).empty());
}

// The all-users Start-menu programs folder is real; each test uses a folder name of its own.
class StartMenuTest : public ShortcutTest {
 protected:
  void SetUp() override {
    ShortcutTest::SetUp();
    name_ = L"ZkShellTest" + std::to_wstring(GetCurrentProcessId());
    folder_ = CommonPrograms() + L"\\" + name_;
    shelltest::RemoveTree(folder_);
  }
  void TearDown() override { shelltest::RemoveTree(folder_); }

  std::wstring AppLink() const { return folder_ + L"\\" + name_ + L".lnk"; }
  std::wstring UninstallerLink() const { return folder_ + L"\\" + kUninstallPrefix + name_ + L".lnk"; }

  std::wstring name_;
  std::wstring folder_;
};

TEST_F(StartMenuTest, CreatesFolderWithApplicationAndUninstallerLinks) {
  ASSERT_FALSE(CommonPrograms().empty());
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), name_.c_str());

  ExpectLink(AppLink(), app_, bin_.path(), name_, ShortForm(app_), 0);
  ExpectLink(UninstallerLink(), uninstaller_, bin_.path(), name_, ShortForm(uninstaller_), 0);
  EXPECT_EQ(FolderEntries(folder_).size(), 2u);
}

TEST_F(StartMenuTest, RunningTwiceOverwritesBothLinks) {
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), name_.c_str());
  shelltest::WriteFileBytes(AppLink(), "stale");
  shelltest::WriteFileBytes(UninstallerLink(), "stale");
  const std::wstring newApp = links_ / L"VIDer.exe";
  shelltest::WriteFileBytes(newApp, "MZ");

  CreateStartMenuShortcuts(newApp.c_str(), uninstaller_.c_str(), links_.path().c_str(), name_.c_str());
  EXPECT_EQ(ReadLink(AppLink()).target, newApp);
  EXPECT_EQ(ReadLink(AppLink()).workingFolder, links_.path());
  EXPECT_EQ(ReadLink(UninstallerLink()).target, uninstaller_);
  EXPECT_EQ(FolderEntries(folder_).size(), 2u);
}

TEST_F(StartMenuTest, LinkPathsThatWouldNotFitAreNotWritten) {
  // The folder name fits; "<folder>\<name>.lnk" does not, and is not cut to a file without
  // its extension either.
  const size_t room = kPathLimit - CommonPrograms().size() - 1;
  name_ = std::wstring(room / 2 + 2, L'n');
  folder_ = CommonPrograms() + L"\\" + name_;
  ASSERT_LE(folder_.size(), kPathLimit);
  ASSERT_GT(AppLink().size(), kPathLimit);
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), name_.c_str());
  EXPECT_TRUE(PathExists(folder_));
  EXPECT_TRUE(FolderEntries(folder_).empty());
}

TEST_F(StartMenuTest, FolderNameIsCutToFitTheBuffer) {
  const std::wstring longName(300, L'n');
  folder_ = (CommonPrograms() + L"\\" + longName).substr(0, kPathLimit);
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), longName.c_str());
  EXPECT_TRUE(PathExists(folder_));
  EXPECT_TRUE(FolderEntries(folder_).empty());
}

TEST_F(StartMenuTest, NameThatLeavesTheFolderIsRefused) {
  const std::wstring escape = L"..\\" + name_;
  const std::wstring outside = ParentOf(CommonPrograms()) + L"\\" + name_;
  shelltest::RemoveTree(outside);
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), escape.c_str());
  EXPECT_FALSE(PathExists(outside));
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), L"");
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), L"..");
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), L"a/b");
  EXPECT_FALSE(PathExists(CommonPrograms() + L"\\a"));
  shelltest::RemoveTree(outside);
}

TEST_F(StartMenuTest, LinkObjectFailureLeavesOnlyTheEmptyFolder) {
  shelltest::ShellLinkFactoryOverride failing(shelltest::FailingShellLinkFactory);
  CreateStartMenuShortcuts(app_.c_str(), uninstaller_.c_str(), bin_.path().c_str(), name_.c_str());
  EXPECT_TRUE(PathExists(folder_));
  EXPECT_TRUE(FolderEntries(folder_).empty());
}

// GetTempPathW follows TMP, so each test gets its own temporary folder.
class PinTest : public ShortcutTest {
 protected:
  ScratchFolder temp_;
  shelltest::TempFolderOverride override_{temp_.path()};

  // Characters left for a link name so that "<temp>\<name>.lnk" is exactly 259 long.
  size_t NameRoom() const { return kPathLimit - (temp_.path().size() + 1) - 4; }
};

TEST_F(PinTest, TemporaryLinkIsDeletedAndCreationDecidesTheResult) {
  // Wine has no "TaskbarPin" handler, so the verb fails there; Windows 10 and later refuse it
  // too. The result stays 1 because the link itself was made.
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", L"Tessaro", app_.c_str(), 0), 1);
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

TEST_F(PinTest, NameTooLongForTheBufferGivesZeroAndCreatesNothing) {
  const std::wstring fits(NameRoom(), L'p');
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", fits.c_str(), nullptr, 0), 1);
  const std::wstring tooLong(NameRoom() + 1, L'p');
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", tooLong.c_str(), nullptr, 0), 0);
  const std::wstring farTooLong(600, L'p');
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", farTooLong.c_str(), nullptr, 0), 0);
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

TEST_F(PinTest, NameThatLeavesTheTemporaryFolderIsRefused) {
  const std::wstring escape = L"..\\ZkShellPin" + std::to_wstring(GetCurrentProcessId());
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", escape.c_str(), nullptr, 0), 0);
  EXPECT_FALSE(PathExists(ParentOf(temp_.path()) + escape.substr(2) + L".lnk"));
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

TEST_F(PinTest, LinkObjectFailureGivesZeroAndCreatesNothing) {
  shelltest::ShellLinkFactoryOverride failing(shelltest::FailingShellLinkFactory);
  EXPECT_EQ(PinToTaskbar(app_.c_str(), bin_.path().c_str(), L"Tessaro", L"Tessaro", nullptr, 0), 0);
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

}  // namespace
