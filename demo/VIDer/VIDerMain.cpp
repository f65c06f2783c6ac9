// VIDer.exe, the demo Tessaro application the installer unpacks and starts: a small window that
// says the product was installed.
//
// For tests:
// - Every start writes the marker file %LOCALAPPDATA%\zk\data\VIDer.started (replacing an older
//   one) holding the full path of the running VIDer.exe in UTF-8 followed by CR LF, before the
//   window appears.
// - "--exit-after N" (N whole seconds, 1 to 86400) closes the window after N seconds; exit code 0.
//   Without arguments, the environment variable ZK_DEMO_EXIT_AFTER=N does the same.
// - An unknown argument or a malformed N ends the program at once with exit code 2, no window and
//   no marker; the reason goes to the debugger output.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "DemoArguments.h"
#include "DllSearch.h"
#include "Paths.h"
#include "TextConversion.h"
#include "UniqueHandle.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TessaroDemoWindow";
constexpr wchar_t kWindowTitle[] = L"Tessaro";
constexpr wchar_t kMarkerName[] = L"VIDer.started";
constexpr wchar_t kFontFace[] = L"微软雅黑";
constexpr int kClientWidth = 520;
constexpr int kClientHeight = 300;
constexpr int kIconResource = 101;
constexpr int kIconSize = 64;
constexpr UINT_PTR kExitTimer = 1;
constexpr int kBadArgumentsExitCode = 2;

constexpr COLORREF kBackgroundTop = RGB(10, 22, 48);
constexpr COLORREF kBackgroundBottom = RGB(13, 43, 96);
constexpr COLORREF kTitleColor = RGB(255, 255, 255);
constexpr COLORREF kTextColor = RGB(226, 234, 246);
constexpr COLORREF kHintColor = RGB(126, 154, 196);

struct GdiObjectTraits {
  using type = HGDIOBJ;
  static type invalid() { return nullptr; }
  static void close(type object) { ::DeleteObject(object); }
};
struct MemoryDcTraits {
  using type = HDC;
  static type invalid() { return nullptr; }
  static void close(type dc) { ::DeleteDC(dc); }
};
using unique_gdi_object = unique_handle<GdiObjectTraits>;
using unique_memory_dc = unique_handle<MemoryDcTraits>;

// Selects a GDI object into a device context for the life of the scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelect() { ::SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void WriteStartMarker(const std::wstring& exePath) {
  const std::wstring folder = GetProductDataFolder();
  CreateFolderPath(folder);
  unique_file file(::CreateFileW((folder + L"\\" + kMarkerName).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string text = WideToUtf8(exePath) + "\r\n";
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

unique_gdi_object MakeFont(int pixelHeight, bool bold) {
  return unique_gdi_object(::CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontFace));
}

void FillVerticalGradient(HDC dc, const RECT& rc, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {};
  v[0].x = rc.left;
  v[0].y = rc.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
  v[1].x = rc.right;
  v[1].y = rc.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
  GRADIENT_RECT r = {0, 1};
  ::GdiGradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}

void DrawLine(HDC dc, const std::wstring& text, int pixelHeight, bool bold, COLORREF color, RECT rc) {
  unique_gdi_object font = MakeFont(pixelHeight, bold);
  ScopedSelect selected(dc, font.get());
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void Paint(HWND window, HDC target) {
  RECT client;
  ::GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  unique_memory_dc dc(::CreateCompatibleDC(target));
  unique_gdi_object bitmap(::CreateCompatibleBitmap(target, width, height));
  if (!dc || !bitmap) return;
  ScopedSelect selectedBitmap(dc.get(), bitmap.get());

  FillVerticalGradient(dc.get(), client, kBackgroundTop, kBackgroundBottom);
  ::SetBkMode(dc.get(), TRANSPARENT);
  HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource),
                                               IMAGE_ICON, kIconSize, kIconSize, LR_SHARED));
  if (icon) ::DrawIconEx(dc.get(), (width - kIconSize) / 2, 40, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  DrawLine(dc.get(), L"Tessaro", 34, true, kTitleColor, {0, 114, width, 162});
  DrawLine(dc.get(), L"Tessaro 已成功安装，可以开始录制了。", 16, false, kTextColor, {0, 170, width, 196});
  DrawLine(dc.get(), L"The product was installed.", 14, false, kTextColor, {0, 198, width, 220});
  DrawLine(dc.get(), L"程序位置：" + FolderOf(ModulePath()), 12, false, kHintColor, {16, 250, width - 16, 272});

  ::BitBlt(target, 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(window, &ps);
      Paint(window, dc);
      ::EndPaint(window, &ps);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kExitTimer) {
        ::KillTimer(window, kExitTimer);
        ::DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::wstring> ArgumentsAfterProgramName() {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
  ::LocalFree(argv);
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  RestrictDllSearch();
  std::vector<std::wstring> arguments = ArgumentsAfterProgramName();
  // Started by the installer there is no command line: tests ask for the timed exit this way.
  wchar_t fromEnvironment[16] = {};
  if (arguments.empty() && ::GetEnvironmentVariableW(L"ZK_DEMO_EXIT_AFTER", fromEnvironment, 16) > 0) {
    arguments = {L"--exit-after", fromEnvironment};
  }
  const DemoArguments args = ParseDemoArguments(arguments);
  if (!args.valid) {
    ::OutputDebugStringW((L"VIDer: " + args.error + L"\n").c_str());
    return kBadArgumentsExitCode;
  }
  WriteStartMarker(ModulePath());

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, 0));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, 0));
  wc.lpszClassName = kWindowClass;
  if (!::RegisterClassExW(&wc)) return 1;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = ::CreateWindowExW(0, kWindowClass, kWindowTitle, style, work.left + (work.right - work.left - w) / 2,
                                  work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, nullptr, instance,
                                  nullptr);
  if (!window) return 1;
  if (args.exitAfterSeconds > 0) ::SetTimer(window, kExitTimer, static_cast<UINT>(args.exitAfterSeconds) * 1000, nullptr);
  ::ShowWindow(window, show);
  ::UpdateWindow(window);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
