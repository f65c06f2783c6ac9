#include "FileWriterPool.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>

#include "SevenZipArchive.h"

namespace zk7z {

namespace {

// What a queued chunk costs beside its bytes, so that many tiny files stay within the budget.
constexpr size_t kChunkOverhead = 256;

}  // namespace

FileWriterPool::FileWriterPool(OutputTree& tree, WrittenFunction written)
    : tree_(tree), written_(std::move(written)) {}

FileWriterPool::~FileWriterPool() { Abort("the extraction was abandoned"); }

// Folding ASCII case is enough to keep the order of one file's names; folding more only
// serialises files that could have been written side by side.
std::string FileWriterPool::NameKey(const PathComponents& path) {
  std::string key = RelativeName(path, path.size());
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

unsigned FileWriterPool::DefaultWriters() { return std::thread::hardware_concurrency() == 1 ? 1 : 2; }

bool FileWriterPool::Start(unsigned writers, size_t queueBudget, size_t bufferSize) {
  budget_ = queueBudget;
  bufferSize_ = bufferSize;
  try {
    for (unsigned i = 0; i < writers; ++i) writers_.emplace_back(&FileWriterPool::WriterLoop, this);
  } catch (const std::exception&) {
    Abort("cannot start the writer threads");
    return false;
  }
  return true;
}

void FileWriterPool::FailLocked(const std::string& reason) {
  if (failed_) return;
  error_ = reason;
  failed_ = true;
  room_.notify_all();
  work_.notify_all();
  more_.notify_all();
  turn_.notify_all();
}

void FileWriterPool::Fail(const std::string& reason) {
  const std::lock_guard<std::mutex> lock(mutex_);
  FailLocked(reason);
}

void FileWriterPool::BeginFile(Lane& lane, FileJob file) {
  lane.current_ = std::make_shared<Job>();
  lane.current_->nameKey = NameKey(*file.path);
  lane.current_->file = std::move(file);
  lane.published_ = false;
}

std::vector<uint8_t> FileWriterPool::TakeBuffer(size_t size) {
  if (size == bufferSize_) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!spare_.empty()) {
      std::vector<uint8_t> bytes = std::move(spare_.back());
      spare_.pop_back();
      return bytes;
    }
  }
  return std::vector<uint8_t>(size);
}

bool FileWriterPool::Append(Lane& lane, std::vector<uint8_t> bytes, bool last) {
  const bool ok = Publish(lane, std::move(bytes), last);
  if (last) lane.current_.reset();
  return ok;
}

void FileWriterPool::EndFile(Lane& lane) {
  if (!lane.current_) return;
  Publish(lane, {}, true);
  lane.current_.reset();
}

bool FileWriterPool::Publish(Lane& lane, std::vector<uint8_t> bytes, bool last) {
  const size_t cost = bytes.empty() ? 0 : bytes.size() + kChunkOverhead;
  std::unique_lock<std::mutex> lock(mutex_);
  // One chunk always fits into an empty queue, however large.
  while (cost > 0 && !failed_ && queued_ != 0 && queued_ + cost > budget_) {
    roomWanted_ = decodersWaitingRoom_ == 0 ? cost : std::min(roomWanted_, cost);
    ++decodersWaitingRoom_;
    room_.wait(lock);
    --decodersWaitingRoom_;
  }
  if (failed_) return false;
  queued_ += cost;
  Job& job = *lane.current_;
  if (cost > 0) job.chunks.push_back(std::move(bytes));
  job.complete = last;
  if (!lane.published_) {
    lane.published_ = true;
    // Turns follow the hand-over, so one name's files must all come from this lane.
    job.turns = &names_[job.nameKey];
    job.ticket = job.turns->issued++;
    pending_.push_back(lane.current_);
    if (idleWriters_ > 0) work_.notify_one();
  } else if (job.writerWaits) {
    // Writers of other decoders' files may wait beside this one.
    more_.notify_all();
  }
  return true;
}

bool FileWriterPool::Finish() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    work_.notify_all();
  }
  Join();
  return !failed_;
}

void FileWriterPool::Abort(const std::string& reason) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    FailLocked(reason);
  }
  Join();
}

void FileWriterPool::Join() {
  for (std::thread& t : writers_) {
    if (t.joinable()) t.join();
  }
  writers_.clear();
}

void FileWriterPool::ReturnLocked(Spent& spent) {
  if (spent.cost > 0) {
    queued_ -= spent.cost;
    spent.cost = 0;
    if (decodersWaitingRoom_ > 0 && (queued_ == 0 || queued_ + roomWanted_ <= budget_)) room_.notify_all();
  }
  for (std::vector<uint8_t>& bytes : spent.buffers) spare_.push_back(std::move(bytes));
  spent.buffers.clear();
  if (spent.turns) {
    ++spent.turns->done;
    spent.turns = nullptr;
    if (writersWaitingTurn_ > 0) turn_.notify_all();
  }
}

void FileWriterPool::WriterLoop() {
  Spent spent;
  for (;;) {
    std::shared_ptr<Job> job;
    Chunks taken;
    bool whole = false;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ReturnLocked(spent);
      while (!failed_ && !closed_ && pending_.empty()) {
        ++idleWriters_;
        work_.wait(lock);
        --idleWriters_;
      }
      if (failed_ || pending_.empty()) return;
      job = std::move(pending_.front());
      pending_.pop_front();
      while (!failed_ && job->turns->done != job->ticket) {
        ++writersWaitingTurn_;
        turn_.wait(lock);
        --writersWaitingTurn_;
      }
      if (failed_) return;
      taken.swap(job->chunks);
      whole = job->complete;
    }
    bool ok = false;
    try {
      ok = WriteJob(*job, std::move(taken), whole, spent);
    } catch (const std::exception&) {
      const std::lock_guard<std::mutex> lock(mutex_);
      FailLocked("not enough memory");
    }
    if (!ok) return;
    spent.turns = job->turns;
  }
}

bool FileWriterPool::WriteJob(Job& job, Chunks taken, bool whole, Spent& spent) {
  OutputFile file;
  auto fail = [&](const std::string& reason) {
    tree_.AbortFile(file);
    const std::lock_guard<std::mutex> lock(mutex_);
    FailLocked(reason);
    return false;
  };
  if (!tree_.BeginFile(file, *job.file.path)) return fail(tree_.error());
  uint32_t crc = 0;
  for (;;) {
    for (std::vector<uint8_t>& bytes : taken) {
      crc = Crc32(bytes.data(), bytes.size(), crc);
      if (!tree_.Write(file, bytes.data(), bytes.size())) return fail(tree_.error());
      const size_t size = bytes.size();
      spent.cost += size + kChunkOverhead;
      if (size == bufferSize_) spent.buffers.push_back(std::move(bytes));
      const std::lock_guard<std::mutex> lock(writtenMutex_);
      for (size_t done = 0; done < size; done += kReportUnit) {
        if (!written_(std::min(kReportUnit, size - done))) return fail("the extraction was cancelled");
      }
    }
    taken.clear();
    if (whole) break;
    std::unique_lock<std::mutex> lock(mutex_);
    ReturnLocked(spent);
    while (!failed_ && !job.complete && job.chunks.empty()) {
      job.writerWaits = true;
      more_.wait(lock);
      job.writerWaits = false;
    }
    if (failed_) {
      lock.unlock();
      tree_.AbortFile(file);
      return false;
    }
    taken.swap(job.chunks);
    whole = job.complete;
  }
  if (job.file.crcDefined && crc != job.file.crc) {
    return fail("CRC mismatch in \"" + job.file.displayName + "\"; the archive is damaged");
  }
  if (!tree_.CommitFile(file, job.file.meta)) return fail(tree_.error());
  return true;
}

}  // namespace zk7z
