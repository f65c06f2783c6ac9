#include "OutputTree.h"

#include <windows.h>

#include "ArchiveDatabase.h"
#include "NativeFiles.h"
#include "UniqueHandle.h"

namespace zk7z {

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE;

// A folder found there may be a link to one: above the target that is the user's business.
bool MakeOneDirectory(const std::wstring& path, bool* made) {
  const FolderResult result = MakeFolder(path);
  *made = result == FolderResult::kMade;
  if (result != FolderResult::kExisted) return *made;
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FILETIME ToFileTime(uint64_t value) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(value);
  ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return ft;
}

}  // namespace

OutputTree::~OutputTree() { Rollback(); }

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Close() {
  if (!handle_) return true;
  const bool closed = CloseHandle(static_cast<HANDLE>(handle_)) != 0;
  handle_ = nullptr;
  return closed;
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
  root_ = NormalFolderPath(root);
  if (root_.empty()) return Fail("the target folder is not a valid path");
  // Create every missing level below the drive or share.
  size_t start = 3;
  if (root_.compare(0, 2, L"\\\\") == 0) {
    start = root_.find(L'\\', 2);
    start = start == std::wstring::npos ? root_.size() : root_.find(L'\\', start + 1);
    if (start == std::wstring::npos) start = root_.size();
  }
  for (size_t i = start; i <= root_.size(); ++i) {
    if (i == root_.size() || root_[i] == L'\\') {
      if (!MakeOneDirectory(root_.substr(0, i), &rootMade_)) {
        return Fail("cannot create the target folder " + PathText(root_));
      }
    }
  }
  // Folders above the target are the user's business; the target itself must be a real folder.
  if (KindOfName(root_) == NameKind::kLink) return RefuseReparsePoint(root_);
  return StartJournal();
}

bool OutputTree::CreateNewFile(OutputFile& file) {
  HANDLE h = CreateFileW(ExtendedPath(file.tempPath_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  file.handle_ = h;
  return true;
}

bool OutputTree::Write(OutputFile& file, const uint8_t* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(file.handle_), data, chunk, &written, nullptr) || written == 0) {
      return Fail("cannot write " + PathText(file.finalPath_) + ": " + LastSystemError());
    }
    data += written;
    size -= written;
  }
  return true;
}

bool OutputTree::CommitFile(OutputFile& file, const FileMeta& meta) {
  if (meta.mtimeDefined) {
    const FILETIME ft = ToFileTime(meta.mtime);
    SetFileTime(static_cast<HANDLE>(file.handle_), nullptr, nullptr, &ft);
  }
  if (!file.Close()) return Fail("cannot write " + PathText(file.finalPath_) + ": " + LastSystemError());
  if (!PutInPlace(file)) return false;
  if (meta.attribDefined && (meta.attrib & kKeptAttributes & ~FILE_ATTRIBUTE_ARCHIVE)) {
    SetFileAttributesW(ExtendedPath(file.finalPath_).c_str(), meta.attrib & kKeptAttributes);
  }
  return true;
}

// The temporary file goes with the rest of the run, by the journal; after a simulated crash it
// stays, as a real one would leave it.
void OutputTree::AbortFile(OutputFile& file) {
  if (!file.handle_) return;
  file.Close();
  if (!journal_.stopped()) DeleteFileW(ExtendedPath(file.tempPath_).c_str());
}

bool OutputTree::ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta) {
  const std::wstring path = ExtendedPath(Join(components, components.size()));
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
