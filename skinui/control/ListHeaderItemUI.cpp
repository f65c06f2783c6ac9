#include "ListHeaderItemUI.h"

#include <algorithm>

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr int kFullScale = 100;
constexpr int kMinColumnWidth = 8;

using Attributes = CAttributeTableUI<CListHeaderItemUI>;
const Attributes::Entry kHeaderItemAttributes[] = {
    {L"dragable", Attributes::Bool<&CListHeaderItemUI::SetDragable>},
    {L"sepwidth", Attributes::Int<&CListHeaderItemUI::SetSepWidth>},
    {L"normalimage", Attributes::Text<&CListHeaderItemUI::SetNormalImage>},
    {L"hotimage", Attributes::Text<&CListHeaderItemUI::SetHotImage>},
    {L"pushedimage", Attributes::Text<&CListHeaderItemUI::SetPushedImage>},
    {L"sepimage", Attributes::Text<&CListHeaderItemUI::SetSepImage>},
};

}  // namespace

CListHeaderItemUI::CListHeaderItemUI() { m_uTextStyle = kStyleCenter | kStyleVCenter | kStyleSingleLine; }
CListHeaderItemUI::~CListHeaderItemUI() = default;

std::wstring CListHeaderItemUI::GetClassName() const { return L"ListHeaderItemUI"; }

void* CListHeaderItemUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListHeaderItem")) return this;
  return CLabelUI::GetInterface(typeName);
}

UINT CListHeaderItemUI::GetFlags() const { return IsEnabled() && m_iSepWidth != 0 ? kFlagSetCursor : 0; }

void CListHeaderItemUI::SetEnabled(bool enable) {
  CLabelUI::SetEnabled(enable);
  if (!enable) m_bHot = m_bPushed = m_bDragging = false;
}

int CListHeaderItemUI::GetSepWidth() const { return Scale(m_iSepWidth); }

void CListHeaderItemUI::SetSepWidth(int width) { m_iSepWidth = std::max(width, 0); }

void CListHeaderItemUI::SetNormalImage(const std::wstring& image) {
  m_sNormalImage = image;
  Invalidate();
}

void CListHeaderItemUI::SetHotImage(const std::wstring& image) {
  m_sHotImage = image;
  Invalidate();
}

void CListHeaderItemUI::SetPushedImage(const std::wstring& image) {
  m_sPushedImage = image;
  Invalidate();
}

void CListHeaderItemUI::SetSepImage(const std::wstring& image) {
  m_sSepImage = image;
  Invalidate();
}

RECT CListHeaderItemUI::GetSepRect() const {
  return RECT{m_rcItem.right - GetSepWidth(), m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

void CListHeaderItemUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) m_pParent->HandleEvent(event);
    return;
  }
  const RECT sep = GetSepRect();
  switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      if (!IsEnabled()) return;
      if (m_bDragable && ::PtInRect(&sep, event.MousePoint)) {
        m_bDragging = true;
        m_ptDragStart = event.MousePoint;
        m_nDragStartWidth = m_rcItem.right - m_rcItem.left;
      } else {
        m_bPushed = true;
      }
      Invalidate();
      return;
    case UIEvent::MouseMove:
      if (m_bDragging) {
        const int width = std::max(m_nDragStartWidth + static_cast<int>(event.MousePoint.x - m_ptDragStart.x), kMinColumnWidth);
        const int scale = m_pManager != nullptr ? m_pManager->GetDpiScale() : kFullScale;
        SetFixedWidth(std::max(1, ::MulDiv(width, kFullScale, scale)));
      }
      return;
    case UIEvent::ButtonUp:
      if (m_bDragging) {
        m_bDragging = false;
        NeedParentLayout();
      } else if (m_bPushed) {
        m_bPushed = false;
        Invalidate();
        if (::PtInRect(&m_rcItem, event.MousePoint)) Notify(L"headerclick");
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
    case UIEvent::SetCursor:
      if (IsEnabled() && m_bDragable && ::PtInRect(&sep, event.MousePoint)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CListHeaderItemUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kHeaderItemAttributes, *this, name, value)) CLabelUI::SetAttribute(name, value);
}

void CListHeaderItemUI::PaintStateImage(HDC dc) {
  const std::wstring* image = &m_sNormalImage;
  if (m_bPushed && !m_sPushedImage.empty()) {
    image = &m_sPushedImage;
  } else if (m_bHot && !m_sHotImage.empty()) {
    image = &m_sHotImage;
  }
  if (!image->empty()) DrawImage(dc, *image);
  if (!m_sSepImage.empty()) {
    const RECT sep = GetSepRect();
    const RECT& item = m_rcItem;
    const std::wstring dest = L"dest='" + std::to_wstring(sep.left - item.left) + L",0," +
                              std::to_wstring(sep.right - item.left) + L"," + std::to_wstring(item.bottom - item.top) +
                              L"'";
    DrawImage(dc, m_sSepImage, dest);
  }
}

}  // namespace SkinUI
