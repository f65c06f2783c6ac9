#pragma once
// Queries and actions on the operating system that the installer's flow needs.

#include <windows.h>

// Nonzero when this 32-bit process runs on 64-bit Windows; 0 where kernel32 has no
// IsWow64Process or the call fails.
unsigned IsWow64();

// The platform's version test for 10.0 SP0 or later. Its answer follows the compatibility the
// program's manifest declares: without a Windows 10 entry the platform reports an older version.
bool IsWindows10OrGreater();

// True when the process runs with an elevated (administrator) token.
bool IsProcessElevated();

// Shell verb "open" on a file or address, SW_SHOW; a result of 32 or less is a failure.
HINSTANCE OpenWithShell(const wchar_t* target);
