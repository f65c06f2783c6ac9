#include "FolderDecoder.h"

namespace zk7z {

namespace {

// One pack stream: a byte range of the archive file.
class PackStream final : public ByteStream {
 public:
  PackStream(InputFile* file, uint64_t offset, uint64_t size, DecodeStatus* status)
      : file_(file), offset_(offset), left_(size), status_(status) {}

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    if (size > left_) size = static_cast<size_t>(left_);
    if (size == 0) return true;
    size_t n = 0;
    if (!file_->ReadAt(offset_, data, size, &n)) return status_->Fail("cannot read the archive file");
    if (n == 0) return status_->Fail("archive is truncated");
    offset_ += n;
    left_ -= n;
    *got = n;
    return true;
  }

 private:
  InputFile* file_;
  uint64_t offset_;
  uint64_t left_;
  DecodeStatus* status_;
};

}  // namespace

bool FolderDecoder::Init(const ArchiveDatabase& db, const Folder& folder, const DecodeLimits& limits) {
  db_ = &db;
  folder_ = &folder;
  limits_ = limits;
  const std::string unsupported = CheckFolderSupported(folder);
  if (!unsupported.empty()) return status_->Fail(unsupported);
  uint32_t first = 0;
  for (const CoderInfo& coder : folder.coders) {
    firstInput_.push_back(first);
    first += coder.numInStreams;
  }
  if (folder.unpackSizes.size() != folder.coders.size()) return status_->Fail("archive folder has a broken coder graph");
  outputUsed_.assign(folder.coders.size(), 0);
  output_ = BuildCoder(folder.mainOutStream, 0);
  return output_ != nullptr;
}

ByteStream* FolderDecoder::BuildCoder(uint32_t coderIndex, unsigned depth) {
  const Folder& folder = *folder_;
  // Every coder has one output, so an output index is a coder index.
  if (coderIndex >= folder.coders.size() || depth > folder.coders.size() || outputUsed_[coderIndex]) {
    status_->Fail("archive folder has a broken coder graph");
    return nullptr;
  }
  outputUsed_[coderIndex] = 1;
  const CoderInfo& coder = folder.coders[coderIndex];
  std::vector<ByteStream*> inputs;
  for (uint32_t j = 0; j < coder.numInStreams; ++j) {
    const uint32_t in = firstInput_[coderIndex] + j;
    ByteStream* source = nullptr;
    for (size_t k = 0; k < folder.packedStreams.size() && !source; ++k) {
      if (folder.packedStreams[k] != in) continue;
      const uint64_t pack = folder.firstPackStream + k;
      stages_.push_back(std::make_unique<PackStream>(file_, db_->packOffsets[pack], db_->streams.packSizes[pack], status_));
      source = stages_.back().get();
    }
    for (size_t k = 0; k < folder.bindPairs.size() && !source; ++k) {
      if (folder.bindPairs[k].inIndex != in) continue;
      source = BuildCoder(folder.bindPairs[k].outIndex, depth + 1);
      if (!source) return nullptr;
    }
    if (!source) {
      status_->Fail("archive folder has a broken coder graph");
      return nullptr;
    }
    inputs.push_back(source);
  }
  std::unique_ptr<ByteStream> stage = CreateCoder(coder, inputs, folder.unpackSizes[coderIndex], limits_, status_);
  if (!stage) return nullptr;
  stages_.push_back(std::move(stage));
  return stages_.back().get();
}

}  // namespace zk7z
