#pragma once
// Appends time-stamped lines to the product's shared log file (code page 936) and echoes
// them to standard output. Stateless; never fails its caller: a line that cannot be
// written is lost.

#include <string>

// Log file: GetLogFolder() + "\ll.log".
std::wstring GetLogFilePath();

void WriteLog(const std::wstring& message);

// printf-style formatting (use %ls for wide strings); returns the formatter's result.
int WriteLogFormat(const wchar_t* format, ...);
