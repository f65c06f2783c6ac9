// The routines' standard-stream messages, read from a child process through pipes. The
// child's streams are in text mode, so each line end arrives as "\r\n".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "TextConversion.h"

namespace {

using shelltest::FolderEntries;
using shelltest::ScratchFolder;

// "指定的可执行文件路径或图标名称太长！" and "无法将快捷方式固定到任务栏！"
constexpr wchar_t kTooLong[] =
    L"\u6307\u5B9A\u7684\u53EF\u6267\u884C\u6587\u4EF6\u8DEF\u5F84\u6216\u56FE\u6807\u540D\u79F0\u592A\u957F\uFF01";
constexpr wchar_t kPinRefused[] =
    L"\u65E0\u6CD5\u5C06\u5FEB\u6377\u65B9\u5F0F\u56FA\u5B9A\u5230\u4EFB\u52A1\u680F\uFF01";
constexpr unsigned kChineseCodePage = 936;

struct ProbeRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

std::wstring ProbePath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.rfind(L'\\') + 1) + L"shell_stream_probe.exe";
}

// Reads what is buffered without waiting for end-of-file: a process the probe starts may
// inherit the write ends and keep them open long after the probe has exited.
std::string DrainPipe(HANDLE pipe) {
  std::string text;
  char chunk[512];
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    DWORD got = 0;
    if (!ReadFile(pipe, chunk, sizeof(chunk), &got, nullptr) || got == 0) break;
    text.append(chunk, got);
  }
  return text;
}

constexpr DWORD kPipeBufferBytes = 64 * 1024;
constexpr DWORD kProbeTimeoutMs = 20 * 1000;

ProbeRun RunProbe(const std::vector<std::wstring>& args) {
  ProbeRun run;
  std::wstring commandLine = L"\"" + ProbePath() + L"\"";
  for (const auto& arg : args) commandLine += L" \"" + arg + L"\"";

  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inheritable, kPipeBufferBytes)) return run;
  unique_kernel_handle outReader(outRead), outWriter(outWrite);
  if (!CreatePipe(&errRead, &errWrite, &inheritable, kPipeBufferBytes)) return run;
  unique_kernel_handle errReader(errRead), errWriter(errWrite);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION process = {};
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return run;
  }
  unique_kernel_handle child(process.hProcess), thread(process.hThread);
  outWriter.reset();
  errWriter.reset();
  if (WaitForSingleObject(child.get(), kProbeTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(child.get(), 0xDEAD);
    ADD_FAILURE() << "the probe did not finish within " << kProbeTimeoutMs << " ms";
  }
  GetExitCodeProcess(child.get(), &run.exitCode);
  run.out = DrainPipe(outReader.get());
  run.err = DrainPipe(errReader.get());
  return run;
}

std::string Line(const std::string& text) { return text + "\r\n"; }

class StreamMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = bin_ / L"VIDer.exe";
    shelltest::WriteFileBytes(target_, "MZ");
  }

  ScratchFolder bin_;
  ScratchFolder temp_;
  std::wstring target_;
};

TEST_F(StreamMessagesTest, CreationResultIsPrintedInHexadecimal) {
  const auto run = RunProbe({L"create", bin_ / L"Tessaro.lnk", target_});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, Line("0"));
  EXPECT_EQ(run.err, "");
}

TEST_F(StreamMessagesTest, LinkObjectFailurePrintsItsResultAndErro1) {
  const auto run = RunProbe({L"create-fails", bin_ / L"Tessaro.lnk", target_});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out, Line("80040154") + Line("ERRO 1"));
  EXPECT_FALSE(shelltest::PathExists(bin_ / L"Tessaro.lnk"));
}

TEST_F(StreamMessagesTest, MissingPersistFilePrintsErro2) {
  const auto run = RunProbe({L"create-unsavable", bin_ / L"Tessaro.lnk", target_});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out, Line("0") + Line("ERRO 2"));
  EXPECT_FALSE(shelltest::PathExists(bin_ / L"Tessaro.lnk"));
}

TEST_F(StreamMessagesTest, TooLongNameIsReportedInCodePage936OnStandardError) {
  const std::wstring name(300, L'n');
  const auto run = RunProbe({L"pin", temp_.path(), target_, name});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.err, Line(WideToCodePage(kTooLong, kChineseCodePage)));
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

TEST_F(StreamMessagesTest, RefusedPinIsReportedInCodePage936OnStandardError) {
  const auto run = RunProbe({L"pin", temp_.path(), target_, L"Tessaro"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, Line("0"));
  // Wine has no handler for the "TaskbarPin" verb and always refuses it; Windows 7 and 8 may
  // pin, and then nothing is printed.
  if (!run.err.empty()) {
    EXPECT_EQ(run.err, Line(WideToCodePage(kPinRefused, kChineseCodePage)));
  }
  EXPECT_TRUE(FolderEntries(temp_.path()).empty());
}

}  // namespace
