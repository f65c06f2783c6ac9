// The setup program's entry point: the DLL search restricted, COM, the command line, then the
// silent installation or the wizard (GDI+, the skin archive from the module resource), an orderly
// exit.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "DllSearch.h"
#include "GdiplusWarmUp.h"
#include "InstallOptions.h"
#include "InstalledProduct.h"
#include "Log.h"
#include "Paths.h"
#include "SetupArguments.h"
#include "SilentInstall.h"
#include "SingleInstance.h"
#include "SkinResource.h"
#include "SkinSource.h"
#include "SystemActions.h"
#include "ZKInstallThread.h"
#include "ZKMainFrame.h"

namespace {

constexpr const wchar_t* kTitle = L"Tessaro";
constexpr DWORD kFrameStyle = 0x10CC0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
constexpr DWORD kFrameExStyle = 0x100;     // WS_EX_WINDOWEDGE

constexpr const wchar_t* kZkbinSuffix = L"\\zkbin";

void ShowUsage(const std::wstring& problem) {
  const std::wstring text = problem.empty() ? SetupUsageText() : problem + L"\n\n" + SetupUsageText();
  MessageBoxW(nullptr, text.c_str(), kTitle, problem.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}

// The folder the wizard offers first: where the product is installed already, else the default.
std::wstring InitialInstallFolder(const SetupArguments& arguments, const InstalledProduct* installed) {
  if (!arguments.installDir.empty()) return arguments.installDir;
  if (installed == nullptr) return std::wstring();
  const std::wstring& location = installed->location;
  const size_t suffix = location.size() >= 6 ? location.size() - 6 : std::wstring::npos;
  if (suffix == std::wstring::npos || _wcsicmp(location.c_str() + suffix, kZkbinSuffix) != 0) return std::wstring();
  std::wstring folder = location.substr(0, suffix);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

void LogInstalledVersion(const InstalledProduct& installed) {
  const int order = CompareVersions(installed.version, ProductVersion());
  const wchar_t* what = order < 0 ? L"upgrade" : order == 0 ? L"reinstall" : L"downgrade";
  WriteLogFormat(L"%ls %ls %ls: %ls installed in %ls, this setup is %ls", L"ZkInstall\\SetupMain", L"wWinMain", what,
                 installed.version.c_str(), installed.location.c_str(), ProductVersion());
}

// GDI+ only for the wizard: its background thread makes a window of its own, which a silent
// installation must not have.
void RunWizard(HINSTANCE instance) {
  Gdiplus::GdiplusStartupInput startup;  // version 1, no callback, background thread on
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);
  SkinUI::CGdiplusWarmUp::Start();
  SkinUI::CSkinResource::SetResourceInstance(instance);
  LoadSkinSource();
  CreateObjectWnd<ZKMainFrame>(nullptr, nullptr, true, kTitle, {}, {}, kFrameStyle, kFrameExStyle, 1, 0);
  SkinUI::CGdiplusWarmUp::Wait();
  Gdiplus::GdiplusShutdown(gdiplusToken);
}

// The whole setup after the search order is restricted; returns the exit code.
int RunSetup(HINSTANCE instance) {
  const SetupArguments arguments = ParseSetupCommandLine(GetCommandLineW());
  if (!arguments.logFile.empty()) {
    const std::wstring full = GetFullPath(arguments.logFile);
    SetLogCopyFile(full.empty() ? arguments.logFile : full);
  }
  if (!arguments.error.empty()) {
    WriteLogFormat(L"%ls %ls bad command line: %ls", L"ZkInstall\\SetupMain", L"wWinMain", arguments.error.c_str());
    if (!arguments.silent) ShowUsage(arguments.error);
    return kExitBadCommandLine;
  }
  if (arguments.help) {
    if (!arguments.silent) ShowUsage(std::wstring());
    return kExitInstalled;
  }

  const InstallScope scope = DecideInstallScope(arguments, IsProcessElevated());
  const SingleSetupInstance oneSetup(scope);
  if (!oneSetup.IsOnly()) {
    if (arguments.silent) return kExitAnotherSetupRuns;
    BringRunningWizardToFront();
    return kExitInstalled;
  }
  const std::unique_ptr<InstalledProduct> installed = FindInstalledProduct(scope);
  SetInstallScope(scope, InitialInstallFolder(arguments, installed.get()));
  if (installed) LogInstalledVersion(*installed);
  HealInterruptedUnpack(GetBinDir());
  InstallOptions& options = GetInstallOptions();
  if (arguments.noDesktop) options.desktopShortcut = false;
  if (arguments.noPin) options.taskbarPin = false;
  if (arguments.silent) return RunSilentInstall(arguments);

  RunWizard(instance);
  // The wizard ends with 0 on every path; callers may rely on it.
  return kExitInstalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  if (FAILED(CoInitialize(nullptr))) return 0;
  const int exitCode = RunSetup(instance);
  CoUninitialize();
  return exitCode;
}
