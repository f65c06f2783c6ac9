#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "NativeFiles.h"

namespace zk7z {

NativePath NormalFolderPath(const NativePath& path) {
  NativePath folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

NativePath JoinRelative(const NativePath& root, const std::string& relative) {
  NativePath path = root + '/';
  for (char c : relative) path += c == '\\' ? '/' : c;
  return path;
}

NameKind KindOfName(const NativePath& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return NameKind::kMissing;
  if (S_ISLNK(st.st_mode)) return NameKind::kLink;
  return S_ISDIR(st.st_mode) ? NameKind::kFolder : NameKind::kFile;
}

FolderResult MakeFolder(const NativePath& path) {
  if (mkdir(path.c_str(), 0777) == 0) return FolderResult::kMade;
  return errno == EEXIST ? FolderResult::kExisted : FolderResult::kFailed;
}

bool RemoveFileName(const NativePath& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

bool RemoveEmptyFolder(const NativePath& path) { return rmdir(path.c_str()) == 0 || errno == ENOENT; }

bool RenameNoReplace(const NativePath& from, const NativePath& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: the check and the rename are then two steps.
  if (NameTaken(to)) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

bool ReadSmallFile(const NativePath& path, size_t limit, std::string* text) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= limit;
  if (ok) {
    text->assign(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (ok && done < text->size()) {
      const ssize_t n = read(fd, &(*text)[done], text->size() - done);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) done += static_cast<size_t>(n);
    }
  }
  close(fd);
  return ok;
}

std::string LastSystemError() { return std::strerror(errno); }

std::string PathText(const NativePath& path) { return path; }

bool AppendOnlyFile::CreateNew(const NativePath& path) {
  Close();
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0644);
  return fd_ >= 0;
}

bool AppendOnlyFile::Append(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool AppendOnlyFile::Flush() { return fsync(fd_) == 0; }

void AppendOnlyFile::Close() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
}

bool AppendOnlyFile::IsOpen() const { return fd_ >= 0; }

}  // namespace zk7z
