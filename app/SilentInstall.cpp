#include "SilentInstall.h"

#include <string>

#include "DiskSpace.h"
#include "InstallOptions.h"
#include "InstallSteps.h"
#include "Paths.h"
#include "ZKInstallThread.h"

SetupExitCode RunSilentInstall(const SetupArguments& arguments) {
  InstallOptions& options = GetInstallOptions();
  options.desktopShortcut = !arguments.noDesktop;
  options.taskbarPin = false;
  const std::wstring binDir = GetBinDir();
  if (ProductIsRunning(binDir)) return kExitProductRunning;
  const SpaceCheck space = CheckSpaceFor(options.installDir);
  if (!space.enough()) {
    LogUnpackFailure(L"not enough space in " + options.installDir + L": " + SpaceText(space));
    return kExitNotEnoughSpace;
  }
  CreateProgramFolder(binDir);
  if (!IsWritableFolder(binDir)) {
    LogUnpackFailure(L"cannot write the program folder " + binDir);
    return kExitFolderNotWritable;
  }

  bool failed = false;
  NINSTALL_INFO task;
  task.archivePath = GetSetupFolder() + L"\\zk.7z";
  task.targetDir = binDir;
  task.progress = [&options](uint64_t done, uint64_t total) {
    options.bytesDone.store(done);
    options.bytesTotal.store(total);
  };
  task.failed = [&failed](InstallFailure, const std::wstring& reason) {
    failed = true;
    LogUnpackFailure(reason);
  };
  // The worker's own task routine, run here: there is no window to keep responsive.
  CZKInstallThread worker;
  worker.DoTask(task);
  if (failed) return IsWritableFolder(binDir) ? kExitPayloadMissingOrDamaged : kExitFolderNotWritable;

  if (options.desktopShortcut) CreateDesktopLink(L"RunSilentInstall");
  FinishInstallation(false);
  return kExitInstalled;
}
