// LZMA2 stage: the chunk layer (uncompressed chunks, state, property and dictionary resets)
// around the lzma-dev LZMA decoder, sharing one circular dictionary.

#include <algorithm>
#include <cstring>

#include "Coders.h"
#include "LzmaAlloc.h"

namespace zk7z {

namespace {

constexpr uint8_t kControlEnd = 0x00;
constexpr uint8_t kControlCopyReset = 0x01;
constexpr uint8_t kControlCopy = 0x02;
constexpr uint8_t kControlLzma = 0x80;
constexpr unsigned kMaxLcPlusLp = 4;

class Lzma2Coder final : public ByteStream {
 public:
  Lzma2Coder(ByteStream* input, uint64_t outSize, DecodeStatus* status)
      : in_(input), left_(outSize), status_(status) {
    LzmaDec_Construct(&dec_);
  }
  ~Lzma2Coder() override {
    LzmaDec_FreeProbs(&dec_, LzmaAllocator());
    delete[] dictionary_;
  }

  bool Init(const std::vector<uint8_t>& props, const DecodeLimits& limits) {
    if (props.size() != 1 || props[0] > kLzma2LargestDictionaryCode) {
      return status_->Fail("LZMA2 coder has bad properties");
    }
    uint64_t size = std::max<uint64_t>(std::min<uint64_t>(Lzma2DictionarySize(props[0]), left_), kLzmaMinDictionary);
    if (size > limits.maxDictionary) return status_->Fail("LZMA2 dictionary is larger than allowed");
    dictionary_ = new (std::nothrow) uint8_t[static_cast<size_t>(size)];
    if (!dictionary_) return status_->Fail("not enough memory for the LZMA2 dictionary");
    dec_.dic = dictionary_;
    dec_.dicBufSize = static_cast<SizeT>(size);
    dec_.dicPos = 0;
    dec_.prop.dicSize = static_cast<UInt32>(size);
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
      bool ok = true;
      switch (state_) {
        case State::kControl:
          ok = ReadControl();
          break;
        case State::kCopy:
          ok = CopyChunk();
          break;
        case State::kLzma:
          ok = DecodeChunk();
          break;
        case State::kSkip:
          ok = SkipChunkRest();
          break;
      }
      if (!ok) return false;
    }
  }

 private:
  enum class State { kControl, kCopy, kLzma, kSkip };

  bool ReadBytes(uint8_t* out, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      if (!in_.Fill()) return false;
      if (in_.Available() == 0) return status_->Fail("LZMA2 data is truncated");
      out[i] = *in_.Data();
      in_.Consume(1);
    }
    return true;
  }

  void ResetDictionary() {
    dec_.processedPos = 0;
    dec_.checkDicSize = 0;
    dec_.needInitState = 1;
    dictionaryReady_ = true;
  }

  bool ReadControl() {
    uint8_t control = 0;
    if (!ReadBytes(&control, 1)) return false;
    if (control == kControlEnd) return status_->Fail("LZMA2 data ends before its size");
    if (control == kControlCopyReset || control == kControlCopy) {
      uint8_t s[2];
      if (!ReadBytes(s, 2)) return false;
      if (control == kControlCopyReset) ResetDictionary();
      if (!dictionaryReady_) return status_->Fail("LZMA2 data lacks its dictionary reset");
      unpackLeft_ = (static_cast<uint32_t>(s[0]) << 8 | s[1]) + 1u;
      state_ = State::kCopy;
      return true;
    }
    if (control < kControlLzma) return status_->Fail("LZMA2 data has a bad control byte");
    uint8_t s[4];
    if (!ReadBytes(s, 4)) return false;
    unpackLeft_ = ((static_cast<uint32_t>(control & 0x1F) << 16) | (static_cast<uint32_t>(s[0]) << 8) | s[1]) + 1u;
    packLeft_ = (static_cast<uint32_t>(s[2]) << 8 | s[3]) + 1u;
    const unsigned mode = (control >> 5) & 3;
    if (mode == 3) ResetDictionary();
    if (!dictionaryReady_) return status_->Fail("LZMA2 data lacks its dictionary reset");
    if (mode >= 2) {
      uint8_t p = 0;
      if (!ReadBytes(&p, 1)) return false;
      if (!SetProperties(p)) return false;
    } else if (!propsReady_) {
      return status_->Fail("LZMA2 data lacks its properties");
    }
    if (mode >= 1) dec_.needInitState = 1;
    // Every LZMA chunk starts a fresh range coder.
    dec_.needFlush = 1;
    dec_.remainLen = 0;
    dec_.tempBufSize = 0;
    state_ = State::kLzma;
    return true;
  }

  bool SetProperties(uint8_t p) {
    if (p >= 9 * 5 * 5) return status_->Fail("LZMA2 data has bad properties");
    const unsigned lc = p % 9;
    const unsigned lp = (p / 9) % 5;
    const unsigned pb = p / 45;
    if (lc + lp > kMaxLcPlusLp) return status_->Fail("LZMA2 data has bad properties");
    uint8_t props[5];
    props[0] = static_cast<uint8_t>((pb * 5 + lp) * 9 + lc);
    for (int i = 0; i < 4; ++i) props[1 + i] = static_cast<uint8_t>(dec_.dicBufSize >> (8 * i));
    // Keeps the dictionary; only the probability tables follow lc and lp.
    if (LzmaDec_AllocateProbs(&dec_, props, 5, LzmaAllocator()) != SZ_OK) {
      return status_->Fail("not enough memory for LZMA2");
    }
    propsReady_ = true;
    return true;
  }

  bool CopyChunk() {
    if (!in_.Fill()) return false;
    if (in_.Available() == 0) return status_->Fail("LZMA2 data is truncated");
    size_t n = std::min<size_t>(in_.Available(), unpackLeft_);
    n = std::min(n, dec_.dicBufSize - dec_.dicPos);
    if (n > left_) return status_->Fail("LZMA2 data is longer than its size");
    std::memcpy(dec_.dic + dec_.dicPos, in_.Data(), n);
    in_.Consume(n);
    dec_.dicPos += n;
    if (dec_.checkDicSize == 0 && dec_.prop.dicSize - dec_.processedPos <= n) dec_.checkDicSize = dec_.prop.dicSize;
    dec_.processedPos += static_cast<UInt32>(n);
    unpackLeft_ -= static_cast<uint32_t>(n);
    left_ -= n;
    if (unpackLeft_ == 0) state_ = State::kControl;
    return true;
  }

  bool DecodeChunk() {
    if (!in_.Fill()) return false;
    SizeT srcLen = std::min<size_t>(in_.Available(), packLeft_);
    const size_t room = dec_.dicBufSize - dec_.dicPos;
    size_t want = std::min<size_t>(room, unpackLeft_);
    if (want > left_) return status_->Fail("LZMA2 data is longer than its size");
    const size_t before = dec_.dicPos;
    ELzmaStatus st;
    const SRes res = LzmaDec_DecodeToDic(&dec_, before + want, in_.Data(), &srcLen, LZMA_FINISH_ANY, &st);
    in_.Consume(srcLen);
    packLeft_ -= static_cast<uint32_t>(srcLen);
    if (res != SZ_OK) return status_->Fail("LZMA2 data is corrupt");
    const size_t produced = dec_.dicPos - before;
    unpackLeft_ -= static_cast<uint32_t>(produced);
    left_ -= produced;
    if (unpackLeft_ == 0) {
      state_ = packLeft_ == 0 ? State::kControl : State::kSkip;
      return true;
    }
    if (produced == 0 && srcLen == 0) {
      if (packLeft_ == 0 || in_.Available() == 0) return status_->Fail("LZMA2 data is truncated");
      return status_->Fail("LZMA2 data is corrupt");
    }
    return true;
  }

  bool SkipChunkRest() {
    if (!in_.Fill()) return false;
    if (in_.Available() == 0) return status_->Fail("LZMA2 data is truncated");
    const size_t n = std::min<size_t>(in_.Available(), packLeft_);
    in_.Consume(n);
    packLeft_ -= static_cast<uint32_t>(n);
    if (packLeft_ == 0) state_ = State::kControl;
    return true;
  }

  CLzmaDec dec_;
  uint8_t* dictionary_ = nullptr;
  InputBuffer in_;
  uint64_t left_;
  size_t outPos_ = 0;
  State state_ = State::kControl;
  uint32_t unpackLeft_ = 0;
  uint32_t packLeft_ = 0;
  bool dictionaryReady_ = false;
  bool propsReady_ = false;
  DecodeStatus* status_;
};

}  // namespace

std::unique_ptr<ByteStream> CreateLzma2Coder(ByteStream* input, const std::vector<uint8_t>& props,
                                             uint64_t outSize, const DecodeLimits& limits, DecodeStatus* status) {
  auto coder = std::make_unique<Lzma2Coder>(input, outSize, status);
  if (!coder->Init(props, limits)) return nullptr;
  return coder;
}

}  // namespace zk7z
