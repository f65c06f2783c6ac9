// ARM Thumb branch converter: a BL is a pair of halfwords, F000 | offset[21:11] then
// F800 | offset[10:0], counting halfwords from the pair's address + 4. Pairs sit on any halfword.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kPairSize = 4;
constexpr size_t kHalfword = 2;
constexpr uint8_t kHighPrefix = 0xF0;
constexpr uint8_t kLowPrefix = 0xF8;
constexpr uint8_t kPrefixMask = 0xF8;
constexpr uint32_t kPipelineAhead = 4;

size_t ConvertArmThumb(uint8_t* data, size_t size, uint32_t pc) {
  size_t pos = 0;
  while (size - pos >= kPairSize) {
    uint8_t* p = data + pos;
    if ((p[1] & kPrefixMask) != kHighPrefix || (p[3] & kPrefixMask) != kLowPrefix) {
      pos += kHalfword;
      continue;
    }
    const uint32_t target = ((static_cast<uint32_t>(p[1] & 7) << 19) | (static_cast<uint32_t>(p[0]) << 11) |
                             (static_cast<uint32_t>(p[3] & 7) << 8) | p[2])
                            << 1;
    const uint32_t offset = (target - (pc + static_cast<uint32_t>(pos) + kPipelineAhead)) >> 1;
    p[0] = static_cast<uint8_t>(offset >> 11);
    p[1] = static_cast<uint8_t>(kHighPrefix | ((offset >> 19) & 7));
    p[2] = static_cast<uint8_t>(offset);
    p[3] = static_cast<uint8_t>(kLowPrefix | ((offset >> 8) & 7));
    pos += kPairSize;
  }
  return pos;
}

constexpr BranchFilter kArmThumb = {"ARMT", ConvertArmThumb, kHalfword};

}  // namespace

std::unique_ptr<ByteStream> CreateArmThumbCoder(ByteStream* input, const std::vector<uint8_t>& props,
                                                uint64_t outSize, DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kArmThumb, status);
}

}  // namespace zk7z
