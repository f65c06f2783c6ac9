#include "OutputTree.h"

#include <windows.h>

#include "ArchiveDatabase.h"
#include "UniqueHandle.h"

namespace zk7z {

namespace {

constexpr wchar_t kTempSuffix[] = L".zk7z~part";
constexpr size_t kPlainPathLimit = 240;
constexpr int kTemporaryNameAttempts = 16;
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE;

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char buffer[256] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                 buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

std::string Narrow(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// Paths beyond MAX_PATH take the extended prefix; that form needs a full, backslashed path.
std::wstring Extended(const std::wstring& path) {
  if (path.size() < kPlainPathLimit || path.compare(0, 4, L"\\\\?\\") == 0) return path;
  if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

bool IsReparsePoint(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool MakeOneDirectory(const std::wstring& path) {
  if (CreateDirectoryW(Extended(path).c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates a temporary file that did not exist before: a name already taken (a file left by an
// interrupted run, or a link planted there) is left alone and the next one is tried.
HANDLE CreateTemporaryFile(const std::wstring& base, std::wstring* path) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    *path = attempt == 0 ? base : base + std::to_wstring(attempt);
    HANDLE h = CreateFileW(Extended(*path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

FILETIME ToFileTime(uint64_t value) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(value);
  ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return ft;
}

}  // namespace

OutputTree::~OutputTree() { AbortFile(); }

bool OutputTree::Fail(const std::string& text) {
  error_ = text;
  return false;
}

NativePath OutputTree::Join(const PathComponents& components, size_t count) const {
  NativePath path = root_;
  for (size_t i = 0; i < count; ++i) {
    path += L'\\';
    path.append(components[i].begin(), components[i].end());
  }
  return path;
}

bool OutputTree::Init(const NativePath& root) {
  if (root.empty()) return Fail("the target folder is empty");
  const DWORD size = GetFullPathNameW(root.c_str(), 0, nullptr, nullptr);
  if (size == 0) return Fail("the target folder is not a valid path");
  std::wstring full(size, L'\0');
  const DWORD n = GetFullPathNameW(root.c_str(), size, &full[0], nullptr);
  full.resize(n);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  root_ = full;
  // Create every missing level below the drive or share.
  size_t start = 3;
  if (root_.compare(0, 2, L"\\\\") == 0) {
    start = root_.find(L'\\', 2);
    start = start == std::wstring::npos ? root_.size() : root_.find(L'\\', start + 1);
    if (start == std::wstring::npos) start = root_.size();
  }
  for (size_t i = start; i <= root_.size(); ++i) {
    if (i == root_.size() || root_[i] == L'\\') {
      if (!MakeOneDirectory(root_.substr(0, i))) return Fail("cannot create the target folder " + Narrow(root_));
    }
  }
  // Folders above the target are the user's business; the target itself must be a real folder.
  if (IsReparsePoint(root_)) return RefuseReparsePoint(root_);
  return true;
}

bool OutputTree::RefuseReparsePoint(const NativePath& path) {
  return Fail("refusing to write through the link or junction " + Narrow(path));
}

bool OutputTree::MakeDirectories(const PathComponents& components, size_t count) {
  for (size_t i = 1; i <= count; ++i) {
    const NativePath path = Join(components, i);
    if (!MakeOneDirectory(path)) return Fail("cannot create folder " + Narrow(path) + ": " + LastErrorText());
    // A junction or symbolic link inside the target would send the files elsewhere.
    if (IsReparsePoint(path)) return RefuseReparsePoint(path);
  }
  return true;
}

bool OutputTree::BeginFile(const PathComponents& components) {
  AbortFile();
  if (!MakeDirectories(components, components.size() - 1)) return false;
  finalPath_ = Join(components, components.size());
  if (IsReparsePoint(finalPath_)) return RefuseReparsePoint(finalPath_);
  HANDLE h = CreateTemporaryFile(finalPath_ + kTempSuffix, &tempPath_);
  if (h == INVALID_HANDLE_VALUE) return Fail("cannot create " + Narrow(tempPath_) + ": " + LastErrorText());
  handle_ = h;
  return true;
}

bool OutputTree::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), data, chunk, &written, nullptr) || written == 0) {
      return Fail("cannot write " + Narrow(finalPath_) + ": " + LastErrorText());
    }
    data += written;
    size -= written;
  }
  return true;
}

bool OutputTree::CommitFile(const FileMeta& meta) {
  HANDLE h = static_cast<HANDLE>(handle_);
  if (meta.mtimeDefined) {
    const FILETIME ft = ToFileTime(meta.mtime);
    SetFileTime(h, nullptr, nullptr, &ft);
  }
  const bool closed = CloseHandle(h) != 0;
  handle_ = nullptr;
  const std::wstring temp = Extended(tempPath_);
  const std::wstring target = Extended(finalPath_);
  if (!closed) {
    const std::string why = LastErrorText();
    DeleteFileW(temp.c_str());
    return Fail("cannot write " + Narrow(finalPath_) + ": " + why);
  }
  // A read-only file from an earlier installation would refuse to be replaced.
  const DWORD existing = GetFileAttributesW(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
      (existing & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const std::string why = LastErrorText();
    DeleteFileW(temp.c_str());
    return Fail("cannot replace " + Narrow(finalPath_) + ": " + why);
  }
  if (meta.attribDefined && (meta.attrib & kKeptAttributes & ~FILE_ATTRIBUTE_ARCHIVE)) {
    SetFileAttributesW(target.c_str(), meta.attrib & kKeptAttributes);
  }
  return true;
}

void OutputTree::AbortFile() {
  if (!handle_) return;
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  DeleteFileW(Extended(tempPath_).c_str());
}

bool OutputTree::ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta) {
  const std::wstring path = Extended(Join(components, components.size()));
  if (meta.mtimeDefined) {
    const unique_file folder(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder) {
      const FILETIME ft = ToFileTime(meta.mtime);
      SetFileTime(folder.get(), nullptr, nullptr, &ft);
    }
  }
  if (meta.attribDefined && (meta.attrib & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM))) {
    SetFileAttributesW(path.c_str(), (meta.attrib & kKeptAttributes) | FILE_ATTRIBUTE_DIRECTORY);
  }
  return true;
}

}  // namespace zk7z
