#pragma once
// Real folders, links and registry values for the shell tests, and their clean-up.

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

namespace shelltest {

inline bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  std::wstring path(buffer, length);
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

inline std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

inline void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileW(path.c_str());
    return;
  }
  for (const std::wstring& name : FolderEntries(path)) RemoveTree(path + L"\\" + name);
  RemoveDirectoryW(path.c_str());
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& leaf = L"") {
    static unsigned counter = 0;
    path_ = TempFolder() + L"\\zkshell-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + leaf;
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(path_); }

  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Points GetTempPathW at another folder (through TMP and TEMP) for one scope.
class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::wstring& folder) {
    saved_[0] = Read(L"TMP");
    saved_[1] = Read(L"TEMP");
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
  }
  TempFolderOverride(const TempFolderOverride&) = delete;
  TempFolderOverride& operator=(const TempFolderOverride&) = delete;
  ~TempFolderOverride() {
    SetEnvironmentVariableW(L"TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
    SetEnvironmentVariableW(L"TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
  }

 private:
  static std::wstring Read(const wchar_t* name) {
    wchar_t buffer[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return std::wstring(buffer, length < 32768 ? length : 0);
  }
  std::wstring saved_[2];
};

class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

struct LinkFields {
  bool loaded = false;
  std::wstring target;
  std::wstring workingFolder;
  std::wstring description;
  std::wstring iconPath;
  int iconIndex = -1;
};

// Loads a .lnk file through the system's shell link object.
inline LinkFields ReadLink(const std::wstring& path) {
  LinkFields fields;
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return fields;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ))) return fields;
  fields.loaded = true;
  wchar_t text[1024] = {};
  if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) fields.target = text;
  text[0] = L'\0';
  if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) fields.workingFolder = text;
  text[0] = L'\0';
  if (SUCCEEDED(link->GetDescription(text, 1024))) fields.description = text;
  text[0] = L'\0';
  if (SUCCEEDED(link->GetIconLocation(text, 1024, &fields.iconIndex))) fields.iconPath = text;
  return fields;
}

struct RegistryValue {
  LSTATUS status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

inline RegistryValue ReadValue(HKEY root, const std::wstring& subKey, const wchar_t* name) {
  RegistryValue value;
  unique_hkey key;
  value.status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put());
  if (value.status != ERROR_SUCCESS) return value;
  DWORD size = 0;
  value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size);
  if (value.status != ERROR_SUCCESS) return value;
  value.bytes.resize(size);
  value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size);
  value.bytes.resize(size);
  return value;
}

// The bytes RegSetValueExW must have received for a REG_SZ value: text and terminator.
inline std::vector<BYTE> StringBytes(const std::wstring& text) {
  const BYTE* begin = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(begin, begin + (text.size() + 1) * sizeof(wchar_t));
}

inline std::vector<BYTE> DwordBytes(DWORD number) {
  const BYTE* begin = reinterpret_cast<const BYTE*>(&number);
  return std::vector<BYTE>(begin, begin + sizeof(number));
}

inline std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& subKey) {
  std::vector<std::wstring> names;
  unique_hkey key;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};
    DWORD length = 256;
    if (RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace shelltest
