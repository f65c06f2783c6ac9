#pragma once
// The installation worker: unpacks one NINSTALL_INFO task at a time through 7zCore.dll.

#include <cstdint>
#include <functional>
#include <string>

#include "InstallInfo.h"
#include "UnpackComponent.h"
#include "ZKThread.h"
#include "ZkBase.h"

class CZKInstallThread final : public CZKThread<NINSTALL_INFO> {
 public:
  CZKInstallThread() = default;
  ~CZKInstallThread() override;

  void DoTask(NINSTALL_INFO& task) override;
  // Stops the worker and waits for a task under way; the destructor does the same.
  void Shutdown() { StopAndJoin(); }
  // Any thread: an unpack under way stops at its next progress report (at least one a MiB) and
  // is undone; one not yet started is not made.
  void CancelUnpack() { component_.Cancel(); }

 private:
  // Freed only after the worker has ended: the DLL's thread-local data is destroyed when the
  // thread that used it exits, by code of the DLL.
  UnpackComponent component_;
};

// The narrow form of path the component can open: the ANSI text when the code page holds every
// character, else the short (8.3) form of the existing path; empty when neither exists.
std::string ToComponentPath(const std::wstring& path);

// Before anything else in a run of setup: finishes what an unpack into binDir that was
// interrupted (setup killed, the machine off) left, and logs what it did.
void HealInterruptedUnpack(const std::wstring& binDir);

// The progress callable of an installation: stores the counters of the install options record
// and delivers code 1 with 54 (and 1 when done equals total) to frame.
std::function<void(uint64_t, uint64_t)> MakeInstallProgress(ZkBase& frame);
