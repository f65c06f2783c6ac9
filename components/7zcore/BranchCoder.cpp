#include "BranchCoder.h"

#include <cstring>
#include <string>

namespace zk7z {

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr size_t kStartOffsetSize = 4;

class BranchCoder final : public ByteStream {
 public:
  BranchCoder(ByteStream* input, uint64_t outSize, BranchConverter convert, uint32_t pc)
      : input_(input), left_(outSize), convert_(convert), pc_(pc) {}

  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    while (ready_ == pos_) {
      if (ended_) return true;
      if (!Refill()) return false;
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
  // Moves the held-back tail to the front, reads behind it and converts what became whole.
  bool Refill() {
    std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
    end_ -= pos_;
    ready_ = pos_ = 0;
    size_t n = 0;
    if (left_ > end_ && !input_->Read(buffer_ + end_, kBufferSize - end_, &n)) return false;
    end_ += n;
    if (n == 0) {
      ended_ = true;
      convert_(buffer_, end_, pc_);
      ready_ = end_;  // what no instruction covers passes unchanged
      return true;
    }
    ready_ = convert_(buffer_, end_, pc_);
    pc_ += static_cast<uint32_t>(ready_);
    return true;
  }

  ByteStream* input_;
  uint64_t left_;
  BranchConverter convert_;
  uint32_t pc_;
  uint8_t buffer_[kBufferSize];
  size_t pos_ = 0, ready_ = 0, end_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<ByteStream> CreateBranchCoder(ByteStream* input, const std::vector<uint8_t>& props,
                                              uint64_t outSize, const BranchFilter& filter, DecodeStatus* status) {
  uint32_t pc = 0;
  if (props.size() == kStartOffsetSize) {
    pc = ReadLe32(props.data());
  } else if (!props.empty()) {
    status->Fail(std::string(filter.name) + " filter has bad properties (" + std::to_string(props.size()) +
                 " bytes; a start offset takes 4)");
    return nullptr;
  }
  if (pc % filter.alignment != 0) {
    status->Fail(std::string(filter.name) + " filter has the start offset " + std::to_string(pc) +
                 ", which is not a multiple of " + std::to_string(filter.alignment));
    return nullptr;
  }
  return std::make_unique<BranchCoder>(input, outSize, filter.convert, pc);
}

}  // namespace zk7z
