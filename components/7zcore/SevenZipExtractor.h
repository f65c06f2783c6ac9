#pragma once
// Extracts a whole 7z archive into a folder: checks every name and method first, then decodes
// each folder once, several side by side where cores and memory allow, while writer threads put
// the files in place.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Coders.h"
#include "InputFile.h"

namespace zk7z {

// (bytes done, bytes total) of file data written. At least one call per MiB, none closer than
// 64 KiB apart, one at a time, possibly from a writer thread; done == total only in the last
// call, made by the calling thread after everything was put in place.
using ProgressFunction = std::function<void(uint64_t, uint64_t)>;

class OutputTree;

// All or nothing: a failed or stopped extraction leaves targetDir as it found it (see
// UnpackJournal).
class SevenZipExtractor {
 public:
  void SetProgress(ProgressFunction progress) { progress_ = std::move(progress); }
  void SetLimits(const DecodeLimits& limits) { limits_ = limits; }
  // Once *stop is set (by any thread) the extraction ends at its next progress step, at most a
  // MiB of output later, and is undone.
  void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
  // Writer threads beside the decoders; 0 chooses by the number of cores. There are never fewer
  // writers than decoders.
  void SetWriters(unsigned writers) { writers_ = writers; }
  // Folders decoded side by side at most; 0 chooses by the number of cores. One whenever a name
  // is in two folders, and fewer while their dictionaries would take too much memory.
  void SetDecoders(unsigned decoders) { decoders_ = decoders; }
  // Test seam: see UnpackJournal::StopAfterRecordsForTest.
  void StopAfterJournalRecordsForTest(size_t records) { journalRecordLimit_ = records; }

  bool Extract(const NativePath& archive, const NativePath& targetDir);
  const std::string& error() const { return error_; }
  // After a success: the files and folders put in place, relative to targetDir, '\' between
  // names, folders ending with '\'.
  const std::vector<std::string>& installed() const { return installed_; }

 private:
  bool Fail(const std::string& text);
  bool FailAndUndo(OutputTree& tree, const std::string& text);

  ProgressFunction progress_;
  DecodeLimits limits_;
  const std::atomic<bool>* stop_ = nullptr;
  unsigned writers_ = 0;
  unsigned decoders_ = 0;
  size_t journalRecordLimit_ = static_cast<size_t>(-1);
  std::string error_;
  std::vector<std::string> installed_;
};

}  // namespace zk7z
