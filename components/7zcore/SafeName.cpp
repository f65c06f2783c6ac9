#include "SafeName.h"

#include <algorithm>
#include <string_view>

namespace zk7z {

namespace {

const char16_t kForbidden[] = u"<>:\"|?*";
const char* const kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM0", "COM1", "COM2", "COM3",
                                    "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "LPT0", "LPT1",
                                    "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
                                    "CONIN$", "CONOUT$"};

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Windows treats "CON", "con.txt" and "NUL .log" alike: the part before the first dot, with
// trailing spaces dropped, names the device.
bool IsDeviceName(const std::u16string& component) {
  std::u16string stem = component.substr(0, component.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  for (const char* device : kDeviceNames) {
    size_t i = 0;
    for (; device[i] && i < stem.size(); ++i) {
      char16_t c = stem[i];
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
      // Superscript digits count as digits for COM and LPT.
      if (c == 0x00B9) c = u'1';
      if (c == 0x00B2) c = u'2';
      if (c == 0x00B3) c = u'3';
      if (c != static_cast<char16_t>(device[i])) break;
    }
    if (!device[i] && i == stem.size()) return true;
  }
  return false;
}

// The extraction names its temporary files "<member>.zk7z~part", "<member>.zk7z~old" and so on; a
// member named so could meet another member's temporary file while both are written.
bool HasOwnTemporaryMark(const std::u16string& c) {
  constexpr std::u16string_view kMark = u".zk7z~";
  const auto sameIgnoringAsciiCase = [](char16_t a, char16_t b) { return (a >= u'A' && a <= u'Z' ? a + 32 : a) == b; };
  return std::search(c.begin(), c.end(), kMark.begin(), kMark.end(), sameIgnoringAsciiCase) != c.end();
}

bool CheckComponent(const std::u16string& c, std::string* why) {
  if (c == u"..") return *why = "a '..' segment", false;
  if (c == u".") return *why = "a '.' segment", false;
  for (char16_t ch : c) {
    if (ch < 0x20) return *why = "a control character", false;
    for (const char16_t* f = kForbidden; *f; ++f) {
      if (ch == *f) return *why = ch == u':' ? "a drive letter or stream name (':')" : "a character Windows forbids",
                           false;
    }
  }
  // Windows drops trailing dots and spaces, which would merge names or turn "..." into "..".
  if (c.back() == u'.' || c.back() == u' ') return *why = "a trailing dot or space", false;
  if (IsDeviceName(c)) return *why = "a reserved device name", false;
  if (HasOwnTemporaryMark(c)) return *why = "a name the extraction keeps for its own temporary files", false;
  return true;
}

}  // namespace

bool SplitSafeName(const std::u16string& name, std::vector<std::u16string>* components, std::string* why) {
  components->clear();
  std::string encoded;
  if (name.empty()) return *why = "an empty name", false;
  if (!Utf16ToUtf8(name, &encoded)) return *why = "an invalid UTF-16 sequence", false;
  if (IsSeparator(name[0])) return *why = "an absolute path", false;
  std::u16string current;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || IsSeparator(name[i])) {
      if (current.empty()) {
        if (i == name.size()) break;  // a trailing separator
        return *why = "an empty path segment", false;
      }
      if (!CheckComponent(current, why)) return false;
      components->push_back(current);
      current.clear();
    } else {
      current.push_back(name[i]);
    }
  }
  if (components->empty()) return *why = "an empty name", false;
  return true;
}

bool Utf16ToUtf8(const std::u16string& text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
    if (c < 0x80) {
      out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (c >> 6)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (c >> 12)));
      out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (c >> 18)));
      out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return true;
}

std::string Utf16ToUtf8Lossy(const std::u16string& text) {
  std::u16string clean;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      clean.push_back(c);
      clean.push_back(text[++i]);
    } else {
      clean.push_back(high || low ? u'\xFFFD' : c);
    }
  }
  std::string out;
  Utf16ToUtf8(clean, &out);
  return out;
}

}  // namespace zk7z
