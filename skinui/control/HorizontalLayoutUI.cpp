#include "HorizontalLayoutUI.h"

#include <algorithm>
#include <cstdlib>

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr uint32_t kSeparatorOverlay = 0xAA000000u;
constexpr WORD kResizeEastWest = 32644;
constexpr int kFullScale = 100;

int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

}  // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI() = default;

CHorizontalLayoutUI::~CHorizontalLayoutUI() {
  if (m_bDragging && !m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
}

std::wstring CHorizontalLayoutUI::GetClassName() const { return L"HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"HorizontalLayout")) return this;
  return CContainerUI::GetInterface(typeName);
}

UINT CHorizontalLayoutUI::GetFlags() const { return IsEnabled() && m_iSepWidth != 0 ? kFlagSetCursor : 0; }

void CHorizontalLayoutUI::SetPos(RECT rect, bool invalidate) {
  CControlUI::SetPos(rect, invalidate);
  SetLinePos(true);
}

void CHorizontalLayoutUI::HandleEvent(TControlEventUI& event) {
  if (m_iSepWidth != 0) {
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
      const int dx = event.MousePoint.x - m_ptDragStart.x;
      if (m_iSepWidth > 0) {
        moved.right = Clamp(moved.right + dx, moved.left + GetMinWidth(), moved.left + GetMaxWidth());
      } else {
        moved.left = Clamp(moved.left + dx, moved.right - GetMaxWidth(), moved.right - GetMinWidth());
      }
      // The band stays inside the parent.
      if (m_pParent != nullptr) {
        const RECT& outer = m_pParent->GetPos();
        if (moved.right > outer.right) moved.right = outer.right;
        if (moved.left < outer.left) moved.left = outer.left;
      }
      RECT invalid = GetThumbRect(true);
      m_rcNewPos = moved;
      const int scale = m_pManager != nullptr ? m_pManager->GetDpiScale() : kFullScale;
      m_cxyFixed.cx = ::MulDiv(moved.right - moved.left, kFullScale, scale);
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
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(kResizeEastWest)));
        return;
      }
    }
  }
  CContainerUI::HandleEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"sepwidth")) {
    SetSepWidth(attr::ParseInt(value));
  } else if (attr::EqualsNoCase(name, L"sepimm")) {
    SetSepImmMode(attr::ParseBool(value));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CHorizontalLayoutUI::PaintOverlay(HDC dc, const RECT& /*paint*/) {
  if (!m_bDragging || m_bImmMode) return;
  CSkinRender::DrawColor(dc, GetThumbRect(true), kSeparatorOverlay);
}

int CHorizontalLayoutUI::GetSepWidth() const { return Scale(m_iSepWidth); }
void CHorizontalLayoutUI::SetSepWidth(int width) { m_iSepWidth = width; }

RECT CHorizontalLayoutUI::GetThumbRect(bool dragged) const {
  const RECT& r = dragged && m_bDragging ? m_rcNewPos : m_rcItem;
  const int band = std::abs(GetSepWidth());
  if (m_iSepWidth >= 0) return RECT{std::max(r.right - band, r.left), r.top, r.right, r.bottom};
  return RECT{r.left, r.top, std::min(r.left + band, r.right), r.bottom};
}

}  // namespace SkinUI
