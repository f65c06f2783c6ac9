// LZMA stage: the Debian lzma-dev decoder working on a circular dictionary that is never larger
// than the data it will produce.

#include <algorithm>
#include <cstring>

#include "Coders.h"
#include "LzmaAlloc.h"

namespace zk7z {

namespace {

constexpr size_t kLzmaPropsSize = 5;

class LzmaCoder final : public ByteStream {
 public:
  LzmaCoder(ByteStream* input, uint64_t outSize, DecodeStatus* status)
      : in_(input), left_(outSize), status_(status) {
    LzmaDec_Construct(&dec_);
  }
  ~LzmaCoder() override { LzmaDec_Free(&dec_, LzmaAllocator()); }

  bool Init(const std::vector<uint8_t>& props, const DecodeLimits& limits) {
    if (props.size() < kLzmaPropsSize) return status_->Fail("LZMA coder has bad properties");
    CLzmaProps decoded;
    if (LzmaProps_Decode(&decoded, props.data(), kLzmaPropsSize) != SZ_OK) {
      return status_->Fail("LZMA coder has bad properties");
    }
    uint64_t dictionary = std::min<uint64_t>(decoded.dicSize, left_);
    dictionary = std::max<uint64_t>(dictionary, kLzmaMinDictionary);
    if (dictionary > limits.maxDictionary) return status_->Fail("LZMA dictionary is larger than allowed");
    uint8_t adjusted[kLzmaPropsSize];
    adjusted[0] = props[0];
    for (int i = 0; i < 4; ++i) adjusted[1 + i] = static_cast<uint8_t>(dictionary >> (8 * i));
    if (LzmaDec_Allocate(&dec_, adjusted, kLzmaPropsSize, LzmaAllocator()) != SZ_OK) {
      return status_->Fail("not enough memory for the LZMA dictionary");
    }
    LzmaDec_Init(&dec_);
    return in_.Init() || status_->Fail("not enough memory");
  }

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    for (;;) {
      if (outPos_ < dec_.dicPos) {
        const size_t n = std::min(size, dec_.dicPos - outPos_);
        std::memcpy(data, dec_.dic + outPos_, n);
        outPos_ += n;
        *got = n;
        return true;
      }
      if (left_ == 0) return true;
      if (dec_.dicPos == dec_.dicBufSize) dec_.dicPos = outPos_ = 0;
      if (!in_.Fill()) return false;
      const size_t room = dec_.dicBufSize - dec_.dicPos;
      const size_t want = left_ < room ? static_cast<size_t>(left_) : room;
      SizeT srcLen = in_.Available();
      ELzmaStatus state;
      const size_t before = dec_.dicPos;
      const SRes res = LzmaDec_DecodeToDic(&dec_, before + want, in_.Data(), &srcLen, LZMA_FINISH_ANY, &state);
      in_.Consume(srcLen);
      if (res != SZ_OK) return status_->Fail("LZMA data is corrupt");
      const size_t produced = dec_.dicPos - before;
      left_ -= produced;
      if (produced == 0 && srcLen == 0) {
        if (state == LZMA_STATUS_FINISHED_WITH_MARK) return status_->Fail("LZMA data ends before its size");
        if (in_.Available() == 0) return status_->Fail("LZMA data is truncated");
        return status_->Fail("LZMA decoder made no progress");
      }
    }
  }

 private:
  CLzmaDec dec_;
  InputBuffer in_;
  uint64_t left_;
  size_t outPos_ = 0;
  DecodeStatus* status_;
};

}  // namespace

std::unique_ptr<ByteStream> CreateLzmaCoder(ByteStream* input, const std::vector<uint8_t>& props, uint64_t outSize,
                                            const DecodeLimits& limits, DecodeStatus* status) {
  auto coder = std::make_unique<LzmaCoder>(input, outSize, status);
  if (!coder->Init(props, limits)) return nullptr;
  return coder;
}

}  // namespace zk7z
