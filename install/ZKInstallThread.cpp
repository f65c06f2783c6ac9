#include "ZKInstallThread.h"

#include <windows.h>

#include <vector>

#include "InstallOptions.h"
#include "InstalledFileRecord.h"
#include "InstalledProduct.h"
#include "Log.h"
#include "PayloadCheck.h"
#include "TextConversion.h"
#include "UniqueHandle.h"
#include "ZkMessages.h"

namespace {

std::wstring ErrorSuffix(DWORD error) { return L" (error " + std::to_wstring(error) + L")"; }

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

// What this unpack put in place joins the record an earlier installation left beside the
// uninstaller.
void WriteInstallRecord(const std::wstring& binDir, const std::vector<std::string>& names) {
  InstalledFileRecord current;
  current.version = WideToUtf8(ProductVersion());
  current.paths = OrderRecordedPaths(names);
  InstalledFileRecord previous;
  const InstalledFileRecord record =
      ReadInstalledFileRecord(binDir, &previous) ? MergeInstalledFileRecords(previous, current) : current;
  if (!WriteInstalledFileRecord(binDir, record)) {
    WriteLogFormat(L"%ls %ls cannot write %ls: error %lu", L"ZkInstall\\ZKInstallThread", L"WriteInstallRecord",
                   InstalledFileRecordPath(binDir).c_str(), static_cast<unsigned long>(GetLastError()));
  }
}

}  // namespace

CZKInstallThread::~CZKInstallThread() { StopAndJoin(); }

void HealInterruptedUnpack(const std::wstring& binDir) {
  // An unpack makes its folder before anything else, so without the folder there is nothing to
  // heal, and the component is not loaded on a first install's start. The unpack heals too.
  if (GetFileAttributesW(binDir.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  UnpackComponent component;
  std::wstring reason;
  if (!component.Load(reason)) return;
  const wchar_t* done = nullptr;
  switch (component.Heal(binDir)) {
    case 0:
      return;
    case 1:
      done = L"undid the interrupted unpack into";
      break;
    case 2:
      done = L"finished the clean-up of the unpack into";
      break;
    default:
      WriteLogFormat(L"%ls %ls cannot heal the interrupted unpack into %ls: %ls", L"ZkInstall\\ZKInstallThread",
                     L"HealInterruptedUnpack", binDir.c_str(), component.LastError().c_str());
      return;
  }
  WriteLogFormat(L"%ls %ls %ls %ls", L"ZkInstall\\ZKInstallThread", L"HealInterruptedUnpack", done, binDir.c_str());
}

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
  std::wstring reason;
  if (!component_.Load(reason)) {
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
  if (component_.Unzip(archiveName, target, progress)) {
    WriteInstallRecord(targetDir, component_.InstalledNames());
    return;
  }
  fail(InstallFailure::kUnpack, component_.LastError());
}

std::function<void(uint64_t, uint64_t)> MakeInstallProgress(ZkBase& frame) {
  return [&frame](uint64_t done, uint64_t total) {
    InstallOptions& options = GetInstallOptions();
    options.bytesDone.store(done);
    options.bytesTotal.store(total);
    frame.Deliver(kMsgPostToUiThread, kMsgProgress, done == total ? 1 : 0);
  };
}
