// Deflate stage: zlib's raw inflate.

#include <zlib.h>

#include <cstring>

#include "Coders.h"

namespace zk7z {

namespace {

constexpr int kRawWindowBits = -15;

class DeflateCoder final : public ByteStream {
 public:
  DeflateCoder(ByteStream* input, uint64_t outSize, DecodeStatus* status)
      : in_(input), left_(outSize), status_(status) {
    std::memset(&z_, 0, sizeof z_);
  }
  ~DeflateCoder() override {
    if (ready_) inflateEnd(&z_);
  }

  bool Init() {
    if (!in_.Init()) return status_->Fail("not enough memory");
    if (inflateInit2(&z_, kRawWindowBits) != Z_OK) return status_->Fail("cannot start the Deflate decoder");
    ready_ = true;
    return true;
  }

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    if (size > left_) size = static_cast<size_t>(left_);
    if (size > (1u << 30)) size = 1u << 30;
    while (size > 0 && !finished_) {
      if (!in_.Fill()) return false;
      z_.next_in = const_cast<Bytef*>(in_.Data());
      z_.avail_in = static_cast<uInt>(in_.Available());
      z_.next_out = data;
      z_.avail_out = static_cast<uInt>(size);
      const int res = inflate(&z_, Z_NO_FLUSH);
      in_.Consume(in_.Available() - z_.avail_in);
      const size_t produced = size - z_.avail_out;
      if (res == Z_STREAM_END) {
        finished_ = true;
      } else if (res == Z_BUF_ERROR && in_.Available() == 0 && produced == 0) {
        return status_->Fail("Deflate data is truncated");
      } else if (res != Z_OK && res != Z_BUF_ERROR) {
        return status_->Fail("Deflate data is corrupt");
      }
      if (produced > 0) {
        left_ -= produced;
        *got = produced;
        return true;
      }
    }
    return true;
  }

 private:
  InputBuffer in_;
  z_stream z_;
  uint64_t left_;
  DecodeStatus* status_;
  bool ready_ = false;
  bool finished_ = false;
};

}  // namespace

std::unique_ptr<ByteStream> CreateDeflateCoder(ByteStream* input, uint64_t outSize, DecodeStatus* status) {
  auto coder = std::make_unique<DeflateCoder>(input, outSize, status);
  if (!coder->Init()) return nullptr;
  return coder;
}

}  // namespace zk7z
