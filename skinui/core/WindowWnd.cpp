#include "WindowWnd.h"

#include <utility>

#include "PaintManagerUI.h"
#include "SkinResource.h"

namespace SkinUI {
namespace {

constexpr const wchar_t* kObjectProperty = L"WndX";

HINSTANCE ModuleInstance() {
  HINSTANCE instance = CSkinResource::GetInstance();
  return instance != nullptr ? instance : ::GetModuleHandleW(nullptr);
}

// Multiple of 16 at or above the value.
int RoundUpTo16(int value) { return (value + 15) & ~15; }

}  // namespace

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int cx,
                        int cy, HMENU menu) {
  if (GetBaseWindowClassName() != nullptr) {
    if (!RegisterSuperclass()) return nullptr;
  } else if (!RegisterWindowClass()) {
    return nullptr;
  }
  m_hWnd = ::CreateWindowExW(exStyle, GetWindowClassName(), name, style, x, y, cx, cy, parent, menu,
                             ModuleInstance(), this);
  return m_hWnd;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect,
                        HMENU menu) {
  return Create(parent, name, style, exStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                menu);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle) {
  return Create(parent, name, style, exStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND window) {
  if (window == nullptr) return nullptr;
  auto previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
  if (previous == nullptr) return nullptr;
  m_oldWndProc = previous;
  m_bSubclassed = true;
  m_hWnd = window;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return m_hWnd;
}

void CWindowWnd::Unsubclass() {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || !m_bSubclassed) return;
  ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
  m_oldWndProc = ::DefWindowProcW;
  m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  // The object may delete itself with its window (after its last message), so the loop works on
  // a copy of the handle and touches no member once the window can be gone.
  const HWND window = m_hWnd;
  if (window == nullptr || !::IsWindow(window)) return 0;
  UINT result = 0;
  HWND owner = ::GetWindow(window, GW_OWNER);
  ::ShowWindow(window, SW_SHOWNORMAL);
  if (owner != nullptr) ::EnableWindow(owner, FALSE);
  MSG msg = {};
  bool quit = false;
  while (::IsWindow(window)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      quit = true;
      break;
    }
    if (msg.hwnd == window && msg.message == WM_CLOSE) {
      result = static_cast<UINT>(msg.wParam);
      if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
      }
    }
    if (!CPaintManagerUI::TranslateUIMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (owner != nullptr) {
    ::EnableWindow(owner, TRUE);
    ::SetFocus(owner);
  }
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

void CWindowWnd::Close(UINT result) {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::PostMessageW(m_hWnd, WM_CLOSE, result, 0);
}

void CWindowWnd::CenterWindow() {
  if (m_hWnd == nullptr) return;
  RECT window = {};
  ::GetWindowRect(m_hWnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT center = work;
  if (owner != nullptr) ::GetWindowRect(owner, &center);
  int x = (center.left + center.right) / 2 - width / 2;
  int y = (center.top + center.bottom) / 2 - height / 2;
  if (x < work.left)
    x = work.left;
  else if (x + width > work.right)
    x = work.right - width;
  if (y < work.top)
    y = work.top;
  else if (y + height > work.bottom)
    y = work.bottom - height;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  if (m_hWnd == nullptr) return;
  RECT rect = {};
  if (!::GetClientRect(m_hWnd, &rect)) return;
  if (cx != -1) rect.right = cx;
  if (cy != -1) rect.bottom = cy;
  const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
  const bool hasMenu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
  if (!::AdjustWindowRectEx(&rect, style, hasMenu, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE))) return;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId) {
  if (m_hWnd == nullptr) return;
  const int cx = RoundUpTo16(::GetSystemMetrics(SM_CXICON));
  const int cy = RoundUpTo16(::GetSystemMetrics(SM_CYICON));
  auto load = [&](int width, int height) {
    return static_cast<HICON>(::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width,
                                           height, LR_DEFAULTCOLOR));
  };
  unique_hicon big(load(cx, cy));
  unique_hicon small(load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  // The window uses the icons until it gets others: the previous ones go once replaced.
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  m_bigIcon = std::move(big);
  m_smallIcon = std::move(small);
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_oldWndProc, m_hWnd, message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = GetWindowClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.lpszClassName = GetWindowClassName();
  return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(nullptr, GetBaseWindowClassName(), &wc) &&
      !::GetClassInfoExW(ModuleInstance(), GetBaseWindowClassName(), &wc))
    return false;
  m_oldWndProc = wc.lpfnWndProc;
  wc.lpfnWndProc = PropertyWindowProc;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = GetWindowClassName();
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CWindowWnd::OnNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcW(m_oldWndProc, window, message, wParam, lParam);
  if (m_bSubclassed) Unsubclass();
  m_hWnd = nullptr;
  m_bigIcon.reset();
  m_smallIcon.reset();
  OnWindowGone(window);
  return result;
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<CWindowWnd*>(create->lpCreateParams);
    if (self != nullptr) {
      self->m_hWnd = window;
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return self->OnNcDestroy(window, message, wParam, lParam);
    }
  }
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::PropertyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<CWindowWnd*>(create->lpCreateParams);
    if (self != nullptr) {
      self->m_hWnd = window;
      ::SetPropW(window, kObjectProperty, self);
    }
  } else {
    self = static_cast<CWindowWnd*>(::GetPropW(window, kObjectProperty));
    if (message == WM_NCDESTROY && self != nullptr) {
      ::RemovePropW(window, kObjectProperty);
      return self->OnNcDestroy(window, message, wParam, lParam);
    }
  }
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace SkinUI
