#pragma once
// The folders the product reads and writes, derived from the shell's special folders and
// the running program's own location. Paths carry no trailing backslash.

#include <cstddef>
#include <string>

// Buffers of these routines hold this many characters, terminator included.
constexpr size_t kPathBufferChars = 260;

// The shell's special folder (a CSIDL value) without creating it; empty if the shell fails.
std::wstring GetSpecialFolder(int csidl);

std::wstring GetLocalAppDataFolder();    // CSIDL_LOCAL_APPDATA
std::wstring GetProductDataFolder();     // local application data + "\zk\data"
std::wstring GetLogFolder();             // product data folder + "\zklog"
std::wstring GetDesktopFolder();         // CSIDL_DESKTOPDIRECTORY
std::wstring GetDefaultInstallFolder();  // CSIDL_PROGRAM_FILES + "\zk"
std::wstring GetSetupFolder();           // folder of the running executable

// Creates the folder and all missing parents; "\" and "/" both separate. Always returns 0:
// callers find failures when they use the folder. A path that does not fit the
// 260-character working buffer (259 characters plus a separator) is refused whole and
// nothing is created.
int CreateFolderPath(const std::wstring& path);

// The full form of path (GetFullPathNameW: relative to the current folder, dots resolved); empty
// when it has none.
std::wstring GetFullPath(const std::wstring& path);

// True when path is folder or lies inside it; both full paths, compared without regard to case.
bool IsSameOrInsideFolder(const std::wstring& path, const std::wstring& folder);
