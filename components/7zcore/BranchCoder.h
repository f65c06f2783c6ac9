#pragma once
// The stage shared by the branch-call filters of RISC processors: it buffers the input, lets a
// converter turn absolute call targets back into relative ones, and holds back the bytes of an
// instruction that the next read completes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ByteStream.h"

namespace zk7z {

// Converts data[0, size) in place, as far as whole instructions allow, and returns how many bytes
// are final; pc is the address of data[0]. Called again on the held-back tail once the input ends.
using BranchConverter = size_t (*)(uint8_t* data, size_t size, uint32_t pc);

struct BranchFilter {
  const char* name;
  BranchConverter convert;
  uint32_t alignment;  // of instructions, and so of a start offset
};

inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
inline uint32_t ReadBe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         static_cast<uint32_t>(p[3]);
}
inline void WriteBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

// props: empty, or the start address as 4 little-endian bytes.
std::unique_ptr<ByteStream> CreateBranchCoder(ByteStream* input, const std::vector<uint8_t>& props,
                                              uint64_t outSize, const BranchFilter& filter, DecodeStatus* status);

}  // namespace zk7z
