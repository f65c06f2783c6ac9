#include "SystemActions.h"

#include <shellapi.h>

#include "DllSearch.h"
#include "UniqueHandle.h"

namespace {

constexpr DWORD kTypeMask = VER_MINORVERSION | VER_MAJORVERSION | VER_SERVICEPACKMAJOR;  // 0x23

}  // namespace

unsigned IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64Process = FindExport<IsWow64ProcessFn>(GetModuleHandleW(L"kernel32"), "IsWow64Process");
  if (isWow64Process == nullptr) return 0;
  BOOL wow64 = FALSE;
  isWow64Process(GetCurrentProcess(), &wow64);
  return wow64 ? 1u : 0u;
}

bool IsWindows10OrGreater() {
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);  // 284 bytes
  version.dwMajorVersion = 10;
  version.dwMinorVersion = 0;
  version.wServicePackMajor = 0;
  ULONGLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&version, kTypeMask, condition) != FALSE;
}

bool IsProcessElevated() {
  unique_kernel_handle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
  return elevation.TokenIsElevated != 0;
}

HINSTANCE OpenWithShell(const wchar_t* target) {
  return ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOW);
}
