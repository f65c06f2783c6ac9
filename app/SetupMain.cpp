// The setup program's entry point: COM and GDI+, the skin archive from the module resource, the
// modal wizard, an orderly exit.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <string>

#include "DllSearch.h"
#include "Paths.h"
#include "SkinResource.h"
#include "SkinResourceIndex.h"
#include "ZKMainFrame.h"

namespace {

constexpr int kResourceTypeFolder = 1;
constexpr int kResourceTypeZipFile = 2;
constexpr int kResourceTypeModuleZip = 4;
constexpr const wchar_t* kSkinResourceType = L"ZKZIP_RES";
constexpr WORD kSkinResourceId = 113;
constexpr const wchar_t* kResourceIndex = L"res.xml";
constexpr const wchar_t* kTitle = L"Tessaro";
constexpr DWORD kFrameStyle = 0x10CC0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
constexpr DWORD kFrameExStyle = 0x100;     // WS_EX_WINDOWEDGE

void LoadResourceIndex() { SkinUI::CSkinResourceIndex::GetInstance()->LoadResourceIndex(kResourceIndex, L""); }

void LoadModuleSkinArchive() {
  HINSTANCE instance = SkinUI::CSkinResource::GetResourceInstance();
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kSkinResourceId), kSkinResourceType);
  if (found == nullptr) return;
  HGLOBAL loaded = LoadResource(instance, found);
  if (loaded != nullptr) {
    const DWORD size = SizeofResource(instance, found);
    if (size != 0) {
      // Resource bytes stay mapped for the life of the process; the archive is not copied.
      SkinUI::CSkinResource::SetResourceZipMemory(LockResource(loaded), size, L"");
      LoadResourceIndex();
    }
  }
  FreeResource(loaded);
}

}  // namespace

void LoadSkinSource() {
  SkinUI::CSkinResource::SetResourceType(kResourceTypeModuleZip);
  const std::wstring setupFolder = GetSetupFolder();
  switch (SkinUI::CSkinResource::GetResourceType()) {
    case kResourceTypeFolder:
      SkinUI::CSkinResource::SetResourcePath(setupFolder + L"\\installSkin\\");
      LoadResourceIndex();
      break;
    case kResourceTypeZipFile:
      SkinUI::CSkinResource::SetResourcePath(setupFolder);
      SkinUI::CSkinResource::SetResourceZip(L"zk.ini", true, L"");
      SkinUI::CSkinResource::ReloadSkin();
      LoadResourceIndex();
      break;
    case kResourceTypeModuleZip:
      SkinUI::CSkinResource::SetResourcePath(setupFolder + L"skin\\");
      LoadModuleSkinArchive();
      break;
    default:
      break;
  }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  if (FAILED(CoInitialize(nullptr))) return 0;
  Gdiplus::GdiplusStartupInput startup;  // version 1, no callback, background thread on
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);

  SkinUI::CSkinResource::SetResourceInstance(instance);
  LoadSkinSource();
  CreateObjectWnd<ZKMainFrame>(nullptr, nullptr, true, kTitle, {}, {}, kFrameStyle, kFrameExStyle, 1, 0);

  Gdiplus::GdiplusShutdown(gdiplusToken);
  CoUninitialize();
  return 0;
}
