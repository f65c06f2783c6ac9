#include "OutputTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ArchiveDatabase.h"
#include "NativeFiles.h"
#include "SafeName.h"

namespace zk7z {

namespace {

constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ull;
constexpr uint64_t kFileTimeTicksPerSecond = 10000000ull;

// A folder found there may be a link to one: above the target that is the user's business.
bool MakeOneDirectory(const std::string& path, bool* made) {
  const FolderResult result = MakeFolder(path);
  *made = result == FolderResult::kMade;
  if (result != FolderResult::kExisted) return *made;
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct timespec ToTimespec(uint64_t fileTime) {
  struct timespec ts = {};
  if (fileTime >= kFileTimeUnixEpoch) {
    const uint64_t t = fileTime - kFileTimeUnixEpoch;
    ts.tv_sec = static_cast<time_t>(t / kFileTimeTicksPerSecond);
    ts.tv_nsec = static_cast<long>((t % kFileTimeTicksPerSecond) * 100);
  }
  return ts;
}

mode_t ModeFor(const FileMeta& meta, mode_t fallback) {
  if (!meta.attribDefined) return fallback;
  if (meta.attrib & kAttribUnixExtension) return static_cast<mode_t>((meta.attrib >> 16) & 0777);
  if (meta.attrib & kAttribReadOnly) return fallback & ~static_cast<mode_t>(0222);
  return fallback;
}

}  // namespace

OutputTree::~OutputTree() { Rollback(); }

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Close() {
  if (fd_ < 0) return true;
  const bool closed = close(fd_) == 0;
  fd_ = -1;
  return closed;
}

NativePath OutputTree::Join(const PathComponents& components, size_t count) const {
  NativePath path = root_;
  for (size_t i = 0; i < count; ++i) {
    std::string part;
    Utf16ToUtf8(components[i], &part);
    path += '/';
    path += part;
  }
  return path;
}

bool OutputTree::Init(const NativePath& root) {
  root_ = NormalFolderPath(root);
  if (root_.empty()) return Fail("the target folder is empty");
  for (size_t i = 1; i <= root_.size(); ++i) {
    if (i == root_.size() || root_[i] == '/') {
      if (!MakeOneDirectory(root_.substr(0, i), &rootMade_)) return Fail("cannot create the target folder " + root_);
    }
  }
  // Folders above the target are the user's business; the target itself must be a real folder.
  if (KindOfName(root_) == NameKind::kLink) return RefuseReparsePoint(root_);
  return StartJournal();
}

bool OutputTree::CreateNewFile(OutputFile& file) {
  file.fd_ = open(file.tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  return file.fd_ >= 0;
}

bool OutputTree::Write(OutputFile& file, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(file.fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail("cannot write " + file.finalPath_ + ": " + std::strerror(errno));
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool OutputTree::CommitFile(OutputFile& file, const FileMeta& meta) {
  struct stat st;
  mode_t mode = 0666;
  if (fstat(file.fd_, &st) == 0) mode = st.st_mode & 0777;
  const mode_t wanted = ModeFor(meta, mode);
  if (wanted != mode) fchmod(file.fd_, wanted);
  if (meta.mtimeDefined) {
    struct timespec times[2] = {ToTimespec(meta.mtime), ToTimespec(meta.mtime)};
    futimens(file.fd_, times);
  }
  if (!file.Close()) return Fail("cannot write " + file.finalPath_ + ": " + std::strerror(errno));
  return PutInPlace(file);
}

// The temporary file goes with the rest of the run, by the journal; after a simulated crash it
// stays, as a real one would leave it.
void OutputTree::AbortFile(OutputFile& file) {
  if (file.fd_ < 0) return;
  file.Close();
  if (!journal_.stopped()) unlink(file.tempPath_.c_str());
}

bool OutputTree::ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta) {
  const NativePath path = Join(components, components.size());
  if (meta.mtimeDefined) {
    struct timespec times[2] = {ToTimespec(meta.mtime), ToTimespec(meta.mtime)};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
  return true;
}

}  // namespace zk7z
