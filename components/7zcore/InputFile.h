#pragma once
// Read-only access to the archive file at any offset. The path type is the platform's own:
// UTF-16 on Windows, bytes (UTF-8) elsewhere.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zk7z {

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  bool Open(const NativePath& path);
  uint64_t Size() const { return size_; }
  // Reads up to size bytes at offset; *got is less than size only at the end of the file. Safe
  // to call from several threads at once.
  bool ReadAt(uint64_t offset, uint8_t* data, size_t size, size_t* got);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  uint64_t size_ = 0;
};

}  // namespace zk7z
