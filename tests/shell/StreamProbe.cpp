// Runs one shell routine so a test can read what it writes to the standard streams.
//   shell_stream_probe create|create-fails|create-unsavable <link path> <target>
//   shell_stream_probe pin <temporary folder> <target> <link name>
// The exit code is the routine's result.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "FakeShellLink.h"
#include "Shortcuts.h"

namespace {

int Create(const std::wstring& mode, const wchar_t* link, const wchar_t* target) {
  if (mode == L"create-fails") SetShellLinkFactory(shelltest::FailingShellLinkFactory);
  if (mode == L"create-unsavable") SetShellLinkFactory(shelltest::UnsavableShellLinkFactory);
  return CreateShortcut(target, L"C:\\", L"Tessaro", target, 0, link);
}

int Pin(const wchar_t* tempFolder, const wchar_t* target, const wchar_t* name) {
  SetEnvironmentVariableW(L"TMP", tempFolder);
  SetEnvironmentVariableW(L"TEMP", tempFolder);
  return PinToTaskbar(target, L"C:\\", L"Tessaro", name, target, 0);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 4) return 100;
  CoInitialize(nullptr);
  const std::wstring mode = args[1];
  int result = 100;
  if (mode == L"pin" && count >= 5) {
    result = Pin(args[2], args[3], args[4]);
  } else if (mode.compare(0, 6, L"create") == 0) {
    result = Create(mode, args[2], args[3]);
  }
  CoUninitialize();
  LocalFree(args);
  return result;
}
