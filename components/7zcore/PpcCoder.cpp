// PowerPC branch converter: `bl` is big-endian opcode 18 with AA = 0 and LK = 1; its 24-bit
// word offset (bits 2..25) counts from the instruction's own address.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kInstructionSize = 4;
constexpr uint32_t kOpcodeMask = 0xFC000003;  // primary opcode, AA and LK
constexpr uint32_t kBl = 0x48000001;          // opcode 18, AA = 0, LK = 1
constexpr uint32_t kOffsetMask = 0x03FFFFFC;

size_t ConvertPpc(uint8_t* data, size_t size, uint32_t pc) {
  const size_t whole = size & ~(kInstructionSize - 1);
  for (size_t pos = 0; pos < whole; pos += kInstructionSize) {
    uint8_t* p = data + pos;
    const uint32_t word = ReadBe32(p);
    if ((word & kOpcodeMask) != kBl) continue;
    const uint32_t offset = (word & kOffsetMask) - (pc + static_cast<uint32_t>(pos));
    WriteBe32(p, kBl | (offset & kOffsetMask));
  }
  return whole;
}

constexpr BranchFilter kPpc = {"PPC", ConvertPpc, kInstructionSize};

}  // namespace

std::unique_ptr<ByteStream> CreatePpcCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                           DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kPpc, status);
}

}  // namespace zk7z
