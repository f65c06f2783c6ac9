#include "RunningPrograms.h"

#include <windows.h>
#include <tlhelp32.h>

#include "UniqueHandle.h"

namespace {

bool IsInside(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || path.size() <= folder.size()) return false;
  const bool separated = folder.back() == L'\\' || path[folder.size()] == L'\\';
  return separated && CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                           static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

std::wstring ImagePath(DWORD processId) {
  const unique_kernel_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::wstring();
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD size = static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0]));
  if (!QueryFullProcessImageNameW(process.get(), 0, buffer, &size)) return std::wstring();
  return std::wstring(buffer, size);
}

}  // namespace

std::vector<std::wstring> FindProgramsRunningFrom(const std::wstring& folder) {
  // The Restart Manager would also name services and files held open, but under Wine it finds
  // nothing; the snapshot sees every program started from the folder, on both.
  std::vector<std::wstring> running;
  const unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return running;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
    const std::wstring image = ImagePath(entry.th32ProcessID);
    if (IsInside(image, folder)) running.push_back(image);
  }
  return running;
}
