#include "UninstallRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "InstallOptions.h"
#include "ShellTestSupport.h"
#include "SystemActions.h"
#include "ZKReg2.h"

namespace {

using shelltest::DwordBytes;
using shelltest::ReadValue;
using shelltest::StringBytes;

constexpr wchar_t kSpacedFolder[] = L"C:\\Program Files\\zk\\zkbin";
constexpr wchar_t kPlainFolder[] = L"D:\\Apps\\zk\\zkbin";

const std::vector<std::wstring> kSixValues = {L"DisplayName",     L"DisplayIcon",    L"UninstallString",
                                              L"InstallLocation", L"DisplayVersion", L"Publisher"};
const std::vector<std::wstring> kMaintenanceValues = {L"EstimatedSize", L"InstallDate", L"NoModify",
                                                      L"NoRepair"};

std::wstring Today() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t text[16] = {};
  swprintf(text, 16, L"%04u%02u%02u", unsigned{now.wYear}, unsigned{now.wMonth}, unsigned{now.wDay});
  return text;
}

// Both answers of the WOW64 test write to HKEY_LOCAL_MACHINE for real; every test starts
// and ends without the product's key under either root.
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
    EXPECT_EQ(value.bytes, StringBytes(text)) << name;
  }

  static void ExpectDword(const wchar_t* name, DWORD number) {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, Key(), name);
    ASSERT_EQ(value.status, ERROR_SUCCESS) << name;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(value.bytes, DwordBytes(number)) << name;
  }
};

TEST(UninstallKeyPath, Wow64ChoosesTheWow6432NodeRoot) {
  EXPECT_EQ(UninstallKeyPath(true),
            L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            L"{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}");
}

TEST(UninstallKeyPath, NativeChoosesThePlainRoot) {
  EXPECT_EQ(UninstallKeyPath(false),
            L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}");
}

TEST(EstimatedSizeKiB, RoundsUpToWholeKibibytes) {
  EXPECT_EQ(EstimatedSizeKiB(0), 0ul);
  EXPECT_EQ(EstimatedSizeKiB(1), 1ul);
  EXPECT_EQ(EstimatedSizeKiB(1024), 1ul);
  EXPECT_EQ(EstimatedSizeKiB(1025), 2ul);
  EXPECT_EQ(EstimatedSizeKiB(UINT64_C(52428800)), 51200ul);
}

TEST(EstimatedSizeKiB, CapsAtTheLargestDword) {
  EXPECT_EQ(EstimatedSizeKiB(UINT64_C(0xFFFFFFFF) * 1024), 0xFFFFFFFFul);
  EXPECT_EQ(EstimatedSizeKiB(UINT64_C(0xFFFFFFFF) * 1024 + 1), 0xFFFFFFFFul);
}

TEST_P(UninstallRegistrationTest, WritesTheSixStringsWithTerminators) {
  RegisterUninstall(kPlainFolder, GetParam(), 4096);
  ExpectString(L"DisplayName", L"Tessaro");
  ExpectString(L"DisplayIcon", L"D:\\Apps\\zk\\zkbin\\VIDer.exe");
  ExpectString(L"UninstallString", L"D:\\Apps\\zk\\zkbin\\ZKUnInstall.exe");
  ExpectString(L"InstallLocation", L"D:\\Apps\\zk\\zkbin");
  ExpectString(L"DisplayVersion", L"9.0.3.0");
  ExpectString(L"Publisher", L"Veltrane");
}

TEST_P(UninstallRegistrationTest, DisplayNameHasNoStrayByte) {
  RegisterUninstall(kPlainFolder, GetParam(), 4096);
  const auto value = ReadValue(HKEY_LOCAL_MACHINE, Key(), L"DisplayName");
  ASSERT_EQ(value.bytes.size(), 16u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data())), L"Tessaro");
}

TEST_P(UninstallRegistrationTest, UninstallStringWithASpaceIsQuoted) {
  RegisterUninstall(kSpacedFolder, GetParam(), 4096);
  ExpectString(L"UninstallString", L"\"C:\\Program Files\\zk\\zkbin\\ZKUnInstall.exe\"");
  // The other paths stay as they are: they are never parsed as command lines.
  ExpectString(L"DisplayIcon", L"C:\\Program Files\\zk\\zkbin\\VIDer.exe");
  ExpectString(L"InstallLocation", L"C:\\Program Files\\zk\\zkbin");
}

TEST_P(UninstallRegistrationTest, MaintenanceValuesFollowTheSix) {
  const std::wstring before = Today();
  RegisterUninstall(kPlainFolder, GetParam(), UINT64_C(10) * 1024 * 1024 + 1);
  const std::wstring after = Today();

  ExpectDword(L"EstimatedSize", 10241);
  ExpectDword(L"NoModify", 1);
  ExpectDword(L"NoRepair", 1);
  const auto date = ReadValue(HKEY_LOCAL_MACHINE, Key(), L"InstallDate");
  ASSERT_EQ(date.type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(date.bytes == StringBytes(before) || date.bytes == StringBytes(after));

  // Windows enumerates a fresh key's values in creation order, Wine sorted by name; compare
  // the sets only.
  std::vector<std::wstring> expected = kSixValues;
  expected.insert(expected.end(), kMaintenanceValues.begin(), kMaintenanceValues.end());
  std::vector<std::wstring> names = shelltest::ValueNames(HKEY_LOCAL_MACHINE, Key());
  std::sort(expected.begin(), expected.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
}

TEST_P(UninstallRegistrationTest, UnknownPayloadSizeWritesNoEstimate) {
  RegisterUninstall(kPlainFolder, GetParam(), kPayloadBytesUnknown);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"EstimatedSize").status, ERROR_FILE_NOT_FOUND);
  ExpectDword(L"NoModify", 1);
  ExpectString(L"DisplayName", L"Tessaro");
}

TEST_P(UninstallRegistrationTest, SecondInstallOverwritesInPlaceAndKeepsOtherValues) {
  RegisterUninstall(kSpacedFolder, GetParam(), 2048);
  {
    ZKReg2 other;
    ASSERT_EQ(other.Create(HKEY_LOCAL_MACHINE, Key().c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
    other.WriteString(L"Comments", L"left by someone else");
  }
  RegisterUninstall(kPlainFolder, GetParam(), 8192);

  ExpectString(L"DisplayIcon", L"D:\\Apps\\zk\\zkbin\\VIDer.exe");
  ExpectString(L"UninstallString", L"D:\\Apps\\zk\\zkbin\\ZKUnInstall.exe");
  ExpectString(L"InstallLocation", L"D:\\Apps\\zk\\zkbin");
  ExpectDword(L"EstimatedSize", 8);
  ExpectString(L"Comments", L"left by someone else");
  EXPECT_EQ(shelltest::ValueNames(HKEY_LOCAL_MACHINE, Key()).size(), 6u + 4u + 1u);
}

TEST_P(UninstallRegistrationTest, NullFolderWritesNothing) {
  RegisterUninstall(nullptr, GetParam(), 1);
  EXPECT_FALSE(shelltest::KeyExists(HKEY_LOCAL_MACHINE, Key()));
}

INSTANTIATE_TEST_SUITE_P(BothWow64Answers, UninstallRegistrationTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Wow64") : std::string("Native");
                         });

// The one-argument form asks the platform and the install options itself.
class RegisterUninstallDefaults : public ::testing::Test {
 protected:
  void SetUp() override {
    savedTotal_ = GetInstallOptions().bytesTotal.load();
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, Key().c_str());
  }
  void TearDown() override {
    GetInstallOptions().bytesTotal = savedTotal_;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, Key().c_str());
  }
  static std::wstring Key() { return UninstallKeyPath(IsWow64() != 0); }

  uint64_t savedTotal_ = 0;
};

TEST_F(RegisterUninstallDefaults, UsesThePayloadTotalOfTheInstallOptions) {
  GetInstallOptions().bytesTotal = 3 * 1024;
  RegisterUninstall(kPlainFolder);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"DisplayName").bytes, StringBytes(L"Tessaro"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"EstimatedSize").bytes, DwordBytes(3));
}

TEST_F(RegisterUninstallDefaults, TotalNeverReportedWritesNoEstimate) {
  GetInstallOptions().bytesTotal = kPayloadBytesUnknown;
  RegisterUninstall(kPlainFolder);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"InstallLocation").bytes, StringBytes(kPlainFolder));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Key(), L"EstimatedSize").status, ERROR_FILE_NOT_FOUND);
}

}  // namespace
