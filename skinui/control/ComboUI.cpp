#include "ComboUI.h"

#include <oleacc.h>

#include <algorithm>

#include "AttributeTableUI.h"
#include "ComboWnd.h"
#include "ListElementUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {

namespace {

constexpr WORD kWheelUp = 0;
constexpr const wchar_t* kOpenAction = L"打开";
constexpr UINT kFaceTextStyle = kStyleVCenter | kStyleSingleLine | kStyleEndEllipsis;

using Attributes = CAttributeTableUI<CComboUI>;
const Attributes::Entry kComboAttributes[] = {
    {L"normalimage", Attributes::Text<&CComboUI::SetNormalImage>},
    {L"hotimage", Attributes::Text<&CComboUI::SetHotImage>},
    {L"pushedimage", Attributes::Text<&CComboUI::SetPushedImage>},
    {L"focusedimage", Attributes::Text<&CComboUI::SetFocusedImage>},
    {L"disabledimage", Attributes::Text<&CComboUI::SetDisabledImage>},
    {L"textpadding", Attributes::Rect<&CComboUI::SetTextPadding>},
    {L"textcolor", Attributes::Color<&CComboUI::SetTextColor>},
    {L"font", Attributes::Int<&CComboUI::SetFont>},
    {L"dropboxsize", Attributes::Size<&CComboUI::SetDropBoxSize>},
    {L"dropbox", Attributes::Text<&CComboUI::SetDropBoxAttributeList>},
    {L"selectedid", [](CComboUI& combo, const std::wstring& v) { combo.SelectItem(attr::ParseInt(v)); }},
};

}  // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
  // The popup gives the rows back as its window goes, before the container deletes them.
  if (m_pWindow != nullptr) ::DestroyWindow(m_pWindow->GetHWND());
}

std::wstring CComboUI::GetClassName() const { return L"ComboUI"; }

void* CComboUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Combo")) return this;
  if (attr::EqualsNoCase(typeName, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::GetInterface(typeName);
}

UINT CComboUI::GetFlags() const {
  if (!IsEnabled()) return 0;
  return kFlagSetCursor | (IsKeyboardEnabled() ? kFlagTabStop : 0);
}

bool CComboUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pWindow != nullptr) return true;
  m_pWindow = CComboWnd::Open(this);
  if (m_pWindow == nullptr) return false;
  m_pWindow->EnsureVisible(m_iCurSel);
  Invalidate();
  Notify(L"dropdown");
  return true;
}

void CComboUI::SetEnabled(bool enable) {
  // The face is what is disabled; the rows keep their own state (and a selection can be set).
  CControlUI::SetEnabled(enable);
  if (!enable) {
    m_bHot = m_bPushed = false;
    CloseDropDown();
  }
}

std::wstring CComboUI::GetText() const {
  CControlUI* selected = GetItemAt(m_iCurSel);
  return selected != nullptr ? selected->GetText() : CContainerUI::GetText();
}

void CComboUI::SetPos(RECT rect, bool invalidate) {
  // The rows are laid out in the popup, never on the face.
  CControlUI::SetPos(rect, invalidate);
}

CControlUI* CComboUI::FindControl(FindControlProc proc, void* data, UINT flags) {
  // The face is one control: hit tests and searches for what is shown (the tab order) stop at
  // the combo. Other searches still see the rows (the name table).
  if ((flags & (kFindHitTest | kFindVisible)) != 0) return CControlUI::FindControl(proc, data, flags);
  return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) m_pParent->HandleEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEvent::SetFocus:
    case UIEvent::KillFocus:
      m_bFocused = event.Type == UIEvent::SetFocus;
      Invalidate();
      return;
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      if (IsEnabled()) {
        m_bPushed = true;
        Activate();
        Invalidate();
      }
      return;
    case UIEvent::ButtonUp:
      if (m_bPushed) {
        m_bPushed = false;
        Invalidate();
      }
      return;
    case UIEvent::MouseEnter:
      if (IsEnabled()) {
        m_bHot = true;
        Invalidate();
      }
      return;
    case UIEvent::MouseLeave:
      if (m_bHot) {
        m_bHot = false;
        Invalidate();
      }
      return;
    case UIEvent::KeyDown:
      if (!IsEnabled()) return;
      if (event.Key == VK_SPACE || event.Key == VK_RETURN || event.Key == VK_F4) {
        Activate();
      } else {
        DoEvent(event);
      }
      return;
    case UIEvent::ScrollWheel:
      if (IsEnabled()) DoEvent(event);
      return;
    case UIEvent::MouseMove:
      return;
    default:
      break;
  }
  CControlUI::HandleEvent(event);
}

void CComboUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (SetListInfoAttribute(m_listInfo, name, value)) return;
  if (!Attributes::Apply(kComboAttributes, *this, name, value)) CContainerUI::SetAttribute(name, value);
}

bool CComboUI::PaintContent(HDC dc, const RECT& paint, CControlUI* stopControl) {
  // The face only: the rows are painted in the popup.
  return CControlUI::PaintContent(dc, paint, stopControl);
}

void CComboUI::PaintStateImage(HDC dc) {
  const std::wstring* image = nullptr;
  if (!IsEnabled()) {
    image = &m_sDisabledImage;
  } else if (m_bPushed || m_pWindow != nullptr) {
    image = &m_sPushedImage;
  } else if (m_bHot) {
    image = &m_sHotImage;
  } else if (IsFocused()) {
    image = &m_sFocusedImage;
  }
  if (image != nullptr && !image->empty() && DrawImage(dc, *image)) return;
  if (!m_sNormalImage.empty()) DrawImage(dc, m_sNormalImage);
}

void CComboUI::PaintText(HDC dc) {
  const std::wstring text = GetText();
  if (text.empty() || m_pManager == nullptr) return;
  RECT rect = GetTextArea();
  uint32_t color = m_dwTextColor != 0 ? m_dwTextColor : m_listInfo.textColor;
  if (!IsEnabled()) {
    color = m_listInfo.disabledTextColor != 0 ? m_listInfo.disabledTextColor : m_pManager->GetDefaultDisabledColor();
  } else if (color == 0) {
    color = m_pManager->GetDefaultFontColor();
  }
  CSkinRender::DrawText(dc, m_pManager, rect, text, color, m_iFont >= 0 ? m_iFont : m_listInfo.font, kFaceTextStyle);
}

bool CComboUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (IListItemUI* item = CListElementUI::ItemOf(control)) item->SetOwner(this);
  if (m_iCurSel >= index) ++m_iCurSel;
  CListElementUI::Renumber(*this, index);
  return true;
}

bool CComboUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  CloseDropDown();
  if (index == m_iCurSel) {
    m_iCurSel = -1;
  } else if (index < m_iCurSel) {
    --m_iCurSel;
  }
  CContainerUI::Remove(control);
  CListElementUI::Renumber(*this, index);
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  CloseDropDown();
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  Invalidate();
}

bool CComboUI::SelectItem(int index, bool /*takeFocus*/) {
  const int old = m_iCurSel;
  if (!CListElementUI::MoveSelection(*this, m_iCurSel, index)) return false;
  if (m_iCurSel == old) return true;
  if (m_pWindow != nullptr) m_pWindow->EnsureVisible(index);
  Invalidate();
  NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE);
  Notify(L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}

bool CComboUI::IsAccessibleElement() const { return true; }

DWORD CComboUI::GetAccessibleRole() const { return ROLE_SYSTEM_COMBOBOX; }

std::wstring CComboUI::GetAccessibleName() const { return GetAccessibleLabel(); }

DWORD CComboUI::GetAccessibleState() const {
  return CContainerUI::GetAccessibleState() | STATE_SYSTEM_HASPOPUP |
         (IsDropped() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
}

std::wstring CComboUI::GetAccessibleValue() const {
  CControlUI* selected = GetItemAt(m_iCurSel);
  return selected != nullptr ? selected->GetText() : std::wstring();
}

std::wstring CComboUI::GetAccessibleDefaultAction() const { return IsDropped() ? std::wstring() : kOpenAction; }

void CComboUI::DoEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::ScrollWheel) {
    const bool up = LOWORD(event.WParam) == kWheelUp;
    if (m_pWindow != nullptr && m_pWindow->GetLayout() != nullptr) {
      up ? m_pWindow->GetLayout()->LineUp() : m_pWindow->GetLayout()->LineDown();
    } else {
      SelectItem(FindSelectable(m_iCurSel + (up ? -1 : 1), !up));
    }
    return;
  }
  if (event.Type != UIEvent::KeyDown) return;
  const int last = GetCount() - 1;
  switch (event.Key) {
    case VK_UP: SelectItem(FindSelectable(m_iCurSel - 1, false)); return;
    case VK_DOWN: SelectItem(FindSelectable(m_iCurSel + 1, true)); return;
    case VK_HOME:
    case VK_PRIOR: SelectItem(FindSelectable(0, true)); return;
    case VK_END:
    case VK_NEXT: SelectItem(FindSelectable(last, false)); return;
    case VK_RETURN:
    case VK_ESCAPE: CloseDropDown(); return;
    default: return;
  }
}

void CComboUI::OnItemClick(int /*index*/) { CloseDropDown(); }

void CComboUI::OnItemActivate(int /*index*/) { CloseDropDown(); }

void CComboUI::CloseDropDown() {
  if (m_pWindow != nullptr) m_pWindow->Close();
}

void CComboUI::OnDropWindowGone() {
  m_pWindow = nullptr;
  m_bPushed = false;
  Invalidate();
}

RECT CComboUI::GetTextArea() const {
  RECT rect = m_rcItem;
  const RECT padding = GetTextPadding();
  rect.left += padding.left;
  rect.top += padding.top;
  rect.right -= padding.right;
  rect.bottom -= padding.bottom;
  return rect;
}

RECT CComboUI::GetTextPadding() const { return Scale(m_rcTextPadding); }

void CComboUI::SetTextPadding(RECT padding) {
  m_rcTextPadding = padding;
  Invalidate();
}

void CComboUI::SetTextColor(uint32_t color) {
  m_dwTextColor = color;
  Invalidate();
}

void CComboUI::SetFont(int font) {
  m_iFont = font;
  Invalidate();
}

void CComboUI::SetNormalImage(const std::wstring& image) {
  m_sNormalImage = image;
  Invalidate();
}

void CComboUI::SetHotImage(const std::wstring& image) {
  m_sHotImage = image;
  Invalidate();
}

void CComboUI::SetPushedImage(const std::wstring& image) {
  m_sPushedImage = image;
  Invalidate();
}

void CComboUI::SetFocusedImage(const std::wstring& image) {
  m_sFocusedImage = image;
  Invalidate();
}

void CComboUI::SetDisabledImage(const std::wstring& image) {
  m_sDisabledImage = image;
  Invalidate();
}

}  // namespace SkinUI
