// ZKUnInstall.exe's entry point: the DLL search restricted, COM, the command line; from the
// program folder a copy in the temporary folder does the work; the copy checks the entry and the
// running product, then removes silently or through its window, reports the result and has
// itself deleted at the next restart.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <string>

#include "DllSearch.h"
#include "GdiplusWarmUp.h"
#include "InstallSteps.h"
#include "Log.h"
#include "Paths.h"
#include "SkinResource.h"
#include "SkinSource.h"
#include "ParentLink.h"
#include "UninstallRelaunch.h"
#include "ZKUninstallFrame.h"
#include "ZKUninstaller.h"

namespace {

constexpr const wchar_t* kTitle = L"Tessaro";
constexpr wchar_t kLogSource[] = L"ZkUninstall\\UninstallMain";
constexpr wchar_t kUninstallerFile[] = L"\\ZKUnInstall.exe";
constexpr DWORD kFrameStyle = 0x10CC0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
constexpr DWORD kFrameExStyle = 0x100;     // WS_EX_WINDOWEDGE

constexpr const wchar_t* kUsageText =
    L"ZKUnInstall.exe [/S] [/LOG=文件] [程序文件夹]\n\n/S\t静默卸载，结果见退出码\n/LOG=文件\t日志另存一份到该文件";
constexpr const wchar_t* kRunningText = L"Tessaro 正在运行。请先关闭它，再卸载。";
constexpr const wchar_t* kCannotRelaunchText = L"无法在临时文件夹中启动卸载程序，Tessaro 未被卸载。";
constexpr const wchar_t* kNotInstalledText = L"这个文件夹中没有已安装的 Tessaro：";

void Tell(const UninstallArguments& arguments, const std::wstring& text) {
  if (!arguments.silent) MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// The entry names the folder in its long form; a start through an 8.3 path must still find it.
std::wstring LongForm(const std::wstring& path) {
  const DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring buffer(needed, L'\0');
  const DWORD written = GetLongPathNameW(path.c_str(), &buffer[0], needed);
  if (written == 0 || written >= needed) return path;
  buffer.resize(written);
  return buffer;
}

int RunWindow(HINSTANCE instance, UninstallSession* session) {
  Gdiplus::GdiplusStartupInput startup;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);
  SkinUI::CGdiplusWarmUp::Start();
  SkinUI::CSkinResource::SetResourceInstance(instance);
  LoadSkinSource();
  SetUninstallSession(session);
  CreateObjectWnd<ZKUninstallFrame>(nullptr, nullptr, true, kTitle, {}, {}, kFrameStyle, kFrameExStyle, 1, 0);
  SetUninstallSession(nullptr);
  SkinUI::CGdiplusWarmUp::Wait();
  Gdiplus::GdiplusShutdown(gdiplusToken);
  return session->exitCode;
}

// The work of the copy (or of a program started outside the folder it removes).
int Uninstall(HINSTANCE instance, const UninstallArguments& arguments, const std::wstring& programFolder,
              CParentLink* parent) {
  UninstallEntry entry;
  if (!FindUninstallEntry(programFolder, &entry)) {
    WriteLogFormat(L"%ls %ls no uninstall entry names %ls", kLogSource, L"Uninstall", programFolder.c_str());
    Tell(arguments, kNotInstalledText + programFolder);
    return kExitNotInstalled;
  }
  // The program that started this copy still runs from the folder, waiting for the result.
  const std::wstring starter = parent->HasParent() ? programFolder + kUninstallerFile : std::wstring();
  if (ProductIsRunning(programFolder, starter)) {
    Tell(arguments, kRunningText);
    return kExitProductRunning;
  }
  CZKUninstaller remover(entry, starter);
  if (!arguments.silent) {
    UninstallSession session;
    session.remover = &remover;
    session.parent = parent;
    session.runningException = starter;
    return RunWindow(instance, &session);
  }
  remover.RemoveAll();
  parent->ReportResult(remover.ExitCode());
  parent->WaitForParent();
  remover.RemoveDeferred();
  return remover.ExitCode();
}

int RunUninstaller(HINSTANCE instance) {
  UninstallArguments arguments = ParseUninstallCommandLine(GetCommandLineW());
  if (!arguments.logFile.empty()) {
    // Full before the copy gets it: the copy works in another folder.
    const std::wstring full = GetFullPath(arguments.logFile);
    if (!full.empty()) arguments.logFile = full;
    SetLogCopyFile(arguments.logFile);
  }
  if (!arguments.error.empty()) {
    WriteLogFormat(L"%ls %ls bad command line: %ls", kLogSource, L"wWinMain", arguments.error.c_str());
    Tell(arguments, arguments.error + L"\n\n" + kUsageText);
    return kExitBadCommandLine;
  }
  const std::wstring self = OwnProgramPath();
  const std::wstring programFolder = LongForm(WithoutTrailingSeparator(
      arguments.programFolder.empty() ? self.substr(0, self.rfind(L'\\')) : GetFullPath(arguments.programFolder)));
  if (IsSameOrInsideFolder(LongForm(self), programFolder)) {
    const int code = RunCopyFromTempFolder(arguments, programFolder);
    if (code == kExitCannotRelaunch) Tell(arguments, kCannotRelaunchText);
    return code;
  }

  CParentLink parent(arguments);
  // First: a copy that fails or is ended part-way is still deleted.
  if (parent.HasParent()) ScheduleOwnDeletion();
  const int code = Uninstall(instance, arguments, programFolder, &parent);
  parent.ReportResult(code);
  if (code != kUninstalled) {
    WriteLogFormat(L"%ls %ls %ls not uninstalled completely: exit code %d", kLogSource, L"wWinMain",
                   programFolder.c_str(), code);
  }
  return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  if (FAILED(CoInitialize(nullptr))) return kExitNotAllRemoved;
  const int exitCode = RunUninstaller(instance);
  CoUninitialize();
  return exitCode;
}
