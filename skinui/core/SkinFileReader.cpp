#include "SkinFileReader.h"

#include <limits>

#include "UniqueHandle.h"

#include "SkinResource.h"

namespace SkinUI {

bool ReadSkinOrPlainFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (name.empty()) return false;
  if (CSkinResource::ReadSkinFile(name, bytes) && !bytes.empty()) return true;
  bytes.clear();
  return ReadPlainFile(name, bytes);
}

bool ReadPlainFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (path.empty()) return false;
  unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      size.QuadPart > static_cast<LONGLONG>(std::numeric_limits<DWORD>::max() / 2))
    return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) ||
        read == 0) {
      bytes.clear();
      return false;
    }
    done += read;
  }
  return true;
}

bool ReadModuleResource(HINSTANCE instance, LPCWSTR name, LPCWSTR type, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (instance == nullptr) instance = GetToolkitInstance();
  HRSRC resource = ::FindResourceW(instance, name, type);
  if (resource == nullptr) return false;
  const DWORD size = ::SizeofResource(instance, resource);
  HGLOBAL loaded = ::LoadResource(instance, resource);
  if (loaded == nullptr || size == 0) return false;
  const void* data = ::LockResource(loaded);
  if (data != nullptr) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes.assign(first, first + size);
  }
  ::FreeResource(loaded);
  return !bytes.empty();
}

HINSTANCE GetToolkitInstance() {
  if (HINSTANCE instance = CSkinResource::GetResourceInstance()) return instance;
  return ::GetModuleHandleW(nullptr);
}

}  // namespace SkinUI
