#include "DesktopShellLaunch.h"

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// A VARIANT that clears itself; BSTR contents are owned.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  explicit ScopedVariant(const std::wstring& text) : ScopedVariant() {
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  explicit ScopedVariant(LONG number) : ScopedVariant() {
    value_.vt = VT_I4;
    value_.lVal = number;
  }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  ~ScopedVariant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// The desktop window's shell object model: ShellWindows finds the desktop's browser, its view's
// background object leads to the Shell.Application object of Explorer's process.
ComPtr<IShellDispatch2> DesktopShellDispatch() {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&windows)))) {
    return nullptr;
  }
  ScopedVariant desktop(static_cast<LONG>(CSIDL_DESKTOP));
  ScopedVariant root;
  LONG window = 0;
  ComPtr<IDispatch> found;
  if (windows->FindWindowSW(desktop.get(), root.get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &found) != S_OK ||
      !found) {
    return nullptr;
  }
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (FAILED(found.As(&services)) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
      FAILED(browser->QueryActiveShellView(&view)) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background))) ||
      FAILED(background.As(&folderView)) || FAILED(folderView->get_Application(&application)) || !application ||
      FAILED(application.As(&shell))) {
    return nullptr;
  }
  return shell;
}

}  // namespace

bool OpenThroughDesktopShell(const std::wstring& file, const std::wstring& workingFolder) {
  const ComPtr<IShellDispatch2> shell = DesktopShellDispatch();
  if (!shell) return false;
  BSTR fileText = SysAllocStringLen(file.data(), static_cast<UINT>(file.size()));
  if (fileText == nullptr) return false;
  ScopedVariant arguments(std::wstring{});
  ScopedVariant folder(workingFolder);
  ScopedVariant verb(std::wstring(L"open"));
  ScopedVariant show(static_cast<LONG>(SW_SHOWNORMAL));
  const HRESULT result = shell->ShellExecute(fileText, *arguments.get(), *folder.get(), *verb.get(), *show.get());
  SysFreeString(fileText);
  return SUCCEEDED(result);
}
