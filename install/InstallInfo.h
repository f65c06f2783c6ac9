#pragma once
// The installation worker's task: unpack one archive into one folder, reporting progress.

#include <cstdint>
#include <functional>
#include <string>

// Why an installation stopped; the frame chooses the words the user reads by it.
enum class InstallFailure {
  kArchiveMissing,    // zk.7z cannot be opened
  kComponentMissing,  // 7zCore.dll is missing beside setup.exe or lacks its exports
  kPayloadMismatch,   // zk.7z is not the payload this setup.exe was released with
  kUnpack,            // the component failed (damaged archive, unwritable folder, ...)
};

struct NINSTALL_INFO {
  std::wstring archivePath;
  std::wstring targetDir;
  // (bytes done, bytes total); may be empty.
  std::function<void(uint64_t, uint64_t)> progress;
  // Called on the worker with the kind and the reason (for the log) when the task fails; may be
  // empty.
  std::function<void(InstallFailure, const std::wstring&)> failed;
};
