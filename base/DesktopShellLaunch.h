#pragma once
// Starting a program as the signed-in user from an elevated process: the request goes to the
// desktop shell (Explorer), whose process runs with the user's own token, so the program does not
// inherit this process's administrator rights.

#include <string>

// Asks the desktop shell to open file with workingFolder as its working folder. Needs COM
// initialised on the calling thread. Returns false when there is no desktop shell to ask or it
// refused; the caller then decides whether to start the program itself.
bool OpenThroughDesktopShell(const std::wstring& file, const std::wstring& workingFolder);
