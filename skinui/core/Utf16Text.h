#pragma once
// UTF-8 <-> UTF-16 for the portable parsers. UTF-16 code units travel in wchar_t on every
// host (a 32-bit wchar_t holds one unit each, surrogates included), so parsed text is the
// same everywhere. Malformed UTF-8 becomes U+FFFD, one per maximal bad subsequence.

#include <cstddef>
#include <cstdint>
#include <string>

namespace SkinUI {

std::wstring Utf8ToUtf16Units(const uint8_t* bytes, size_t size);
std::string Utf16UnitsToUtf8(const wchar_t* units, size_t count);

}  // namespace SkinUI
