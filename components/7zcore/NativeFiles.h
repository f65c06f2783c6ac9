#pragma once
// The few file operations the unpack journal needs, on the platform's own paths. Relative names
// are UTF-8 with '\' between the names, as the journal keeps them.

#include <cstddef>
#include <string>

#include "InputFile.h"

namespace zk7z {

// The full path of a folder without trailing separators, so that every caller names its journal
// alike; empty when path is no valid path.
NativePath NormalFolderPath(const NativePath& path);
NativePath JoinRelative(const NativePath& root, const std::string& relative);
enum class NameKind { kMissing, kFile, kFolder, kLink };
// What has that name, in one look-up. A link (a junction too) is a link whatever it points at.
NameKind KindOfName(const NativePath& path);
inline bool NameTaken(const NativePath& path) { return KindOfName(path) != NameKind::kMissing; }
inline bool IsFolder(const NativePath& path) { return KindOfName(path) == NameKind::kFolder; }
enum class FolderResult { kMade, kExisted, kFailed };
// Creates one folder; kExisted when something, of any kind, already has the name.
FolderResult MakeFolder(const NativePath& path);
// Deletes a file or a link (never what a link points to); read-only files too. True when the
// name is free afterwards.
bool RemoveFileName(const NativePath& path);
// Removes a folder only when it is empty; true when the name is free afterwards.
bool RemoveEmptyFolder(const NativePath& path);
// Renames within one folder or volume; fails rather than replace an existing name.
bool RenameNoReplace(const NativePath& from, const NativePath& to);
bool ReadSmallFile(const NativePath& path, size_t limit, std::string* text);
// The text of the last failed call above (errno or GetLastError).
std::string LastSystemError();
std::string PathText(const NativePath& path);
#ifdef _WIN32
// Paths beyond MAX_PATH take the extended prefix; that form needs a full, backslashed path.
std::wstring ExtendedPath(const std::wstring& path);
#endif

// A file opened for appending records: created new (never an existing name or a link), each
// Append reaches the system before it returns, Flush reaches the disk.
class AppendOnlyFile {
 public:
  AppendOnlyFile() = default;
  AppendOnlyFile(const AppendOnlyFile&) = delete;
  AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;
  ~AppendOnlyFile() { Close(); }

  bool CreateNew(const NativePath& path);
  bool Append(const std::string& text);
  bool Flush();
  void Close();
  bool IsOpen() const;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace zk7z
