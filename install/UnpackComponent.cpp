#include "UnpackComponent.h"

#include "DllSearch.h"
#include "Paths.h"
#include "TextConversion.h"

namespace {

constexpr const wchar_t* kComponentFile = L"7zCore.dll";

template <typename Function>
Function FindExport(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool UnpackComponent::Load(std::wstring& reason) {
  if (unzip_ != nullptr) return true;
  const std::wstring path = GetSetupFolder() + L"\\" + kComponentFile;
  module_.reset(LoadLibraryAtPath(path));
  if (!module_) {
    reason = L"cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")";
    return false;
  }
  const auto unzip = FindExport<decltype(&UnzipCore7z)>(module_.get(), "UnzipCore7z");
  const auto lastError = FindExport<decltype(&Zk7zLastError)>(module_.get(), "Zk7zLastError");
  if (unzip == nullptr || lastError == nullptr) {
    reason = path + L" lacks the export " + (unzip == nullptr ? L"UnzipCore7z" : L"Zk7zLastError");
    module_.reset();
    return false;
  }
  unzip_ = unzip;
  lastError_ = lastError;
  unpackedSize_ = FindExport<decltype(&Zk7zUnpackedSize)>(module_.get(), "Zk7zUnpackedSize");
  return true;
}

bool UnpackComponent::Unzip(const std::string& archive, const std::string& target,
                            const std::function<void(uint64_t, uint64_t)>& progress) const {
  return unzip_(archive.c_str(), target.c_str(), progress);
}

std::wstring UnpackComponent::LastError() const { return Utf8ToWide(lastError_()); }

bool UnpackComponent::UnpackedSize(const std::wstring& archive, uint64_t* total) const {
  return unpackedSize_ != nullptr && unpackedSize_(WideToUtf8(archive).c_str(), total) == 1;
}
