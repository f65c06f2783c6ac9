#include "SevenZipExtractor.h"

#include <memory>
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
// Decoded bytes waiting for the writers; with the dictionary this bounds the memory used.
constexpr size_t kQueueBudget = 16 << 20;
constexpr uint64_t kProgressMinGap = 64 << 10;
// Regular reports this far apart leave room for the final one within a MiB.
constexpr uint64_t kProgressStep = (1 << 20) - kProgressMinGap;
// Writers advance the progress by at most this much at a time, so reports stay a MiB apart at most.
static_assert(FileWriterPool::kReportUnit <= kProgressMinGap, "writers report too coarsely");

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

  ProgressReporter progress(progress_, stop_, total);
  if (progress.Stopped()) return FailAndUndo(tree, kStopped);
  FileWriterPool pool(tree, [&progress](uint64_t n) { return progress.Advance(n); });
  if (!pool.Start(writers_ ? writers_ : FileWriterPool::DefaultWriters(), kQueueBudget, kHandOffSize)) {
    return FailAndUndo(tree, pool.error());
  }
  // Ends the writers before the tree is undone: nothing may be written after the undo.
  auto failAll = [&](const std::string& text) {
    pool.Abort(text);
    return FailAndUndo(tree, pool.error());
  };
  DecodeStatus status;
  std::unique_ptr<FolderDecoder> decoder;
  uint32_t currentFolder = UINT32_MAX;
  for (const PlannedItem& item : items) {
    const FileEntry& file = *item.entry;
    if (!file.hasStream) continue;
    if (file.folderIndex != currentFolder) {
      currentFolder = file.folderIndex;
      decoder = std::make_unique<FolderDecoder>(&archive.file(), &status);
      if (!decoder->Init(db, db.streams.folders[currentFolder], limits_)) return failAll(status.error);
    }
    FileWriterPool::FileJob job;
    job.path = &item.path;
    job.meta = MetaOf(file);
    job.crcDefined = file.crcDefined;
    job.crc = file.crc;
    job.displayName = Utf16ToUtf8Lossy(file.name);
    pool.BeginFile(std::move(job));
    uint64_t left = file.size;
    while (left > 0) {
      const size_t want = left < kHandOffSize ? static_cast<size_t>(left) : kHandOffSize;
      std::vector<uint8_t> bytes = pool.TakeBuffer(want);
      size_t got = 0;
      if (!ReadFull(*decoder->Output(), bytes.data(), want, &got)) {
        return failAll(status.error + " (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      }
      if (got == 0) return failAll("archive data ends early (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      bytes.resize(got);
      left -= got;
      if (progress.Stopped()) return failAll(kStopped);
      if (!pool.Append(std::move(bytes), left == 0)) return failAll(pool.error());
    }
    pool.EndFile();
  }
  decoder.reset();
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
