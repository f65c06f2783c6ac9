#pragma once
// Extracts a whole 7z archive into a folder: checks every name and method first, then decodes
// each folder once, front to back, straight into the files.

#include <cstdint>
#include <functional>
#include <string>

#include "Coders.h"
#include "InputFile.h"

namespace zk7z {

// (bytes done, bytes total) of file data. At least one call per MiB, none closer than 64 KiB
// apart; done == total only in the last call, and only after everything was written.
using ProgressFunction = std::function<void(uint64_t, uint64_t)>;

class SevenZipExtractor {
 public:
  void SetProgress(ProgressFunction progress) { progress_ = std::move(progress); }
  void SetLimits(const DecodeLimits& limits) { limits_ = limits; }

  bool Extract(const NativePath& archive, const NativePath& targetDir);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& text);

  ProgressFunction progress_;
  DecodeLimits limits_;
  std::string error_;
};

}  // namespace zk7z
