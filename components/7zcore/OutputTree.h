#pragma once
// Writes extracted files below one root folder. A file is written under a temporary name beside
// its final one and replaces an existing file only when CommitFile is called, after its CRC
// matched. Every change is written to the run's journal first: Commit keeps the run, Rollback
// (or destruction without Commit) puts the folder back as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "InputFile.h"
#include "UnpackJournal.h"

namespace zk7z {

using PathComponents = std::vector<std::u16string>;

struct FileMeta {
  bool mtimeDefined = false;
  uint64_t mtime = 0;  // FILETIME
  bool attribDefined = false;
  uint32_t attrib = 0;
};

class OutputTree {
 public:
  OutputTree() = default;
  OutputTree(const OutputTree&) = delete;
  OutputTree& operator=(const OutputTree&) = delete;
  ~OutputTree();  // aborts a file still open and rolls back a run not committed

  // Creates the root folder (and its parents) if needed, heals what an interrupted run left and
  // starts the journal.
  bool Init(const NativePath& root);
  // Creates root/components[0..count).
  bool MakeDirectories(const PathComponents& components, size_t count);
  bool BeginFile(const PathComponents& components);
  bool Write(const uint8_t* data, size_t size);
  bool CommitFile(const FileMeta& meta);
  void AbortFile();
  bool ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta);
  bool Commit();
  bool Rollback();

  const std::string& error() const { return error_; }
  UnpackJournal& journal() { return journal_; }

 private:
  bool Fail(const std::string& text);
  bool RefuseReparsePoint(const NativePath& path);
  NativePath Join(const PathComponents& components, size_t count) const;
  bool JournalFailure();
  bool StartJournal();
  bool OpenTemporaryFile(const PathComponents& components);
  bool CreateNewFile(const NativePath& path);
  // Moves an existing file aside and the finished temporary file to its final name.
  bool PutInPlace();

  NativePath root_;
  NativePath finalPath_;
  NativePath tempPath_;
  std::string finalName_;  // relative, as the journal keeps it
  UnpackJournal journal_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::string error_;
};

// The relative name of root/components[0..count) as the journal keeps it.
std::string RelativeName(const PathComponents& components, size_t count);

}  // namespace zk7z
