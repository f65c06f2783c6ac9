#pragma once
// Which programs run from inside a folder: an installation must not replace a running product.

#include <string>
#include <vector>

// Full image paths of the processes that run a program of folder (compared without regard to
// case) or, as the Restart Manager tells, hold one of its programs or DLLs; this process
// excepted. Processes this user may not query are not seen.
std::vector<std::wstring> FindProgramsRunningFrom(const std::wstring& folder);
