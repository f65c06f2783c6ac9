#include "VerticalLayoutUI.h"

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

  // First pass: what the children with a height need, and how many share the rest.
  int stretchables = 0;
  int fixedTotal = 0;
  int measuredCount = 0;
  int requiredWidth = 0;
  for (CControlUI* child : m_items) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const RECT padding = child->GetPadding();
    const int limitCx = child->GetFixedWidth() < 1 ? child->GetMaxWidth() : child->GetFixedWidth();
    const int limitCy = child->GetFixedHeight() < 1 ? child->GetMaxHeight() : child->GetFixedHeight();
    SIZE measured = child->MeasureSize(
        SIZE{std::min(limitCx, static_cast<int>(available.cx - padding.left - padding.right)),
             std::min(limitCy, static_cast<int>(available.cy))});
    if (measured.cy == 0) {
      ++stretchables;
    } else {
      measured.cy = Clamp(measured.cy, child->GetMinHeight(), child->GetMaxHeight());
    }
    fixedTotal += padding.top + padding.bottom + measured.cy;
    measured.cx = Clamp(std::max(static_cast<int>(measured.cx), 0), child->GetMinWidth(), child->GetMaxWidth());
    requiredWidth = std::max(requiredWidth, static_cast<int>(measured.cx + padding.left + padding.right));
    ++measuredCount;
  }
  if (measuredCount > 0) fixedTotal += (measuredCount - 1) * gap;
  const int share = stretchables > 0 ? std::max(0, (static_cast<int>(available.cy) - fixedTotal) / stretchables) : 0;

  int y = rect.top;
  if (vertical != nullptr) {
    y -= vertical->GetScrollPos();
  } else if (stretchables == 0) {
    if (m_iChildVAlign == kAlignVCenter) {
      y += (available.cy - fixedTotal) / 2;
    } else if (m_iChildVAlign == kAlignBottom) {
      y += available.cy - fixedTotal;
    }
  }

  // Second pass: place them.
  int placed = 0;
  int stretched = 0;
  int fixedRemaining = fixedTotal;
  int remainingCy = available.cy;
  int requiredHeight = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    ++placed;
    const RECT padding = child->GetPadding();
    remainingCy -= padding.top;
    const int limitCx = child->GetFixedWidth() < 1 ? child->GetMaxWidth() : child->GetFixedWidth();
    const int limitCy = child->GetFixedHeight() < 1 ? child->GetMaxHeight() : child->GetFixedHeight();
    const SIZE controlAvailable = {std::min(limitCx, static_cast<int>(available.cx - padding.left - padding.right)),
                                   std::min(limitCy, remainingCy)};
    fixedRemaining -= padding.top + padding.bottom;
    if (placed > 1) fixedRemaining -= gap;
    SIZE size = child->MeasureSize(controlAvailable);
    if (size.cy != 0) {
      size.cy = Clamp(size.cy, child->GetMinHeight(), child->GetMaxHeight());
      fixedRemaining -= size.cy;
    } else {
      ++stretched;
      size.cy = share;
      if (stretched == stretchables) {
        size.cy = std::max(0, remainingCy - static_cast<int>(padding.bottom) - fixedRemaining);
      }
      size.cy = Clamp(size.cy, child->GetMinHeight(), child->GetMaxHeight());
    }
    if (size.cx <= 0) size.cx = available.cx - padding.left - padding.right;
    if (size.cx > controlAvailable.cx) size.cx = controlAvailable.cx;
    if (size.cx < child->GetMinWidth()) size.cx = child->GetMinWidth();

    RECT place;
    place.top = y + padding.top;
    place.bottom = place.top + size.cy;
    if (m_iChildAlign == kAlignCenter) {
      int middle = (rect.left + rect.right) / 2;
      if (horizontal != nullptr) middle += horizontal->GetScrollRange() / 2 - horizontal->GetScrollPos();
      place.left = middle - size.cx / 2;
      place.right = place.left + size.cx;
    } else if (m_iChildAlign == kAlignRight) {
      int right = rect.right;
      if (horizontal != nullptr) right += horizontal->GetScrollRange() - horizontal->GetScrollPos();
      place.right = right - padding.right;
      place.left = place.right - size.cx;
    } else {
      int left = rect.left;
      if (horizontal != nullptr) left -= horizontal->GetScrollPos();
      place.left = left + padding.left;
      place.right = place.left + size.cx;
    }
    child->SetPos(place, false);

    requiredHeight += size.cy + padding.top + padding.bottom;
    y += size.cy + padding.top + padding.bottom + gap;
    remainingCy -= size.cy + padding.bottom + gap;
  }
  if (measuredCount > 0) requiredHeight += (measuredCount - 1) * gap;
  ProcessScrollBar(rect, requiredWidth, requiredHeight);
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
