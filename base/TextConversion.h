#pragma once
// Conversions between UTF-16 and the narrow forms: the system's ANSI code page and UTF-8.
// None fails: characters a code page cannot hold become its default character, and input
// that cannot be converted gives an empty or partial result.

#include <string>

std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring AnsiToWide(const std::string& text);
std::wstring Utf8ToWide(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
std::string Utf8ToAnsi(const std::string& text);

// The same conversions with an explicit code page (936 for the log file, for example).
std::string WideToCodePage(const std::wstring& text, unsigned codePage);
std::wstring CodePageToWide(const std::string& text, unsigned codePage);

// True when text survives a round trip through the ANSI code page unchanged.
bool IsAnsiRepresentable(const std::wstring& text);
