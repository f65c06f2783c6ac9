#pragma once
// What setup's command line asks for, and the install scope that follows from it.

#include <string>
#include <vector>

#include "InstallOptions.h"

enum class ScopeRequest { kAutomatic, kAllUsers, kCurrentUser };

struct SetupArguments {
  ScopeRequest scope = ScopeRequest::kAutomatic;
};

// Reads the arguments after the program name; switches are case-insensitive ("/allusers").
// Arguments it does not know are left alone.
SetupArguments ParseSetupArguments(const std::vector<std::wstring>& arguments);

// "/ALLUSERS" and "/CURRENTUSER" decide; without either, an elevated setup installs for the
// machine and any other for the user who runs it (a standard user's setup gets no prompt).
InstallScope DecideInstallScope(const SetupArguments& arguments, bool elevated);
