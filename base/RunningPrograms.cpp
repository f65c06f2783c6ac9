#include "RunningPrograms.h"

#include <windows.h>
#include <restartmanager.h>
#include <tlhelp32.h>

#include <algorithm>

#include "DllSearch.h"
#include "Paths.h"
#include "UniqueHandle.h"

namespace {

std::wstring ImagePath(DWORD processId) {
  const unique_kernel_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::wstring();
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD size = static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0]));
  if (!QueryFullProcessImageNameW(process.get(), 0, buffer, &size)) return std::wstring();
  return std::wstring(buffer, size);
}

// The programs of the folder, top level and one below, which the Restart Manager is asked about.
std::vector<std::wstring> ProgramFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  for (const wchar_t* pattern : {L"\\*.exe", L"\\*.dll"}) {
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return files;
}

using RmStartSessionFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RmRegisterResourcesFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using RmGetListFn = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
using RmEndSessionFn = DWORD(WINAPI*)(DWORD);

// What the Restart Manager knows uses the folder's programs: also services and programs that only
// hold one of its DLLs. Loaded from System32 alone (it is no KnownDLL); nothing where it fails.
void AddRestartManagerUsers(const std::wstring& folder, std::vector<DWORD>* ids) {
  const std::vector<std::wstring> files = ProgramFiles(folder);
  if (files.empty()) return;
  const unique_module library(LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!library) return;
  const auto start = FindExport<RmStartSessionFn>(library.get(), "RmStartSession");
  const auto registerFiles = FindExport<RmRegisterResourcesFn>(library.get(), "RmRegisterResources");
  const auto getList = FindExport<RmGetListFn>(library.get(), "RmGetList");
  const auto end = FindExport<RmEndSessionFn>(library.get(), "RmEndSession");
  if (!start || !registerFiles || !getList || !end) return;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (start(&session, 0, key) != ERROR_SUCCESS) return;
  std::vector<LPCWSTR> names;
  for (const std::wstring& file : files) names.push_back(file.c_str());
  if (registerFiles(session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
    std::vector<RM_PROCESS_INFO> processes(16);
    for (int attempt = 0; attempt < 3; ++attempt) {
      UINT needed = 0;
      UINT count = static_cast<UINT>(processes.size());
      DWORD reasons = 0;
      const DWORD result = getList(session, &needed, &count, processes.data(), &reasons);
      if (result == ERROR_MORE_DATA) {
        processes.resize(needed + 4);
        continue;
      }
      if (result == ERROR_SUCCESS) {
        for (UINT i = 0; i < count; ++i) ids->push_back(processes[i].Process.dwProcessId);
      }
      break;
    }
  }
  end(session);
}

}  // namespace

std::vector<std::wstring> FindProgramsRunningFrom(const std::wstring& folder) {
  // Both ways: the Restart Manager also sees processes that only hold a file of the folder, but
  // Wine's finds nothing; the snapshot sees every program started from the folder, on both.
  std::vector<DWORD> users;
  AddRestartManagerUsers(folder, &users);
  std::vector<std::wstring> running;
  const DWORD self = GetCurrentProcessId();
  for (const DWORD id : users) {
    const std::wstring image = ImagePath(id);
    if (id != self && !image.empty()) running.push_back(image);
  }
  const unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return running;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
    const std::wstring image = ImagePath(entry.th32ProcessID);
    if (IsSameOrInsideFolder(image, folder) && std::find(running.begin(), running.end(), image) == running.end()) {
      running.push_back(image);
    }
  }
  return running;
}
