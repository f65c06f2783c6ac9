// Runs the built demo programs as the installer and a user would: real processes, a real window,
// the marker file in the real local application data folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Paths.h"
#include "ScratchFolder.h"
#include "TextConversion.h"
#include "UniqueHandle.h"

namespace {

constexpr DWORD kProcessWaitMs = 60000;
constexpr DWORD kWindowPollMs = 100;
constexpr int kWindowPolls = 300;
constexpr DWORD kBadArgumentsExitCode = 2;

std::wstring ProgramPath(const wchar_t* name) { return GetSetupFolder() + L"\\" + name; }
std::wstring MarkerPath() { return GetProductDataFolder() + L"\\VIDer.started"; }

struct Child {
  unique_kernel_handle process;
  DWORD id = 0;
};

Child Start(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  Child child;
  if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ::CloseHandle(pi.hThread);
    child.process.reset(pi.hProcess);
    child.id = pi.dwProcessId;
  }
  return child;
}

// The exit code, or STILL_ACTIVE when the process did not end in time.
DWORD WaitForExit(const Child& child) {
  if (::WaitForSingleObject(child.process.get(), kProcessWaitMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(child.process.get(), &code);
  return code;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchVisibleWindowOfProcess(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindTopWindowOf(DWORD processId) {
  WindowSearch search = {processId, nullptr};
  ::EnumWindows(MatchVisibleWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TEST(VIDer, StartLeavesMarkerWithItsOwnPathAndExitAfterEndsWithZero) {
  RemoveTree(MarkerPath());
  const std::wstring program = ProgramPath(L"VIDer.exe");
  Child child = Start(program, L"--exit-after 1");
  ASSERT_TRUE(child.process);
  EXPECT_EQ(WaitForExit(child), 0u);
  ASSERT_TRUE(Exists(MarkerPath()));
  EXPECT_EQ(ReadWholeFile(MarkerPath()), WideToUtf8(program) + "\r\n");
}

TEST(VIDer, ShowsAWindowTitledTessaroThatClosesNormally) {
  Child child = Start(ProgramPath(L"VIDer.exe"), L"--exit-after 120");
  ASSERT_TRUE(child.process);
  HWND window = nullptr;
  for (int i = 0; i < kWindowPolls && !window; ++i) {
    window = FindTopWindowOf(child.id);
    if (!window) ::Sleep(kWindowPollMs);
  }
  ASSERT_NE(window, nullptr) << "no visible window appeared";
  wchar_t title[64] = {};
  ::GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Tessaro");
  RECT client = {};
  ::GetClientRect(window, &client);
  EXPECT_GT(client.right, 0);
  EXPECT_GT(client.bottom, 0);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(child), 0u);
}

TEST(VIDer, MalformedArgumentEndsAtOnceWithoutMarker) {
  RemoveTree(MarkerPath());
  Child child = Start(ProgramPath(L"VIDer.exe"), L"--exit-after soon");
  ASSERT_TRUE(child.process);
  EXPECT_EQ(WaitForExit(child), kBadArgumentsExitCode);
  EXPECT_FALSE(Exists(MarkerPath()));
}

// The uninstaller itself is tested end to end (tests/installer/e2e/uninstall-*.sh); here only
// that the built program starts and answers a wrong command line before it touches anything.
TEST(ZKUnInstall, SilentWrongCommandLineEndsWithOne) {
  Child child = Start(ProgramPath(L"ZKUnInstall.exe"), L"/S /NOSUCH");
  ASSERT_TRUE(child.process);
  EXPECT_EQ(WaitForExit(child), 1u);
}
