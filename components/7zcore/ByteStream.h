#pragma once
// The pull interface every stage of a folder's decoder graph offers to the next one.

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

namespace zk7z {

// One decode job: the first error ends it, and its text is kept here.
struct DecodeStatus {
  std::string error;
  bool Fail(const std::string& text) {
    if (error.empty()) error = text;
    return false;
  }
};

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Fills up to size bytes; *got == 0 only at the end of the stream. False on an error,
  // whose text is in the job's DecodeStatus.
  virtual bool Read(uint8_t* data, size_t size, size_t* got) = 0;
};

// Reads until size bytes are in or the stream ends; *got tells how many arrived.
inline bool ReadFull(ByteStream& stream, uint8_t* data, size_t size, size_t* got) {
  size_t total = 0;
  while (total < size) {
    size_t n = 0;
    if (!stream.Read(data + total, size - total, &n)) return false;
    if (n == 0) break;
    total += n;
  }
  *got = total;
  return true;
}

// A read-ahead buffer over a stream, for decoders that consume input a byte at a time.
class InputBuffer {
 public:
  static constexpr size_t kSize = 1 << 16;

  explicit InputBuffer(ByteStream* source) : source_(source) {}
  InputBuffer(const InputBuffer&) = delete;
  InputBuffer& operator=(const InputBuffer&) = delete;
  ~InputBuffer() { delete[] data_; }

  bool Init() {
    data_ = new (std::nothrow) uint8_t[kSize];
    return data_ != nullptr;
  }
  // Makes at least one byte available unless the source has ended (then Available() == 0).
  bool Fill() {
    if (pos_ < end_) return true;
    pos_ = end_ = 0;
    if (ended_) return true;
    size_t n = 0;
    if (!source_->Read(data_, kSize, &n)) return false;
    if (n == 0) ended_ = true;
    end_ = n;
    return true;
  }
  size_t Available() const { return end_ - pos_; }
  const uint8_t* Data() const { return data_ + pos_; }
  void Consume(size_t n) { pos_ += n; }

 private:
  ByteStream* source_;
  uint8_t* data_ = nullptr;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
};

}  // namespace zk7z
