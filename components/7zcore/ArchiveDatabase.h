#pragma once
// What the header of a 7z archive says: pack streams, folders (coder graphs), files.

#include <cstdint>
#include <string>
#include <vector>

namespace zk7z {

struct CoderInfo {
  std::vector<uint8_t> methodId;
  uint32_t numInStreams = 1;   // packed side
  uint32_t numOutStreams = 1;  // unpacked side
  std::vector<uint8_t> props;
};

// Coder input stream inIndex is fed by coder output stream outIndex.
struct BindPair {
  uint32_t inIndex = 0;
  uint32_t outIndex = 0;
};

struct Folder {
  std::vector<CoderInfo> coders;
  std::vector<BindPair> bindPairs;
  std::vector<uint32_t> packedStreams;  // coder input index of each of the folder's pack streams
  std::vector<uint64_t> unpackSizes;    // one per coder output stream
  uint32_t mainOutStream = 0;           // the output bound to nothing: the folder's data
  uint64_t firstPackStream = 0;         // index into ArchiveDatabase::packSizes
  bool crcDefined = false;
  uint32_t crc = 0;
  uint64_t numSubstreams = 1;

  uint64_t UnpackSize() const { return unpackSizes.empty() ? 0 : unpackSizes[mainOutStream]; }
};

struct FileEntry {
  std::u16string name;
  bool hasStream = true;
  bool isDir = false;
  bool isAnti = false;
  uint64_t size = 0;
  bool crcDefined = false;
  uint32_t crc = 0;
  bool mtimeDefined = false;
  uint64_t mtime = 0;  // FILETIME: 100 ns units since 1601
  bool attribDefined = false;
  uint32_t attrib = 0;
  uint32_t folderIndex = UINT32_MAX;  // for files with a stream
};

struct StreamsInfo {
  uint64_t packPos = 0;  // relative to the end of the signature header
  std::vector<uint64_t> packSizes;
  std::vector<Folder> folders;
  // Flat over all folders, in order.
  std::vector<uint64_t> substreamSizes;
  std::vector<uint8_t> substreamCrcDefined;
  std::vector<uint32_t> substreamCrcs;
};

struct ArchiveDatabase {
  StreamsInfo streams;
  std::vector<FileEntry> files;
  std::vector<uint64_t> packOffsets;  // absolute file offset of every pack stream
};

// Windows attribute bits stored in 7z archives.
constexpr uint32_t kAttribReadOnly = 0x01;
constexpr uint32_t kAttribHidden = 0x02;
constexpr uint32_t kAttribSystem = 0x04;
constexpr uint32_t kAttribDirectory = 0x10;
constexpr uint32_t kAttribArchive = 0x20;
constexpr uint32_t kAttribUnixExtension = 0x8000;  // high 16 bits hold st_mode

}  // namespace zk7z
