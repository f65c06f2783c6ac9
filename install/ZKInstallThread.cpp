#include "ZKInstallThread.h"

#include <windows.h>

#include <vector>

#include "DllSearch.h"
#include "InstallOptions.h"
#include "Log.h"
#include "Paths.h"
#include "PayloadCheck.h"
#include "TextConversion.h"
#include "UniqueHandle.h"
#include "UnzipCore7z.h"
#include "ZkMessages.h"

namespace {

constexpr const wchar_t* kComponentFile = L"7zCore.dll";

using UnzipCore7zFn = decltype(&UnzipCore7z);
using LastErrorFn = decltype(&Zk7zLastError);

std::wstring ErrorSuffix(DWORD error) { return L" (error " + std::to_wstring(error) + L")"; }

// 7zCore.dll from setup's own folder, by full path: never a copy the search path would find.
class UnpackComponent {
 public:
  bool Load(std::wstring& reason) {
    const std::wstring path = GetSetupFolder() + L"\\" + kComponentFile;
    module_.reset(LoadLibraryAtPath(path));
    if (!module_) {
      reason = L"cannot load " + path + ErrorSuffix(GetLastError());
      return false;
    }
    unzip_ = reinterpret_cast<UnzipCore7zFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "UnzipCore7z")));
    lastError_ =
        reinterpret_cast<LastErrorFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "Zk7zLastError")));
    if (unzip_ == nullptr || lastError_ == nullptr) {
      reason = path + L" lacks the export " + (unzip_ == nullptr ? L"UnzipCore7z" : L"Zk7zLastError");
      return false;
    }
    return true;
  }

  bool Unzip(const std::string& archive, const std::string& target,
             const std::function<void(uint64_t, uint64_t)>& progress) const {
    return unzip_(archive.c_str(), target.c_str(), progress);
  }
  std::wstring LastError() const { return Utf8ToWide(lastError_()); }

 private:
  unique_module module_;
  UnzipCore7zFn unzip_ = nullptr;
  LastErrorFn lastError_ = nullptr;
};

// Compares the open archive with the stamp of setup.exe; a build without one is let through once
// logged. False with the kind and reason set when the archive must not be unpacked.
bool PayloadMatchesStamp(HANDLE archive, InstallFailure& kind, std::wstring& reason) {
  PayloadStamp expected;
  if (!ReadPayloadStamp(GetModuleHandleW(nullptr), expected)) {
    WriteLog(L"ZkInstall payload unverified: this setup.exe carries no payload digest");
    return true;
  }
  PayloadStamp found;
  std::wstring error;
  if (!HashOpenFile(archive, found, error)) {
    kind = InstallFailure::kPayloadMismatch;
    reason = L"the payload cannot be hashed: " + error;
    return false;
  }
  if (found.digest == expected.digest && found.size == expected.size) return true;
  kind = InstallFailure::kPayloadMismatch;
  reason = L"payload digest mismatch: expected sha256 " + DigestText(expected.digest) + L" (" +
           std::to_wstring(expected.size) + L" bytes), found sha256 " + DigestText(found.digest) + L" (" +
           std::to_wstring(found.size) + L" bytes)";
  return false;
}

}  // namespace

CZKInstallThread::~CZKInstallThread() { StopAndJoin(); }

std::string ToComponentPath(const std::wstring& path) {
  if (IsAnsiRepresentable(path)) return WideToAnsi(path);
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return std::string();
  std::vector<wchar_t> shortPath(needed + 1, L'\0');
  if (GetShortPathNameW(path.c_str(), shortPath.data(), needed + 1) == 0) return std::string();
  const std::wstring shortText(shortPath.data());
  return IsAnsiRepresentable(shortText) ? WideToAnsi(shortText) : std::string();
}

void CZKInstallThread::DoTask(NINSTALL_INFO& task) {
  const std::wstring targetDir = task.targetDir;
  const std::wstring archivePath = task.archivePath;
  std::function<void(uint64_t, uint64_t)> progress = task.progress;
  if (!progress) progress = [](uint64_t, uint64_t) {};
  auto fail = [&task](InstallFailure kind, const std::wstring& reason) {
    if (task.failed) task.failed(kind, reason);
  };

  // Held until the unpack returns: no one can change or replace the archive once it is checked.
  unique_file archive(CreateFileW(archivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!archive) {
    fail(InstallFailure::kArchiveMissing, L"cannot open " + archivePath + ErrorSuffix(GetLastError()));
    return;
  }
  UnpackComponent component;
  std::wstring reason;
  if (!component.Load(reason)) {
    fail(InstallFailure::kComponentMissing, reason);
    return;
  }
  InstallFailure kind = InstallFailure::kUnpack;
  if (!PayloadMatchesStamp(archive.get(), kind, reason)) {
    fail(kind, reason);
    return;
  }

  const std::string target = ToComponentPath(targetDir);
  const std::string archiveName = ToComponentPath(archivePath);
  // A path the code page cannot carry must not unpack somewhere else.
  if (target.empty() || archiveName.empty()) {
    fail(InstallFailure::kUnpack, L"the code page cannot represent " + (target.empty() ? targetDir : archivePath));
    return;
  }
  if (!component.Unzip(archiveName, target, progress)) fail(InstallFailure::kUnpack, component.LastError());
}

std::function<void(uint64_t, uint64_t)> MakeInstallProgress(ZkBase& frame) {
  return [&frame](uint64_t done, uint64_t total) {
    InstallOptions& options = GetInstallOptions();
    options.bytesDone.store(done);
    options.bytesTotal.store(total);
    frame.Deliver(kMsgPostToUiThread, kMsgProgress, done == total ? 1 : 0);
  };
}
