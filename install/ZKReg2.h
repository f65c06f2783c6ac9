#pragma once
// One registry key opened for writing: remembers the sub-key path it was created with and
// owns the key handle until Close or destruction.

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

class ZKReg2 {
 public:
  ZKReg2() = default;
  ZKReg2(const ZKReg2&) = delete;
  ZKReg2& operator=(const ZKReg2&) = delete;
  virtual ~ZKReg2();

  // Records subKey, then creates or opens it below root (non-volatile, default security).
  // Returns the registry status; whether the key already existed is not reported.
  LSTATUS Create(HKEY root, const wchar_t* subKey, REGSAM access);

  // REG_SZ value stored with its terminator: (characters + 1) * 2 bytes.
  LSTATUS WriteString(const wchar_t* name, const wchar_t* text);

  LSTATUS WriteDword(const wchar_t* name, DWORD value);

  // Closes the key if one is open; safe to call again.
  void Close();

  const std::wstring& keyPath() const { return keyPath_; }
  HKEY key() const { return key_.get(); }

 private:
  std::wstring keyPath_;
  unique_hkey key_;
};
