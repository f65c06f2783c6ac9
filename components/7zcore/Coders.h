#pragma once
// The decoding methods this reader knows, and the factory that makes one stage of a folder's
// decoder graph.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveDatabase.h"
#include "ByteStream.h"

namespace zk7z {

struct DecodeLimits {
  // Largest dictionary or window a stage may allocate.
  uint64_t maxDictionary = uint64_t(1) << 30;
};

enum class Method {
  kCopy, kLzma, kLzma2, kBcjX86, kBcj2, kDelta, kDeflate,
  kArm, kArmThumb, kArm64, kPpc, kSparc, kIa64, kRiscv,
  kUnsupported
};

Method IdentifyMethod(const std::vector<uint8_t>& id);
// A readable method name: "LZMA2", "BZip2", "7zAES", or the id in hex.
std::string MethodName(const std::vector<uint8_t>& id);
// Empty when every coder of the folder can be decoded; otherwise why not.
std::string CheckFolderSupported(const Folder& folder);

// The dictionary an LZMA2 stream declares by its property byte, at most this code.
constexpr uint8_t kLzma2LargestDictionaryCode = 40;
uint64_t Lzma2DictionarySize(uint8_t code);
// What the folder's decoders allocate for their dictionaries; each is capped at the data its
// coder produces.
uint64_t FolderDictionaryBytes(const Folder& folder);

// Makes the stage for one coder, reading from inputs (one per coder input stream) and producing
// outSize bytes. Null on failure, with the reason in status.
std::unique_ptr<ByteStream> CreateCoder(const CoderInfo& coder, const std::vector<ByteStream*>& inputs,
                                        uint64_t outSize, const DecodeLimits& limits, DecodeStatus* status);

// Individual stages, for the factory.
std::unique_ptr<ByteStream> CreateLzmaCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                            const DecodeLimits& limits, DecodeStatus* status);
std::unique_ptr<ByteStream> CreateLzma2Coder(ByteStream* input, const std::vector<uint8_t>& props,
                                             uint64_t outSize, const DecodeLimits& limits, DecodeStatus* status);
std::unique_ptr<ByteStream> CreateBcjX86Coder(ByteStream* input, uint64_t outSize, DecodeStatus* status);
std::unique_ptr<ByteStream> CreateBcj2Coder(const std::vector<ByteStream*>& inputs, uint64_t outSize,
                                            DecodeStatus* status);
std::unique_ptr<ByteStream> CreateDeltaCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status);
std::unique_ptr<ByteStream> CreateDeflateCoder(ByteStream* input, uint64_t outSize, DecodeStatus* status);
// Branch-call filters of other processors; props may hold a start offset.
std::unique_ptr<ByteStream> CreateArmCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                           DecodeStatus* status);
std::unique_ptr<ByteStream> CreateArmThumbCoder(ByteStream* input, const std::vector<uint8_t>& props,
                                                uint64_t outSize, DecodeStatus* status);
std::unique_ptr<ByteStream> CreateArm64Coder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status);
std::unique_ptr<ByteStream> CreatePpcCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                           DecodeStatus* status);
std::unique_ptr<ByteStream> CreateSparcCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status);
std::unique_ptr<ByteStream> CreateIa64Coder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                            DecodeStatus* status);
std::unique_ptr<ByteStream> CreateRiscvCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status);

}  // namespace zk7z
