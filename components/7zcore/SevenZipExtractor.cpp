#include "SevenZipExtractor.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "FileWriterPool.h"
#include "FolderDecoder.h"
#include "OutputTree.h"
#include "SafeName.h"
#include "SevenZipArchive.h"

namespace zk7z {

namespace {

// Bytes handed to the writers at a time: a file up to this size goes over whole.
constexpr size_t kHandOffSize = 256 << 10;
// Decoded bytes waiting for the writers; with the dictionaries this bounds the memory used. Folders
// decoded side by side take part of it for their dictionaries.
constexpr size_t kQueueBudget = 16 << 20;
constexpr size_t kSideBySideQueueBudget = 8 << 20;
constexpr uint64_t kProgressMinGap = 64 << 10;
// Regular reports this far apart leave room for the final one within a MiB.
constexpr uint64_t kProgressStep = (1 << 20) - kProgressMinGap;
// Writers advance the progress by at most this much at a time, so reports stay a MiB apart at most.
static_assert(FileWriterPool::kReportUnit <= kProgressMinGap, "writers report too coarsely");

// Beyond the largest dictionary alone, what the dictionaries of folders decoded side by side may take.
constexpr uint64_t kExtraDictionaryBytes = 32 << 20;
constexpr unsigned kMaxDecoders = 4;

constexpr char kStopped[] = "the extraction was cancelled";

class ProgressReporter {
 public:
  ProgressReporter(const ProgressFunction& fn, const std::atomic<bool>* stop, uint64_t total)
      : fn_(fn), stop_(stop), total_(total) {
    if (fn_ && total_ >= kProgressMinGap) fn_(0, total_);
  }
  // False once the caller asked to stop.
  bool Advance(uint64_t n) {
    done_ += n;
    if (fn_ && done_ - last_ >= kProgressStep && total_ - done_ >= kProgressMinGap) {
      last_ = done_;
      fn_(done_, total_);
    }
    return !Stopped();
  }
  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }
  void Finish() {
    if (fn_) fn_(total_, total_);
  }

 private:
  const ProgressFunction& fn_;
  const std::atomic<bool>* stop_;
  uint64_t total_;
  uint64_t done_ = 0;
  uint64_t last_ = 0;
};

struct PlannedItem {
  const FileEntry* entry;
  PathComponents path;
};

FileMeta MetaOf(const FileEntry& e) {
  FileMeta meta;
  meta.mtimeDefined = e.mtimeDefined;
  meta.mtime = e.mtime;
  meta.attribDefined = e.attribDefined;
  meta.attrib = e.attrib;
  return meta;
}

struct FolderPlan {
  uint32_t index;
  uint64_t dictionaryBytes;
  std::vector<const PlannedItem*> files;
};

// Hands the folders out in order to the decoder threads. A folder waits while its dictionary
// would take those in use more than extraBytes beyond the largest one alone.
class FolderSchedule {
 public:
  FolderSchedule(const std::vector<FolderPlan>& plans, uint64_t extraBytes) : plans_(plans) {
    uint64_t largest = 0;
    for (const FolderPlan& plan : plans) largest = std::max(largest, plan.dictionaryBytes);
    limit_ = largest + extraBytes;
  }
  // Null once every folder is handed out or Stop was called.
  const FolderPlan* Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (stopped_ || next_ == plans_.size()) return nullptr;
      const FolderPlan& plan = plans_[next_];
      if (inUse_ == 0 || inUse_ + plan.dictionaryBytes <= limit_) {
        ++next_;
        inUse_ += plan.dictionaryBytes;
        return &plan;
      }
      freed_.wait(lock);
    }
  }
  void Done(const FolderPlan& plan) {
    const std::lock_guard<std::mutex> lock(mutex_);
    inUse_ -= plan.dictionaryBytes;
    freed_.notify_all();
  }
  void Stop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    freed_.notify_all();
  }

 private:
  const std::vector<FolderPlan>& plans_;
  uint64_t limit_ = 0;
  std::mutex mutex_;
  std::condition_variable freed_;
  size_t next_ = 0;
  uint64_t inUse_ = 0;
  bool stopped_ = false;
};

// Writers mostly wait on the file system, so two cores already decode two folders faster.
unsigned DefaultDecoders() {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(cores, 1u, kMaxDecoders);
}

// At most wanted, one a folder; one when a name is in two folders, as its files are put in place
// in the order one decoder hands them over.
unsigned DecodersFor(const std::vector<FolderPlan>& plans, unsigned wanted) {
  if (wanted <= 1 || plans.size() <= 1) return 1;
  std::map<std::string, uint32_t> folderOfName;
  for (const FolderPlan& plan : plans) {
    for (const PlannedItem* item : plan.files) {
      const auto [at, added] = folderOfName.emplace(FileWriterPool::NameKey(item->path), plan.index);
      if (!added && at->second != plan.index) return 1;
    }
  }
  return std::min<unsigned>(wanted, static_cast<unsigned>(plans.size()));
}

// Hands the folder's files to the writers through this decoder's lane. False once the extraction
// failed, the reason given to the pool.
bool DecodeFolder(SevenZipArchive& archive, const FolderPlan& plan, const DecodeLimits& limits,
                  ProgressReporter& progress, FileWriterPool& pool, FileWriterPool::Lane& lane) {
  const ArchiveDatabase& db = archive.db();
  DecodeStatus status;
  FolderDecoder decoder(&archive.file(), &status);
  auto fail = [&pool](const std::string& reason) {
    pool.Fail(reason);
    return false;
  };
  if (!decoder.Init(db, db.streams.folders[plan.index], limits)) return fail(status.error);
  for (const PlannedItem* item : plan.files) {
    const FileEntry& file = *item->entry;
    FileWriterPool::FileJob job;
    job.path = &item->path;
    job.meta = MetaOf(file);
    job.crcDefined = file.crcDefined;
    job.crc = file.crc;
    job.displayName = Utf16ToUtf8Lossy(file.name);
    pool.BeginFile(lane, std::move(job));
    uint64_t left = file.size;
    while (left > 0) {
      const size_t want = left < kHandOffSize ? static_cast<size_t>(left) : kHandOffSize;
      std::vector<uint8_t> bytes = pool.TakeBuffer(want);
      size_t got = 0;
      if (!ReadFull(*decoder.Output(), bytes.data(), want, &got)) {
        return fail(status.error + " (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      }
      if (got == 0) return fail("archive data ends early (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      bytes.resize(got);
      left -= got;
      if (progress.Stopped()) return fail(kStopped);
      if (!pool.Append(lane, std::move(bytes), left == 0)) return false;
    }
    pool.EndFile(lane);
  }
  return true;
}

}  // namespace

bool SevenZipExtractor::Fail(const std::string& text) {
  if (error_.empty()) error_ = text;
  return false;
}

bool SevenZipExtractor::FailAndUndo(OutputTree& tree, const std::string& text) {
  Fail(text);
  if (!tree.Rollback()) error_ += "; " + tree.error();
  return false;
}

bool SevenZipExtractor::Extract(const NativePath& archivePath, const NativePath& targetDir) {
  error_.clear();
  installed_.clear();
  SevenZipArchive archive;
  if (!archive.Open(archivePath, limits_)) return Fail(archive.error());
  const ArchiveDatabase& db = archive.db();

  // Everything that can be refused is refused before the first byte is written.
  for (const Folder& folder : db.streams.folders) {
    const std::string why = CheckFolderSupported(folder);
    if (!why.empty()) return Fail(why);
  }
  std::vector<PlannedItem> items;
  items.reserve(db.files.size());
  uint64_t total = 0;
  for (const FileEntry& file : db.files) {
    if (file.isAnti) continue;
    PlannedItem item{&file, {}};
    std::string why;
    if (!SplitSafeName(file.name, &item.path, &why)) {
      return Fail("archive member \"" + Utf16ToUtf8Lossy(file.name) + "\" has an unsafe name: " + why);
    }
    if (file.size > UINT64_MAX - total) return Fail("archive sizes overflow");
    total += file.size;
    items.push_back(std::move(item));
  }

  OutputTree tree;
  tree.journal().StopAfterRecordsForTest(journalRecordLimit_);
  if (!tree.Init(targetDir)) return Fail(tree.error());
  // Every folder is made and checked here, before the writers start; the tree remembers them.
  for (const PlannedItem& item : items) {
    const size_t depth = item.entry->isDir ? item.path.size() : item.path.size() - 1;
    if (!tree.MakeDirectories(item.path, depth)) return FailAndUndo(tree, tree.error());
  }

  // Each folder's files in archive order; folders without files are never decoded.
  std::vector<FolderPlan> plans;
  for (const PlannedItem& item : items) {
    if (!item.entry->hasStream) continue;
    const uint32_t index = item.entry->folderIndex;
    if (plans.empty() || plans.back().index != index) {
      plans.push_back({index, FolderDictionaryBytes(db.streams.folders[index]), {}});
    }
    plans.back().files.push_back(&item);
  }
  const unsigned decoders = DecodersFor(plans, decoders_ ? decoders_ : DefaultDecoders());
  // As many writers as decoders, so that every file being decoded can have its writer.
  const unsigned writers = std::max(writers_ ? writers_ : FileWriterPool::DefaultWriters(), decoders);

  ProgressReporter progress(progress_, stop_, total);
  if (progress.Stopped()) return FailAndUndo(tree, kStopped);
  FileWriterPool pool(tree, [&progress](uint64_t n) { return progress.Advance(n); });
  const size_t budget = decoders > 1 ? kSideBySideQueueBudget : kQueueBudget;
  if (!pool.Start(writers, budget, kHandOffSize)) return FailAndUndo(tree, pool.error());

  FolderSchedule schedule(plans, kExtraDictionaryBytes);
  auto decodeFolders = [&] {
    FileWriterPool::Lane lane;
    try {
      while (const FolderPlan* plan = schedule.Next()) {
        const bool ok = DecodeFolder(archive, *plan, limits_, progress, pool, lane);
        schedule.Done(*plan);
        if (!ok) break;
      }
    } catch (const std::exception&) {
      pool.Fail("not enough memory");
    }
    // Once this one failed or ended, the others take no further folder after their own.
    schedule.Stop();
  };
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < decoders; ++i) {
    try {
      helpers.emplace_back(decodeFolders);
    } catch (const std::exception&) {
      break;  // fewer decoders then
    }
  }
  decodeFolders();
  for (std::thread& helper : helpers) helper.join();
  if (!pool.Finish()) return FailAndUndo(tree, pool.error());

  for (const PlannedItem& item : items) {
    const FileEntry& file = *item.entry;
    if (file.hasStream || file.isDir) continue;
    OutputFile empty;
    if (!tree.BeginFile(empty, item.path) || !tree.CommitFile(empty, MetaOf(file))) {
      return FailAndUndo(tree, tree.error());
    }
  }
  if (!tree.Commit()) return FailAndUndo(tree, tree.error());
  // Folders as recorded, then files in archive order, whichever writer finished first.
  for (const std::string& name : tree.journal().InstalledNames()) {
    if (name.back() == '\\') installed_.push_back(name);
  }
  for (const bool streams : {true, false}) {
    for (const PlannedItem& item : items) {
      if (!item.entry->isDir && item.entry->hasStream == streams) {
        installed_.push_back(RelativeName(item.path, item.path.size()));
      }
    }
  }
  // Last, so that writing into a folder does not move its time again.
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i].entry->isDir) tree.ApplyDirectoryMeta(items[i].path, MetaOf(*items[i].entry));
  }
  progress.Finish();
  return true;
}

}  // namespace zk7z
