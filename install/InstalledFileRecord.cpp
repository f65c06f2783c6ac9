#include "InstalledFileRecord.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr char kSeparator = '\\';

char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

std::vector<std::string> SplitNames(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(kSeparator, start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, end - start);
    for (char& ch : name) ch = AsciiLower(ch);
    names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

bool IsFolder(const std::string& path) { return !path.empty() && path.back() == kSeparator; }

// Names in order, then a folder before a file of the same names ("a\" before "a").
bool RecordOrderLess(const std::string& a, const std::string& b) {
  const std::vector<std::string> namesA = SplitNames(a);
  const std::vector<std::string> namesB = SplitNames(b);
  if (namesA != namesB) return namesA < namesB;
  return IsFolder(a) && !IsFolder(b);
}

bool RecordOrderEqual(const std::string& a, const std::string& b) {
  return !RecordOrderLess(a, b) && !RecordOrderLess(b, a);
}

}  // namespace

bool IsSafeRecordedPath(const std::string& path) {
  if (path.empty() || path.front() == kSeparator) return false;
  for (unsigned char ch : path) {
    if (ch < 0x20 || ch == 0x7F || ch == ':' || ch == '/') return false;
  }
  const std::string body = IsFolder(path) ? path.substr(0, path.size() - 1) : path;
  size_t start = 0;
  while (true) {
    size_t end = body.find(kSeparator, start);
    if (end == std::string::npos) end = body.size();
    const std::string name = body.substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return false;
    if (end == body.size()) return true;
    start = end + 1;
  }
}

std::string FormatInstalledFileRecord(const InstalledFileRecord& record) {
  std::string text = kInstalledFileRecordHeader + record.version + "\r\n";
  for (const std::string& path : record.paths) text += path + "\r\n";
  return text;
}

bool ParseInstalledFileRecord(const std::string& text, InstalledFileRecord* out) {
  static const std::string kByteOrderMark = "\xEF\xBB\xBF";
  size_t pos = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 ? kByteOrderMark.size() : 0;
  InstalledFileRecord record;
  bool header = true;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (header) {
      const std::string prefix = kInstalledFileRecordHeader;
      if (line.compare(0, prefix.size(), prefix) != 0) return false;
      record.version = line.substr(prefix.size());
      header = false;
    } else if (!line.empty()) {
      if (!IsSafeRecordedPath(line)) return false;
      record.paths.push_back(std::move(line));
    }
  }
  if (header) return false;
  record.paths = OrderRecordedPaths(std::move(record.paths));
  *out = std::move(record);
  return true;
}

std::vector<std::string> OrderRecordedPaths(std::vector<std::string> paths) {
  std::stable_sort(paths.begin(), paths.end(), RecordOrderLess);
  paths.erase(std::unique(paths.begin(), paths.end(), RecordOrderEqual), paths.end());
  return paths;
}

InstalledFileRecord MergeInstalledFileRecords(const InstalledFileRecord& previous, const InstalledFileRecord& current) {
  InstalledFileRecord merged;
  merged.version = current.version;
  merged.paths = current.paths;
  merged.paths.insert(merged.paths.end(), previous.paths.begin(), previous.paths.end());
  merged.paths = OrderRecordedPaths(std::move(merged.paths));
  return merged;
}
