#include "ZKInstallThread.h"

#include <windows.h>

#include <vector>

#include "InstallOptions.h"
#include "TextConversion.h"
#include "UnzipCore7z.h"
#include "ZkMessages.h"

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

  const std::string target = ToComponentPath(targetDir);
  const std::string archive = ToComponentPath(archivePath);
  // A path the code page cannot carry must not unpack somewhere else.
  if (target.empty() || archive.empty()) {
    if (task.failed) {
      task.failed(L"the code page cannot represent " + (target.empty() ? targetDir : archivePath));
    }
    return;
  }
  if (!UnzipCore7z(archive.c_str(), target.c_str(), progress) && task.failed) {
    task.failed(Utf8ToWide(Zk7zLastError()));
  }
}

std::function<void(uint64_t, uint64_t)> MakeInstallProgress(ZkBase& frame) {
  return [&frame](uint64_t done, uint64_t total) {
    InstallOptions& options = GetInstallOptions();
    options.bytesDone.store(done);
    options.bytesTotal.store(total);
    frame.Deliver(kMsgPostToUiThread, kMsgProgress, done == total ? 1 : 0);
  };
}
