#pragma once
// Read-only ZIP reader for skin archives. Archives are opaque handles owned by whoever opened
// them; every operation returns a result code and also stores it as the process-wide last
// result (ask DescribeZipResult for kZipLastResult). Names are UTF-16 code units held in
// wchar_t (surrogate pairs on hosts with a 32-bit wchar_t).

#include <cstddef>
#include <cstdint>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {

using ZipResult = uint32_t;

constexpr ZipResult kZipOk = 0x0;
constexpr ZipResult kZipDuplicateHandle = 0x100;
constexpr ZipResult kZipCannotOpen = 0x200;
constexpr ZipResult kZipNoMemory = 0x300;
constexpr ZipResult kZipWriteFailed = 0x400;
constexpr ZipResult kZipNotFound = 0x500;
constexpr ZipResult kZipMoreData = 0x600;
constexpr ZipResult kZipCorrupt = 0x700;
constexpr ZipResult kZipReadFailed = 0x800;
constexpr ZipResult kZipPassword = 0x1000;
constexpr ZipResult kZipBadArguments = 0x10000;
constexpr ZipResult kZipNotMemoryZip = 0x20000;
constexpr ZipResult kZipMemorySize = 0x30000;
constexpr ZipResult kZipPreviousError = 0x40000;
constexpr ZipResult kZipAlreadyEnded = 0x50000;
constexpr ZipResult kZipSizeWrong = 0x60000;
constexpr ZipResult kZipPartlyUnzipped = 0x70000;
constexpr ZipResult kZipMixedModes = 0x80000;
constexpr ZipResult kZipNotInitialised = 0x1000000;
constexpr ZipResult kZipUnseekable = 0x2000000;
constexpr ZipResult kZipChangedMind = 0x4000000;
constexpr ZipResult kZipFlateError = 0x5000000;

// Passed to DescribeZipResult: the result of the most recent operation.
constexpr ZipResult kZipLastResult = 1;

constexpr size_t kZipNameChars = 260;

// Windows file attribute bits as reported in ZipEntry::attributes.
constexpr uint32_t kZipAttrReadOnly = 0x1;
constexpr uint32_t kZipAttrHidden = 0x2;
constexpr uint32_t kZipAttrSystem = 0x4;
constexpr uint32_t kZipAttrDirectory = 0x10;
constexpr uint32_t kZipAttrArchive = 0x20;

struct ZipEntry {
  int32_t index;
  wchar_t name[kZipNameChars];
  uint32_t attributes;
  // File times: 100-ns units since 1601-01-01, UTC.
  uint64_t accessTime;
  uint64_t creationTime;
  uint64_t modificationTime;
  int32_t compressedSize;
  int32_t uncompressedSize;
};

// Random-access bytes under an archive: a memory block or a file.
class IZipSource {
 public:
  virtual ~IZipSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly length bytes at offset; false when any of them is missing.
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t length) = 0;
};

struct ZipArchive;

// Passwords are the archive's narrow (ANSI) bytes; null or empty means none.
ZipArchive* OpenZipMemory(const void* bytes, size_t length, const char* password);
ZipArchive* OpenZipSource(std::unique_ptr<IZipSource> source, const char* password);
ZipResult CloseZip(ZipArchive* archive);

// Index -1 asks for the number of entries (in entry->index).
ZipResult GetZipEntry(ZipArchive* archive, int index, ZipEntry* entry);
ZipResult FindZipEntry(ZipArchive* archive, const wchar_t* name, bool ignoreCase, int* index,
                       ZipEntry* entry);

// Reads the next piece of the member: kZipOk when its end was reached, kZipMoreData when the
// buffer is full and more follows (the next call with the same index continues).
ZipResult UnzipItemToMemory(ZipArchive* archive, int index, void* buffer, uint32_t length);
ZipResult SetZipTargetFolder(ZipArchive* archive, const wchar_t* folder);

// Returns the length of the full text; copies at most length - 1 characters and a NUL.
uint32_t DescribeZipResult(ZipResult code, wchar_t* buffer, uint32_t length);

#ifdef _WIN32
ZipArchive* OpenZipFile(const wchar_t* path, const char* password);
// The handle stays the caller's; the archive works on a duplicate.
ZipArchive* OpenZipHandle(HANDLE file, const char* password);
ZipResult UnzipItemToFile(ZipArchive* archive, int index, const wchar_t* target);
ZipResult UnzipItemToHandle(ZipArchive* archive, int index, HANDLE file);
#endif

}  // namespace SkinUI
