#pragma once
// An opened 7z archive: its file and its decoded header.

#include <string>

#include "ArchiveDatabase.h"
#include "Coders.h"
#include "InputFile.h"

namespace zk7z {

class SevenZipArchive {
 public:
  // Reads and checks the signature header and the (possibly encoded) header.
  bool Open(const NativePath& path, const DecodeLimits& limits);

  const ArchiveDatabase& db() const { return db_; }
  InputFile& file() { return file_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& text);
  bool ReadHeaderBytes(uint64_t offset, uint64_t size, uint32_t crc, std::vector<uint8_t>* bytes);
  bool DecodeEncodedHeader(const StreamsInfo& streams, std::vector<uint8_t>* bytes);
  bool ComputePackOffsets(const StreamsInfo& streams, std::vector<uint64_t>* offsets);

  InputFile file_;
  ArchiveDatabase db_;
  DecodeLimits limits_;
  std::string error_;
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace zk7z
