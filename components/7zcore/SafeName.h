#pragma once
// Member names from an archive, checked so that no name can leave the target folder or reach
// a device, a drive or an alternate data stream on Windows.

#include <string>
#include <vector>

namespace zk7z {

// Splits name at '/' and '\' into components; false with a reason if any component is unsafe.
bool SplitSafeName(const std::u16string& name, std::vector<std::u16string>* components, std::string* why);

// UTF-16 to UTF-8; false if the text holds an unpaired surrogate.
bool Utf16ToUtf8(const std::u16string& text, std::string* out);
// For messages: never fails, unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8Lossy(const std::u16string& text);

}  // namespace zk7z
