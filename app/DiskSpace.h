#pragma once
// Whether the payload fits the drive of the chosen folder.

#include <cstdint>
#include <string>

struct SpaceCheck {
  bool known = false;      // both figures could be read
  uint64_t needed = 0;     // the payload unpacked
  uint64_t available = 0;  // free on the folder's drive, for this user
  bool enough() const { return !known || needed <= available; }
};

// Reads the payload's unpacked total from its header (through 7zCore.dll beside setup.exe, once
// per process) and the free space of the nearest existing folder of folder. Unknown figures never
// stop an installation.
SpaceCheck CheckSpaceFor(const std::wstring& folder);

// "所需空间 12.3 MB，可用 4.5 GB", or "磁盘空间不足：" before the same when it does not fit;
// empty when nothing is known.
std::wstring SpaceText(const SpaceCheck& check);
