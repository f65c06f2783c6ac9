// ARM branch converter: BL with the condition "always" (byte 3 is EB) carries a word offset in
// its low 24 bits, relative to the instruction's address + 8; the encoder made it absolute.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kInstructionSize = 4;
constexpr uint8_t kBlAlways = 0xEB;
constexpr uint32_t kPipelineAhead = 8;
constexpr uint32_t kOffsetMask = 0x00FFFFFF;

size_t ConvertArm(uint8_t* data, size_t size, uint32_t pc) {
  const size_t whole = size & ~(kInstructionSize - 1);
  for (size_t pos = 0; pos < whole; pos += kInstructionSize) {
    uint8_t* p = data + pos;
    if (p[3] != kBlAlways) continue;
    const uint32_t target = (ReadLe32(p) & kOffsetMask) << 2;
    const uint32_t offset = (target - (pc + static_cast<uint32_t>(pos) + kPipelineAhead)) >> 2;
    WriteLe32(p, (offset & kOffsetMask) | static_cast<uint32_t>(kBlAlways) << 24);
  }
  return whole;
}

constexpr BranchFilter kArm = {"ARM", ConvertArm, kInstructionSize};

}  // namespace

std::unique_ptr<ByteStream> CreateArmCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                           DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kArm, status);
}

}  // namespace zk7z
