#include "SkinSource.h"

#include <windows.h>

#include <string>

#include "Paths.h"
#include "SkinResource.h"
#include "SkinResourceIndex.h"

namespace {

constexpr int kResourceTypeFolder = 1;
constexpr int kResourceTypeZipFile = 2;
constexpr int kResourceTypeModuleZip = 4;
constexpr const wchar_t* kSkinResourceType = L"ZKZIP_RES";
constexpr WORD kSkinResourceId = 113;
constexpr const wchar_t* kResourceIndex = L"res.xml";

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

