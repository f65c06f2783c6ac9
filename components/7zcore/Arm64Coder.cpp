// ARM64 branch converter. BL holds a 26-bit word offset from its own address. ADRP holds a
// 21-bit page offset (immhi in bits 5..23, immlo in bits 29..30); only those within 2^17 pages
// either way were made absolute, modulo 2^18 pages, so the result stays in that range.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kInstructionSize = 4;
constexpr uint32_t kBlMask = 0xFC000000;
constexpr uint32_t kBl = 0x94000000;
constexpr uint32_t kBlOffsetMask = ~kBlMask;
constexpr uint32_t kAdrpMask = 0x9F000000;
constexpr uint32_t kAdrp = 0x90000000;
constexpr unsigned kPageShift = 12;
constexpr unsigned kNearPagesBits = 18;  // signed range of the pages that were converted
constexpr uint32_t kNearPagesMask = (1u << kNearPagesBits) - 1;
constexpr uint32_t kImmHiMask = 0x00FFFFE0;
constexpr uint32_t kImmLoMask = 0x60000000;

inline uint32_t AdrpPages(uint32_t word) { return ((word & kImmHiMask) >> 3) | ((word & kImmLoMask) >> 29); }

inline uint32_t WithAdrpPages(uint32_t word, uint32_t pages) {
  return (word & ~(kImmHiMask | kImmLoMask)) | ((pages << 3) & kImmHiMask) | ((pages << 29) & kImmLoMask);
}

// True when the 21-bit page count, read as signed, lies in [-2^17, 2^17).
inline bool IsNearPages(uint32_t pages) {
  return ((pages + (1u << (kNearPagesBits - 1))) & 0x1FFFFF) < (1u << kNearPagesBits);
}

size_t ConvertArm64(uint8_t* data, size_t size, uint32_t pc) {
  const size_t whole = size & ~(kInstructionSize - 1);
  for (size_t pos = 0; pos < whole; pos += kInstructionSize) {
    uint8_t* p = data + pos;
    const uint32_t word = ReadLe32(p);
    const uint32_t address = pc + static_cast<uint32_t>(pos);
    if ((word & kBlMask) == kBl) {
      WriteLe32(p, kBl | ((word - (address >> 2)) & kBlOffsetMask));
    } else if ((word & kAdrpMask) == kAdrp) {
      const uint32_t pages = AdrpPages(word);
      if (!IsNearPages(pages)) continue;
      uint32_t relative = (pages - (address >> kPageShift)) & kNearPagesMask;
      if (relative >> (kNearPagesBits - 1)) relative |= ~kNearPagesMask;
      WriteLe32(p, WithAdrpPages(word, relative));
    }
  }
  return whole;
}

constexpr BranchFilter kArm64 = {"ARM64", ConvertArm64, kInstructionSize};

}  // namespace

std::unique_ptr<ByteStream> CreateArm64Coder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kArm64, status);
}

}  // namespace zk7z
