#pragma once
// Text formats for durations and byte counts shared by the product's programs.

#include <cstdint>
#include <string>

// "hh:mm:ss.mmm"; hours are not limited to two digits. Negative input counts as 0.
std::wstring FormatDuration(double seconds);

// "hh:mm:ss" of whole seconds.
std::wstring FormatSeconds(int32_t seconds);

// Reads "h:m:s.ms" (missing fields count as 0) and returns milliseconds; the part after the
// point is whole milliseconds, not a fraction. Arithmetic wraps as 32-bit signed.
int64_t ParseDuration(const std::wstring& text);

// "%.1f GB|MB|KB": switches unit only above 1 GiB and above 1 MiB, space before the unit.
std::wstring FormatSize(double bytes);

// "%.01fGB|MB|KB": switches unit at exactly 1 GiB and 1 MiB, drops the low bits first, no space.
std::wstring FormatSizeCompact(uint64_t bytes);

// text with every control character (C0, DEL, C1) and every bidirectional override or isolate
// written as "\xHH" or "\uHHHH", so that text from outside (an archive's names) cannot break a log
// line or make it read backwards. A backslash stays as it is.
std::wstring EscapeControlCharacters(const std::wstring& text);
