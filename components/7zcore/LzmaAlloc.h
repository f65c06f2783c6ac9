#pragma once
// The allocator the LZMA decoder sources call back into.

#include <cstdlib>

extern "C" {
#include "LzmaDec.h"
}

namespace zk7z {

inline void* LzmaAllocFn(void*, size_t size) { return size ? std::malloc(size) : nullptr; }
inline void LzmaFreeFn(void*, void* address) { std::free(address); }
inline ISzAlloc* LzmaAllocator() {
  static ISzAlloc alloc = {LzmaAllocFn, LzmaFreeFn};
  return &alloc;
}

constexpr uint32_t kLzmaMinDictionary = 1u << 12;

}  // namespace zk7z
