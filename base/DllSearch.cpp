#include "DllSearch.h"

namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Systems without the LOAD_LIBRARY_SEARCH_* flags refuse them with ERROR_INVALID_PARAMETER.
bool SearchFlagsRefused() { return GetLastError() == ERROR_INVALID_PARAMETER; }

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return std::wstring(buffer, length);
}

}  // namespace

bool RestrictDllSearch() {
  const auto restrict =
      FindExport<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (restrict != nullptr && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  SetDllDirectoryW(L"");
  return false;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || !SearchFlagsRefused()) return module;
  const std::wstring folder = SystemFolder();
  return folder.empty() ? nullptr : LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, 0);
}

HMODULE LoadLibraryAtPath(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || !SearchFlagsRefused()) return module;
  return LoadLibraryExW(path.c_str(), nullptr, 0);
}
