// BCJ2: x86 calls and jumps whose targets the encoder moved into two side streams, chosen by a
// range-coded bit per candidate opcode. Inputs: main, call, jump, range coder.

#include "Coders.h"

namespace zk7z {

namespace {

constexpr int kNumProbs = 2 + 256;
constexpr int kProbJump = 256;
constexpr int kProbJcc = 257;
constexpr uint32_t kTopValue = 1u << 24;
constexpr int kProbBits = 11;
constexpr uint32_t kProbTotal = 1u << kProbBits;
constexpr int kMoveBits = 5;

inline bool IsJump(uint8_t b0, uint8_t b1) { return (b1 & 0xFE) == 0xE8 || (b0 == 0x0F && (b1 & 0xF0) == 0x80); }

class Bcj2Coder final : public ByteStream {
 public:
  Bcj2Coder(const std::vector<ByteStream*>& inputs, uint64_t outSize, DecodeStatus* status)
      : main_(inputs[0]), call_(inputs[1]), jump_(inputs[2]), rc_(inputs[3]), left_(outSize), status_(status) {
    for (uint16_t& p : probs_) p = kProbTotal >> 1;
  }

  bool Init() {
    if (!main_.Init() || !call_.Init() || !jump_.Init() || !rc_.Init()) return status_->Fail("not enough memory");
    return true;
  }

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    if (!started_) {
      for (int i = 0; i < 5; ++i) {
        uint8_t b = 0;
        if (!NextByte(rc_, &b)) return false;
        code_ = (code_ << 8) | b;
      }
      started_ = true;
    }
    size_t n = 0;
    while (n < size && left_ > 0) {
      if (pendingPos_ < pendingLen_) {
        data[n++] = pending_[pendingPos_++];
        --left_;
        continue;
      }
      if (!main_.Fill()) return false;
      const size_t avail = main_.Available();
      if (avail == 0) break;
      size_t lim = avail;
      if (lim > size - n) lim = size - n;
      if (lim > left_) lim = static_cast<size_t>(left_);
      const uint8_t* src = main_.Data();
      size_t i = 0;
      bool candidate = false;
      uint8_t before = prev_;
      while (i < lim) {
        const uint8_t b = src[i];
        data[n + i] = b;
        ++i;
        if (IsJump(prev_, b)) {
          before = prev_;
          prev_ = b;
          candidate = true;
          break;
        }
        prev_ = b;
      }
      main_.Consume(i);
      n += i;
      left_ -= i;
      ip_ += static_cast<uint32_t>(i);
      if (!candidate || left_ == 0) continue;
      const uint8_t op = prev_;
      uint16_t* prob = op == 0xE8 ? &probs_[before] : (op == 0xE9 ? &probs_[kProbJump] : &probs_[kProbJcc]);
      int bit = 0;
      if (!DecodeBit(prob, &bit)) return false;
      if (bit == 0) continue;
      InputBuffer& side = op == 0xE8 ? call_ : jump_;
      uint32_t target = 0;
      for (int k = 0; k < 4; ++k) {
        uint8_t b = 0;
        if (!NextByte(side, &b)) return false;
        target = (target << 8) | b;
      }
      const uint32_t dest = target - (ip_ + 4);
      for (int k = 0; k < 4; ++k) pending_[k] = static_cast<uint8_t>(dest >> (8 * k));
      pendingPos_ = 0;
      pendingLen_ = 4;
      ip_ += 4;
      prev_ = static_cast<uint8_t>(dest >> 24);
    }
    *got = n;
    return true;
  }

 private:
  bool NextByte(InputBuffer& in, uint8_t* b) {
    if (!in.Fill()) return false;
    if (in.Available() == 0) return status_->Fail("BCJ2 data is truncated");
    *b = *in.Data();
    in.Consume(1);
    return true;
  }

  bool DecodeBit(uint16_t* prob, int* bit) {
    if (range_ < kTopValue) {
      uint8_t b = 0;
      if (!NextByte(rc_, &b)) return false;
      range_ <<= 8;
      code_ = (code_ << 8) | b;
    }
    const uint32_t bound = (range_ >> kProbBits) * *prob;
    if (code_ < bound) {
      range_ = bound;
      *prob = static_cast<uint16_t>(*prob + ((kProbTotal - *prob) >> kMoveBits));
      *bit = 0;
    } else {
      range_ -= bound;
      code_ -= bound;
      *prob = static_cast<uint16_t>(*prob - (*prob >> kMoveBits));
      *bit = 1;
    }
    return true;
  }

  InputBuffer main_, call_, jump_, rc_;
  uint64_t left_;
  DecodeStatus* status_;
  uint16_t probs_[kNumProbs];
  uint32_t range_ = 0xFFFFFFFFu;
  uint32_t code_ = 0;
  uint32_t ip_ = 0;
  uint8_t prev_ = 0;
  uint8_t pending_[4] = {};
  unsigned pendingPos_ = 0, pendingLen_ = 0;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<ByteStream> CreateBcj2Coder(const std::vector<ByteStream*>& inputs, uint64_t outSize,
                                            DecodeStatus* status) {
  if (inputs.size() != 4) {
    status->Fail("BCJ2 coder needs four inputs");
    return nullptr;
  }
  auto coder = std::make_unique<Bcj2Coder>(inputs, outSize, status);
  if (!coder->Init()) return nullptr;
  return coder;
}

}  // namespace zk7z
