#pragma once
// A fresh folder under the temporary folder, removed with everything in it at scope exit.

#include <windows.h>

#include <string>

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Removes a file or a folder tree; read-only files included.
void RemoveTree(const std::wstring& path);

bool IsDirectory(const std::wstring& path);
bool Exists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);
