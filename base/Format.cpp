#include "Format.h"

#include <cstdarg>
#include <cwchar>

namespace {

std::wstring Printf(const wchar_t* format, ...) {
  wchar_t buffer[64];
  va_list args;
  va_start(args, format);
  const int length = std::vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
  va_end(args);
  return length < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(length));
}

}  // namespace

std::wstring FormatDuration(double seconds) {
  // NaN and negative durations both show as zero instead of negative fields.
  if (!(seconds >= 0.0)) seconds = 0.0;
  if (seconds > 2147483647.0) seconds = 2147483647.0;
  const int hours = static_cast<int>(seconds) / 3600;
  const double rest = seconds - 3600.0 * hours;
  const int minutes = static_cast<int>(rest / 60.0);
  const int secs = static_cast<int>(rest - 60.0 * minutes);
  const int millis = static_cast<int>(1000.0 * seconds - 1000.0 * (3600.0 * hours + 60.0 * minutes + secs));
  return Printf(L"%02d:%02d:%02d.%03d", hours, minutes, secs, millis);
}

std::wstring FormatSeconds(int32_t seconds) {
  return Printf(L"%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, (seconds % 3600) % 60);
}

int64_t ParseDuration(const std::wstring& text) {
  int hours = 0, minutes = 0, secs = 0, millis = 0;
  std::swscanf(text.c_str(), L"%d:%d:%d.%d", &hours, &minutes, &secs, &millis);
  // 32-bit signed wrap-around, computed without signed overflow.
  const uint32_t total = static_cast<uint32_t>(millis) + 3600000u * static_cast<uint32_t>(hours) +
                         60000u * static_cast<uint32_t>(minutes) + 1000u * static_cast<uint32_t>(secs);
  return static_cast<int32_t>(total);
}

std::wstring FormatSize(double bytes) {
  constexpr double kGiB = 1073741824.0;
  constexpr double kMiB = 1048576.0;
  if (bytes > kGiB) return Printf(L"%.1f GB", bytes / kGiB);
  if (bytes > kMiB) return Printf(L"%.1f MB", bytes / kMiB);
  return Printf(L"%.1f KB", bytes / 1024.0);
}

std::wstring FormatSizeCompact(uint64_t bytes) {
  if (bytes >= (uint64_t{1} << 30)) return Printf(L"%.01fGB", static_cast<double>(bytes >> 20) / 1024.0);
  if (bytes >= (uint64_t{1} << 20)) return Printf(L"%.01fMB", static_cast<double>(bytes >> 10) / 1024.0);
  return Printf(L"%.01fKB", static_cast<double>(bytes) / 1024.0);
}

namespace {

bool IsControlOrBidi(wchar_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
  return (c >= 0x200E && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::wstring EscapeControlCharacters(const std::wstring& text) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    if (!IsControlOrBidi(c)) {
      out.push_back(c);
      continue;
    }
    const unsigned code = static_cast<unsigned>(c);
    out += code <= 0xFF ? L"\\x" : L"\\u";
    for (int shift = code <= 0xFF ? 4 : 12; shift >= 0; shift -= 4) out.push_back(kHex[(code >> shift) & 15]);
  }
  return out;
}
