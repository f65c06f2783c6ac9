// The Windows side of the ZIP reader: archives in files and unpacking members to files.
#include "ZipArchive.h"

#include "Paths.h"
#include "UniqueHandle.h"
#include "ZipArchiveInternal.h"

#include <algorithm>
#include <string>

namespace SkinUI {
namespace {

constexpr DWORD kMaxReadChunk = 1u << 20;
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// Reads by explicit offset: the archive starts where the file's position stood at open.
class FileSource final : public IZipSource {
 public:
  FileSource(unique_file file, uint64_t start, uint64_t size)
      : file_(std::move(file)), start_(start), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t length) override {
    if (offset > size_ || length > size_ - offset) return false;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    while (length != 0) {
      const DWORD want = static_cast<DWORD>(std::min<size_t>(length, kMaxReadChunk));
      const uint64_t at = start_ + offset;
      OVERLAPPED where{};
      where.Offset = static_cast<DWORD>(at);
      where.OffsetHigh = static_cast<DWORD>(at >> 32);
      DWORD got = 0;
      if (!ReadFile(file_.get(), out, want, &got, &where) || got != want) return false;
      out += got;
      offset += got;
      length -= got;
    }
    return true;
  }

 private:
  unique_file file_;
  uint64_t start_;
  uint64_t size_;
};

ZipArchive* OpenFromFile(unique_file file, uint64_t start, const char* password) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) < start) {
    SetZipResult(kZipCannotOpen);
    return nullptr;
  }
  const uint64_t length = static_cast<uint64_t>(size.QuadPart) - start;
  return OpenZipSource(std::make_unique<FileSource>(std::move(file), start, length), password);
}

bool IsAbsolutePath(const std::wstring& path) {
  if (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) return true;
  return path.size() >= 2 && path[1] == L':';
}

FILETIME ToFileTime(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(value);
  time.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return time;
}

// Writes the whole member to the handle and stamps the entry's times on it.
ZipResult WriteMember(ZipArchive* archive, int index, HANDLE out, const ZipEntry& entry) {
  ZipResult r = BeginZipRead(archive, index);
  if (r != kZipOk) {
    EndZipRead(archive);
    return r;
  }
  if (archive->fileBuffer.empty()) archive->fileBuffer.resize(kZipBufferBytes);
  for (;;) {
    uint32_t produced = 0;
    bool done = false;
    r = ContinueZipRead(archive, archive->fileBuffer.data(), kZipBufferBytes, &produced, &done);
    if (r != kZipOk) break;
    DWORD written = 0;
    if (produced != 0 &&
        (!WriteFile(out, archive->fileBuffer.data(), produced, &written, nullptr) ||
         written != produced)) {
      r = kZipWriteFailed;
      break;
    }
    if (done) break;
    if (produced == 0) {
      r = kZipFlateError;
      break;
    }
  }
  EndZipRead(archive);
  if (r == kZipOk) {
    const FILETIME created = ToFileTime(entry.creationTime);
    const FILETIME accessed = ToFileTime(entry.accessTime);
    const FILETIME modified = ToFileTime(entry.modificationTime);
    SetFileTime(out, &created, &accessed, &modified);
  }
  return r;
}

}  // namespace

ZipArchive* OpenZipFile(const wchar_t* path, const char* password) {
  if (path == nullptr) {
    SetZipResult(kZipBadArguments);
    return nullptr;
  }
  unique_file file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    SetZipResult(kZipCannotOpen);
    return nullptr;
  }
  return OpenFromFile(std::move(file), 0, password);
}

ZipArchive* OpenZipHandle(HANDLE handle, const char* password) {
  unique_file file;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), file.put(), 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    SetZipResult(kZipDuplicateHandle);
    return nullptr;
  }
  // Pipes and devices have no position to read the directory from.
  LARGE_INTEGER zero{}, position{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK ||
      !SetFilePointerEx(file.get(), zero, &position, FILE_CURRENT)) {
    SetZipResult(kZipUnseekable);
    return nullptr;
  }
  return OpenFromFile(std::move(file), static_cast<uint64_t>(position.QuadPart), password);
}

ZipResult UnzipItemToFile(ZipArchive* archive, int index, const wchar_t* target) {
  if (!IsOpenZipArchive(archive) || target == nullptr || *target == L'\0')
    return SetZipResult(kZipBadArguments);
  ZipEntry entry;
  ZipResult r = GetZipEntry(archive, index, &entry);
  if (r != kZipOk) return r;
  if (index < 0) return SetZipResult(kZipBadArguments);
  std::wstring path = target;
  if (!IsAbsolutePath(path)) path = archive->baseFolder + path;
  if (entry.attributes & kZipAttrDirectory) {
    CreateFolderPath(path);
    return SetZipResult(kZipOk);
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash != 0) CreateFolderPath(path.substr(0, slash));
  // An existing read-only or hidden file would refuse to be replaced.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DWORD attributes = entry.attributes & kSettableAttributes;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                               nullptr));
  if (!file) return SetZipResult(kZipCannotOpen);
  r = WriteMember(archive, index, file.get(), entry);
  if (r != kZipOk) {
    // No half-written member stays behind.
    file.reset();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
  return SetZipResult(r);
}

ZipResult UnzipItemToHandle(ZipArchive* archive, int index, HANDLE file) {
  if (!IsOpenZipArchive(archive) || file == nullptr || file == INVALID_HANDLE_VALUE)
    return SetZipResult(kZipBadArguments);
  ZipEntry entry;
  ZipResult r = GetZipEntry(archive, index, &entry);
  if (r != kZipOk) return r;
  if (index < 0) return SetZipResult(kZipBadArguments);
  if (entry.attributes & kZipAttrDirectory) return SetZipResult(kZipOk);
  return SetZipResult(WriteMember(archive, index, file, entry));
}

}  // namespace SkinUI
