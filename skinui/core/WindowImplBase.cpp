#include "WindowImplBase.h"

#include <windowsx.h>

#include <cwchar>
#include <cwctype>

#include "ControlUI.h"

namespace SkinUI {
namespace {

constexpr LONG kCaptionBits = 0x00C00000;  // WS_CAPTION = WS_BORDER | WS_DLGFRAME
constexpr LONG kClipBits = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr const wchar_t* kSkinErrorCaption = L"SkinUI";
constexpr const wchar_t* kSkinErrorText = L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25\uff1a";
constexpr UINT kSkinErrorExitCode = 1;
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, newer than the headers' target
constexpr LONG kCaptionToBottom = -1;        // a caption bottom of -1 reaches the client's bottom
constexpr const wchar_t* kCloseButtonName = L"closebtn";
constexpr UINT kCloseButtonSearch = kFindVisible | kFindEnabled | kFindMeFirst;
constexpr const wchar_t* kStaticClasses[] = {
    L"controlui",          L"textui",          L"labelui",      L"containerui",    L"horizontallayoutui",
    L"verticallayoutui",   L"tablayoutui",     L"childlayoutui", L"dialoglayoutui", L"progresscontainerui",
};

bool IsStaticClass(const std::wstring& className) {
  std::wstring lower = className;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
  for (const wchar_t* name : kStaticClasses)
    if (lower == name) return true;
  return false;
}

void ShowControl(CPaintManagerUI& manager, const wchar_t* name, bool visible) {
  CControlUI* control = manager.FindControl(std::wstring(name));
  if (control != nullptr) control->SetVisible(visible);
}

CControlUI* MatchCloseButton(CControlUI* control, void*) {
  return control->GetName().compare(0, std::wcslen(kCloseButtonName), kCloseButtonName) == 0 ? control : nullptr;
}

}  // namespace

SKINUI_BEGIN_NOTIFY_MAP(WindowImplBase, CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnClick)
SKINUI_END_NOTIFY_MAP()

void WindowImplBase::OnClick(TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr) return;
  const std::wstring name = msg.Sender->GetName();
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

bool WindowImplBase::IsStaticControl(CControlUI* control) {
  if (control == nullptr) return false;
  for (CControlUI* walk = control; walk != nullptr; walk = walk->GetParent())
    if (!IsStaticClass(walk->GetClassName())) return false;
  return true;
}

bool WindowImplBase::HandleDefaultKey(WPARAM key) { return key == VK_ESCAPE; }

bool WindowImplBase::ClickCloseButton() {
  CControlUI* root = m_pm.GetRoot();
  CControlUI* button = root != nullptr ? root->FindControl(MatchCloseButton, nullptr, kCloseButtonSearch) : nullptr;
  return button != nullptr && m_pm.PostDefaultAction(button);
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (::IsIconic(m_hWnd)) {
    handled = false;
    return 0;
  }
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ScreenToClient(m_hWnd, &point);
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  if (!::IsZoomed(m_hWnd)) {
    const RECT box = m_pm.GetDpiScaler()->ScaleEdges(m_pm.GetSizeBox());
    if (point.y < client.top + box.top) {
      if (point.x < client.left + box.left) return HTTOPLEFT;
      if (point.x >= client.right - box.right) return HTTOPRIGHT;
      return HTTOP;
    }
    if (point.y >= client.bottom - box.bottom) {
      if (point.x < client.left + box.left) return HTBOTTOMLEFT;
      if (point.x >= client.right - box.right) return HTBOTTOMRIGHT;
      return HTBOTTOM;
    }
    if (point.x < client.left + box.left) return HTLEFT;
    if (point.x >= client.right - box.right) return HTRIGHT;
  }
  const RECT caption = m_pm.GetDpiScaler()->ScaleEdges(m_pm.GetCaptionRect());
  if (point.x < client.left + caption.left || point.x >= client.right - caption.right) return HTCLIENT;
  const LONG captionBottom = m_pm.GetCaptionRect().bottom == kCaptionToBottom ? client.bottom : caption.bottom;
  if (point.y >= caption.top && point.y < captionBottom) {
    if (IsStaticControl(m_pm.FindControl(point))) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool&) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT work = monitor.rcWork;
  if ((monitor.dwFlags & MONITORINFOF_PRIMARY) == 0) ::OffsetRect(&work, -work.left, -work.top);
  info->ptMaxPosition = {work.left, work.top};
  info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
  const SIZE maxInfo = m_pm.ScaleSize(m_pm.GetMaxInfo());
  const SIZE minInfo = m_pm.ScaleSize(m_pm.GetMinInfo());
  info->ptMaxTrackSize.x = maxInfo.cx != 0 ? maxInfo.cx : work.right - work.left;
  info->ptMaxTrackSize.y = maxInfo.cy != 0 ? maxInfo.cy : work.bottom - work.top;
  info->ptMinTrackSize = {minInfo.cx, minInfo.cy};
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
  if (!::IsIconic(m_hWnd)) UpdateRoundRegion();
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, bool&) {
  m_pm.ApplyDpi(LOWORD(wParam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested != nullptr)
    ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The corners change with the scale even where the size does not.
  UpdateRoundRegion();
  return 0;
}

void WindowImplBase::UpdateRoundRegion() {
  RECT window = {};
  ::GetWindowRect(m_hWnd, &window);
  const SIZE corner = m_pm.ScaleSize(m_pm.GetRoundCorner());
  HRGN region = ::CreateRoundRectRgn(0, 0, window.right - window.left + 1, window.bottom - window.top + 1,
                                     corner.cx, corner.cy);
  // The window owns the region once it is set.
  if (region != nullptr && ::SetWindowRgn(m_hWnd, region, TRUE) == 0) ::DeleteObject(region);
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    // Alt+F4 and the taskbar close as the skin's close button does, which may have more to do.
    if (!ClickCloseButton()) ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
  }
  const bool wasZoomed = ::IsZoomed(m_hWnd) != FALSE;
  const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
  if (m_hWnd != nullptr && (::IsZoomed(m_hWnd) != FALSE) != wasZoomed) {
    const bool zoomed = !wasZoomed;
    ShowControl(m_pm, L"maxbtn", !zoomed);
    ShowControl(m_pm, L"restorebtn", zoomed);
  }
  return result;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&) {
  LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
  style = (style & ~kCaptionBits) | kClipBits;
  ::SetWindowLongW(m_hWnd, GWL_STYLE, style);
  m_pm.Init(m_hWnd, GetManagerName());
  m_pm.AddPreMessageFilter(this);
  OnPrepareSkin();
  const std::wstring skinFile = QuerySkinFile();
  const std::wstring skinSource = QuerySkinSource();
  CSkinBuilder builder;
  CControlUI* root = nullptr;
  if (skinSource.empty()) {
    root = builder.Create(skinFile, nullptr, this, &m_pm);
  } else {
    const long id = std::wcstol(skinFile.c_str(), nullptr, 10);
    root = builder.Create(static_cast<UINT>(static_cast<WORD>(id)), skinSource.c_str(), this, &m_pm);
  }
  if (root == nullptr) {
    const std::wstring text = std::wstring(kSkinErrorText) + skinFile;
    ::MessageBoxW(nullptr, text.c_str(), kSkinErrorCaption, MB_OK | MB_ICONERROR);
    ::ExitProcess(kSkinErrorExitCode);
  }
  m_pm.AttachRoot(root);
  m_pm.AddNotifyListener(this);
  OnWindowReady();
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::HandleOtherMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LONG WindowImplBase::GetStyle() { return ::GetWindowLongW(m_hWnd, GWL_STYLE) & ~kCaptionBits; }

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  bool handled = true;
  switch (message) {
    case WM_CREATE: result = OnCreate(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(message, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(message, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(message, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(message, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(message, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(message, wParam, lParam, handled); break;
    case kDpiChangedMessage: result = OnDpiChanged(message, wParam, lParam, handled); break;
    default: handled = false; break;
  }
  if (handled) return result;
  handled = true;
  result = HandleOtherMessage(message, wParam, lParam, handled);
  if (handled) return result;
  if (m_pm.MessageHandler(message, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void WindowImplBase::OnWindowGone(HWND) {
  m_pm.RemovePreMessageFilter(this);
  m_pm.RemoveNotifier(this);
  m_pm.ReleaseDeferredObjects(m_pm.GetRoot());
}

LRESULT WindowImplBase::MessageHandler(UINT message, WPARAM wParam, LPARAM, bool&) {
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    const bool answered = HandleDefaultKey(wParam);
    if (answered && wParam == VK_ESCAPE) ClickCloseButton();
    return answered;
  }
  return 0;
}

}  // namespace SkinUI
