#pragma once
// Appends time-stamped lines to the product's shared log file (code page 936) and echoes
// them to standard output, and to a second file when one is set. Never fails its caller: a
// line that cannot be written is lost.

#include <string>

// Log file: GetLogFolder() + "\ll.log".
std::wstring GetLogFilePath();

void WriteLog(const std::wstring& message);

// Every later line also goes to path (created with its folders if needed; appended to). Set it
// before other threads log; an empty path stops the copies.
void SetLogCopyFile(const std::wstring& path);

// printf-style formatting (use %ls for wide strings); returns the formatter's result.
int WriteLogFormat(const wchar_t* format, ...);
