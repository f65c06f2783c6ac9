#pragma once
// The process-wide record of installation choices and progress shared by the wizard pages,
// the main frame and the installation worker.

#include <atomic>
#include <cstdint>
#include <string>

// Per machine: Program Files, the machine's uninstall list and Start menu. Per user: the user's
// own folders and hive, for a setup that runs without administrator rights.
enum class InstallScope { kPerMachine, kPerUser };

struct InstallOptions {
  InstallScope scope = InstallScope::kPerMachine;  // fixed when the record is made
  std::wstring installDir;  // UI thread only
  bool desktopShortcut = true;
  bool taskbarPin = true;
  // Written by the worker, read by the UI thread; each access is one 64-bit atomic operation.
  std::atomic<uint64_t> bytesDone{0};
  std::atomic<uint64_t> bytesTotal{UINT64_C(0x7FFFFFFFFFFFFFFF)};
};

// Chooses the scope of the record and its first installation folder (empty: the scope's
// default); takes effect only before the first GetInstallOptions.
void SetInstallScope(InstallScope scope, const std::wstring& initialFolder = std::wstring());

// The one record; the first call creates it (thread-safe) and creates its installation folder
// on disk: the chosen one, else the default folder of the scope.
InstallOptions& GetInstallOptions();

// The default installation folder of a scope, without creating it: Program Files + "\zk", or
// local application data + "\Programs\zk".
std::wstring DefaultInstallFolder(InstallScope scope);

// Creates folder with its missing parents and notes whether it was missing: this setup made it.
void CreateInstallFolder(const std::wstring& folder);

// True when this setup made the installation folder now in the record (CreateInstallFolder).
bool SetupMadeInstallFolder();

// installDir + "\zkbin": the folder the product is unpacked into.
std::wstring GetBinDir();
