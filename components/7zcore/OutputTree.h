#pragma once
// Writes extracted files below one root folder. A file is written under a temporary name beside
// its final one and replaces an existing file only when Commit is called, after its CRC matched.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "InputFile.h"

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
  ~OutputTree();  // aborts a file still open

  // Creates the root folder (and its parents) if needed.
  bool Init(const NativePath& root);
  // Creates root/components[0..count).
  bool MakeDirectories(const PathComponents& components, size_t count);
  bool BeginFile(const PathComponents& components);
  bool Write(const uint8_t* data, size_t size);
  bool CommitFile(const FileMeta& meta);
  void AbortFile();
  bool ApplyDirectoryMeta(const PathComponents& components, const FileMeta& meta);

  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& text);
  bool RefuseReparsePoint(const NativePath& path);
  NativePath Join(const PathComponents& components, size_t count) const;

  NativePath root_;
  NativePath finalPath_;
  NativePath tempPath_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::string error_;
};

}  // namespace zk7z
