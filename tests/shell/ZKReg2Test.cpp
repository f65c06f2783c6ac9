#include "ZKReg2.h"

#include <gtest/gtest.h>

#include <string>

#include "ShellTestSupport.h"

namespace {

using shelltest::ReadValue;
using shelltest::StringBytes;

// A per-process key below HKEY_CURRENT_USER, deleted with its values.
class ZKReg2Test : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str()); }
  void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str()); }

  const std::wstring path_ = L"Software\\ZkShellTest-" + std::to_wstring(GetCurrentProcessId());
};

TEST_F(ZKReg2Test, StringsAreStoredWithTheirTerminator) {
  ZKReg2 reg;
  ASSERT_EQ(reg.Create(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
  EXPECT_EQ(reg.keyPath(), path_);
  ASSERT_EQ(reg.WriteString(L"Name", L"Tessaro"), ERROR_SUCCESS);
  ASSERT_EQ(reg.WriteString(L"Empty", L""), ERROR_SUCCESS);
  ASSERT_EQ(reg.WriteDword(L"Number", 0x01020304), ERROR_SUCCESS);

  const auto name = ReadValue(HKEY_CURRENT_USER, path_, L"Name");
  EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(name.bytes, StringBytes(L"Tessaro"));  // (7 + 1) * 2 bytes
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, path_, L"Empty").bytes, StringBytes(L""));
  const auto number = ReadValue(HKEY_CURRENT_USER, path_, L"Number");
  EXPECT_EQ(number.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number.bytes, shelltest::DwordBytes(0x01020304));
}

TEST_F(ZKReg2Test, CreateOpensAnExistingKeyKeepingItsValues) {
  {
    ZKReg2 first;
    ASSERT_EQ(first.Create(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
    first.WriteString(L"Kept", L"yes");
  }
  ZKReg2 second;
  ASSERT_EQ(second.Create(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, path_, L"Kept").bytes, StringBytes(L"yes"));
}

TEST_F(ZKReg2Test, WritesWithoutAnOpenKeyFailAndStoreNothing) {
  ZKReg2 reg;
  EXPECT_EQ(reg.WriteString(L"Name", L"x"), ERROR_INVALID_HANDLE);
  EXPECT_NE(reg.Create(nullptr, path_.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
  EXPECT_EQ(reg.keyPath(), path_);
  EXPECT_EQ(reg.key(), nullptr);

  ASSERT_EQ(reg.Create(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
  reg.Close();
  reg.Close();  // a second Close is harmless
  EXPECT_EQ(reg.key(), nullptr);
  EXPECT_EQ(reg.WriteString(L"Name", L"x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.WriteDword(L"Number", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, path_, L"Name").status, ERROR_FILE_NOT_FOUND);
}

}  // namespace
