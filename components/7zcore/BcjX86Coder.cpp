// x86 branch converter (BCJ): turns the absolute addresses the encoder wrote into E8/E9
// instructions back into relative ones.

#include <cstring>

#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr size_t kInstructionSize = 5;

inline bool IsAddressHighByte(uint8_t b) { return b == 0 || b == 0xFF; }

// Converts data[0, size) in place, as far as whole instructions allow; returns how many bytes
// are final. ip is the stream position of data[0]; state carries the recent-opcode mask.
size_t ConvertX86(uint8_t* data, size_t size, uint32_t ip, uint32_t* state) {
  static const bool kMaskAllowed[8] = {true, true, true, false, true, false, false, false};
  static const unsigned kMaskBit[8] = {0, 1, 2, 2, 3, 3, 3, 3};
  if (size < kInstructionSize) return 0;
  const size_t limit = size - 4;
  uint32_t mask = *state & 7;
  size_t pos = 0;
  size_t prevPos = static_cast<size_t>(0) - 1;
  ip += static_cast<uint32_t>(kInstructionSize);
  for (;;) {
    while (pos < limit && (data[pos] & 0xFE) != 0xE8) ++pos;
    if (pos >= limit) break;
    uint8_t* p = data + pos;
    const size_t gap = pos - prevPos;
    if (gap > 3) {
      mask = 0;
    } else {
      mask = (mask << (gap - 1)) & 7;
      if (mask != 0) {
        const uint8_t b = p[4 - kMaskBit[mask]];
        if (!kMaskAllowed[mask] || IsAddressHighByte(b)) {
          prevPos = pos;
          mask = ((mask << 1) & 7) | 1;
          ++pos;
          continue;
        }
      }
    }
    prevPos = pos;
    if (!IsAddressHighByte(p[4])) {
      mask = ((mask << 1) & 7) | 1;
      ++pos;
      continue;
    }
    uint32_t src = static_cast<uint32_t>(p[4]) << 24 | static_cast<uint32_t>(p[3]) << 16 |
                   static_cast<uint32_t>(p[2]) << 8 | p[1];
    uint32_t dest;
    for (;;) {
      dest = src - (ip + static_cast<uint32_t>(pos));
      if (mask == 0) break;
      const unsigned index = kMaskBit[mask] * 8;
      if (!IsAddressHighByte(static_cast<uint8_t>(dest >> (24 - index)))) break;
      src = dest ^ ((1u << (32 - index)) - 1);
    }
    p[4] = static_cast<uint8_t>(~(((dest >> 24) & 1) - 1));
    p[3] = static_cast<uint8_t>(dest >> 16);
    p[2] = static_cast<uint8_t>(dest >> 8);
    p[1] = static_cast<uint8_t>(dest);
    pos += kInstructionSize;
  }
  const size_t gap = pos - prevPos;
  *state = gap > 3 ? 0 : ((mask << (gap - 1)) & 7);
  return pos;
}

class BcjX86Coder final : public ByteStream {
 public:
  BcjX86Coder(ByteStream* input, uint64_t outSize) : input_(input), left_(outSize) {}

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    while (ready_ == pos_) {
      if (left_ == 0 && pos_ == end_) return true;
      std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
      end_ -= pos_;
      ready_ = pos_ = 0;
      size_t n = 0;
      if (!ended_) {
        if (!input_->Read(buffer_ + end_, kBufferSize - end_, &n)) return false;
        if (n == 0) ended_ = true;
      }
      end_ += n;
      if (ended_) {
        ready_ = end_;  // the tail shorter than an instruction passes unchanged
        if (end_ == 0) return true;
      } else {
        ready_ = ConvertX86(buffer_, end_, ip_, &state_);
        ip_ += static_cast<uint32_t>(ready_);
      }
    }
    size_t n = ready_ - pos_;
    if (n > size) n = size;
    if (n > left_) n = static_cast<size_t>(left_);
    if (n == 0) return true;
    std::memcpy(data, buffer_ + pos_, n);
    pos_ += n;
    left_ -= n;
    *got = n;
    return true;
  }

 private:
  ByteStream* input_;
  uint64_t left_;
  uint8_t buffer_[kBufferSize];
  size_t pos_ = 0, ready_ = 0, end_ = 0;
  uint32_t ip_ = 0;
  uint32_t state_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<ByteStream> CreateBcjX86Coder(ByteStream* input, uint64_t outSize, DecodeStatus*) {
  return std::make_unique<BcjX86Coder>(input, outSize);
}

}  // namespace zk7z
