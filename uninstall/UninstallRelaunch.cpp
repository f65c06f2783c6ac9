#include "UninstallRelaunch.h"

#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "Log.h"
#include "Paths.h"
#include "UniqueHandle.h"
#include "ZKUninstaller.h"

namespace {

constexpr wchar_t kLogSource[] = L"ZkUninstall\\UninstallRelaunch";
constexpr wchar_t kSilentSwitch[] = L"/S";
constexpr wchar_t kLogSwitch[] = L"/LOG=";
constexpr wchar_t kParentSwitch[] = L"/PARENT=";
constexpr wchar_t kResultSwitch[] = L"/RESULT=";
constexpr wchar_t kCopyPrefix[] = L"ZKUnInstall-";
constexpr int kCopyNameAttempts = 16;

bool StartsWithSwitch(const std::wstring& argument, const wchar_t* name) {
  return _wcsnicmp(argument.c_str(), name, std::wcslen(name)) == 0;
}

// A handle value as the parent wrote it in decimal; null for anything else.
HANDLE ParseHandle(const std::wstring& text) {
  if (text.empty() || text.size() > 20) return nullptr;
  uint64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return nullptr;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

std::wstring HandleText(HANDLE handle) { return std::to_wstring(reinterpret_cast<uintptr_t>(handle)); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// A new file name in the temporary folder, the program copied to it; empty when it cannot be.
std::wstring CopyToTempFolder(const std::wstring& self) {
  wchar_t temp[kPathBufferChars] = {};
  const DWORD length = GetTempPathW(kPathBufferChars, temp);
  if (length == 0 || length >= kPathBufferChars) return std::wstring();
  for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
    wchar_t name[64] = {};
    std::swprintf(name, 64, L"%ls%lx-%lx.exe", kCopyPrefix, static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned long>(GetTickCount() + static_cast<DWORD>(attempt)));
    const std::wstring copy = std::wstring(temp) + name;
    if (CopyFileW(self.c_str(), copy.c_str(), TRUE)) return copy;
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  WriteLogFormat(L"%ls %ls cannot copy %ls to %ls: error %lu", kLogSource, L"CopyToTempFolder", self.c_str(), temp,
                 static_cast<unsigned long>(GetLastError()));
  return std::wstring();
}

}  // namespace

UninstallArguments ParseUninstallCommandLine(const wchar_t* commandLine) {
  UninstallArguments arguments;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine, &count);
  if (argv == nullptr) {
    arguments.error = L"unreadable command line";
    return arguments;
  }
  for (int i = 1; i < count && arguments.error.empty(); ++i) {
    const std::wstring argument = argv[i];
    if (_wcsicmp(argument.c_str(), kSilentSwitch) == 0) {
      arguments.silent = true;
    } else if (StartsWithSwitch(argument, kLogSwitch)) {
      arguments.logFile = argument.substr(std::wcslen(kLogSwitch));
    } else if (StartsWithSwitch(argument, kParentSwitch)) {
      arguments.parent = ParseHandle(argument.substr(std::wcslen(kParentSwitch)));
      if (arguments.parent == nullptr) arguments.error = L"bad switch " + argument;
    } else if (StartsWithSwitch(argument, kResultSwitch)) {
      arguments.result = ParseHandle(argument.substr(std::wcslen(kResultSwitch)));
      if (arguments.result == nullptr) arguments.error = L"bad switch " + argument;
    } else if (argument.empty() || argument[0] == L'/' || !arguments.programFolder.empty()) {
      arguments.error = L"unknown argument " + argument;
    } else {
      arguments.programFolder = argument;
    }
  }
  LocalFree(argv);
  return arguments;
}

std::wstring OwnProgramPath() {
  std::vector<wchar_t> buffer(kPathBufferChars);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

int RunCopyFromTempFolder(const UninstallArguments& arguments, const std::wstring& programFolder) {
  const std::wstring copy = CopyToTempFolder(OwnProgramPath());
  if (copy.empty()) return kExitCannotRelaunch;

  SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
  unique_file readEnd;
  unique_file writeEnd;
  HANDLE pipeRead = nullptr;
  HANDLE pipeWrite = nullptr;
  HANDLE self = nullptr;
  if (!CreatePipe(&pipeRead, &pipeWrite, &inherited, 0)) return kExitCannotRelaunch;
  readEnd.reset(pipeRead);
  writeEnd.reset(pipeWrite);
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0)) {
    return kExitCannotRelaunch;
  }
  const unique_kernel_handle selfForChild(self);

  std::wstring commandLine = Quoted(copy);
  if (arguments.silent) commandLine += L" /S";
  if (!arguments.logFile.empty()) commandLine += L" " + Quoted(kLogSwitch + arguments.logFile);
  commandLine += std::wstring(L" ") + kParentSwitch + HandleText(self) + L" " + kResultSwitch +
                 HandleText(writeEnd.get()) + L" " + Quoted(programFolder);

  wchar_t temp[kPathBufferChars] = {};
  GetTempPathW(kPathBufferChars, temp);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  // The copy works from the temporary folder: no folder it removes is its current one.
  if (!CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &started)) {
    WriteLogFormat(L"%ls %ls cannot start %ls: error %lu", kLogSource, L"RunCopyFromTempFolder", copy.c_str(),
                   static_cast<unsigned long>(GetLastError()));
    DeleteFileW(copy.c_str());
    return kExitCannotRelaunch;
  }
  const unique_kernel_handle process(started.hProcess);
  const unique_kernel_handle thread(started.hThread);
  // Only the copy may hold the write end: a copy that dies then ends the read below.
  writeEnd.reset();

  int32_t code = kExitNotAllRemoved;
  DWORD read = 0;
  if (!ReadFile(readEnd.get(), &code, sizeof(code), &read, nullptr) || read != sizeof(code)) {
    WriteLogFormat(L"%ls %ls %ls ended without a result", kLogSource, L"RunCopyFromTempFolder", copy.c_str());
    return kExitNotAllRemoved;
  }
  return code;
}

void ScheduleOwnDeletion() {
  const std::wstring self = OwnProgramPath();
  if (!MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    WriteLogFormat(L"%ls %ls cannot schedule the deletion of %ls: error %lu", kLogSource, L"ScheduleOwnDeletion",
                   self.c_str(), static_cast<unsigned long>(GetLastError()));
  }
}
