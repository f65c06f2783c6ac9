#pragma once
// The archive record shared by the portable reader and the Windows file side.

#include "ZipArchive.h"

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

constexpr size_t kZipBufferBytes = 16384;

// The central directory record of one entry, with its local header checked.
struct ZipEntryHeader {
  uint16_t versionMadeBy = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t externalAttributes = 0;
  uint64_t localHeader = 0;  // position in the source
  uint64_t dataStart = 0;    // position in the source
  std::string name;          // as stored (UTF-8 or the archiver's code page)
  std::vector<uint8_t> localExtra;
};

// The member currently opened for reading.
struct ZipReadState {
  int index = -1;
  ZipEntryHeader header;
  std::vector<uint8_t> input;
  size_t inputPos = 0;
  size_t inputLen = 0;
  uint64_t readPos = 0;  // next source position of compressed data
  uint64_t compressedLeft = 0;
  uint64_t uncompressedLeft = 0;
  uint32_t crc = 0;
  bool inflating = false;
  z_stream stream{};
  bool encrypted = false;
  bool headerDone = false;
  uint32_t keys[3] = {0, 0, 0};
  bool passwordFailed = false;
  bool failed = false;
  bool ended = false;

  ~ZipReadState();
};

struct ZipArchive {
  std::unique_ptr<IZipSource> source;
  uint64_t sourceSize = 0;
  uint64_t prefix = 0;          // bytes before the ZIP data
  uint64_t directoryStart = 0;  // position of the first central header in the source
  uint64_t directoryEnd = 0;
  uint32_t entryCount = 0;
  uint32_t walkIndex = 0;
  uint64_t walkPos = 0;
  std::unique_ptr<ZipReadState> reading;
  ZipEntry cachedEntry{};
  int cachedIndex = -1;
  std::string password;
  std::vector<uint8_t> fileBuffer;
  std::wstring baseFolder;
};

// Shared by both sides of the reader.
ZipResult SetZipResult(ZipResult code);
bool IsOpenZipArchive(const ZipArchive* archive);
ZipArchive* RegisterZipArchive(std::unique_ptr<ZipArchive> archive);
// Walks to the entry, fills entry (not the cache) and header.
ZipResult ReadZipEntryAt(ZipArchive* archive, int index, ZipEntry* entry, ZipEntryHeader* header);
// Opens the entry for reading unless it already is the current one.
ZipResult BeginZipRead(ZipArchive* archive, int index);
// Reads up to length bytes of the current entry; sets *done at its end.
ZipResult ContinueZipRead(ZipArchive* archive, void* buffer, uint32_t length, uint32_t* produced,
                          bool* done);
void EndZipRead(ZipArchive* archive);
// The folder the archive unpacks relative names into (platform side).
std::wstring DefaultZipBaseFolder();
uint64_t DosTimeToFileTime(uint16_t dosDate, uint16_t dosTime);

}  // namespace SkinUI
