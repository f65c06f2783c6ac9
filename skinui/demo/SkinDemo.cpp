// skinui-demo: shows any skin document, alone or inside a ZIP archive, in a skinned window.
//   skinui-demo.exe <skin.xml | skin.zip> [document in the archive] [--close-after <ms>]
//                   [--timings <file>]
// Without a document name the archive's first top-level .xml member is shown. --timings writes
// how long building the control tree from the skin and the window's first paint took.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "ControlUI.h"
#include "PaintManagerUI.h"
#include "SkinResource.h"
#include "WindowImplBase.h"
#include "ZipArchive.h"

namespace {

constexpr const wchar_t* kWindowClass = L"SkinUIDemoWindow";
constexpr const wchar_t* kWindowTitle = L"SkinUI demo";
constexpr UINT_PTR kCloseTimer = 1;
constexpr const wchar_t* kUsage =
    L"Usage: skinui-demo.exe <skin.xml | skin.zip> [document in the archive] [--close-after <ms>] "
    L"[--timings <file>]";
constexpr double kMillisecondsPerSecond = 1000.0;

LONGLONG Now() {
  LARGE_INTEGER counter = {};
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to) {
  LARGE_INTEGER frequency = {};
  ::QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart > 0 ? (to - from) * kMillisecondsPerSecond / frequency.QuadPart : 0.0;
}

bool EndsWithIgnoringCase(const std::wstring& text, const wchar_t* suffix) {
  const size_t length = std::wcslen(suffix);
  return text.size() >= length && _wcsicmp(text.c_str() + text.size() - length, suffix) == 0;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer) : path;
}

// The first .xml member that lies in no folder.
std::wstring FirstDocumentIn(SkinUI::ZipArchive* archive) {
  if (archive == nullptr) return std::wstring();
  SkinUI::ZipEntry entry = {};
  if (SkinUI::GetZipEntry(archive, -1, &entry) != SkinUI::kZipOk) return std::wstring();
  const int count = entry.index;
  for (int i = 0; i < count; ++i) {
    if (SkinUI::GetZipEntry(archive, i, &entry) != SkinUI::kZipOk) continue;
    const std::wstring name = entry.name;
    if (name.find_first_of(L"/\\") == std::wstring::npos && EndsWithIgnoringCase(name, L".xml")) return name;
  }
  return std::wstring();
}

class DemoWindow : public SkinUI::WindowImplBase {
 public:
  explicit DemoWindow(std::wstring skinFile) : m_skinFile(std::move(skinFile)) {}

  const wchar_t* GetWindowClassName() const override { return kWindowClass; }
  std::wstring QuerySkinFile() override { return m_skinFile; }
  void OnPrepareSkin() override { m_buildStart = Now(); }
  void OnWindowReady() override { m_buildEnd = Now(); }
  double BuildMilliseconds() const { return Milliseconds(m_buildStart, m_buildEnd); }
  void OnWindowGone(HWND window) override {
    WindowImplBase::OnWindowGone(window);
    ::PostQuitMessage(0);
  }
  LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message == WM_TIMER && wParam == kCloseTimer) {
      ::KillTimer(m_hWnd, kCloseTimer);
      Close(0);
      return 0;
    }
    handled = false;
    return 0;
  }

 private:
  std::wstring m_skinFile;
  LONGLONG m_buildStart = 0;
  LONGLONG m_buildEnd = 0;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  UINT closeAfter = 0;
  std::wstring timingsFile;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--close-after") == 0 && i + 1 < argc) {
      closeAfter = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (std::wcscmp(argv[i], L"--timings") == 0 && i + 1 < argc) {
      timingsFile = argv[++i];
    } else {
      args.emplace_back(argv[i]);
    }
  }
  if (argv != nullptr) ::LocalFree(argv);
  if (args.empty()) {
    ::MessageBoxW(nullptr, kUsage, kWindowTitle, MB_OK | MB_ICONINFORMATION);
    return 2;
  }

  SkinUI::CSkinResource::SetInstance(instance);
  const std::wstring path = FullPath(args[0]);
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const std::wstring fileName = slash == std::wstring::npos ? path : path.substr(slash + 1);
  SkinUI::CSkinResource::SetResourcePath(folder);
  std::wstring skinFile = fileName;
  if (EndsWithIgnoringCase(fileName, L".zip")) {
    SkinUI::CSkinResource::SetResourceZip(fileName, true);
    skinFile = args.size() > 1 ? args[1] : FirstDocumentIn(SkinUI::CSkinResource::GetResourceZipArchive());
  }

  // Serving the window's accessible objects to screen readers takes COM on this thread.
  const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  DemoWindow window(skinFile);
  if (window.Create(nullptr, kWindowTitle, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0) == nullptr) return 3;
  window.CenterWindow();
  window.ShowWindow(true);
  // The first paint lays the tree out and draws it whole.
  const LONGLONG paintStart = Now();
  ::UpdateWindow(window.GetHWND());
  const double firstPaint = Milliseconds(paintStart, Now());
  if (!timingsFile.empty()) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(_wfopen(timingsFile.c_str(), L"w"), &std::fclose);
    if (out) std::fprintf(out.get(), "build_ms=%.1f first_paint_ms=%.1f\n", window.BuildMilliseconds(), firstPaint);
  }
  if (closeAfter > 0) ::SetTimer(window.GetHWND(), kCloseTimer, closeAfter, nullptr);
  const int code = SkinUI::CPaintManagerUI::MessageLoop();
  SkinUI::CPaintManagerUI::TermSharedResources();
  SkinUI::CSkinResource::CloseResourceZip();
  if (com) ::CoUninitialize();
  return code;
}
