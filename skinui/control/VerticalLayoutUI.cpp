#include "VerticalLayoutUI.h"

#include <algorithm>
#include <cstdlib>

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr uint32_t kSeparatorOverlay = 0xAA000000u;
constexpr WORD kResizeNorthSouth = 32645;
constexpr int kFullScale = 100;

int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

}  // namespace

CVerticalLayoutUI::CVerticalLayoutUI() = default;

CVerticalLayoutUI::~CVerticalLayoutUI() {
  if (m_bDragging && !m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
}

std::wstring CVerticalLayoutUI::GetClassName() const { return L"VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"VerticalLayout")) return this;
  return CContainerUI::GetInterface(typeName);
}

UINT CVerticalLayoutUI::GetFlags() const { return IsEnabled() && m_iSepHeight != 0 ? kFlagSetCursor : 0; }

void CVerticalLayoutUI::SetPos(RECT rect, bool invalidate) {
  CControlUI::SetPos(rect, invalidate);
  SetLinePos(false);
}

void CVerticalLayoutUI::HandleEvent(TControlEventUI& event) {
  if (m_iSepHeight != 0) {
    if ((event.Type == UIEvent::ButtonDown || event.Type == UIEvent::DoubleClick) && IsEnabled()) {
      const RECT thumb = GetThumbRect(false);
      if (::PtInRect(&thumb, event.MousePoint)) {
        m_bDragging = true;
        m_ptDragStart = event.MousePoint;
        m_rcDragStart = m_rcItem;
        m_rcNewPos = m_rcItem;
        if (!m_bImmMode && m_pManager != nullptr) m_pManager->AddPostPaint(this);
        return;
      }
    }
    if (event.Type == UIEvent::ButtonUp && m_bDragging) {
      m_bDragging = false;
      if (!m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
      m_rcItem = m_rcNewPos;
      NeedParentLayout();
      return;
    }
    if (event.Type == UIEvent::MouseMove && m_bDragging) {
      RECT moved = m_rcDragStart;
      const int dy = event.MousePoint.y - m_ptDragStart.y;
      if (m_iSepHeight > 0) {
        moved.bottom = Clamp(moved.bottom + dy, moved.top + GetMinHeight(), moved.top + GetMaxHeight());
      } else {
        moved.top = Clamp(moved.top + dy, moved.bottom - GetMaxHeight(), moved.bottom - GetMinHeight());
      }
      // The band stays inside the parent.
      if (m_pParent != nullptr) {
        const RECT& outer = m_pParent->GetPos();
        if (moved.bottom > outer.bottom) moved.bottom = outer.bottom;
        if (moved.top < outer.top) moved.top = outer.top;
      }
      RECT invalid = GetThumbRect(true);
      m_rcNewPos = moved;
      const int scale = m_pManager != nullptr ? m_pManager->GetDpiScale() : kFullScale;
      m_cxyFixed.cy = ::MulDiv(moved.bottom - moved.top, kFullScale, scale);
      if (m_bImmMode) {
        m_rcItem = m_rcNewPos;
        NeedParentLayout();
      } else if (m_pManager != nullptr) {
        const RECT newThumb = GetThumbRect(true);
        ::UnionRect(&invalid, &invalid, &newThumb);
        m_pManager->Invalidate(invalid);
      }
      return;
    }
    if (event.Type == UIEvent::SetCursor) {
      const RECT thumb = GetThumbRect(false);
      if (IsEnabled() && ::PtInRect(&thumb, event.MousePoint)) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(kResizeNorthSouth)));
        return;
      }
    }
  }
  CContainerUI::HandleEvent(event);
}

void CVerticalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"sepheight")) {
    SetSepHeight(attr::ParseInt(value));
  } else if (attr::EqualsNoCase(name, L"sepimm")) {
    SetSepImmMode(attr::ParseBool(value));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CVerticalLayoutUI::PaintOverlay(HDC dc, const RECT& /*paint*/) {
  if (!m_bDragging || m_bImmMode) return;
  CSkinRender::DrawColor(dc, GetThumbRect(true), kSeparatorOverlay);
}

int CVerticalLayoutUI::GetSepHeight() const { return Scale(m_iSepHeight); }
void CVerticalLayoutUI::SetSepHeight(int height) { m_iSepHeight = height; }

RECT CVerticalLayoutUI::GetThumbRect(bool dragged) const {
  const RECT& r = dragged && m_bDragging ? m_rcNewPos : m_rcItem;
  const int band = std::abs(GetSepHeight());
  if (m_iSepHeight >= 0) return RECT{r.left, std::max(r.bottom - band, r.top), r.right, r.bottom};
  return RECT{r.left, r.top, r.right, std::min(r.top + band, r.bottom)};
}

}  // namespace SkinUI
