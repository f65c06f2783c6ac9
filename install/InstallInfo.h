#pragma once
// The installation worker's task: unpack one archive into one folder, reporting progress.

#include <cstdint>
#include <functional>
#include <string>

struct NINSTALL_INFO {
  std::wstring archivePath;
  std::wstring targetDir;
  // (bytes done, bytes total); may be empty.
  std::function<void(uint64_t, uint64_t)> progress;
  // Called on the worker with the reason when the unpack fails; may be empty.
  std::function<void(const std::wstring&)> failed;
};
