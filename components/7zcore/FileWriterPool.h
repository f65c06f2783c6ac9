#pragma once
// Writer threads behind the decoders: each decoder hands over its files' bytes as they come and
// never waits on the file system, only on the queue's memory budget. A writer creates, writes,
// checks the CRC of, stamps, closes and puts in place one file at a time. Files of one name are
// put in place in the order their decoder handed them over.
//
// Each kind of wait has its own condition variable, signalled only when a thread waits and what
// it waits for changed: decoders for room in the queue, idle writers for a file to start, a
// writer for more bytes of its file (only the file a decoder is on can be incomplete), a writer
// for its turn among files of one name.
//
// Writers take files in the order they were handed over, so with at least as many writers as
// decoders every incomplete file has a writer and the queue always drains. Files of one name
// must all come from one decoder: a writer waiting for its turn holds no decoder back only then.

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
  struct Job;

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

  // One decoder's side of the hand-over: the file it is on, and whether writers see it yet.
  class Lane {
   private:
    friend class FileWriterPool;
    std::shared_ptr<Job> current_;
    bool published_ = false;
  };

  FileWriterPool(OutputTree& tree, WrittenFunction written);
  FileWriterPool(const FileWriterPool&) = delete;
  FileWriterPool& operator=(const FileWriterPool&) = delete;
  ~FileWriterPool();  // stops and joins writers still running

  // Two writers, one on a single core.
  static unsigned DefaultWriters();
  // Files whose paths have one key are one file on Windows; they take turns.
  static std::string NameKey(const PathComponents& path);
  // Buffers of exactly bufferSize bytes are kept for reuse once written.
  bool Start(unsigned writers, size_t queueBudget, size_t bufferSize);

  // A buffer of size bytes for the next Append; a written one of the reused size when there is
  // one, so that large files neither allocate nor clear memory for every piece.
  std::vector<uint8_t> TakeBuffer(size_t size);

  // A decoder's side, one lane per decoder thread. A file reaches the writers with its first
  // bytes; one whose bytes all come in one Append (last set) is handed over whole. Append returns
  // false once the extraction has failed; EndFile is needed only where no Append had last set.
  void BeginFile(Lane& lane, FileJob job);
  bool Append(Lane& lane, std::vector<uint8_t> bytes, bool last);
  void EndFile(Lane& lane);
  // Waits until every file is in place; false (with the reason in error()) on a failure. Every
  // decoder must be done.
  bool Finish();
  // Ends the extraction with this reason, the first one given staying in error(). Fail returns
  // at once, for decoders; Abort waits until the writers have stopped.
  void Fail(const std::string& reason);
  void Abort(const std::string& reason);

  const std::string& error() const { return error_; }

 private:
  using Chunks = std::deque<std::vector<uint8_t>>;
  struct NameTurns {
    uint64_t issued = 0;  // one a file handed over
    uint64_t done = 0;
  };
  struct Job {
    FileJob file;
    std::string nameKey;
    Chunks chunks;
    bool complete = false;
    bool writerWaits = false;  // for more of it
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
  bool Publish(Lane& lane, std::vector<uint8_t> bytes, bool last);
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
  // The smallest piece a waiting decoder has, while any waits for room.
  size_t roomWanted_ = 0;
  unsigned decodersWaitingRoom_ = 0;
  unsigned idleWriters_ = 0;
  unsigned writersWaitingTurn_ = 0;
  bool closed_ = false;
  bool failed_ = false;
  std::string error_;
  std::mutex writtenMutex_;
  std::vector<std::thread> writers_;
  // The turns of every name; writers reach theirs only through their job.
  std::map<std::string, NameTurns> names_;
};

}  // namespace zk7z
