#include "AttributeText.h"

#include <cwchar>
#include <cwctype>

namespace SkinUI {
namespace attr {

namespace {
constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;
constexpr wchar_t kLastBlank = 32;
}  // namespace

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return b[i] == 0;
}

bool ParseBool(const std::wstring& value) { return EqualsNoCase(value, L"true"); }

int ParseInt(const std::wstring& value) {
  return static_cast<int>(std::wcstol(value.c_str(), nullptr, kDecimal));
}

void ParseIntList(const std::wstring& value, int* numbers, int count) {
  const wchar_t* cursor = value.c_str();
  for (int i = 0; i < count; ++i) {
    wchar_t* end = nullptr;
    numbers[i] = *cursor != 0 ? static_cast<int>(std::wcstol(cursor, &end, kDecimal)) : 0;
    if (end != nullptr) cursor = end;
    if (*cursor != 0) ++cursor;
  }
}

void ParseDoubleList(const std::wstring& value, double* numbers, int count) {
  const wchar_t* cursor = value.c_str();
  for (int i = 0; i < count; ++i) {
    wchar_t* end = nullptr;
    numbers[i] = *cursor != 0 ? std::wcstod(cursor, &end) : 0.0;
    if (end != nullptr) cursor = end;
    if (*cursor != 0) ++cursor;
  }
}

uint32_t ParseColor(const std::wstring& value, bool skipBlanks) {
  const wchar_t* cursor = value.c_str();
  if (skipBlanks) {
    while (*cursor != 0 && *cursor <= kLastBlank) ++cursor;
  }
  if (*cursor == L'#') ++cursor;
  return static_cast<uint32_t>(std::wcstoul(cursor, nullptr, kHexadecimal));
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return text;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

bool ContainsWord(const std::wstring& text, const wchar_t* word) { return text.find(word) != std::wstring::npos; }

}  // namespace attr
}  // namespace SkinUI
