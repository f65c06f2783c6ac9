#include "FileWriterPool.h"

#include <cctype>
#include <exception>
#include <utility>

#include "SevenZipArchive.h"

namespace zk7z {

namespace {

// What a queued chunk costs beside its bytes, so that many tiny files stay within the budget.
constexpr size_t kChunkOverhead = 256;

// Names that differ only in case are one file on Windows; folding ASCII is enough to keep their
// order, and folding too much only serialises files that could have been written side by side.
std::string NameKey(const PathComponents& path) {
  std::string key = RelativeName(path, path.size());
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

FileWriterPool::FileWriterPool(OutputTree& tree, WrittenFunction written)
    : tree_(tree), written_(std::move(written)) {}

FileWriterPool::~FileWriterPool() { Abort("the extraction was abandoned"); }

unsigned FileWriterPool::DefaultWriters() { return std::thread::hardware_concurrency() == 1 ? 1 : 2; }

bool FileWriterPool::Start(unsigned writers, size_t queueBudget) {
  budget_ = queueBudget;
  try {
    for (unsigned i = 0; i < writers; ++i) writers_.emplace_back(&FileWriterPool::WriterLoop, this);
  } catch (const std::exception&) {
    Abort("cannot start the writer threads");
    return false;
  }
  return true;
}

void FileWriterPool::FailLocked(const std::string& reason) {
  if (!failed_) error_ = reason;
  failed_ = true;
  changed_.notify_all();
}

bool FileWriterPool::BeginFile(FileJob file) {
  auto job = std::make_shared<Job>();
  job->key = NameKey(*file.path);
  job->file = std::move(file);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (failed_) return false;
  job->ticket = names_[job->key].issued++;
  current_ = job;
  pending_.push_back(std::move(job));
  changed_.notify_all();
  return true;
}

bool FileWriterPool::Append(std::vector<uint8_t> bytes) {
  const size_t cost = bytes.size() + kChunkOverhead;
  std::unique_lock<std::mutex> lock(mutex_);
  // One chunk always fits into an empty queue, however large.
  changed_.wait(lock, [&] { return failed_ || queued_ == 0 || queued_ + cost <= budget_; });
  if (failed_) return false;
  queued_ += cost;
  current_->chunks.push_back(std::move(bytes));
  changed_.notify_all();
  return true;
}

void FileWriterPool::EndFile() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (current_) current_->complete = true;
  current_.reset();
  changed_.notify_all();
}

bool FileWriterPool::Finish() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
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

void FileWriterPool::WriterLoop() {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return failed_ || closed_ || !pending_.empty(); });
      if (failed_ || pending_.empty()) return;
      job = std::move(pending_.front());
      pending_.pop_front();
      NameTurns& turns = names_[job->key];
      changed_.wait(lock, [&] { return failed_ || turns.done == job->ticket; });
      if (failed_) return;
    }
    bool ok = false;
    try {
      ok = WriteJob(*job);
    } catch (const std::exception&) {
      const std::lock_guard<std::mutex> lock(mutex_);
      FailLocked("not enough memory");
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!ok) return;
    ++names_[job->key].done;
    changed_.notify_all();
  }
}

bool FileWriterPool::WriteJob(Job& job) {
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
    std::vector<uint8_t> bytes;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return failed_ || job.complete || !job.chunks.empty(); });
      if (failed_) {
        lock.unlock();
        tree_.AbortFile(file);
        return false;
      }
      if (job.chunks.empty()) break;
      bytes = std::move(job.chunks.front());
      job.chunks.pop_front();
      queued_ -= bytes.size() + kChunkOverhead;
      changed_.notify_all();
    }
    crc = Crc32(bytes.data(), bytes.size(), crc);
    if (!tree_.Write(file, bytes.data(), bytes.size())) return fail(tree_.error());
    bool goOn;
    {
      const std::lock_guard<std::mutex> lock(writtenMutex_);
      goOn = written_(bytes.size());
    }
    if (!goOn) return fail("the extraction was cancelled");
  }
  if (job.file.crcDefined && crc != job.file.crc) {
    return fail("CRC mismatch in \"" + job.file.displayName + "\"; the archive is damaged");
  }
  if (!tree_.CommitFile(file, job.file.meta)) return fail(tree_.error());
  return true;
}

}  // namespace zk7z
