// cancel_probe.exe ARCHIVE FOLDER: unpacks ARCHIVE into FOLDER with setup's worker and
// 7zCore.dll, cancels once a quarter of it is written, and prints "MILLISECONDS DONE TOTAL":
// the time from the cancel to the worker's failure report (the run undone), and how far the
// unpack had come. Exit code 1 when the unpack ended some other way.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "DllSearch.h"
#include "ZKInstallThread.h"

namespace {

constexpr uint64_t kCancelAtQuarter = 4;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  RestrictDllSearch();
  if (argc != 3) return 2;
  std::atomic<uint64_t> done{0}, total{0};
  std::atomic<int> ended{0};  // 1 failed, 2 completed
  NINSTALL_INFO task;
  task.archivePath = argv[1];
  task.targetDir = argv[2];
  task.progress = [&](uint64_t d, uint64_t t) {
    done.store(d);
    total.store(t);
    if (d == t) ended.store(2);
  };
  task.failed = [&](InstallFailure, const std::wstring&) { ended.store(1); };
  CZKInstallThread worker;
  worker.AddTask(task);
  while (ended.load() == 0 && (total.load() == 0 || done.load() < total.load() / kCancelAtQuarter)) Sleep(1);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const uint64_t doneAtCancel = done.load();
  worker.CancelUnpack();
  while (ended.load() == 0) Sleep(1);
  QueryPerformanceCounter(&end);
  std::printf("%.1f %llu %llu\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
              static_cast<unsigned long long>(doneAtCancel), static_cast<unsigned long long>(total.load()));
  return ended.load() == 1 ? 0 : 1;
}
