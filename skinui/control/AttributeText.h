#pragma once
// Reading skin attribute values: case-free names, booleans, decimal numbers and comma lists,
// colours. Bad values never fail: numbers read as far as they go, missing ones read as 0.

#include <cstdint>
#include <string>

namespace SkinUI {
namespace attr {

bool EqualsNoCase(const std::wstring& a, const wchar_t* b);
// True exactly for "true", in any case.
bool ParseBool(const std::wstring& value);
// Leading decimal digits with an optional minus; 0 when there are none.
int ParseInt(const std::wstring& value);
// Up to count numbers, each followed by one separator character; the missing ones are 0.
void ParseIntList(const std::wstring& value, int* numbers, int count);
// Up to count decimal fractions separated like ParseIntList.
void ParseDoubleList(const std::wstring& value, double* numbers, int count);
// Optional "#" then hexadecimal 0xAARRGGBB; skipBlanks first passes over characters up to 32.
uint32_t ParseColor(const std::wstring& value, bool skipBlanks);
std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to);
bool ContainsWord(const std::wstring& text, const wchar_t* word);

}  // namespace attr
}  // namespace SkinUI
