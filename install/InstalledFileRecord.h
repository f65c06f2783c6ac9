#pragma once
// What installations made inside the program folder, kept beside the uninstaller so that it
// removes exactly that. The file is UTF-8: a header line naming the product and version, then
// one path a line, relative to the program folder, with '\' between names; a folder's path ends
// with '\'.

#include <string>
#include <vector>

struct InstalledFileRecord {
  std::string version;             // UTF-8, as registered in DisplayVersion
  std::vector<std::string> paths;  // UTF-8; every folder comes before what it holds
};

constexpr char kInstalledFileRecordHeader[] = "Tessaro ";

// A relative path of one or more names: no drive, no leading '\', no "." or ".." or empty
// name, no ':', '/' or control character. The uninstaller deletes nothing else.
bool IsSafeRecordedPath(const std::string& path);

std::string FormatInstalledFileRecord(const InstalledFileRecord& record);

// False, with out untouched, for a text that lacks the header or holds any unsafe path.
bool ParseInstalledFileRecord(const std::string& text, InstalledFileRecord* out);

// The paths in the order the record keeps them: each once (names compared without regard to
// ASCII case), every folder before what it holds.
std::vector<std::string> OrderRecordedPaths(std::vector<std::string> paths);

// An upgrade's record: the current version, the paths of both.
InstalledFileRecord MergeInstalledFileRecords(const InstalledFileRecord& previous, const InstalledFileRecord& current);

#ifdef _WIN32
// The record's file inside the program folder.
constexpr wchar_t kInstalledFileRecordName[] = L"installed-files.txt";
std::wstring InstalledFileRecordPath(const std::wstring& programFolder);

// False when the file is missing, unreadable or no record.
bool ReadInstalledFileRecord(const std::wstring& programFolder, InstalledFileRecord* out);

// Replaces the file in one step through a temporary file beside it; false (with the system's
// error code left in GetLastError) when it cannot.
bool WriteInstalledFileRecord(const std::wstring& programFolder, const InstalledFileRecord& record);
#endif
