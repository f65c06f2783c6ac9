#include "TextConversion.h"

#include <windows.h>

#include <vector>

std::string WideToCodePage(const std::wstring& text, unsigned codePage) {
  const int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr);
  return std::string(buffer.data());
}

std::wstring CodePageToWide(const std::string& text, unsigned codePage) {
  const int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1, L'\0');
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, buffer.data(), size);
  return std::wstring(buffer.data());
}

std::string WideToAnsi(const std::wstring& text) { return WideToCodePage(text, CP_ACP); }
std::string WideToUtf8(const std::wstring& text) { return WideToCodePage(text, CP_UTF8); }
std::wstring AnsiToWide(const std::string& text) { return CodePageToWide(text, CP_ACP); }
std::wstring Utf8ToWide(const std::string& text) { return CodePageToWide(text, CP_UTF8); }
std::string AnsiToUtf8(const std::string& text) { return WideToUtf8(AnsiToWide(text)); }
std::string Utf8ToAnsi(const std::string& text) { return WideToAnsi(Utf8ToWide(text)); }

bool IsAnsiRepresentable(const std::wstring& text) {
  // UTF-8 as the ANSI code page holds every character, and WideCharToMultiByte refuses the
  // best-fit flag and the used-default pointer for it; only unpaired surrogates are lost.
  if (GetACP() == CP_UTF8) return Utf8ToWide(WideToUtf8(text)) == text;
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr,
                                       &usedDefault);
  if (size <= 0 || usedDefault) return false;
  return AnsiToWide(WideToAnsi(text)) == text;
}
