#include "InputFile.h"

#include <windows.h>

namespace zk7z {

namespace {
constexpr DWORD kMaxReadChunk = 1u << 30;
}

InputFile::~InputFile() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

bool InputFile::Open(const NativePath& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) return false;
  size_ = static_cast<uint64_t>(size.QuadPart);
  return true;
}

bool InputFile::ReadAt(uint64_t offset, uint8_t* data, size_t size, size_t* got) {
  size_t total = 0;
  while (total < size) {
    const uint64_t at = offset + total;
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const size_t left = size - total;
    const DWORD chunk = left > kMaxReadChunk ? kMaxReadChunk : static_cast<DWORD>(left);
    DWORD n = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), data + total, chunk, &n, &where)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return false;
    }
    if (n == 0) break;
    total += n;
  }
  *got = total;
  return true;
}

}  // namespace zk7z
