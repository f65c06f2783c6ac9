#pragma once
// 7zCore.dll, loaded by full path from setup's own folder: never a copy the DLL search would find.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "UnzipCore7z.h"

class UnpackComponent {
 public:
  // Loads the DLL once; false with reason set (naming the file) when it is missing or lacks an
  // export. Call it from one thread only.
  bool Load(std::wstring& reason);

  bool Unzip(const std::string& archive, const std::string& target,
             const std::function<void(uint64_t, uint64_t)>& progress) const;
  // Any thread, loaded or not: an unpack under way, or started later, stops and is undone.
  void Cancel();
  // Finishes what an interrupted unpack into target left: 0 nothing found, 1 undone, 2 its
  // clean-up finished, -1 failed (LastError tells why).
  int Heal(const std::wstring& target) const;
  // What the last successful Unzip of this thread put in place (see Zk7zInstalledNames).
  std::vector<std::string> InstalledNames() const;
  std::wstring LastError() const;
  // The archive's unpacked total from its header, without decoding; false when it cannot tell.
  bool UnpackedSize(const std::wstring& archive, uint64_t* total) const;

 private:
  unique_module module_;
  decltype(&UnzipCore7z) unzip_ = nullptr;
  decltype(&Zk7zLastError) lastError_ = nullptr;
  decltype(&Zk7zUnpackedSize) unpackedSize_ = nullptr;
  decltype(&Zk7zHeal) heal_ = nullptr;
  decltype(&Zk7zInstalledNames) installedNames_ = nullptr;
  std::atomic<decltype(&Zk7zCancel)> cancel_{nullptr};
  std::atomic<bool> cancelled_{false};
};
