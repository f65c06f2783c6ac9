#pragma once
// Program folders that only administrators can change, for per-machine installs outside
// Program Files (whose own permissions already protect what lies inside it).

#include <string>

// True when path is one of the Program Files folders or lies inside one (either registry view's
// folder on 64-bit Windows). Compares full paths without regard to case.
bool IsInsideProgramFiles(const std::wstring& path);

// Creates folder (its parent must exist) or takes the existing one, and gives it a protected
// access list that everything below inherits: Administrators and SYSTEM full control, Users read
// and execute; nothing inherited from the parent. False when either step fails.
bool CreateProtectedFolder(const std::wstring& folder);

// The security descriptor CreateProtectedFolder applies, in the descriptor language (SDDL).
const wchar_t* ProtectedFolderSecurity();
