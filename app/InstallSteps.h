#pragma once
// The installation's steps around the unpack, shared by the wizard's pages and the silent
// installation so that both do exactly the same.

#include <string>

// Creates the program folder. A per-machine one outside Program Files gets an access list that
// only administrators can change: the machine's uninstall entry points into it. Failures to
// protect it are logged.
void CreateProgramFolder(const std::wstring& binDir);

// True when a file can be created in folder (tried with a file that deletes itself).
bool IsWritableFolder(const std::wstring& folder);

// Programs running from the program folder, logged by name when there are any; the program at
// the full path except (the uninstaller that started a copy of itself) is not counted.
bool ProductIsRunning(const std::wstring& binDir, const std::wstring& except = std::wstring());

// The log line of a failed unpack, with the worker's reason.
void LogUnpackFailure(const std::wstring& reason);

// The desktop link to the installed application; a failure is logged under routine.
void CreateDesktopLink(const wchar_t* routine);

// The finishing steps: uninstall entry, Start-menu folder and links, and the taskbar pin when
// pin is set and the system still allows programmatic pins (before Windows 10).
void FinishInstallation(bool pin);
