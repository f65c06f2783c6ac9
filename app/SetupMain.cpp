// The setup program's entry point: COM and GDI+, the skin archive from the module resource, the
// modal wizard, an orderly exit.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "DllSearch.h"
#include "InstallOptions.h"
#include "SetupArguments.h"
#include "SkinResource.h"
#include "SkinSource.h"
#include "SystemActions.h"
#include "ZKMainFrame.h"

namespace {

constexpr const wchar_t* kTitle = L"Tessaro";
constexpr DWORD kFrameStyle = 0x10CC0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
constexpr DWORD kFrameExStyle = 0x100;     // WS_EX_WINDOWEDGE

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  if (words == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(words[i]);
  LocalFree(words);
  return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  if (FAILED(CoInitialize(nullptr))) return 0;
  Gdiplus::GdiplusStartupInput startup;  // version 1, no callback, background thread on
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);

  SetInstallScope(DecideInstallScope(ParseSetupArguments(CommandLineArguments()), IsProcessElevated()));
  SkinUI::CSkinResource::SetResourceInstance(instance);
  LoadSkinSource();
  CreateObjectWnd<ZKMainFrame>(nullptr, nullptr, true, kTitle, {}, {}, kFrameStyle, kFrameExStyle, 1, 0);

  Gdiplus::GdiplusShutdown(gdiplusToken);
  CoUninitialize();
  return 0;
}
