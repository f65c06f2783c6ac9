#pragma once
// Writes extracted files below one root folder. A file is written under a temporary name beside
// its final one and replaces an existing file only when CommitFile is called, after its CRC
// matched. Every change is written to the run's journal first: Commit keeps the run, Rollback
// (or destruction without Commit) puts the folder back as it was. Files may be written from
// several threads at once, each through its own OutputFile.

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
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

// One file being written. Destruction closes a file still open; its temporary name is left to
// the journal.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

 private:
  friend class OutputTree;
  bool Close();

  NativePath finalPath_;
  NativePath tempPath_;
  std::string finalName_;  // relative, as the journal keeps it
  bool inNewFolder_ = false;
  size_t tempRecord_ = 0;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

class OutputTree {
 public:
  OutputTree() = default;
  OutputTree(const OutputTree&) = delete;
  OutputTree& operator=(const OutputTree&) = delete;
  ~OutputTree();  // rolls back a run not committed

  // Creates the root folder (and its parents) if needed, heals what an interrupted run left and
  // starts the journal.
  bool Init(const NativePath& root);
  // Creates root/components[0..count); folders made or checked once are not looked at again.
  // *made tells whether this run made the last one.
  bool MakeDirectories(const PathComponents& components, size_t count, bool* made = nullptr);
  bool BeginFile(OutputFile& file, const PathComponents& components);
  bool Write(OutputFile& file, const uint8_t* data, size_t size);
  bool CommitFile(OutputFile& file, const FileMeta& meta);
  void AbortFile(OutputFile& file);
  bool ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta);
  bool Commit();
  bool Rollback();

  // The first failure of any thread; once set it stays until Commit or Rollback.
  const std::string& error() const { return error_; }
  UnpackJournal& journal() { return journal_; }

 private:
  bool Fail(const std::string& text);
  bool RefuseReparsePoint(const NativePath& path);
  bool MakeFolders(const PathComponents& components, size_t count, bool* made);
  NativePath Join(const PathComponents& components, size_t count) const;
  bool JournalFailure();
  bool StartJournal();
  bool OpenTemporaryFile(OutputFile& file, const PathComponents& components);
  bool CreateNewFile(OutputFile& file);
  // Moves an existing file aside and the finished temporary file to its final name.
  bool PutInPlace(OutputFile& file);

  NativePath root_;
  // A folder this run made holds no names but the ones this run makes.
  bool rootMade_ = false;
  std::mutex folderMutex_;  // guards folders_
  std::map<std::string, bool> folders_;  // relative name -> made by this run
  UnpackJournal journal_;
  std::mutex errorMutex_;
  std::string error_;
};

// The relative name of root/components[0..count) as the journal keeps it.
std::string RelativeName(const PathComponents& components, size_t count);

}  // namespace zk7z
