#include "UninstallRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InstallOptions.h"
#include "Log.h"
#include "ScratchFolder.h"
#include "ShellTestSupport.h"
#include "SystemActions.h"
#include "ZKReg2.h"

namespace {

using shelltest::DwordBytes;
using shelltest::ReadValue;
using shelltest::StringBytes;

constexpr wchar_t kSpacedFolder[] = L"C:\\Program Files\\zk\\zkbin";
constexpr wchar_t kPlainFolder[] = L"D:\\Apps\\zk\\zkbin";

std::wstring Today() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t text[16] = {};
  swprintf(text, 16, L"%04u%02u%02u", unsigned{now.wYear}, unsigned{now.wMonth}, unsigned{now.wDay});
  return text;
}

TEST(UninstallKeyPath, Wow64AnswerChoosesTheRoot) {
  EXPECT_EQ(UninstallKeyPath(true),
            L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            L"{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}");
  EXPECT_EQ(UninstallKeyPath(false),
            L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}");
}

TEST(EstimatedSizeKiB, RoundsUpAndCapsAtTheLargestDword) {
  EXPECT_EQ(EstimatedSizeKiB(0), 0ul);
  EXPECT_EQ(EstimatedSizeKiB(1), 1ul);
  EXPECT_EQ(EstimatedSizeKiB(1024), 1ul);
  EXPECT_EQ(EstimatedSizeKiB(1025), 2ul);
  EXPECT_EQ(EstimatedSizeKiB(UINT64_C(0xFFFFFFFF) * 1024), 0xFFFFFFFFul);
  EXPECT_EQ(EstimatedSizeKiB(UINT64_C(0xFFFFFFFF) * 1024 + 1), 0xFFFFFFFFul);
}

// Both answers of the WOW64 test write to HKEY_LOCAL_MACHINE for real. Under WOW64 the
// plain path is redirected to the 32-bit view, so every test removes both keys before and
// after.
class UninstallRegistrationTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { RemoveKeys(); }
  void TearDown() override { RemoveKeys(); }

  static void RemoveKeys() {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath(true).c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath(false).c_str());
  }

  static std::wstring Key() { return UninstallKeyPath(GetParam()); }

  static void ExpectString(const wchar_t* name, const std::wstring& text) {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, Key(), name);
    ASSERT_EQ(value.status, ERROR_SUCCESS) << name;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(value.bytes, StringBytes(text)) << name;  // text and terminator, no stray byte
  }

  static void ExpectDword(const wchar_t* name, DWORD number) {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, Key(), name);
    ASSERT_EQ(value.status, ERROR_SUCCESS) << name;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(value.bytes, DwordBytes(number)) << name;
  }
};

TEST_P(UninstallRegistrationTest, WritesTheSixStringsThenTheMaintenanceValues) {
  const std::wstring before = Today();
  RegisterUninstall(kPlainFolder, GetParam(), UINT64_C(10) * 1024 * 1024 + 1);
  const std::wstring after = Today();

  ExpectString(L"DisplayName", L"Tessaro");
  ExpectString(L"DisplayIcon", L"D:\\Apps\\zk\\zkbin\\VIDer.exe,0");
  ExpectString(L"UninstallString", L"D:\\Apps\\zk\\zkbin\\ZKUnInstall.exe");
  ExpectString(L"QuietUninstallString", L"\"D:\\Apps\\zk\\zkbin\\ZKUnInstall.exe\" /S");
  ExpectString(L"InstallLocation", L"D:\\Apps\\zk\\zkbin");
  ExpectString(L"DisplayVersion", L"9.0.3.0");
  ExpectString(L"Publisher", L"Veltrane");
  ExpectDword(L"EstimatedSize", 10241);
  ExpectDword(L"NoModify", 1);
  ExpectDword(L"NoRepair", 1);
  const auto date = ReadValue(HKEY_LOCAL_MACHINE, Key(), L"InstallDate");
  EXPECT_EQ(date.type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(date.bytes == StringBytes(before) || date.bytes == StringBytes(after));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), kMadeInstallFolderValue).status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(shelltest::ValueNames(HKEY_LOCAL_MACHINE, Key()).size(), 11u);
}

TEST_P(UninstallRegistrationTest, CommandAndIconWithASpaceAreQuoted) {
  RegisterUninstall(kSpacedFolder, GetParam(), kPayloadBytesUnknown);
  ExpectString(L"UninstallString", L"\"C:\\Program Files\\zk\\zkbin\\ZKUnInstall.exe\"");
  ExpectString(L"QuietUninstallString", L"\"C:\\Program Files\\zk\\zkbin\\ZKUnInstall.exe\" /S");
  ExpectString(L"DisplayIcon", L"\"C:\\Program Files\\zk\\zkbin\\VIDer.exe\",0");
  // The folder is never parsed as a command line and stays as it is.
  ExpectString(L"InstallLocation", L"C:\\Program Files\\zk\\zkbin");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"EstimatedSize").status, ERROR_FILE_NOT_FOUND);
}

TEST_P(UninstallRegistrationTest, SecondInstallOverwritesInPlaceAndKeepsOtherValues) {
  RegisterUninstall(kSpacedFolder, GetParam(), 2048);
  {
    ZKReg2 other;
    ASSERT_EQ(other.Create(HKEY_LOCAL_MACHINE, Key().c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
    other.WriteString(L"Comments", L"left by someone else");
  }
  RegisterUninstall(kPlainFolder, GetParam(), 8192);

  ExpectString(L"DisplayIcon", L"D:\\Apps\\zk\\zkbin\\VIDer.exe,0");
  ExpectString(L"UninstallString", L"D:\\Apps\\zk\\zkbin\\ZKUnInstall.exe");
  ExpectString(L"InstallLocation", L"D:\\Apps\\zk\\zkbin");
  ExpectDword(L"EstimatedSize", 8);
  ExpectString(L"Comments", L"left by someone else");
  EXPECT_EQ(shelltest::ValueNames(HKEY_LOCAL_MACHINE, Key()).size(), 6u + 5u + 1u);
}

// The uninstaller removes the installation folder only when a setup said it made it; a later
// setup that found the folder there must not take that back.
TEST_P(UninstallRegistrationTest, MadeInstallFolderMarkSurvivesAReinstall) {
  RegisterUninstall(kPlainFolder, InstallScope::kPerMachine, GetParam(), 2048, true);
  ExpectDword(kMadeInstallFolderValue, 1);
  RegisterUninstall(kPlainFolder, InstallScope::kPerMachine, GetParam(), 2048, false);
  ExpectDword(kMadeInstallFolderValue, 1);
}

INSTANTIATE_TEST_SUITE_P(BothWow64Answers, UninstallRegistrationTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Wow64") : std::string("Native");
                         });

// The one-argument form asks the platform and the install options itself.
TEST(RegisterUninstallDefaults, UsesTheWow64TestAndThePayloadTotal) {
  const std::wstring key = UninstallKeyPath(IsWow64() != 0);
  const uint64_t savedTotal = GetInstallOptions().bytesTotal.load();
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());

  GetInstallOptions().bytesTotal = 3 * 1024;
  RegisterUninstall(kPlainFolder);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, L"InstallLocation").bytes, StringBytes(kPlainFolder));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, L"EstimatedSize").bytes, DwordBytes(3));

  GetInstallOptions().bytesTotal = savedTotal;
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
}

// A per-user install writes to the user's own hive, one key for both registry views, and nothing
// under HKEY_LOCAL_MACHINE. A key that cannot be made (here: its parent is volatile, so a lasting
// child is refused) is logged rather than lost without a word.
TEST(RegisterUninstallPerUser, WritesTheUsersHiveAndLogsAKeyItCannotMake) {
  const std::wstring key = UninstallKeyPath(false);
  const std::wstring parent = key.substr(0, key.rfind(L'\\'));
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath(true).c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());

  RegisterUninstall(kPlainFolder, InstallScope::kPerUser, true, 4096);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"InstallLocation").bytes, StringBytes(kPlainFolder));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"DisplayIcon").bytes,
            StringBytes(std::wstring(kPlainFolder) + L"\\VIDer.exe,0"));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"EstimatedSize").bytes, DwordBytes(4));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, UninstallKeyPath(true), L"InstallLocation").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, L"InstallLocation").status, ERROR_FILE_NOT_FOUND);
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());

  HKEY volatileParent = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, parent.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &volatileParent, &disposition),
            ERROR_SUCCESS);
  RegCloseKey(volatileParent);
  if (disposition != REG_CREATED_NEW_KEY) GTEST_SKIP() << "the user's uninstall list already exists";
  DeleteFileW(GetLogFilePath().c_str());
  RegisterUninstall(kPlainFolder, InstallScope::kPerUser, false, 4096);
  RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str());

  const std::string log = ReadWholeFile(GetLogFilePath());
  EXPECT_NE(log.find("RegisterUninstall cannot create the uninstall key"), std::string::npos) << log;
  EXPECT_NE(log.find("{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}"), std::string::npos) << log;
}

}  // namespace
