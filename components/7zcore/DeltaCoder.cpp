// Delta filter: each byte was stored as its difference to the byte `distance` positions back.

#include "Coders.h"

namespace zk7z {

namespace {

constexpr size_t kMaxDistance = 256;

class DeltaCoder final : public ByteStream {
 public:
  DeltaCoder(ByteStream* input, unsigned distance, uint64_t outSize)
      : input_(input), distance_(distance), left_(outSize) {}

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    if (size > left_) size = static_cast<size_t>(left_);
    if (size == 0) return true;
    size_t n = 0;
    if (!input_->Read(data, size, &n)) return false;
    unsigned j = index_;
    for (size_t i = 0; i < n; ++i) {
      const uint8_t b = static_cast<uint8_t>(data[i] + history_[j]);
      data[i] = b;
      history_[j] = b;
      if (++j == distance_) j = 0;
    }
    index_ = j;
    left_ -= n;
    *got = n;
    return true;
  }

 private:
  ByteStream* input_;
  unsigned distance_;
  uint64_t left_;
  uint8_t history_[kMaxDistance] = {};
  unsigned index_ = 0;
};

}  // namespace

std::unique_ptr<ByteStream> CreateDeltaCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                             DecodeStatus* status) {
  if (props.size() != 1) {
    status->Fail("Delta coder has bad properties");
    return nullptr;
  }
  return std::make_unique<DeltaCoder>(input, props[0] + 1u, outSize);
}

}  // namespace zk7z
