#pragma once
// Checking zk.7z against the fingerprint written into setup.exe.

#include <windows.h>

#include <string>

#include "PayloadStamp.h"

// The stamp of module; false when it has none (or a malformed one).
bool ReadPayloadStamp(HMODULE module, PayloadStamp& stamp);

// Hashes file from its first byte to its end with CNG SHA-256; found.size counts the bytes read.
// On failure error says which step failed.
bool HashOpenFile(HANDLE file, PayloadStamp& found, std::wstring& error);

// Lowercase hexadecimal, as sha256sum prints it.
std::wstring DigestText(const Sha256Digest& digest);
