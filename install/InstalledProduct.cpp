#include "InstalledProduct.h"

#include <windows.h>

#include <vector>

#include "SystemActions.h"
#include "UninstallRegistration.h"
#include "UniqueHandle.h"

namespace {

std::wstring ReadString(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) return {};
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS) {
    return {};
  }
  return std::wstring(buffer.data());
}

bool ReadFlag(HKEY key, const wchar_t* name) {
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  DWORD type = 0;
  return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) == ERROR_SUCCESS &&
         type == REG_DWORD && value == 1;
}

// The next number of a dotted version from pos; 0 past the end.
unsigned long NextPart(const std::wstring& text, size_t* pos) {
  unsigned long value = 0;
  while (*pos < text.size() && text[*pos] >= L'0' && text[*pos] <= L'9') {
    value = value * 10 + static_cast<unsigned long>(text[*pos] - L'0');
    ++*pos;
  }
  while (*pos < text.size() && (text[*pos] < L'0' || text[*pos] > L'9')) ++*pos;
  return value;
}

}  // namespace

std::unique_ptr<InstalledProduct> FindInstalledProduct(InstallScope scope) {
  const std::wstring path = UninstallKeyPath(scope == InstallScope::kPerMachine && IsWow64() != 0);
  unique_hkey key;
  if (RegOpenKeyExW(UninstallHive(scope), path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return nullptr;
  auto installed = std::make_unique<InstalledProduct>();
  installed->location = ReadString(key.get(), L"InstallLocation");
  installed->version = ReadString(key.get(), L"DisplayVersion");
  installed->madeInstallFolder = ReadFlag(key.get(), kMadeInstallFolderValue);
  if (installed->location.empty()) return nullptr;
  return installed;
}

int CompareVersions(const std::wstring& a, const std::wstring& b) {
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    const unsigned long x = NextPart(a, &i);
    const unsigned long y = NextPart(b, &j);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}
