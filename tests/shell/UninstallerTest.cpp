#include "ZKUninstaller.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "InstalledFileRecord.h"
#include "Paths.h"
#include "ShellTestSupport.h"
#include "Shortcuts.h"
#include "UninstallRegistration.h"
#include "UniqueHandle.h"

namespace {

using shelltest::PathExists;
using shelltest::ReadValue;
using shelltest::ScratchFolder;
using shelltest::WriteFileBytes;

// A per-user installation in a scratch folder: the registry entry, the record and the links are
// real, in the prefix's HKEY_CURRENT_USER, Start menu and desktop.
class UninstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(install_.c_str(), nullptr);
    CreateDirectoryW(bin_.c_str(), nullptr);
    for (const wchar_t* folder : {L"\\data", L"\\data\\presets"}) CreateDirectoryW((bin_ + folder).c_str(), nullptr);
    for (const wchar_t* file : {L"\\VIDer.exe", L"\\ZKUnInstall.exe", L"\\readme.txt", L"\\data\\settings.ini",
                                L"\\data\\presets\\720p.json", L"\\held.dll"}) {
      WriteFileBytes(bin_ + file, "MZ");
    }
    SetFileAttributesW((bin_ + L"\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    InstalledFileRecord record;
    record.version = "9.0.3.0";
    record.paths = OrderRecordedPaths({"VIDer.exe", "ZKUnInstall.exe", "readme.txt", "held.dll", "missing.txt",
                                       "data\\", "data\\settings.ini", "data\\presets\\", "data\\presets\\720p.json"});
    ASSERT_TRUE(WriteInstalledFileRecord(bin_, record));
    RegDeleteKeyW(HKEY_CURRENT_USER, UninstallKeyPath(false).c_str());
    RegisterUninstall(bin_.c_str(), InstallScope::kPerUser, false, 1024, true);
  }
  void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, UninstallKeyPath(false).c_str()); }

  shelltest::ComApartment com_;
  ScratchFolder root_{L" uninstall"};
  const std::wstring install_ = root_ / L"zk";
  const std::wstring bin_ = install_ + L"\\zkbin";
};

TEST_F(UninstallerTest, RemovesWhatSetupMadeAndKeepsWhatItDidNot) {
  const std::wstring desktopLink = GetDesktopFolder() + L"\\Tessaro.lnk";
  const std::wstring other = root_ / L"other.exe";
  WriteFileBytes(other, "MZ");
  ASSERT_EQ(CreateShortcut(other.c_str(), root_.path().c_str(), L"Tessaro", other.c_str(), 0, desktopLink.c_str()), 1);
  const std::wstring application = bin_ + L"\\VIDer.exe";
  const std::wstring uninstaller = bin_ + L"\\ZKUnInstall.exe";
  CreateStartMenuShortcuts(application.c_str(), uninstaller.c_str(), bin_.c_str(), L"Tessaro", InstallScope::kPerUser);
  const std::wstring startMenu = GetSpecialFolder(CSIDL_PROGRAMS) + L"\\Tessaro";
  ASSERT_TRUE(PathExists(startMenu + L"\\Tessaro.lnk"));
  WriteFileBytes(startMenu + L"\\notes.txt", "the user's");
  WriteFileBytes(bin_ + L"\\data\\notes.txt", "the user's");
  // Held without delete sharing, as a program that runs from the folder holds its DLL.
  const unique_file held(CreateFileW((bin_ + L"\\held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);

  UninstallEntry entry;
  ASSERT_TRUE(FindUninstallEntry(bin_, &entry));
  EXPECT_EQ(entry.scope, InstallScope::kPerUser);
  EXPECT_TRUE(entry.madeInstallFolder);
  CZKUninstaller remover(entry, std::wstring());
  remover.RemoveAll();
  remover.RemoveDeferred();

  for (const wchar_t* gone : {L"\\VIDer.exe", L"\\ZKUnInstall.exe", L"\\readme.txt", L"\\data\\settings.ini",
                              L"\\data\\presets", L"\\installed-files.txt"}) {
    EXPECT_FALSE(PathExists(bin_ + gone)) << gone;
  }
  EXPECT_TRUE(PathExists(bin_ + L"\\data\\notes.txt"));
  EXPECT_TRUE(PathExists(bin_ + L"\\held.dll"));
  EXPECT_EQ(remover.KeptFolder(), bin_);
  EXPECT_FALSE(remover.AllRemoved());
  EXPECT_EQ(remover.ExitCode(), kExitNotAllRemoved);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, entry.keyPath, L"InstallLocation").status, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(PathExists(desktopLink)) << "a link to another program is not setup's";
  EXPECT_FALSE(PathExists(startMenu + L"\\Tessaro.lnk"));
  EXPECT_FALSE(PathExists(startMenu + L"\\" + kUninstallLinkPrefix + L"Tessaro.lnk"));
  EXPECT_TRUE(PathExists(startMenu + L"\\notes.txt"));
  DeleteFileW(desktopLink.c_str());
  shelltest::RemoveTree(startMenu);
}

TEST_F(UninstallerTest, EmptiedFoldersGoUpToTheInstallationFolderSetupMade) {
  DeleteFileW((bin_ + L"\\held.dll").c_str());
  const std::wstring deferred = bin_ + L"\\ZKUnInstall.exe";
  UninstallEntry entry;
  ASSERT_TRUE(FindUninstallEntry(bin_, &entry));
  CZKUninstaller remover(entry, deferred);
  remover.RemoveAll();
  EXPECT_TRUE(PathExists(deferred)) << "left for the end";
  remover.RemoveDeferred();
  EXPECT_FALSE(PathExists(install_));
  EXPECT_TRUE(PathExists(root_.path()));
  EXPECT_TRUE(remover.KeptFolder().empty());
  EXPECT_EQ(remover.ExitCode(), kUninstalled);
  EXPECT_FALSE(FindUninstallEntry(bin_, &entry));
}

}  // namespace
