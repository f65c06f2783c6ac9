#include "ZKReg2.h"

#include <cwchar>
#include <limits>

ZKReg2::~ZKReg2() { Close(); }

LSTATUS ZKReg2::Create(HKEY root, const wchar_t* subKey, REGSAM access) {
  keyPath_ = subKey != nullptr ? subKey : L"";
  if (subKey == nullptr) {
    key_.reset();
    return ERROR_INVALID_PARAMETER;
  }
  return RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key_.put(),
                         nullptr);
}

LSTATUS ZKReg2::WriteString(const wchar_t* name, const wchar_t* text) {
  if (!key_) return ERROR_INVALID_HANDLE;
  if (text == nullptr) return ERROR_INVALID_PARAMETER;
  const size_t characters = std::wcslen(text);
  if (characters >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) return ERROR_INVALID_PARAMETER;
  const DWORD bytes = static_cast<DWORD>((characters + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LSTATUS ZKReg2::WriteDword(const wchar_t* name, DWORD value) {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void ZKReg2::Close() { key_.reset(); }
