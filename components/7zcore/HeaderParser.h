#pragma once
// Parses a decoded 7z header (plain or the streams description of an encoded one). Every count
// is checked against the bytes that remain before anything is allocated for it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ArchiveDatabase.h"

namespace zk7z {

enum class HeaderKind { kPlain, kEncoded };

class HeaderParser {
 public:
  HeaderParser(const uint8_t* data, size_t size) : pos_(data), end_(data + size) {}

  // Reads the first byte and tells which kind of header this is.
  bool ReadKind(HeaderKind* kind);
  // After kPlain: the whole header, with files mapped onto substreams.
  bool ParseHeader(ArchiveDatabase* db);
  // After kEncoded: the streams that hold the real header.
  bool ParseStreamsInfo(StreamsInfo* info);

  const std::string& error() const { return error_; }

 private:
  bool Fail(const char* text);
  bool ReadByte(uint8_t* value);
  bool ReadNumber(uint64_t* value);
  bool ReadUInt32(uint32_t* value);
  bool ReadUInt64(uint64_t* value);
  bool ReadCount(uint64_t limit, uint64_t* value);
  bool ReadIndex(uint64_t count, uint32_t* value);
  bool Skip(uint64_t size);
  bool SkipData();
  bool ReadBits(uint64_t count, std::vector<uint8_t>* bits);
  bool ReadOptionalBits(uint64_t count, std::vector<uint8_t>* bits);
  bool ReadDigests(uint64_t count, std::vector<uint8_t>* defined, std::vector<uint32_t>* crcs);
  bool ReadPackInfo(StreamsInfo* info);
  bool ReadFolder(Folder* folder);
  bool ReadUnpackInfo(StreamsInfo* info);
  bool ReadSubStreamsInfo(StreamsInfo* info);
  bool ReadStreamsInfoBody(StreamsInfo* info);
  bool ReadFilesInfo(ArchiveDatabase* db);
  bool ReadTimes(uint64_t numFiles, ArchiveDatabase* db, bool keep);
  bool ReadAttributes(uint64_t numFiles, ArchiveDatabase* db);
  bool ReadNames(uint64_t numFiles, uint64_t size, ArchiveDatabase* db);
  bool MapFilesToStreams(ArchiveDatabase* db);
  size_t Remaining() const { return static_cast<size_t>(end_ - pos_); }

  const uint8_t* pos_;
  const uint8_t* end_;
  std::string error_;
};

}  // namespace zk7z
