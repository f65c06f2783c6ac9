#include "FolderSecurity.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <memory>

#include "Paths.h"

namespace {

// Owned by Administrators, so that whoever made the folder before cannot change the list again.
// P: protected (no inheritance from the parent); OICI: inherited by files and folders below.
constexpr wchar_t kProtectedFolderSddl[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;GRGX;;;BU)";

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

// Full, without a trailing backslash (but for a drive root).
std::wstring FullPath(const std::wstring& path) {
  std::wstring full = GetFullPath(path);
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

std::wstring EnvironmentFolder(const wchar_t* name) {
  wchar_t buffer[kPathBufferChars] = {};
  const DWORD length = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(kPathBufferChars));
  return length == 0 || length >= kPathBufferChars ? std::wstring() : std::wstring(buffer, length);
}

}  // namespace

bool IsInsideProgramFiles(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  if (full.empty()) return false;
  // The 32-bit view's folder, and the native one that a 32-bit process only sees through the
  // environment.
  const std::wstring folders[] = {GetSpecialFolder(CSIDL_PROGRAM_FILES), GetSpecialFolder(CSIDL_PROGRAM_FILESX86),
                                  EnvironmentFolder(L"ProgramW6432")};
  for (const std::wstring& folder : folders) {
    if (IsSameOrInsideFolder(full, FullPath(folder))) return true;
  }
  return false;
}

const wchar_t* ProtectedFolderSecurity() { return kProtectedFolderSddl; }

bool CreateProtectedFolder(const std::wstring& folder) {
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolderSddl, SDDL_REVISION_1, &raw, nullptr)) {
    return false;
  }
  const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.get(), FALSE};
  if (CreateDirectoryW(folder.c_str(), &attributes)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD existing = GetFileAttributesW(folder.c_str());
  if (existing == INVALID_FILE_ATTRIBUTES || !(existing & FILE_ATTRIBUTE_DIRECTORY) ||
      (existing & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return false;
  }
  // A folder made earlier (by anyone) gets the same list; the files below inherit it.
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  PSID owner = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted) || !present ||
      !GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted)) {
    return false;
  }
  std::wstring path = folder;
  return SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                   PROTECTED_DACL_SECURITY_INFORMATION,
                               owner, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}
