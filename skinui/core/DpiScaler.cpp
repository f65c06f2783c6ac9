#include "DpiScaler.h"

#include "DllSearch.h"

namespace SkinUI {

namespace {

constexpr int kBaseDpi = 96;
constexpr int kFullScale = 100;

// The awareness contexts and DPI_AWARENESS values of user32, newer than the headers' target.
using DpiContext = HANDLE;
constexpr INT_PTR kContextPerMonitorV1 = -3;
constexpr INT_PTR kContextPerMonitorV2 = -4;
constexpr int kDpiAwarenessSystem = 1;
constexpr int kDpiAwarenessPerMonitor = 2;

using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DpiContext);
using GetThreadDpiAwarenessContextFn = DpiContext(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = int(WINAPI*)(DpiContext);
using SetProcessDPIAwareFn = BOOL(WINAPI*)();
using IsProcessDPIAwareFn = BOOL(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();

// user32 is a KnownDLL and already loaded; these exports are missing on older systems.
template <typename Fn>
Fn User32Entry(const char* name) {
  return FindExport<Fn>(::GetModuleHandleW(L"user32.dll"), name);
}

DpiContext Context(INT_PTR value) { return reinterpret_cast<DpiContext>(value); }

CDpiScaler::Awareness CurrentAwareness() {
  const auto getContext = User32Entry<GetThreadDpiAwarenessContextFn>("GetThreadDpiAwarenessContext");
  const auto awarenessOf = User32Entry<GetAwarenessFromDpiAwarenessContextFn>("GetAwarenessFromDpiAwarenessContext");
  if (getContext != nullptr && awarenessOf != nullptr) {
    const int awareness = awarenessOf(getContext());
    if (awareness == kDpiAwarenessPerMonitor) return CDpiScaler::Awareness::PerMonitorAware;
    if (awareness == kDpiAwarenessSystem) return CDpiScaler::Awareness::SystemAware;
    return CDpiScaler::Awareness::Unaware;
  }
  const auto isAware = User32Entry<IsProcessDPIAwareFn>("IsProcessDPIAware");
  return isAware != nullptr && isAware() ? CDpiScaler::Awareness::SystemAware : CDpiScaler::Awareness::Unaware;
}

CDpiScaler::Awareness RequestAwareness() {
  // Refused where the manifest has set it already, and (Wine 8) for v2 with ERROR_INVALID_PARAMETER.
  if (const auto setContext = User32Entry<SetProcessDpiAwarenessContextFn>("SetProcessDpiAwarenessContext")) {
    if (!setContext(Context(kContextPerMonitorV2))) setContext(Context(kContextPerMonitorV1));
  } else if (const auto setAware = User32Entry<SetProcessDPIAwareFn>("SetProcessDPIAware")) {
    setAware();
  }
  return CurrentAwareness();
}

int SystemDpi() {
  if (const auto forSystem = User32Entry<GetDpiForSystemFn>("GetDpiForSystem")) return static_cast<int>(forSystem());
  int dpi = kBaseDpi;
  HDC screen = ::GetDC(nullptr);
  if (screen != nullptr) {
    dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

CDpiScaler::CDpiScaler() { SetDpi(SystemDpi()); }

CDpiScaler::Awareness CDpiScaler::EnableProcessAwareness() {
  static const Awareness awareness = RequestAwareness();
  return awareness;
}

int CDpiScaler::GetWindowDpi(HWND window) {
  if (const auto forWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow")) {
    const UINT dpi = window != nullptr ? forWindow(window) : 0;
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int CDpiScaler::GetScale() const { return awareness_ == Awareness::Unaware ? kFullScale : percent_; }

void CDpiScaler::SetScale(int percent) {
  if (percent > 0) percent_ = percent;
}

int CDpiScaler::GetDpi() const { return ::MulDiv(GetScale(), kBaseDpi, kFullScale); }

void CDpiScaler::SetDpi(int dpi) {
  if (dpi > 0) SetScale(::MulDiv(dpi, kFullScale, kBaseDpi));
}

int CDpiScaler::Scale(int value) const { return ::MulDiv(value, GetScale(), kFullScale); }

RECT CDpiScaler::Scale(RECT rect) const {
  const int width = Scale(rect.right - rect.left);
  const int height = Scale(rect.bottom - rect.top);
  rect.left = Scale(rect.left);
  rect.top = Scale(rect.top);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

SIZE CDpiScaler::Scale(SIZE size) const { return SIZE{Scale(size.cx), Scale(size.cy)}; }

POINT CDpiScaler::Scale(POINT point) const { return POINT{Scale(point.x), Scale(point.y)}; }

RECT CDpiScaler::ScaleEdges(RECT edges) const {
  return RECT{Scale(edges.left), Scale(edges.top), Scale(edges.right), Scale(edges.bottom)};
}

}  // namespace SkinUI
