#pragma once
// Shell link files (.lnk) for the installed product: one link, the all-users Start-menu
// folder with the application and uninstaller links, and the taskbar pin. All run on the
// user-interface thread with COM initialised.

#include <windows.h>
#include <shobjidl.h>

#include "InstallOptions.h"

// The uninstaller link of the Start-menu folder is this prefix ("卸载") + the product name + ".lnk".
constexpr wchar_t kUninstallLinkPrefix[] = L"\u5378\u8F7D";

// Writes linkPath as a shell link to target. Returns 1 on success, 0 on failure; prints the
// link object's creation result (hexadecimal) to standard output and "ERRO 1"/"ERRO 2" when
// the link object or its IPersistFile cannot be had. The icon is stored in its short (8.3)
// form when the file system has one. An existing file at linkPath is overwritten.
int CreateShortcut(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                   const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath);

// Second entry point: forwards to CreateShortcut unchanged.
int CreateLinkFile(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                   const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath);

// All-users Start-menu programs folder (the user's own for a per-user install) + "\" + name,
// created if missing, holding "<name>.lnk" (application) and the uninstall-prefixed "<name>.lnk"
// (uninstaller). Silent on failure. A name that is not a single file-name component is refused;
// a link path that would not fit 260 characters is not written.
void CreateStartMenuShortcuts(const wchar_t* appPath, const wchar_t* uninstallerPath,
                              const wchar_t* workingFolder, const wchar_t* name,
                              InstallScope scope = InstallScope::kPerMachine);

// Makes "<temp folder><linkName>.lnk", asks the shell for the "TaskbarPin" verb on it and
// deletes it again. Returns the link creation's result (1 or 0); a refused pin only prints
// to standard error. `unused` is accepted and ignored.
int PinToTaskbar(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                 const wchar_t* linkName, const wchar_t* unused, int iconIndex);

// Seam for the shell link object: the factory creates an IShellLinkW (reference owned by the
// caller). Passing nullptr restores CoCreateInstance of the system's object. Returns the
// factory it replaces.
using ShellLinkFactory = HRESULT (*)(IShellLinkW** link);
ShellLinkFactory SetShellLinkFactory(ShellLinkFactory factory);
