// The worker unpacks a payload made by 7zz through 7zCore.dll, and its progress reaches the
// frame through ZkBase the way the wizard receives it.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "InstallOptions.h"
#include "InstalledFileRecord.h"
#include "InstalledProduct.h"
#include "ScratchFolder.h"
#include "TextConversion.h"
#include "UnzipCore7z.h"
#include "ZKInstallThread.h"
#include "ZkBase.h"
#include "ZkMessages.h"

namespace {

std::wstring FullPath(const std::wstring& relative) {
  std::vector<wchar_t> buffer(GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr) + 1, L'\0');
  GetFullPathNameW(relative.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  return buffer.data();
}

// Made by make-payload.sh: source tree under src\, archives beside it.
std::wstring Payload(const std::wstring& name) { return FullPath(L"test-data\\extraction\\" + name); }

struct Report {
  uint32_t code;
  int32_t param1, param2;
  uint64_t done, total;
};

// Stands in for the main frame: records every message with the counters as they were then.
class RecordingFrame : public ZkBase {
 public:
  void OnMessage(uint32_t code, int32_t param1, int32_t param2) override {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back({code, param1, param2, GetInstallOptions().bytesDone.load(),
                        GetInstallOptions().bytesTotal.load()});
  }

  std::vector<Report> reports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
  }

 private:
  std::mutex mutex_;
  std::vector<Report> reports_;
};

struct Outcome {
  bool failed = false;
  std::wstring reason;
};

// Runs one task to its end, which is the final report or the failure call, then stops the worker.
// With cancelAt, the test's thread cancels once a report has reached that many bytes.
Outcome RunTask(const std::wstring& archive, const std::wstring& target, ZkBase& frame, uint64_t cancelAt = 0) {
  Outcome outcome;
  std::mutex mutex;
  std::atomic<bool> ended(false);
  CZKInstallThread worker;
  NINSTALL_INFO task;
  task.archivePath = archive;
  task.targetDir = target;
  task.progress = [report = MakeInstallProgress(frame), &ended](uint64_t done, uint64_t total) {
    report(done, total);
    if (done == total) ended = true;
  };
  task.failed = [&](InstallFailure, const std::wstring& reason) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      outcome.failed = true;
      outcome.reason = reason;
    }
    ended = true;
  };
  worker.AddTask(task);
  for (int i = 0; i < 1200 && !ended; ++i) {
    if (cancelAt != 0 && GetInstallOptions().bytesDone.load() >= cancelAt) worker.CancelUnpack();
    Sleep(cancelAt != 0 ? 1 : 50);
  }
  EXPECT_TRUE(ended) << "the task did not end within a minute";
  std::lock_guard<std::mutex> lock(mutex);
  return outcome;
}

void ExpectPayloadOnDisk(const std::wstring& target) {
  for (const wchar_t* name : {L"zkbin\\data.bin", L"zkbin\\VIDer.exe", L"zkbin\\plugins\\list.txt"}) {
    EXPECT_EQ(ReadWholeFile(target + L"\\" + name), ReadWholeFile(Payload(L"src\\") + name)) << name;
  }
  EXPECT_EQ(ReadWholeFile(target + L"\\\u8BF4\u660E.txt"), "readme");
  EXPECT_TRUE(IsDirectory(target + L"\\empty"));
}

// Every report is a code-1 progress message with growing counters; only the last one, where
// done equals total, carries 1.
void ExpectProgressSequence(const std::vector<Report>& reports) {
  ASSERT_GE(reports.size(), 2u);
  uint64_t last = 0;
  for (size_t i = 0; i < reports.size(); ++i) {
    const Report& report = reports[i];
    EXPECT_EQ(report.code, kMsgPostToUiThread) << i;
    EXPECT_EQ(report.param1, static_cast<int32_t>(kMsgProgress)) << i;
    EXPECT_GE(report.done, last) << i;
    last = report.done;
    EXPECT_EQ(report.param2, i + 1 == reports.size() ? 1 : 0) << i;
  }
  EXPECT_EQ(reports.back().done, reports.back().total);
  EXPECT_GT(reports.back().total, 3000000u);
}

TEST(InstallThreadTest, DefaultPayloadUnpacksAndReportsProgressUntilDone) {
  ScratchFolder target;
  RecordingFrame frame;
  const Outcome outcome = RunTask(Payload(L"zk.7z"), target.path(), frame);
  EXPECT_FALSE(outcome.failed) << std::string(outcome.reason.begin(), outcome.reason.end());
  ExpectPayloadOnDisk(target.path());
  ExpectProgressSequence(frame.reports());
  // The record beside the uninstaller lists what the unpack made, folders first.
  InstalledFileRecord record;
  ASSERT_TRUE(ReadInstalledFileRecord(target.path(), &record));
  EXPECT_EQ(record.version, WideToUtf8(ProductVersion()));
  const std::vector<std::string>& paths = record.paths;
  for (const char* name : {"zkbin\\", "zkbin\\VIDer.exe", "zkbin\\plugins\\", "zkbin\\plugins\\list.txt", "empty\\"}) {
    EXPECT_NE(std::find(paths.begin(), paths.end(), name), paths.end()) << name;
  }
  EXPECT_LT(std::find(paths.begin(), paths.end(), "zkbin\\plugins\\"),
            std::find(paths.begin(), paths.end(), "zkbin\\plugins\\list.txt"));
}

TEST(InstallThreadTest, CancelDuringTheUnpackLeavesTheFolderAsItWas) {
  ScratchFolder scratch;
  const std::wstring target = scratch / L"zkbin";
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  WriteWholeFile(target + L"\\user.txt", "mine");
  GetInstallOptions().bytesDone.store(0);
  RecordingFrame frame;
  const Outcome outcome = RunTask(Payload(L"zk.7z"), target, frame, 1);
  EXPECT_TRUE(outcome.failed);
  EXPECT_NE(outcome.reason.find(L"cancelled"), std::wstring::npos);
  for (const Report& report : frame.reports()) EXPECT_EQ(report.param2, 0);
  // Only the user's file: none of the payload's names, no record, no journal beside.
  EXPECT_EQ(ReadWholeFile(target + L"\\user.txt"), "mine");
  for (const wchar_t* name : {L"\\zkbin", L"\\empty", L"\\\u8BF4\u660E.txt", L"\\installed-files.txt", L".zk7z~journal"}) {
    EXPECT_EQ(GetFileAttributesW((target + name).c_str()), INVALID_FILE_ATTRIBUTES) << WideToUtf8(name);
  }
  Zk7zCancel(0);  // the flag is process-wide and stays set for later tests otherwise
}

TEST(InstallThreadTest, MaximumCompressionPayloadWithBcj2Unpacks) {
  ScratchFolder target;
  RecordingFrame frame;
  EXPECT_FALSE(RunTask(Payload(L"zk-max.7z"), target.path(), frame).failed);
  ExpectPayloadOnDisk(target.path());
  ExpectProgressSequence(frame.reports());
}

TEST(InstallThreadTest, ProgressReachesTheTargetOfARelayingFrame) {
  ScratchFolder target;
  RecordingFrame relayTarget;
  ZkBase frame;
  frame.SetTarget(&relayTarget);
  EXPECT_FALSE(RunTask(Payload(L"zk.7z"), target.path(), frame).failed);
  ExpectProgressSequence(relayTarget.reports());
}

TEST(InstallThreadTest, MissingPayloadFailsWithItsReasonAndNoReport) {
  ScratchFolder target;
  RecordingFrame frame;
  const Outcome outcome = RunTask(Payload(L"no-such.7z"), target.path(), frame);
  EXPECT_TRUE(outcome.failed);
  EXPECT_FALSE(outcome.reason.empty());
  EXPECT_TRUE(frame.reports().empty());
}

TEST(InstallThreadTest, CorruptPayloadFailsWithoutTheFinalReport) {
  ScratchFolder work;
  std::string bytes = ReadWholeFile(Payload(L"zk.7z"));
  ASSERT_GT(bytes.size(), 4096u);
  for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
  WriteWholeFile(work / L"zk.7z", bytes);
  CreateDirectoryW((work / L"out").c_str(), nullptr);
  RecordingFrame frame;
  const Outcome outcome = RunTask(work / L"zk.7z", work / L"out", frame);
  EXPECT_TRUE(outcome.failed);
  for (const Report& report : frame.reports()) EXPECT_EQ(report.param2, 0);
}

TEST(InstallThreadTest, FolderOutsideTheAnsiCodePageUnpacksThroughItsShortPath) {
  // Hangul is outside the Western and Chinese ANSI code pages alike.
  ScratchFolder scratch;
  const std::wstring target = scratch / L"\uD55C\uAE00 folder";
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  RecordingFrame frame;
  EXPECT_FALSE(RunTask(Payload(L"zk.7z"), target, frame).failed);
  ExpectPayloadOnDisk(target);
  ExpectProgressSequence(frame.reports());
}

TEST(InstallThreadTest, PlainExportReportsTheLastErrorAsText) {
  ScratchFolder target;
  const std::string archive = "test-data\\extraction\\no-such.7z";
  const std::string folder(target.path().begin(), target.path().end());
  EXPECT_EQ(Zk7zExtract(archive.c_str(), folder.c_str(), nullptr, nullptr), 0);
  EXPECT_NE(std::string(Zk7zLastError()).find("no-such.7z"), std::string::npos) << Zk7zLastError();
}

}  // namespace
