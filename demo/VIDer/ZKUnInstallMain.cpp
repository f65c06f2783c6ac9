// ZKUnInstall.exe, the stand-in for the product's uninstaller: the installer registers it and links
// it from the Start menu, but removing the product is not part of this demo. It says so and exits
// with code 0. "--quiet" skips the message (for tests); any other argument is ignored.
#include <windows.h>

#include <cwchar>

#include "DllSearch.h"

namespace {

constexpr wchar_t kTitle[] = L"Tessaro";
constexpr wchar_t kMessage[] =
    L"卸载不在本演示的范围内：Tessaro 的文件保留在原处。\n\n"
    L"Uninstalling is not part of this demo; Tessaro's files stay where they are.";

bool HasQuietArgument() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return false;
  bool quiet = false;
  for (int i = 1; i < count; ++i) quiet = quiet || std::wcscmp(argv[i], L"--quiet") == 0;
  ::LocalFree(argv);
  return quiet;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  if (!HasQuietArgument()) ::MessageBoxW(nullptr, kMessage, kTitle, MB_OK | MB_ICONINFORMATION);
  return 0;
}
