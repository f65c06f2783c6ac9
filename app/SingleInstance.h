#pragma once
// One setup at a time, so that two setups never write one folder.

#include <windows.h>

#include "InstallOptions.h"
#include "UniqueHandle.h"

class SingleSetupInstance {
 public:
  // Takes the setup's named mutex: per session for a per-user installation, for the whole
  // machine for a per-machine one. Held until destruction.
  explicit SingleSetupInstance(InstallScope scope);
  SingleSetupInstance(const SingleSetupInstance&) = delete;
  SingleSetupInstance& operator=(const SingleSetupInstance&) = delete;

  // False when another setup of the same scope holds the mutex.
  bool IsOnly() const { return only_; }

 private:
  unique_kernel_handle mutex_;
  bool only_ = false;
};

// Restores and raises the wizard window of the setup that already runs; false when none shows.
bool BringRunningWizardToFront();
