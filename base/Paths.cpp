#include "Paths.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

namespace {

constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlProgramFiles = 38;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring GetSpecialFolder(int csidl) {
  wchar_t buffer[kPathBufferChars] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return std::wstring();
  buffer[kPathBufferChars - 1] = L'\0';
  return std::wstring(buffer);
}

std::wstring GetLocalAppDataFolder() { return GetSpecialFolder(kCsidlLocalAppData); }
std::wstring GetProductDataFolder() { return GetLocalAppDataFolder() + L"\\zk\\data"; }
std::wstring GetLogFolder() { return GetProductDataFolder() + L"\\" + L"zklog"; }
std::wstring GetDesktopFolder() { return GetSpecialFolder(kCsidlDesktopDirectory); }
std::wstring GetDefaultInstallFolder() { return GetSpecialFolder(kCsidlProgramFiles) + L"\\" + L"zk"; }

std::wstring GetSetupFolder() {
  wchar_t buffer[kPathBufferChars] = {};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(kPathBufferChars));
  if (length == 0 || length >= kPathBufferChars) return std::wstring();
  std::wstring path(buffer, length);
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

int CreateFolderPath(const std::wstring& path) {
  // Working copy: 260 characters plus terminator, room for one appended separator.
  wchar_t buffer[kPathBufferChars + 1] = {};
  const size_t length = path.size();
  if (length == 0) return 0;
  const bool endsWithSeparator = IsSeparator(path[length - 1]);
  const size_t needed = endsWithSeparator ? length : length + 1;
  if (needed > kPathBufferChars || path.find(L'\0') != std::wstring::npos) return 0;

  std::wmemcpy(buffer, path.data(), length);
  if (!endsWithSeparator) buffer[length] = L'/';

  for (size_t i = 0; i < needed; ++i) {
    if (!IsSeparator(buffer[i])) continue;
    buffer[i] = L'\0';
    // A drive root ("C:") or the empty prefix of "\\server" or "/x" is never created.
    if (buffer[0] != L'\0' && GetFileAttributesW(buffer) == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(buffer, nullptr);
    }
    buffer[i] = L'/';
  }
  return 0;
}

std::wstring GetFullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::wstring();
  std::vector<wchar_t> buffer(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, buffer.data(), nullptr);
  if (length == 0 || length >= size) return std::wstring();
  return std::wstring(buffer.data(), length);
}

bool IsSameOrInsideFolder(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                           static_cast<int>(folder.size()), TRUE) != CSTR_EQUAL) {
    return false;
  }
  return path.size() == folder.size() || IsSeparator(path[folder.size()]) || IsSeparator(folder.back());
}
