// RISC-V branch converter. Instructions start on any halfword. The encoder rewrote:
//  - JAL with rd = ra or t0: the 21-bit target, made absolute, is stored with bits 8..1 in the
//    top byte, 16..9 in the next one and 20..17 in bits 12..15;
//  - AUIPC rd (not x0, not sp) followed by a 32-bit instruction whose rs1 is rd: the pair became
//    "AUIPC sp" carrying the second instruction's low 20 bits, then the absolute address of the
//    pair (AUIPC immediate + the second one's bits 20..31) in big-endian order;
//  - an original AUIPC sp that would read as such a pair: its two words were swapped into an
//    AUIPC whose rd is the would-be rs1, so that the pair above is recognisable.
// Every test looks 8 bytes ahead, and the scan steps as the encoder's did, so both stay in step.

#include "BranchCoder.h"
#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kWindow = 8;
constexpr size_t kHalfword = 2;
constexpr uint32_t kOpcodeMask = 0x7F;
constexpr uint32_t kJal = 0x6F;
constexpr uint32_t kAuipc = 0x17;
constexpr uint32_t kRa = 1, kSp = 2, kT0 = 5;
constexpr uint32_t kWide = 3;  // low bits of a 32-bit instruction
constexpr uint32_t kJalTargetMask = 0x1FFFFF;
// Steps after an AUIPC that was left alone: past it and the first halfword of its successor
// when that successor was checked for a pair, else past the AUIPC only.
constexpr size_t kAfterUnpairedAuipc = 6;
constexpr size_t kAfterPlainAuipc = 4;

inline uint32_t Rd(uint32_t word) { return (word >> 7) & 31; }
inline uint32_t Rs1(uint32_t word) { return (word >> 15) & 31; }
inline bool PairsWith(uint32_t second, uint32_t reg) { return (second & 3) == kWide && Rs1(second) == reg; }

inline uint32_t Swap32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

uint32_t DecodeJal(uint32_t word, uint32_t pc) {
  const uint32_t target = ((word >> 24) & 0xFF) << 1 | ((word >> 16) & 0xFF) << 9 | ((word >> 12) & 0xF) << 17;
  const uint32_t offset = (target - pc) & kJalTargetMask;
  return (word & 0xFFF) | ((offset >> 20) & 1) << 31 | ((offset >> 1) & 0x3FF) << 21 | ((offset >> 11) & 1) << 20 |
         ((offset >> 12) & 0xFF) << 12;
}

size_t ConvertRiscv(uint8_t* data, size_t size, uint32_t pc) {
  size_t pos = 0;
  while (size - pos >= kWindow) {
    uint8_t* p = data + pos;
    const uint32_t first = ReadLe32(p);
    const uint32_t opcode = first & kOpcodeMask;
    if (opcode == kJal) {
      const uint32_t rd = Rd(first);
      if (rd != kRa && rd != kT0) {
        pos += kHalfword;
        continue;
      }
      WriteLe32(p, DecodeJal(first, pc + static_cast<uint32_t>(pos)));
      pos += 4;
      continue;
    }
    if (opcode != kAuipc) {
      pos += kHalfword;
      continue;
    }
    const uint32_t rd = Rd(first);
    const uint32_t second = ReadLe32(p + 4);
    if (rd == kSp) {
      // A converted pair: the second instruction's low 20 bits ride in the immediate.
      const uint32_t low = first >> 12;
      const uint32_t reg = Rs1(low);
      if ((low & 3) != kWide || reg == 0 || reg == kSp) {
        pos += kAfterPlainAuipc;
        continue;
      }
      const uint32_t relative = Swap32(second) - (pc + static_cast<uint32_t>(pos));
      WriteLe32(p, ((relative + 0x800) & 0xFFFFF000) | reg << 7 | kAuipc);
      WriteLe32(p + 4, low | relative << 20);
      pos += kWindow;
    } else if (rd == 0) {
      pos += kAfterPlainAuipc;
    } else if (PairsWith(second, rd)) {
      // An original AUIPC sp, swapped by the encoder.
      WriteLe32(p, (second & 0xFFFFF) << 12 | kSp << 7 | kAuipc);
      WriteLe32(p + 4, (first & 0xFFFFF000) | second >> 20);
      pos += kWindow;
    } else {
      pos += kAfterUnpairedAuipc;
    }
  }
  return pos;
}

constexpr BranchFilter kRiscv = {"RISCV", ConvertRiscv, kHalfword};

}  // namespace

std::unique_ptr<ByteStream> CreateRiscvCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status) {
  return CreateBranchCoder(input, props, outSize, kRiscv, status);
}

}  // namespace zk7z
