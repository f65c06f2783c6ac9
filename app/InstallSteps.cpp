#include "InstallSteps.h"

#include <windows.h>

#include <vector>

#include "FolderSecurity.h"
#include "InstallOptions.h"
#include "Log.h"
#include "Paths.h"
#include "RunningPrograms.h"
#include "Shortcuts.h"
#include "SystemActions.h"
#include "UninstallRegistration.h"

namespace {

constexpr const wchar_t* kProductName = L"Tessaro";

}  // namespace

void CreateProgramFolder(const std::wstring& binDir) {
  const InstallOptions& options = GetInstallOptions();
  CreateInstallFolder(binDir.substr(0, binDir.rfind(L'\\')));
  if (options.scope == InstallScope::kPerUser || IsInsideProgramFiles(binDir)) {
    CreateFolderPath(binDir);
    return;
  }
  if (!CreateProtectedFolder(binDir)) {
    WriteLogFormat(L"%ls %ls cannot protect the program folder %ls: error %lu", L"ZkInstall\\InstallSteps",
                   L"CreateProgramFolder", binDir.c_str(), static_cast<unsigned long>(GetLastError()));
  }
}

bool IsWritableFolder(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\zk-setup-write-test.tmp";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool ProductIsRunning(const std::wstring& binDir, const std::wstring& except) {
  bool any = false;
  for (const std::wstring& program : FindProgramsRunningFrom(binDir)) {
    if (!except.empty() && _wcsicmp(program.c_str(), except.c_str()) == 0) continue;
    any = true;
    WriteLogFormat(L"%ls %ls %ls is running and must be closed first", L"ZkInstall\\InstallSteps",
                   L"ProductIsRunning", program.c_str());
  }
  return any;
}

void LogUnpackFailure(const std::wstring& reason) {
  WriteLogFormat(L"%ls %ls Unpack error: %ls", L"ZkInstall\\ZKInstallThread", L"CZKInstallThread::DoTask",
                 reason.c_str());
}

void CreateDesktopLink(const wchar_t* routine) {
  const std::wstring binDir = GetBinDir();
  const std::wstring application = binDir + L"\\VIDer.exe";
  const std::wstring link = GetDesktopFolder() + L"\\" + kProductName + L".lnk";
  if (CreateShortcut(application.c_str(), binDir.c_str(), kProductName, application.c_str(), 0, link.c_str()) == 0) {
    WriteLogFormat(L"%ls %ls CreateShortcut error.", L"ZkInstall\\ZKInstallPage2", routine);
  }
}

void FinishInstallation(bool pin) {
  const std::wstring binDir = GetBinDir();
  const std::wstring application = binDir + L"\\VIDer.exe";
  const std::wstring uninstaller = binDir + L"\\ZKUnInstall.exe";
  RegisterUninstall(binDir.c_str());
  CreateStartMenuShortcuts(application.c_str(), uninstaller.c_str(), binDir.c_str(), kProductName,
                           GetInstallOptions().scope);
  // Windows 10 and later refuse programmatic pins; the box also lets the user decline it.
  if (IsWindows10OrGreater() || !pin) return;
  if (PinToTaskbar(application.c_str(), binDir.c_str(), kProductName, kProductName, application.c_str(), 0) == 0) {
    WriteLogFormat(L"%ls %ls CreateShortcut error.", L"ZkInstall\\ZKInstallPage3", L"CZKInstallPage3::ZKUnZipAll");
  }
}
