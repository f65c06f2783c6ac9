#pragma once
// The product's entry in the system's list of installed programs, under HKEY_LOCAL_MACHINE.

#include <cstdint>
#include <string>

constexpr wchar_t kProductCode[] = L"{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}";

// Marks a payload size the installation never learnt (InstallOptions' initial bytesTotal).
constexpr uint64_t kPayloadBytesUnknown = UINT64_C(0x7FFFFFFFFFFFFFFF);

// The sub-key of the entry: the "Wow6432Node" root for a 32-bit process on 64-bit Windows,
// the plain root otherwise, then "\" and the product code.
std::wstring UninstallKeyPath(bool wow64);

// Writes the entry for the program folder (no trailing backslash). Decides the root with
// IsWow64() and takes the size from the install options' bytesTotal. Failures are silent:
// without rights to create the key nothing is written.
void RegisterUninstall(const wchar_t* programFolder);

// The same with both facts given; payloadBytes == kPayloadBytesUnknown writes no size.
void RegisterUninstall(const wchar_t* programFolder, bool wow64, uint64_t payloadBytes);

// "EstimatedSize" of a payload: KiB rounded up, capped at the largest DWORD.
unsigned long EstimatedSizeKiB(uint64_t payloadBytes);
