#pragma once
// 7zCore.dll, loaded by full path from setup's own folder: never a copy the DLL search would find.

#include <cstdint>
#include <functional>
#include <string>

#include "UniqueHandle.h"
#include "UnzipCore7z.h"

class UnpackComponent {
 public:
  // Loads the DLL once; false with reason set (naming the file) when it is missing or lacks an
  // export.
  bool Load(std::wstring& reason);

  bool Unzip(const std::string& archive, const std::string& target,
             const std::function<void(uint64_t, uint64_t)>& progress) const;
  std::wstring LastError() const;
  // The archive's unpacked total from its header, without decoding; false when it cannot tell.
  bool UnpackedSize(const std::wstring& archive, uint64_t* total) const;

 private:
  unique_module module_;
  decltype(&UnzipCore7z) unzip_ = nullptr;
  decltype(&Zk7zLastError) lastError_ = nullptr;
  decltype(&Zk7zUnpackedSize) unpackedSize_ = nullptr;
};
