// hash_probe.exe FILE: times setup's payload check (the open file hashed with CNG SHA-256) and
// prints "MILLISECONDS BYTES DIGEST". The file is hashed once unmeasured so that the figure is of
// a payload the system has cached, as a freshly downloaded one usually is.
#include <windows.h>

#include <cwchar>

#include "DllSearch.h"
#include "PayloadCheck.h"
#include "UniqueHandle.h"

int wmain(int argc, wchar_t** argv) {
  RestrictDllSearch();
  if (argc != 2) return 2;
  unique_file file(CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return 1;
  PayloadStamp found;
  std::wstring error;
  if (!HashOpenFile(file.get(), found, error)) return 1;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const bool hashed = HashOpenFile(file.get(), found, error);
  QueryPerformanceCounter(&end);
  if (!hashed) return 1;
  std::wprintf(L"%.1f %llu %ls\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
               static_cast<unsigned long long>(found.size), DigestText(found.digest).c_str());
  return 0;
}
