#pragma once
// The journal of one unpack: every change to the target folder is written down before it is
// made, so that a failed, cancelled or interrupted run can be undone to the folder it found.
// Records may be added from several threads at once; the rest runs on one thread.
// It lives beside the target folder (same volume) as <target>.zk7z~journal, one record a line:
//   D <folder>          a new folder
//   T <file>            a temporary file
//   N <file>            a new file put in place
//   M <file> <aside>    an existing file moved aside (in its own folder) before being replaced
//   C                   the run succeeded: only the moved-aside files remain to be deleted
// Names are relative to the target folder, UTF-8, '\' between names, a tab between fields.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "InputFile.h"
#include "NativeFiles.h"

namespace zk7z {

class UnpackJournal {
 public:
  enum class HealResult { kNothingFound, kUndone, kCompleted, kFailed };

  static NativePath PathFor(const NativePath& root);
  // Finishes what a journal left beside root says: undoes an interrupted run, or deletes what a
  // committed one left. The journal is deleted once nothing remains to be done.
  static HealResult Heal(const NativePath& root, std::string* error);

  // Starts the journal of a run into root; false when one is there already or it cannot be made.
  bool Begin(const NativePath& root, std::string* error);
  bool NewFolder(const std::string& folder);
  // *record identifies the record for SettleTemporary.
  bool NewTemporary(const std::string& file, size_t* record);
  // The temporary is no longer ours to delete: it was renamed into place, or its name turned out
  // to be taken.
  void SettleTemporary(size_t record);
  bool NewFile(const std::string& file);
  bool MoveAside(const std::string& file, const std::string& aside);
  // Marks the run done, deletes the moved-aside files and the journal.
  bool Commit(std::string* error);
  // Undoes the run in reverse order and deletes the journal; false (journal kept) when
  // something could not be put back.
  bool Rollback(std::string* error);
  bool active() const { return file_.IsOpen(); }

  // Files and folders the run put in place, folders ending with '\'.
  std::vector<std::string> InstalledNames() const;

  // Test seam: after this many records the journal behaves as if the process had been killed:
  // nothing more is written, done or undone.
  void StopAfterRecordsForTest(size_t records) { recordLimit_ = records; }
  bool stopped() const { return stopped_.load(); }

  struct Record {
    char kind;
    std::string name;
    std::string aside;
    bool settled = false;  // a temporary with nothing left to delete; never written
  };

 private:
  bool Add(const Record& record, bool flush, size_t* index = nullptr);

  NativePath root_;
  AppendOnlyFile file_;
  std::mutex mutex_;  // guards file_ and records_ while writers add records
  std::vector<Record> records_;
  size_t recordLimit_ = static_cast<size_t>(-1);
  std::atomic<bool> stopped_{false};
};

}  // namespace zk7z
