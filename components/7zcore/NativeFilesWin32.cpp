#include <windows.h>

#include "NativeFiles.h"
#include "UniqueHandle.h"

namespace zk7z {

namespace {

constexpr size_t kPlainPathLimit = 240;

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.size() < kPlainPathLimit || path.compare(0, 4, L"\\\\?\\") == 0) return path;
  if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

NativePath NormalFolderPath(const NativePath& path) {
  if (path.empty()) return path;
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return NativePath();
  std::wstring full(size, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), size, &full[0], nullptr));
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

NativePath JoinRelative(const NativePath& root, const std::string& relative) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, relative.data(), static_cast<int>(relative.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, relative.data(), static_cast<int>(relative.size()), &wide[0], n);
  return root + L'\\' + wide;
}

NameKind KindOfName(const NativePath& path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return NameKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return NameKind::kLink;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? NameKind::kFolder : NameKind::kFile;
}

FolderResult MakeFolder(const NativePath& path) {
  if (CreateDirectoryW(ExtendedPath(path).c_str(), nullptr)) return FolderResult::kMade;
  return GetLastError() == ERROR_ALREADY_EXISTS ? FolderResult::kExisted : FolderResult::kFailed;
}

bool RemoveFileName(const NativePath& path) {
  const std::wstring name = ExtendedPath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  // A link to a folder is removed as a folder; either way only the link goes.
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryW(name.c_str()) != 0;
  return DeleteFileW(name.c_str()) != 0;
}

bool RemoveEmptyFolder(const NativePath& path) {
  const std::wstring name = ExtendedPath(path);
  if (RemoveDirectoryW(name.c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool RenameNoReplace(const NativePath& from, const NativePath& to) {
  return MoveFileExW(ExtendedPath(from).c_str(), ExtendedPath(to).c_str(), 0) != 0;
}

bool ReadSmallFile(const NativePath& path, size_t limit, std::string* text) {
  const unique_file file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) > limit) return false;
  text->assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  return text->empty() ||
         (ReadFile(file.get(), &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) && read == text->size());
}

std::string LastSystemError() {
  const DWORD code = GetLastError();
  char buffer[256] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                 buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

std::string PathText(const NativePath& path) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

bool AppendOnlyFile::CreateNew(const NativePath& path) {
  Close();
  // Written only here, front to back: the file pointer stays at the end.
  HANDLE h = CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

bool AppendOnlyFile::Append(const std::string& text) {
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(handle_), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool AppendOnlyFile::Flush() { return FlushFileBuffers(static_cast<HANDLE>(handle_)) != 0; }

void AppendOnlyFile::Close() {
  if (!handle_) return;
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool AppendOnlyFile::IsOpen() const { return handle_ != nullptr; }

}  // namespace zk7z
