// IA-64 branch converter. Code comes in 16-byte bundles: a 5-bit template, then three 41-bit
// slots. In the slots the template assigns to the branch unit, an IP-relative br.call (major
// opcode 5, bits 9..11 clear) holds a 21-bit bundle offset (imm20b in bits 13..32, sign in bit 36)
// from the bundle's address.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kBundleSize = 16;
constexpr unsigned kTemplateBits = 5;
constexpr unsigned kSlotBits = 41;
constexpr unsigned kSlots = 3;
constexpr unsigned kBundleShift = 4;
constexpr uint64_t kOpcodeCall = 5;
constexpr uint64_t kImm20Mask = 0xFFFFF;

// Bit s set: slot s of a bundle with this template goes to the branch unit.
constexpr uint8_t kBranchSlots[32] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      4, 4, 6, 6, 0, 0, 7, 7, 4, 4, 0, 0, 4, 4, 0, 0};

inline bool IsRelativeCall(uint64_t slot) { return ((slot >> 37) & 0xF) == kOpcodeCall && ((slot >> 9) & 7) == 0; }

void ConvertSlot(uint8_t* bundle, unsigned slot, uint32_t address) {
  const unsigned bit = kTemplateBits + slot * kSlotBits;
  uint8_t* p = bundle + bit / 8;
  const unsigned shift = bit % 8;
  // Six bytes hold the slot whatever its bit offset; the last one ends within the bundle.
  uint64_t raw = 0;
  for (int i = 5; i >= 0; --i) raw = raw << 8 | p[i];
  const uint64_t inst = raw >> shift;
  if (!IsRelativeCall(inst)) return;
  uint32_t target = static_cast<uint32_t>(((inst >> 13) & kImm20Mask) | ((inst >> 36) & 1) << 20);
  target = ((target << kBundleShift) - address) >> kBundleShift;
  uint64_t out = inst & ~((kImm20Mask << 13) | (uint64_t(1) << 36));
  out |= (static_cast<uint64_t>(target) & kImm20Mask) << 13 | (static_cast<uint64_t>(target >> 20) & 1) << 36;
  raw = (raw & ((uint64_t(1) << shift) - 1)) | out << shift;
  for (int i = 0; i < 6; ++i) p[i] = static_cast<uint8_t>(raw >> (8 * i));
}

size_t ConvertIa64(uint8_t* data, size_t size, uint32_t pc) {
  const size_t whole = size & ~(kBundleSize - 1);
  for (size_t pos = 0; pos < whole; pos += kBundleSize) {
    const unsigned slots = kBranchSlots[data[pos] & 0x1F];
    for (unsigned s = 0; s < kSlots; ++s) {
      if (slots >> s & 1) ConvertSlot(data + pos, s, pc + static_cast<uint32_t>(pos));
    }
  }
  return whole;
}

constexpr BranchFilter kIa64 = {"IA64", ConvertIa64, kBundleSize};

}  // namespace

std::unique_ptr<ByteStream> CreateIa64Coder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                            DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kIa64, status);
}

}  // namespace zk7z
