#include "ComboWnd.h"

#include <algorithm>

#include "ComboUI.h"
#include "ListUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {

namespace {

constexpr int kMaxFittedHeight = 150;
constexpr int kBorderHeight = 2;
constexpr uint32_t kDefaultDropBoxColor = 0xFFFFFFFF;
constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kPopupExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

void CopyFont(CPaintManagerUI& from, CPaintManagerUI& to, int id) {
  if (id < 0) return;
  const TFontDataUI* font = from.GetFontInfo(id);
  if (font != nullptr) to.AddFont(id, font->faceName, font->size, font->bold, font->underline, font->italic);
}

}  // namespace

CComboWnd* CComboWnd::Open(CComboUI* owner) {
  CPaintManagerUI* ownerManager = owner->GetManager();
  if (ownerManager == nullptr || ownerManager->GetPaintWindow() == nullptr) return nullptr;
  auto* popup = new CComboWnd(owner);
  // The window is made before any of its messages could delete the object: a failed creation
  // leaves it to be deleted here.
  if (popup->Create(ownerManager->GetPaintWindow(), nullptr, kPopupStyle, kPopupExStyle, popup->PopupRect()) ==
      nullptr) {
    delete popup;
    return nullptr;
  }
  popup->ShowWindow(true, true);
  ::SetFocus(popup->GetHWND());
  return popup;
}

RECT CComboWnd::PopupRect() const {
  CPaintManagerUI* ownerManager = m_pOwner->GetManager();
  const RECT& face = m_pOwner->GetPos();
  const SIZE box = m_pOwner->GetDropBoxSize();
  const int width = box.cx > 0 ? ownerManager->ScaleValue(box.cx) : face.right - face.left;
  int height = 0;
  if (box.cy > 0) {
    height = ownerManager->ScaleValue(box.cy);
  } else {
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
      CControlUI* row = m_pOwner->GetItemAt(i);
      if (row->IsVisible()) height += row->GetFixedHeight();
    }
    height = std::min(height + kBorderHeight, ownerManager->ScaleValue(kMaxFittedHeight));
  }
  POINT origin = {face.left, face.bottom};
  ::ClientToScreen(ownerManager->GetPaintWindow(), &origin);
  RECT rect = {origin.x, origin.y, origin.x + width, origin.y + height};
  // Above the combo when there is no room below it.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor) &&
      rect.bottom > monitor.rcWork.bottom) {
    const int faceHeight = face.bottom - face.top;
    ::OffsetRect(&rect, 0, -(height + faceHeight));
  }
  return rect;
}

void CComboWnd::BuildLayout() {
  CPaintManagerUI& ownerManager = *m_pOwner->GetManager();
  m_pm.Init(m_hWnd);
  // The rows draw at the owner window's scale, with its fonts and colours.
  m_pm.GetDpiScaler()->SetAwareness(ownerManager.GetDpiScaler()->GetAwareness());
  m_pm.GetDpiScaler()->SetScale(ownerManager.GetDpiScale());
  if (const TFontDataUI* font = ownerManager.GetDefaultFontInfo()) {
    m_pm.SetDefaultFont(font->faceName, font->size, font->bold, font->underline, font->italic);
  }
  m_pm.SetDefaultFontColor(ownerManager.GetDefaultFontColor());
  m_pm.SetDefaultDisabledColor(ownerManager.GetDefaultDisabledColor());
  CopyFont(ownerManager, m_pm, m_pOwner->GetListInfo()->font);
  if (const std::wstring* bar = ownerManager.GetDefaultAttributeList(L"VScrollBar")) {
    m_pm.AddDefaultAttributeList(L"VScrollBar", *bar);
  }

  m_pLayout = new CVerticalLayoutUI();
  m_pLayout->SetBkColor(kDefaultDropBoxColor);
  m_pLayout->SetAutoDelete(false);
  if (!m_pOwner->GetDropBoxAttributeList().empty()) m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
  for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pLayout->Add(m_pOwner->GetItemAt(i));
  m_pm.AttachRoot(m_pLayout);
  m_pLayout->EnableScrollBar(true, false);
}

void CComboWnd::GiveRowsBack() {
  if (m_pLayout == nullptr) return;
  m_pLayout->RemoveAll();
  for (int i = 0; i < m_pOwner->GetCount(); ++i) {
    m_pOwner->GetItemAt(i)->SetManager(m_pOwner->GetManager(), m_pOwner, false);
  }
}

void CComboWnd::EnsureVisible(int index) {
  if (m_pLayout != nullptr) CListUI::ScrollRowIntoView(*m_pLayout, m_pLayout->GetItemAt(index));
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      BuildLayout();
      return 0;
    case WM_KILLFOCUS:
      // Focus that goes elsewhere (a click outside, another window) closes the popup.
      if (reinterpret_cast<HWND>(wParam) != m_hWnd) Close();
      break;
    case WM_KEYDOWN: {
      // Keys belong to the combo, whatever row has the popup's focus.
      TControlEventUI event;
      event.Type = UIEvent::KeyDown;
      event.Sender = m_pOwner;
      event.Timestamp = ::GetTickCount();
      event.Key = static_cast<wchar_t>(wParam);
      event.WParam = wParam;
      event.LParam = lParam;
      m_pOwner->DoEvent(event);
      return 0;
    }
    default:
      break;
  }
  LRESULT result = 0;
  if (m_pm.MessageHandler(message, wParam, lParam, result)) return result;
  // The window may be destroyed (and this object deleted) in here: nothing follows.
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CComboWnd::OnWindowGone(HWND /*window*/) {
  GiveRowsBack();
  CComboUI* owner = m_pOwner;
  delete this;
  owner->OnDropWindowGone();
}

}  // namespace SkinUI
