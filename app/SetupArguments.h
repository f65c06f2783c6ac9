#pragma once
// setup.exe's command line: what it asks for, and the install scope that follows from it.
//
//   /S              silent: no window; installs into the default or /D= folder with both links
//   /D=PATH         installation folder (the parent of zkbin); last, unquoted, may hold spaces
//   /LOG=FILE       also appends every log line to FILE
//   /NODESKTOP      no desktop link
//   /NOPIN          no taskbar pin
//   /ALLUSERS       per-machine installation
//   /CURRENTUSER    per-user installation
//   /? or /HELP     the list of switches

#include <string>

#include "InstallOptions.h"

enum class ScopeRequest { kAutomatic, kAllUsers, kCurrentUser };

struct SetupArguments {
  ScopeRequest scope = ScopeRequest::kAutomatic;
  bool silent = false;
  bool help = false;
  bool noDesktop = false;
  bool noPin = false;
  std::wstring installDir;  // empty: the default
  std::wstring logFile;     // empty: none
  std::wstring error;       // not empty: the command line is wrong, and this says how
};

// Reads the whole command line, program name first (as GetCommandLineW gives it). Switches are
// case-insensitive; values may be quoted, except /D=, which takes the rest of the line as it is.
SetupArguments ParseSetupCommandLine(const std::wstring& commandLine);

// The switches, one a line, for the help and usage box.
std::wstring SetupUsageText();

// "/ALLUSERS" and "/CURRENTUSER" decide; without either, an elevated setup installs for the
// machine and any other for the user who runs it (a standard user's setup gets no prompt).
InstallScope DecideInstallScope(const SetupArguments& arguments, bool elevated);
