// first_paint_probe PROGRAM [ARGUMENTS]
// Starts PROGRAM and prints the milliseconds until its first frame is on the screen: a visible
// top-level window of the process whose pixels differ from what the screen showed there before.
// Then ends the program. Exit code 0 when a frame was seen, 1 otherwise.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "UniqueHandle.h"

namespace {

constexpr DWORD kGiveUpMs = 30000;
constexpr int kSamplesPerSide = 7;

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// Screen colours on a grid inside rect.
std::vector<COLORREF> SampleScreen(const RECT& rect) {
  std::vector<COLORREF> colours;
  HDC screen = GetDC(nullptr);
  for (int row = 1; row <= kSamplesPerSide; ++row) {
    for (int column = 1; column <= kSamplesPerSide; ++column) {
      const int x = rect.left + (rect.right - rect.left) * column / (kSamplesPerSide + 1);
      const int y = rect.top + (rect.bottom - rect.top) * row / (kSamplesPerSide + 1);
      colours.push_back(GetPixel(screen, x, y));
    }
  }
  ReleaseDC(nullptr, screen);
  return colours;
}

// Painted once most of the grid has changed.
bool LooksPainted(const std::vector<COLORREF>& before, const std::vector<COLORREF>& now) {
  size_t changed = 0;
  for (size_t i = 0; i < before.size() && i < now.size(); ++i) changed += before[i] != now[i];
  return changed * 2 > before.size();
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: first_paint_probe PROGRAM [ARGUMENTS]\n", stderr);
    return 2;
  }
  std::wstring commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');

  // Programs here open centred; the probe watches the area a 700x420 window covers.
  const int width = 700, height = 420;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const RECT area = {left, top, left + width, top + height};
  const std::vector<COLORREF> before = SampleScreen(area);

  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  unique_kernel_handle child(process.hProcess), thread(process.hThread);

  bool seen = false;
  for (;;) {
    QueryPerformanceCounter(&now);
    if (Milliseconds(start, now, frequency) > kGiveUpMs) break;
    if (WaitForSingleObject(child.get(), 0) == WAIT_OBJECT_0) break;
    WindowSearch search = {process.dwProcessId, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && LooksPainted(before, SampleScreen(area))) {
      seen = true;
      break;
    }
    Sleep(1);
  }
  if (seen) std::printf("%.1f\n", Milliseconds(start, now, frequency));
  TerminateProcess(child.get(), 0);
  WaitForSingleObject(child.get(), 5000);
  return seen ? 0 : 1;
}
