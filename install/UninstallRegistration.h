#pragma once
// The product's entry in the system's list of installed programs: under HKEY_LOCAL_MACHINE for a
// per-machine install, under HKEY_CURRENT_USER for a per-user one.

#include <windows.h>

#include <cstdint>
#include <string>

#include "InstallOptions.h"

constexpr wchar_t kProductCode[] = L"{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}";

// DWORD 1 in the entry when a setup created the installation folder (the parent of zkbin).
constexpr wchar_t kMadeInstallFolderValue[] = L"ZkMadeInstallFolder";

// Marks a payload size the installation never learnt (InstallOptions' initial bytesTotal).
constexpr uint64_t kPayloadBytesUnknown = UINT64_C(0x7FFFFFFFFFFFFFFF);

// The sub-key of the entry: the "Wow6432Node" root for a 32-bit process on 64-bit Windows,
// the plain root otherwise, then "\" and the product code.
std::wstring UninstallKeyPath(bool wow64);

// The hive of a scope's entry.
HKEY UninstallHive(InstallScope scope);

// Writes the entry for the program folder (no trailing backslash). Takes the scope and the size
// from the install options and decides the root with IsWow64(). A key or value that cannot be
// written is logged; the installation goes on.
void RegisterUninstall(const wchar_t* programFolder);

// The same with the facts given; payloadBytes == kPayloadBytesUnknown writes no size. The
// per-user entry ignores wow64: HKEY_CURRENT_USER\Software is one key for both views.
// madeInstallFolder: this setup created the installation folder above the program folder, so
// the uninstaller may remove it when it is left empty (kMadeInstallFolderValue = 1).
void RegisterUninstall(const wchar_t* programFolder, InstallScope scope, bool wow64, uint64_t payloadBytes,
                       bool madeInstallFolder = false);
void RegisterUninstall(const wchar_t* programFolder, bool wow64, uint64_t payloadBytes);

// "EstimatedSize" of a payload: KiB rounded up, capped at the largest DWORD.
unsigned long EstimatedSizeKiB(uint64_t payloadBytes);
