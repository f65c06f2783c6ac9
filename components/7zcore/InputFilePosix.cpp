#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zk7z {

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

bool InputFile::Open(const NativePath& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st;
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

bool InputFile::ReadAt(uint64_t offset, uint8_t* data, size_t size, size_t* got) {
  size_t total = 0;
  while (total < size) {
    const ssize_t n = pread(fd_, data + total, size - total, static_cast<off_t>(offset + total));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  *got = total;
  return true;
}

}  // namespace zk7z
