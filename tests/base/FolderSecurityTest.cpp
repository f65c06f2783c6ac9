#include "FolderSecurity.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "Paths.h"
#include "ScratchFolder.h"

namespace {

struct Dacl {
  DWORD status = ERROR_INVALID_FUNCTION;
  bool isProtected = false;
  std::wstring sddl;
};

ACCESS_MASK MapGeneric(ACCESS_MASK mask) {
  GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
  MapGenericMask(&mask, &mapping);
  return mask;
}

Dacl ReadDacl(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  Dacl result;
  result.status = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                        &dacl, nullptr, &descriptor);
  if (result.status != ERROR_SUCCESS) return result;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  result.isProtected = (control & SE_DACL_PROTECTED) != 0;
  wchar_t* text = nullptr;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                           &text, nullptr)) {
    result.sddl = text;
    LocalFree(text);
  }
  LocalFree(descriptor);
  return result;
}

TEST(FolderSecurity, ProgramFilesAndOnlyItsInsideCount) {
  const std::wstring programFiles = GetSpecialFolder(CSIDL_PROGRAM_FILES);
  ASSERT_FALSE(programFiles.empty());
  EXPECT_TRUE(IsInsideProgramFiles(programFiles));
  EXPECT_TRUE(IsInsideProgramFiles(programFiles + L"\\zk\\zkbin"));
  EXPECT_TRUE(IsInsideProgramFiles(programFiles + L"\\ZK\\"));
  EXPECT_FALSE(IsInsideProgramFiles(programFiles + L" Extra\\zk"));
  EXPECT_FALSE(IsInsideProgramFiles(programFiles + L"\\..\\zk"));
  EXPECT_FALSE(IsInsideProgramFiles(L"D:\\zk\\zkbin"));
  EXPECT_FALSE(IsInsideProgramFiles(L""));
}

// What the folder gets: a protected list (nothing inherited from a parent that users may change)
// of exactly three entries that files and folders below inherit.
TEST(FolderSecurity, DescriptorGrantsAdministratorsSystemFullAndUsersReadAndExecute) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(ProtectedFolderSecurity(), SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  EXPECT_TRUE(control & SE_DACL_PROTECTED);
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present && dacl);
  PSID owner = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorOwner(descriptor, &owner, &defaulted));

  auto wellKnown = [](WELL_KNOWN_SID_TYPE type) {
    static BYTE buffers[3][SECURITY_MAX_SID_SIZE];
    static int next = 0;
    BYTE* sid = buffers[next++ % 3];
    DWORD size = SECURITY_MAX_SID_SIZE;
    CreateWellKnownSid(type, nullptr, sid, &size);
    return static_cast<PSID>(sid);
  };
  EXPECT_TRUE(EqualSid(owner, wellKnown(WinBuiltinAdministratorsSid)));
  const struct {
    WELL_KNOWN_SID_TYPE who;
    ACCESS_MASK access;
  } expected[] = {{WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                  {WinLocalSystemSid, FILE_ALL_ACCESS},
                  {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
  ASSERT_EQ(dacl->AceCount, 3);
  for (DWORD i = 0; i < 3; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE),
              OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_TRUE(EqualSid(&ace->SidStart, wellKnown(expected[i].who))) << "entry " << i;
    // The descriptor language maps generic rights to the file-specific ones.
    EXPECT_EQ(MapGeneric(ace->Mask), expected[i].access) << "entry " << i;
  }
  LocalFree(descriptor);
}

// New and existing folders both take the list. Wine keeps no access lists on files (it reports
// one made from the Unix permissions), so there the list read back is not checked; Windows keeps
// it, and a file that was in the folder before inherits it.
TEST(FolderSecurity, NewAndExistingFoldersTakeTheList) {
  ScratchFolder scratch;
  const std::wstring fresh = scratch / L"fresh";
  const std::wstring existing = scratch / L"existing";
  ASSERT_TRUE(CreateDirectoryW(existing.c_str(), nullptr));
  WriteWholeFile(existing + L"\\VIDer.exe", "MZ");

  ASSERT_TRUE(CreateProtectedFolder(fresh));
  ASSERT_TRUE(CreateProtectedFolder(existing));
  EXPECT_TRUE(IsDirectory(fresh));
  EXPECT_EQ(ReadWholeFile(existing + L"\\VIDer.exe"), "MZ");
  EXPECT_FALSE(CreateProtectedFolder(scratch / L"missing\\child"));
  WriteWholeFile(scratch / L"file", "x");
  EXPECT_FALSE(CreateProtectedFolder(scratch / L"file"));

  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) return;
  for (const std::wstring& folder : {fresh, existing}) {
    const Dacl dacl = ReadDacl(folder);
    ASSERT_EQ(dacl.status, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(dacl.isProtected) << dacl.sddl;
    EXPECT_EQ(dacl.sddl.find(L"WD)"), std::wstring::npos) << "everyone keeps access: " << dacl.sddl;
  }
  EXPECT_NE(ReadDacl(existing + L"\\VIDer.exe").sddl.find(L"ID;FA;;;BA)"), std::wstring::npos);
}

}  // namespace
