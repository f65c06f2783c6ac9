#include "HorizontalLayoutUI.h"

#include <algorithm>
#include <cstdlib>

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "ScrollBarUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kAlignCenter = 1;
constexpr UINT kAlignRight = 2;
constexpr UINT kAlignVCenter = 4;
constexpr UINT kAlignBottom = 8;
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
  rect = m_rcItem;
  const RECT inset = GetInset();
  rect.left += inset.left;
  rect.top += inset.top;
  rect.right -= inset.right;
  rect.bottom -= inset.bottom;
  CScrollBarUI* vertical = IsScrollBarShown(m_pVerticalScrollBar.get()) ? m_pVerticalScrollBar.get() : nullptr;
  CScrollBarUI* horizontal = IsScrollBarShown(m_pHorizontalScrollBar.get()) ? m_pHorizontalScrollBar.get() : nullptr;
  if (vertical != nullptr) rect.right -= vertical->GetFixedWidth();
  if (horizontal != nullptr) rect.bottom -= horizontal->GetFixedHeight();
  if (m_items.empty()) {
    ProcessScrollBar(rect, 0, 0);
    return;
  }

  SIZE available = {rect.right - rect.left, rect.bottom - rect.top};
  if (horizontal != nullptr) available.cx += horizontal->GetScrollRange();
  if (vertical != nullptr) available.cy += vertical->GetScrollRange();
  const int gap = GetChildPadding();

  // First pass: what the children with a width need, and how many share the rest.
  int stretchables = 0;
  int fixedTotal = 0;
  int measuredCount = 0;
  int requiredHeight = 0;
  for (CControlUI* child : m_items) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const RECT padding = child->GetPadding();
    const int limitCx = child->GetFixedWidth() < 1 ? child->GetMaxWidth() : child->GetFixedWidth();
    const int limitCy = child->GetFixedHeight() < 1 ? child->GetMaxHeight() : child->GetFixedHeight();
    SIZE measured = child->MeasureSize(
        SIZE{std::min(limitCx, static_cast<int>(available.cx)),
             std::min(limitCy, static_cast<int>(available.cy - padding.top - padding.bottom))});
    if (measured.cx == 0) {
      ++stretchables;
    } else {
      measured.cx = Clamp(measured.cx, child->GetMinWidth(), child->GetMaxWidth());
    }
    fixedTotal += padding.left + padding.right + measured.cx;
    measured.cy = Clamp(std::max(static_cast<int>(measured.cy), 0), child->GetMinHeight(), child->GetMaxHeight());
    requiredHeight = std::max(requiredHeight, static_cast<int>(measured.cy + padding.top + padding.bottom));
    ++measuredCount;
  }
  if (measuredCount > 0) fixedTotal += (measuredCount - 1) * gap;
  const int share = stretchables > 0 ? std::max(0, (static_cast<int>(available.cx) - fixedTotal) / stretchables) : 0;

  int x = rect.left;
  if (horizontal != nullptr) {
    x -= horizontal->GetScrollPos();
  } else if (stretchables == 0) {
    if (m_iChildAlign == kAlignCenter) {
      x += (available.cx - fixedTotal) / 2;
    } else if (m_iChildAlign == kAlignRight) {
      x += available.cx - fixedTotal;
    }
  }

  // Second pass: place them.
  int placed = 0;
  int stretched = 0;
  int fixedRemaining = fixedTotal;
  int remainingCx = available.cx;
  int requiredWidth = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    ++placed;
    const RECT padding = child->GetPadding();
    remainingCx -= padding.left;
    const int limitCx = child->GetFixedWidth() < 1 ? child->GetMaxWidth() : child->GetFixedWidth();
    const int limitCy = child->GetFixedHeight() < 1 ? child->GetMaxHeight() : child->GetFixedHeight();
    const SIZE controlAvailable = {std::min(limitCx, remainingCx),
                                   std::min(limitCy, static_cast<int>(available.cy - padding.top - padding.bottom))};
    fixedRemaining -= padding.left + padding.right;
    if (placed > 1) fixedRemaining -= gap;
    SIZE size = child->MeasureSize(controlAvailable);
    if (size.cx != 0) {
      size.cx = Clamp(size.cx, child->GetMinWidth(), child->GetMaxWidth());
      fixedRemaining -= size.cx;
    } else {
      ++stretched;
      size.cx = share;
      if (stretched == stretchables) {
        size.cx = std::max(0, remainingCx - static_cast<int>(padding.right) - fixedRemaining);
      }
      size.cx = Clamp(size.cx, child->GetMinWidth(), child->GetMaxWidth());
    }
    // Across the stacking axis the measured height is not used.
    size.cy = child->GetMaxHeight();
    if (size.cy == 0) size.cy = available.cy - padding.top - padding.bottom;
    if (size.cy < 0) size.cy = 0;
    if (size.cy > controlAvailable.cy) size.cy = controlAvailable.cy;
    if (size.cy < child->GetMinHeight()) size.cy = child->GetMinHeight();

    RECT place;
    place.left = x + padding.left;
    place.right = place.left + size.cx;
    if (m_iChildVAlign == kAlignVCenter) {
      int middle = (rect.top + rect.bottom) / 2;
      if (vertical != nullptr) middle += vertical->GetScrollRange() / 2 - vertical->GetScrollPos();
      place.top = middle - size.cy / 2;
      place.bottom = place.top + size.cy;
    } else if (m_iChildVAlign == kAlignBottom) {
      int bottom = rect.bottom;
      if (vertical != nullptr) bottom += vertical->GetScrollRange() - vertical->GetScrollPos();
      place.bottom = bottom - padding.bottom;
      place.top = place.bottom - size.cy;
    } else {
      int top = rect.top;
      if (vertical != nullptr) top -= vertical->GetScrollPos();
      place.top = top + padding.top;
      place.bottom = place.top + size.cy;
    }
    child->SetPos(place, false);

    requiredWidth += size.cx + padding.left + padding.right;
    x += size.cx + padding.left + padding.right + gap;
    remainingCx -= size.cx + padding.right + gap;
  }
  if (measuredCount > 0) requiredWidth += (measuredCount - 1) * gap;
  ProcessScrollBar(rect, requiredWidth, requiredHeight);
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
