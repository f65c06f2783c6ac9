#include "InstallOptions.h"

#include <memory>
#include <mutex>

#include "Paths.h"

static_assert(std::atomic<uint64_t>::is_always_lock_free,
              "progress counters must be single 64-bit atomic operations");

namespace {

// Exists from static construction, before any thread can ask for the record.
std::mutex g_optionsMutex;
std::unique_ptr<InstallOptions> g_options;

}  // namespace

InstallOptions& GetInstallOptions() {
  std::lock_guard<std::mutex> lock(g_optionsMutex);
  if (!g_options) {
    auto options = std::make_unique<InstallOptions>();
    options->installDir = GetDefaultInstallFolder();
    CreateFolderPath(options->installDir);
    g_options = std::move(options);
  }
  return *g_options;
}

std::wstring GetBinDir() { return GetInstallOptions().installDir + L"\\" + L"zkbin"; }
