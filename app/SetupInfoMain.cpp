// setup-info: prints where this machine's installation would go and what the platform answers.
#include <windows.h>

#include <cstdio>
#include <string>

#include "InstallOptions.h"
#include "Log.h"
#include "Paths.h"
#include "SystemActions.h"
#include "TextConversion.h"

namespace {

void PrintLine(const char* label, const std::wstring& value) {
  std::printf("%-28s %s\n", label, WideToUtf8(value).c_str());
}

}  // namespace

int wmain() {
  PrintLine("setup folder", GetSetupFolder());
  PrintLine("payload archive", GetSetupFolder() + L"\\zk.7z");
  // Only prints: the record would create the installation folder.
  const std::wstring folder = DefaultInstallFolder(InstallScope::kPerMachine);
  PrintLine("installation folder", folder);
  PrintLine("program folder", folder + L"\\zkbin");
  PrintLine("per-user installation folder", DefaultInstallFolder(InstallScope::kPerUser));
  PrintLine("desktop folder", GetDesktopFolder());
  PrintLine("log file", GetLogFilePath());
  PrintLine("64-bit Windows (WOW64)", IsWow64() ? L"yes" : L"no");
  PrintLine("Windows 10 or later", IsWindows10OrGreater() ? L"yes" : L"no");
  return 0;
}
