#include "InstallOptions.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "Paths.h"

static_assert(std::atomic<uint64_t>::is_always_lock_free,
              "progress counters must be single 64-bit atomic operations");

namespace {

// Exists from static construction, before any thread can ask for the record.
std::mutex g_optionsMutex;
std::unique_ptr<InstallOptions> g_options;
InstallScope g_scope = InstallScope::kPerMachine;
std::wstring g_initialFolder;
std::mutex g_madeMutex;
std::vector<std::wstring> g_madeFolders;

bool FolderExists(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void SetInstallScope(InstallScope scope, const std::wstring& initialFolder) {
  std::lock_guard<std::mutex> lock(g_optionsMutex);
  g_scope = scope;
  g_initialFolder = initialFolder;
}

std::wstring DefaultInstallFolder(InstallScope scope) {
  if (scope == InstallScope::kPerUser) return GetLocalAppDataFolder() + L"\\Programs\\zk";
  return GetDefaultInstallFolder();
}

InstallOptions& GetInstallOptions() {
  std::lock_guard<std::mutex> lock(g_optionsMutex);
  if (!g_options) {
    auto options = std::make_unique<InstallOptions>();
    options->scope = g_scope;
    options->installDir = g_initialFolder.empty() ? DefaultInstallFolder(g_scope) : g_initialFolder;
    CreateInstallFolder(options->installDir);
    g_options = std::move(options);
  }
  return *g_options;
}

void CreateInstallFolder(const std::wstring& folder) {
  if (FolderExists(folder)) return;
  CreateFolderPath(folder);
  if (!FolderExists(folder)) return;
  std::lock_guard<std::mutex> lock(g_madeMutex);
  g_madeFolders.push_back(folder);
}

bool SetupMadeInstallFolder() {
  const std::wstring folder = GetInstallOptions().installDir;
  std::lock_guard<std::mutex> lock(g_madeMutex);
  for (const std::wstring& made : g_madeFolders) {
    if (_wcsicmp(made.c_str(), folder.c_str()) == 0) return true;
  }
  return false;
}

std::wstring GetBinDir() {
  const std::wstring& folder = GetInstallOptions().installDir;
  // A drive root chosen in the folder dialog keeps its backslash ("D:\").
  const bool endsWithSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return folder + (endsWithSeparator ? L"" : L"\\") + L"zkbin";
}
