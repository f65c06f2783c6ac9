#include "ProductStart.h"

#include <windows.h>
#include <shellapi.h>

#include "DesktopShellLaunch.h"
#include "Log.h"
#include "SystemActions.h"

namespace {

constexpr const wchar_t* kSource = L"ZkInstall\\ProductStart";
constexpr const wchar_t* kRoutine = L"StartInstalledProduct";
constexpr INT_PTR kShellExecuteFailureLimit = 32;

ProductStarter g_starter = StartInstalledProduct;

bool StartDirectly(const std::wstring& application, const std::wstring& workingFolder) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", application.c_str(), nullptr, workingFolder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > kShellExecuteFailureLimit;
}

}  // namespace

void StartInstalledProduct(const std::wstring& application, const std::wstring& workingFolder) {
  if (IsProcessElevated()) {
    if (OpenThroughDesktopShell(application, workingFolder)) {
      WriteLogFormat(L"%ls %ls started %ls as the signed-in user through the desktop shell", kSource, kRoutine,
                     application.c_str());
      return;
    }
    WriteLogFormat(L"%ls %ls the desktop shell could not start %ls; starting it from setup", kSource, kRoutine,
                   application.c_str());
  }
  if (!StartDirectly(application, workingFolder)) {
    WriteLogFormat(L"%ls %ls cannot start %ls: error %lu", kSource, kRoutine, application.c_str(),
                   static_cast<unsigned long>(GetLastError()));
  }
}

ProductStarter SetProductStarter(ProductStarter starter) {
  const ProductStarter previous = g_starter;
  g_starter = starter != nullptr ? starter : StartInstalledProduct;
  return previous;
}

ProductStarter GetProductStarter() { return g_starter; }
