#include "SevenZipExtractor.h"

#include <memory>
#include <vector>

#include "FolderDecoder.h"
#include "OutputTree.h"
#include "SafeName.h"
#include "SevenZipArchive.h"

namespace zk7z {

namespace {

constexpr size_t kCopyBufferSize = 1 << 18;
constexpr uint64_t kProgressMinGap = 64 << 10;
// Regular reports this far apart leave room for the final one within a MiB.
constexpr uint64_t kProgressStep = (1 << 20) - kProgressMinGap;

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
  for (const PlannedItem& item : items) {
    if (item.entry->isDir && !tree.MakeDirectories(item.path, item.path.size())) {
      return FailAndUndo(tree, tree.error());
    }
  }

  ProgressReporter progress(progress_, stop_, total);
  if (progress.Stopped()) return FailAndUndo(tree, kStopped);
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kCopyBufferSize]);
  if (!buffer) return FailAndUndo(tree, "not enough memory");
  DecodeStatus status;
  std::unique_ptr<FolderDecoder> decoder;
  uint32_t currentFolder = UINT32_MAX;
  for (const PlannedItem& item : items) {
    const FileEntry& file = *item.entry;
    if (!file.hasStream) continue;
    if (file.folderIndex != currentFolder) {
      currentFolder = file.folderIndex;
      decoder = std::make_unique<FolderDecoder>(&archive.file(), &status);
      if (!decoder->Init(db, db.streams.folders[currentFolder], limits_)) return FailAndUndo(tree, status.error);
    }
    if (!tree.BeginFile(item.path)) return FailAndUndo(tree, tree.error());
    uint64_t left = file.size;
    uint32_t crc = 0;
    while (left > 0) {
      const size_t want = left < kCopyBufferSize ? static_cast<size_t>(left) : kCopyBufferSize;
      size_t got = 0;
      if (!decoder->Output()->Read(buffer.get(), want, &got)) {
        return FailAndUndo(tree, status.error + " (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      }
      if (got == 0) {
        return FailAndUndo(tree, "archive data ends early (in \"" + Utf16ToUtf8Lossy(file.name) + "\")");
      }
      crc = Crc32(buffer.get(), got, crc);
      if (!tree.Write(buffer.get(), got)) {
        return FailAndUndo(tree, tree.error());
      }
      left -= got;
      if (!progress.Advance(got)) return FailAndUndo(tree, kStopped);
    }
    if (file.crcDefined && crc != file.crc) {
      return FailAndUndo(tree, "CRC mismatch in \"" + Utf16ToUtf8Lossy(file.name) + "\"; the archive is damaged");
    }
    if (!tree.CommitFile(MetaOf(file))) return FailAndUndo(tree, tree.error());
  }
  decoder.reset();

  for (const PlannedItem& item : items) {
    const FileEntry& file = *item.entry;
    if (file.hasStream || file.isDir) continue;
    if (!tree.BeginFile(item.path) || !tree.CommitFile(MetaOf(file))) return FailAndUndo(tree, tree.error());
  }
  if (!tree.Commit()) return FailAndUndo(tree, tree.error());
  installed_ = tree.journal().InstalledNames();
  // Last, so that writing into a folder does not move its time again.
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i].entry->isDir) tree.ApplyDirectoryMeta(items[i].path, MetaOf(*items[i].entry));
  }
  progress.Finish();
  return true;
}

}  // namespace zk7z
