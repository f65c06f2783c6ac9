#pragma once

#include <string>

// A fresh GUID in upper-case hexadecimal: 38 characters with braces and dashes, else 32 bare digits.
std::wstring NewGuidString(bool withBraces);
