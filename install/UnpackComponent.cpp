#include "UnpackComponent.h"

#include "DllSearch.h"
#include "Paths.h"
#include "TextConversion.h"

namespace {

constexpr const wchar_t* kComponentFile = L"7zCore.dll";

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
  const auto cancel = FindExport<decltype(&Zk7zCancel)>(module_.get(), "Zk7zCancel");
  const auto heal = FindExport<decltype(&Zk7zHeal)>(module_.get(), "Zk7zHeal");
  const auto installedNames = FindExport<decltype(&Zk7zInstalledNames)>(module_.get(), "Zk7zInstalledNames");
  const wchar_t* missing = unzip == nullptr            ? L"UnzipCore7z"
                           : lastError == nullptr      ? L"Zk7zLastError"
                           : cancel == nullptr         ? L"Zk7zCancel"
                           : heal == nullptr           ? L"Zk7zHeal"
                           : installedNames == nullptr ? L"Zk7zInstalledNames"
                                                       : nullptr;
  if (missing != nullptr) {
    reason = path + L" lacks the export " + missing;
    module_.reset();
    return false;
  }
  unzip_ = unzip;
  lastError_ = lastError;
  heal_ = heal;
  installedNames_ = installedNames;
  unpackedSize_ = FindExport<decltype(&Zk7zUnpackedSize)>(module_.get(), "Zk7zUnpackedSize");
  // A cancel asked before the DLL was there reaches it here; one asked from now on reaches it
  // through cancel_ (each side writes first, then reads the other's flag).
  cancel_.store(cancel);
  if (cancelled_.load()) cancel(1);
  return true;
}

void UnpackComponent::Cancel() {
  cancelled_.store(true);
  if (const auto cancel = cancel_.load()) cancel(1);
}

int UnpackComponent::Heal(const std::wstring& target) const { return heal_(WideToUtf8(target).c_str()); }

std::vector<std::string> UnpackComponent::InstalledNames() const {
  std::vector<std::string> names;
  const std::string all = installedNames_();
  size_t start = 0;
  for (size_t end = all.find('\n'); end != std::string::npos; start = end + 1, end = all.find('\n', start)) {
    names.push_back(all.substr(start, end - start));
  }
  return names;
}

bool UnpackComponent::Unzip(const std::string& archive, const std::string& target,
                            const std::function<void(uint64_t, uint64_t)>& progress) const {
  return unzip_(archive.c_str(), target.c_str(), progress);
}

std::wstring UnpackComponent::LastError() const { return Utf8ToWide(lastError_()); }

bool UnpackComponent::UnpackedSize(const std::wstring& archive, uint64_t* total) const {
  return unpackedSize_ != nullptr && unpackedSize_(WideToUtf8(archive).c_str(), total) == 1;
}
