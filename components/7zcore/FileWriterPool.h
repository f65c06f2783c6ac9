#pragma once
// Writer threads behind the decoder: the decoder hands over each file's bytes as they come and
// never waits on the file system, only on the queue's memory budget. A writer creates, writes,
// checks the CRC of, stamps, closes and puts in place one file at a time. Files of one name are
// put in place in archive order.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OutputTree.h"

namespace zk7z {

class FileWriterPool {
 public:
  // Called by one writer at a time after each write, with the bytes written; false stops the
  // extraction.
  using WrittenFunction = std::function<bool(uint64_t)>;

  struct FileJob {
    const PathComponents* path = nullptr;
    FileMeta meta;
    bool crcDefined = false;
    uint32_t crc = 0;
    std::string displayName;
  };

  FileWriterPool(OutputTree& tree, WrittenFunction written);
  FileWriterPool(const FileWriterPool&) = delete;
  FileWriterPool& operator=(const FileWriterPool&) = delete;
  ~FileWriterPool();  // stops and joins writers still running

  // Two writers, one on a single core.
  static unsigned DefaultWriters();
  bool Start(unsigned writers, size_t queueBudget);

  // The decoder's side; each returns false once the extraction has failed.
  bool BeginFile(FileJob job);
  bool Append(std::vector<uint8_t> bytes);
  void EndFile();
  // Waits until every file is in place; false (with the reason in error()) on a failure.
  bool Finish();
  // Ends the extraction with this reason and waits until the writers have stopped.
  void Abort(const std::string& reason);

  const std::string& error() const { return error_; }

 private:
  struct Job {
    FileJob file;
    std::deque<std::vector<uint8_t>> chunks;
    bool complete = false;
    uint64_t ticket = 0;  // order among the files of its name
    std::string key;
  };
  struct NameTurns {
    uint64_t issued = 0;
    uint64_t done = 0;
  };

  void WriterLoop();
  bool WriteJob(Job& job);
  void FailLocked(const std::string& reason);
  void Join();

  OutputTree& tree_;
  WrittenFunction written_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Job>> pending_;
  std::shared_ptr<Job> current_;
  std::map<std::string, NameTurns> names_;
  size_t queued_ = 0;
  size_t budget_ = 0;
  bool closed_ = false;
  bool failed_ = false;
  std::string error_;
  std::mutex writtenMutex_;
  std::vector<std::thread> writers_;
};

}  // namespace zk7z
