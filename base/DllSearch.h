#pragma once
// Where the process looks for DLLs. A program calls RestrictDllSearch() first thing in wWinMain,
// so a DLL planted beside it, in the current folder or on PATH never loads into it.

#include <windows.h>

#include <string>

// Later loads by name come from System32 only (SetDefaultDllDirectories where the system has it,
// else SetDllDirectoryW(L""), which at least drops the current folder). Returns true when the
// first one was available.
bool RestrictDllSearch();

// Loads a system DLL (such as L"bcrypt.dll") from System32 only; nullptr when it cannot.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Loads the DLL at an absolute path; its own imports come from System32. nullptr when it cannot.
HMODULE LoadLibraryAtPath(const std::wstring& path);

// A loaded module's export as the function type it has; nullptr when the module or the export is
// missing.
template <typename Function>
Function FindExport(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
