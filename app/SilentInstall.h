#pragma once
// The installation without a window (setup.exe /S): the wizard's steps through the same code,
// with exit codes for the caller.

#include "SetupArguments.h"

enum SetupExitCode : int {
  kExitInstalled = 0,
  kExitBadCommandLine = 1,
  kExitPayloadMissingOrDamaged = 2,
  kExitFolderNotWritable = 3,
  kExitNotEnoughSpace = 4,
  kExitAnotherSetupRuns = 5,
  kExitProductRunning = 6,
};

// Unpacks into the install options' folder, then the desktop link (unless /NODESKTOP), the
// uninstall entry and the Start-menu links; no pin, and the product is not started. Every
// failure is logged as the wizard logs it. Creates no window and shows no message box.
SetupExitCode RunSilentInstall(const SetupArguments& arguments);
