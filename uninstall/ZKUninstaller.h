#pragma once
// Removes what setup made for one installation: the recorded files and folders of the program
// folder, the desktop and Start-menu links, a taskbar pin, the uninstall entry, and the program
// and installation folders when nothing else is left in them.

#include <windows.h>

#include <string>
#include <vector>

#include "InstallOptions.h"

// ZKUnInstall.exe's exit codes.
enum UninstallExitCode : int {
  kUninstalled = 0,
  kExitBadCommandLine = 1,
  kExitProductRunning = 2,
  kExitNotInstalled = 3,    // no uninstall entry names the program folder
  kExitNotAllRemoved = 4,   // a file or folder could not be removed (each is logged)
  kExitCancelled = 5,       // the user closed the confirm page
  kExitNoRecord = 6,        // no installed-files.txt: links and entry removed, the folder kept
  kExitCannotRelaunch = 7,  // the copy in the temporary folder could not be made or started
};

// The uninstall entry that names a program folder, in the hive and view setup wrote it to.
struct UninstallEntry {
  std::wstring programFolder;  // full path, no trailing backslash
  InstallScope scope = InstallScope::kPerMachine;
  std::wstring keyPath;
  bool madeInstallFolder = false;  // kMadeInstallFolderValue
};

// The entry whose InstallLocation is programFolder: per machine first, then per user.
bool FindUninstallEntry(const std::wstring& programFolder, UninstallEntry* out);

class CZKUninstaller {
 public:
  // deferredPath: a file of the folder that cannot go yet (the running uninstaller that started
  // this copy); RemoveDeferred takes it once that program has ended.
  CZKUninstaller(UninstallEntry entry, std::wstring deferredPath);

  // Reads the record; false when there is none, and then no file of the folder is touched.
  bool LoadRecord();
  bool HasRecord() const { return m_hasRecord; }

  // Removes the next recorded path, the last first so that folders come after their contents.
  // False when none is left.
  bool RemoveNextPath();
  size_t PathsTotal() const { return m_paths.size(); }
  size_t PathsDone() const { return m_next; }

  // The desktop link, the Start-menu folder and its links, a taskbar pin, then the entry.
  void RemoveShellItemsAndEntry();

  // The deferred file, the record, the program folder and (when setup made it) the
  // installation folder, each only when nothing else is in it.
  void RemoveDeferred();

  // Everything in one call, for the silent form: the last three steps in order.
  void RemoveAll();

  int ExitCode() const;
  // The topmost folder kept because it still holds something; empty when none was.
  const std::wstring& KeptFolder() const { return m_keptFolder; }
  bool AllRemoved() const { return m_failures == 0; }
  const std::wstring& ProgramFolder() const { return m_entry.programFolder; }

 private:
  // True when a folder between the program folder and path is a junction or symbolic link.
  bool LiesBehindLink(const std::wstring& path) const;
  void RemoveFile(const std::wstring& path);
  // False when it stays because something is still in it.
  bool RemoveFolder(const std::wstring& path);
  void LogFailure(const wchar_t* what, const std::wstring& path, DWORD error);
  void RemoveStartMenu();
  void RemoveLinkTo(const std::wstring& link, const std::wstring& target);
  void RemoveTaskbarPin(const std::wstring& application);
  void RemoveEntry();

  UninstallEntry m_entry;
  std::wstring m_deferredPath;
  bool m_hasRecord = false;
  std::vector<std::wstring> m_paths;  // full paths; folders end without a backslash
  std::vector<bool> m_isFolder;
  size_t m_next = 0;
  int m_failures = 0;
  std::wstring m_keptFolder;
};
