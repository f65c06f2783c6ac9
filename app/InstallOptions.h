#pragma once
// The process-wide record of installation choices and progress shared by the wizard pages,
// the main frame and the installation worker.

#include <atomic>
#include <cstdint>
#include <string>

struct InstallOptions {
  std::wstring installDir;  // UI thread only
  bool desktopShortcut = true;
  bool taskbarPin = true;
  // Written by the worker, read by the UI thread; each access is one 64-bit atomic operation.
  std::atomic<uint64_t> bytesDone{0};
  std::atomic<uint64_t> bytesTotal{UINT64_C(0x7FFFFFFFFFFFFFFF)};
};

// The one record; the first call creates it (thread-safe) and creates its installation folder
// on disk.
InstallOptions& GetInstallOptions();

// installDir + "\zkbin": the folder the product is unpacked into.
std::wstring GetBinDir();
