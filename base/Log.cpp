#include "Log.h"

#include <windows.h>

#include <cstdarg>
#include <ctime>
#include <cwchar>
#include <vector>

#include "Format.h"
#include "Paths.h"
#include "TextConversion.h"
#include "UniqueHandle.h"

namespace {

constexpr unsigned kLogCodePage = 936;
constexpr size_t kStampChars = 128;

std::wstring TimeStamp() {
  wchar_t buffer[kStampChars] = {};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_s(&local, &now) != 0) return std::wstring();
  // "%X" of the "C" locale: hours, minutes, seconds on a 24-hour clock.
  std::wcsftime(buffer, kStampChars, L"[%Y-%m-%d %H:%M:%S]", &local);
  return buffer;
}

void WriteBytes(HANDLE handle, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void EchoToStandardOutput(const std::wstring& line) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  const std::wstring text = line + L"\r\n";
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    DWORD written = 0;
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    WriteBytes(out, WideToCodePage(text, kLogCodePage));
  }
}

std::wstring g_copyFile;

void AppendToFile(const std::wstring& path, const std::wstring& line) {
  const std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CreateFolderPath(folder);
  }
  unique_file file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  // One write per line, so lines of other processes sharing the file do not interleave.
  WriteBytes(file.get(), WideToCodePage(line + L"\r\n", kLogCodePage));
}

}  // namespace

std::wstring GetLogFilePath() { return GetLogFolder() + L"\\ll.log"; }

void SetLogCopyFile(const std::wstring& path) { g_copyFile = path; }

void WriteLog(const std::wstring& message) {
  try {
    const std::wstring stamp = TimeStamp();
    // One line each: messages carry names from the archive, which may hold anything.
    const std::wstring text = EscapeControlCharacters(message);
    EchoToStandardOutput(stamp + L" " + text);
    AppendToFile(GetLogFilePath(), stamp + L" - " + text);
    if (!g_copyFile.empty()) AppendToFile(g_copyFile, stamp + L" - " + text);
  } catch (...) {
    // Logging never fails its caller.
  }
}

int WriteLogFormat(const wchar_t* format, ...) {
  if (format == nullptr) return -1;
  // Runtimes disagree on what a too-small buffer returns (-1 or the needed length): grow on both.
  constexpr size_t kMaxChars = size_t{1} << 20;
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    const int length = std::vswprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (length >= 0 && static_cast<size_t>(length) < buffer.size()) {
      WriteLog(std::wstring(buffer.data(), static_cast<size_t>(length)));
      return length;
    }
    if (buffer.size() >= kMaxChars) return -1;
    buffer.resize(buffer.size() * 4);
  }
}
