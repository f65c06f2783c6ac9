// SPARC branch converter: `call` is big-endian 01 followed by a 30-bit word displacement from
// the instruction's own address. Only calls whose displacement fits 23 signed bits were made
// absolute (the top bits all equal), so the result keeps that shape.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kInstructionSize = 4;
constexpr uint32_t kCall = 0x40000000;
constexpr unsigned kNarrowShift = 22;
constexpr uint32_t kNarrowForward = kCall >> kNarrowShift;                 // call, displacement >= 0
constexpr uint32_t kNarrowBackward = (kCall | 0x3FC00000) >> kNarrowShift;  // call, displacement < 0
constexpr uint32_t kNarrowMask = (1u << (kNarrowShift + 1)) - 1;
constexpr uint32_t kDisplacementMask = 0x3FFFFFFF;

size_t ConvertSparc(uint8_t* data, size_t size, uint32_t pc) {
  const size_t whole = size & ~(kInstructionSize - 1);
  for (size_t pos = 0; pos < whole; pos += kInstructionSize) {
    uint8_t* p = data + pos;
    const uint32_t word = ReadBe32(p);
    if ((word >> kNarrowShift) != kNarrowForward && (word >> kNarrowShift) != kNarrowBackward) continue;
    const uint32_t words = ((word << 2) - (pc + static_cast<uint32_t>(pos))) >> 2;
    uint32_t displacement = words & kNarrowMask;
    if (displacement >> kNarrowShift) displacement |= ~kNarrowMask;
    WriteBe32(p, kCall | (displacement & kDisplacementMask));
  }
  return whole;
}

constexpr BranchFilter kSparc = {"SPARC", ConvertSparc, kInstructionSize};

}  // namespace

std::unique_ptr<ByteStream> CreateSparcCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kSparc, status);
}

}  // namespace zk7z
