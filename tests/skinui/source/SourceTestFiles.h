#pragma once
// Folders and files of the Windows skin-source tests: the archives made by
// make-skin-zips.py before the tests run, and scratch folders of their own.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "UniqueHandle.h"

// The absolute folder of the made archives, with a trailing backslash.
inline std::wstring SkinZipsFolder() {
  wchar_t full[MAX_PATH];
  const DWORD n = GetFullPathNameW(L"test-data\\skin-zips\\", MAX_PATH, full, nullptr);
  return n == 0 || n >= MAX_PATH ? std::wstring() : std::wstring(full, n);
}

inline bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  const DWORD size = GetFileSize(file.get(), nullptr);
  bytes.resize(size);
  DWORD got = 0;
  return size == 0 || (ReadFile(file.get(), bytes.data(), size, &got, nullptr) && got == size);
}

inline std::vector<uint8_t> SourceBytes(const std::wstring& member) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(SkinZipsFolder() + L"src\\" + member, bytes);
  return bytes;
}

inline bool WriteWholeFile(const std::wstring& path, const void* bytes, size_t size) {
  unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const wchar_t* tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"zk-skin-" + tag + L"-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // No trailing backslash.
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};
