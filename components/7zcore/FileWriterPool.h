#pragma once
// Writer threads behind the decoder: the decoder hands over each file's bytes as they come and
// never waits on the file system, only on the queue's memory budget. A writer creates, writes,
// checks the CRC of, stamps, closes and puts in place one file at a time. Files of one name are
// put in place in archive order.
//
// Each kind of wait has its own condition variable, signalled only when that thread waits and
// what it waits for changed: the decoder for room in the queue, idle writers for a file to start,
// a writer for more bytes of its file (only the file being decoded can be incomplete), a writer
// for its turn among files of one name.

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
  // Called by one writer at a time after each write, with at most kReportUnit bytes written;
  // false stops the extraction.
  using WrittenFunction = std::function<bool(uint64_t)>;
  static constexpr size_t kReportUnit = 64 << 10;

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
  // Buffers of exactly bufferSize bytes are kept for reuse once written.
  bool Start(unsigned writers, size_t queueBudget, size_t bufferSize);

  // A buffer of size bytes for the next Append; a written one of the reused size when there is
  // one, so that large files neither allocate nor clear memory for every piece.
  std::vector<uint8_t> TakeBuffer(size_t size);

  // The decoder's side. A file reaches the writers with its first bytes; one whose bytes all come
  // in one Append (last set) is handed over whole. Append returns false once the extraction has
  // failed; EndFile is needed only where no Append had last set.
  void BeginFile(FileJob job);
  bool Append(std::vector<uint8_t> bytes, bool last);
  void EndFile();
  // Waits until every file is in place; false (with the reason in error()) on a failure.
  bool Finish();
  // Ends the extraction with this reason and waits until the writers have stopped.
  void Abort(const std::string& reason);

  const std::string& error() const { return error_; }

 private:
  using Chunks = std::deque<std::vector<uint8_t>>;
  struct NameTurns {
    uint64_t issued = 0;  // the decoder's own
    uint64_t done = 0;
  };
  struct Job {
    FileJob file;
    Chunks chunks;
    bool complete = false;
    NameTurns* turns = nullptr;
    uint64_t ticket = 0;  // order among the files of its name
  };
  // What a writer gives back the next time it holds the lock.
  struct Spent {
    size_t cost = 0;
    NameTurns* turns = nullptr;  // of the file it just put in place
    std::vector<std::vector<uint8_t>> buffers;
  };

  void WriterLoop();
  bool WriteJob(Job& job, Chunks taken, bool whole, Spent& spent);
  bool Publish(std::vector<uint8_t> bytes, bool last);
  void ReturnLocked(Spent& spent);
  void FailLocked(const std::string& reason);
  void Join();

  OutputTree& tree_;
  WrittenFunction written_;
  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable work_;
  std::condition_variable more_;
  std::condition_variable turn_;
  std::deque<std::shared_ptr<Job>> pending_;
  size_t queued_ = 0;
  size_t budget_ = 0;
  size_t bufferSize_ = 0;
  // Never more than the queue held at once, so the budget bounds it too.
  std::vector<std::vector<uint8_t>> spare_;
  size_t roomWanted_ = 0;  // set while the decoder waits for room
  unsigned idleWriters_ = 0;
  unsigned writersWantingMore_ = 0;
  unsigned writersWaitingTurn_ = 0;
  bool closed_ = false;
  bool failed_ = false;
  std::string error_;
  std::mutex writtenMutex_;
  std::vector<std::thread> writers_;
  // The decoder's own: the file it decodes and whether writers can see it yet, and the turns of
  // every name (writers reach theirs only through their job).
  std::map<std::string, NameTurns> names_;
  std::shared_ptr<Job> current_;
  bool currentPublished_ = false;
};

}  // namespace zk7z
