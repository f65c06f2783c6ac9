#include "DiskSpace.h"

#include <windows.h>

#include "Format.h"
#include "Paths.h"
#include "UnpackComponent.h"

namespace {

bool ReadPayloadSize(uint64_t* total) {
  // Kept loaded until the process ends: the DLL's thread-local data of this thread is destroyed
  // by the DLL's own code when the thread exits.
  static UnpackComponent* const component = new UnpackComponent();
  std::wstring reason;
  return component->Load(reason) && component->UnpackedSize(GetSetupFolder() + L"\\zk.7z", total);
}

bool PayloadSize(uint64_t* total) {
  static bool read = false;
  static bool known = false;
  static uint64_t size = 0;
  if (!read) {
    read = true;
    known = ReadPayloadSize(&size);
  }
  *total = size;
  return known;
}

bool FreeSpace(std::wstring folder, uint64_t* available) {
  for (;;) {
    ULARGE_INTEGER free = {};
    if (GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr)) {
      *available = free.QuadPart;
      return true;
    }
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash < 2) return false;
    folder.resize(slash == 2 ? 3 : slash);  // "C:\" keeps its backslash
  }
}

}  // namespace

SpaceCheck CheckSpaceFor(const std::wstring& folder) {
  SpaceCheck check;
  check.known = PayloadSize(&check.needed) && FreeSpace(folder, &check.available);
  return check;
}

std::wstring SpaceText(const SpaceCheck& check) {
  if (!check.known) return std::wstring();
  const std::wstring figures = L"所需空间 " + FormatSize(static_cast<double>(check.needed)) + L"，可用 " +
                               FormatSize(static_cast<double>(check.available));
  return check.enough() ? figures : L"磁盘空间不足：" + figures;
}
