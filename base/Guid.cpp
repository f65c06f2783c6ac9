#include "Guid.h"

#include <objbase.h>

#include <cwchar>

std::wstring NewGuidString(bool withBraces) {
  GUID guid = {};
  if (FAILED(CoCreateGuid(&guid))) return std::wstring();
  wchar_t buffer[64] = {};
  const wchar_t* format = withBraces ? L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}"
                                     : L"%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X";
  std::swprintf(buffer, 64, format, static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3,
                guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return buffer;
}
