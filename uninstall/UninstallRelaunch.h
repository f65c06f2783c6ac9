#pragma once
// How ZKUnInstall.exe gets out of the folder it removes: started from the program folder, it
// copies itself to the temporary folder, runs the copy on that folder and waits for the result
// the copy reports through an inherited pipe; the copy waits for it to end before it removes
// the program folder's uninstaller, and is itself deleted at the next restart.
//
//   ZKUnInstall.exe [/S] [/LOG=FILE] [FOLDER]
//   /S          silent: no window; the exit code tells the result (UninstallExitCode)
//   /LOG=FILE   also appends every log line to FILE
//   FOLDER      the program folder (default: the program's own folder)
// The copy also gets /PARENT=HANDLE /RESULT=HANDLE, inherited handles of the program that
// started it and of the pipe for its result.

#include <windows.h>

#include <string>


struct UninstallArguments {
  bool silent = false;
  std::wstring logFile;
  std::wstring programFolder;  // as given; empty: none
  HANDLE parent = nullptr;
  HANDLE result = nullptr;
  std::wstring error;  // not empty: the command line is wrong, and this says how
};

UninstallArguments ParseUninstallCommandLine(const wchar_t* commandLine);

// The full path of this program.
std::wstring OwnProgramPath();

// Runs a copy of this program from the temporary folder on programFolder; its reported exit
// code, or kExitCannotRelaunch.
int RunCopyFromTempFolder(const UninstallArguments& arguments, const std::wstring& programFolder);

// Asks the system to delete this program at the next restart (MOVEFILE_DELAY_UNTIL_REBOOT).
void ScheduleOwnDeletion();
