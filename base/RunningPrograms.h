#pragma once
// Which programs run from inside a folder: an installation must not replace a running product.

#include <string>
#include <vector>

// Full image paths of the processes whose program lies inside folder (compared without regard
// to case), this process excepted. Read from a process snapshot and each process's image path;
// processes this user may not query are not seen.
std::vector<std::wstring> FindProgramsRunningFrom(const std::wstring& folder);
