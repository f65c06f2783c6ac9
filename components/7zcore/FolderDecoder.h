#pragma once
// Builds the decoder graph of one folder: pack streams read from the archive file, coders
// joined by their bind pairs, pulled from the folder's main output.

#include <memory>
#include <vector>

#include "ArchiveDatabase.h"
#include "ByteStream.h"
#include "Coders.h"
#include "InputFile.h"

namespace zk7z {

class FolderDecoder {
 public:
  FolderDecoder(InputFile* file, DecodeStatus* status) : file_(file), status_(status) {}

  // False (with the reason in the status) if the graph is malformed or a stage cannot start.
  bool Init(const ArchiveDatabase& db, const Folder& folder, const DecodeLimits& limits);
  // The folder's unpacked data, folder.UnpackSize() bytes.
  ByteStream* Output() const { return output_; }

 private:
  ByteStream* BuildCoder(uint32_t coder, unsigned depth);

  InputFile* file_;
  DecodeStatus* status_;
  const ArchiveDatabase* db_ = nullptr;
  const Folder* folder_ = nullptr;
  DecodeLimits limits_;
  std::vector<uint32_t> firstInput_;
  std::vector<uint8_t> outputUsed_;
  std::vector<std::unique_ptr<ByteStream>> stages_;
  ByteStream* output_ = nullptr;
};

}  // namespace zk7z
