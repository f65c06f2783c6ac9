// The line layout the vertical and horizontal layouts share: children stacked along one axis,
// each placed across the other. Written once for a "main" axis (the stacking one) and a "cross"
// axis; the vertical layout stacks along y, the horizontal one along x.

#include <algorithm>

#include "ContainerUI.h"
#include "ScrollBarUI.h"

namespace SkinUI {
namespace {

constexpr UINT kAlignCenter = 1;
constexpr UINT kAlignRight = 2;
constexpr UINT kAlignVCenter = 4;
constexpr UINT kAlignBottom = 8;

int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

// Reads and writes the coordinates of one orientation.
struct Axis {
  bool horizontal;

  LONG& Main(SIZE& s) const { return horizontal ? s.cx : s.cy; }
  LONG& Cross(SIZE& s) const { return horizontal ? s.cy : s.cx; }
  LONG& Start(RECT& r) const { return horizontal ? r.left : r.top; }
  LONG& End(RECT& r) const { return horizontal ? r.right : r.bottom; }
  LONG& CrossStart(RECT& r) const { return horizontal ? r.top : r.left; }
  LONG& CrossEnd(RECT& r) const { return horizontal ? r.bottom : r.right; }
  SIZE Make(int main, int cross) const { return horizontal ? SIZE{main, cross} : SIZE{cross, main}; }

  int MinMain(CControlUI* c) const { return horizontal ? c->GetMinWidth() : c->GetMinHeight(); }
  int MaxMain(CControlUI* c) const { return horizontal ? c->GetMaxWidth() : c->GetMaxHeight(); }
  int MinCross(CControlUI* c) const { return horizontal ? c->GetMinHeight() : c->GetMinWidth(); }
  int MaxCross(CControlUI* c) const { return horizontal ? c->GetMaxHeight() : c->GetMaxWidth(); }
  // The fixed size, or the maximum where there is none.
  int LimitMain(CControlUI* c) const {
    const int fixed = horizontal ? c->GetFixedWidth() : c->GetFixedHeight();
    return fixed < 1 ? MaxMain(c) : fixed;
  }
  int LimitCross(CControlUI* c) const {
    const int fixed = horizontal ? c->GetFixedHeight() : c->GetFixedWidth();
    return fixed < 1 ? MaxCross(c) : fixed;
  }
};

}  // namespace

void CContainerUI::SetLinePos(bool horizontal) {
  const Axis axis{horizontal};
  RECT rect = m_rcItem;
  const RECT inset = GetInset();
  rect.left += inset.left;
  rect.top += inset.top;
  rect.right -= inset.right;
  rect.bottom -= inset.bottom;
  CScrollBarUI* vertical = IsScrollBarShown(m_pVerticalScrollBar.get()) ? m_pVerticalScrollBar.get() : nullptr;
  CScrollBarUI* horizontalBar =
      IsScrollBarShown(m_pHorizontalScrollBar.get()) ? m_pHorizontalScrollBar.get() : nullptr;
  if (vertical != nullptr) rect.right -= vertical->GetFixedWidth();
  if (horizontalBar != nullptr) rect.bottom -= horizontalBar->GetFixedHeight();
  if (m_items.empty()) {
    ProcessScrollBar(rect, 0, 0);
    return;
  }
  CScrollBarUI* mainBar = horizontal ? horizontalBar : vertical;
  CScrollBarUI* crossBar = horizontal ? vertical : horizontalBar;
  // Along the line the children align by one attribute, across it by the other.
  const UINT mainAlign = horizontal ? m_iChildAlign : m_iChildVAlign;
  const UINT crossAlign = horizontal ? m_iChildVAlign : m_iChildAlign;
  const UINT alignMiddle = horizontal ? kAlignCenter : kAlignVCenter;
  const UINT alignFar = horizontal ? kAlignRight : kAlignBottom;
  const UINT crossMiddle = horizontal ? kAlignVCenter : kAlignCenter;
  const UINT crossFar = horizontal ? kAlignBottom : kAlignRight;

  SIZE available = {rect.right - rect.left, rect.bottom - rect.top};
  if (horizontalBar != nullptr) available.cx += horizontalBar->GetScrollRange();
  if (vertical != nullptr) available.cy += vertical->GetScrollRange();
  const int availableMain = axis.Main(available);
  const int availableCross = axis.Cross(available);
  const int gap = GetChildPadding();

  // First pass: what the children with a size along the line need, and how many share the rest.
  int stretchables = 0;
  int fixedTotal = 0;
  int measuredCount = 0;
  int requiredCross = 0;
  for (CControlUI* child : m_items) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    RECT padding = child->GetPadding();
    const int paddingAcross = axis.CrossStart(padding) + axis.CrossEnd(padding);
    SIZE measured = child->MeasureSize(axis.Make(std::min(axis.LimitMain(child), availableMain),
                                                 std::min(axis.LimitCross(child), availableCross - paddingAcross)));
    if (axis.Main(measured) == 0) {
      ++stretchables;
    } else {
      axis.Main(measured) = Clamp(axis.Main(measured), axis.MinMain(child), axis.MaxMain(child));
    }
    fixedTotal += axis.Start(padding) + axis.End(padding) + axis.Main(measured);
    axis.Cross(measured) =
        Clamp(std::max(static_cast<int>(axis.Cross(measured)), 0), axis.MinCross(child), axis.MaxCross(child));
    requiredCross = std::max(requiredCross, static_cast<int>(axis.Cross(measured)) + paddingAcross);
    ++measuredCount;
  }
  if (measuredCount > 0) fixedTotal += (measuredCount - 1) * gap;
  const int share = stretchables > 0 ? std::max(0, (availableMain - fixedTotal) / stretchables) : 0;

  int position = axis.Start(rect);
  if (mainBar != nullptr) {
    position -= mainBar->GetScrollPos();
  } else if (stretchables == 0) {
    if (mainAlign == alignMiddle) {
      position += (availableMain - fixedTotal) / 2;
    } else if (mainAlign == alignFar) {
      position += availableMain - fixedTotal;
    }
  }

  // Second pass: place them.
  int placed = 0;
  int stretched = 0;
  int fixedRemaining = fixedTotal;
  int remainingMain = availableMain;
  int requiredMain = 0;
  for (int i = 0; i < CContainerUI::GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    ++placed;
    RECT padding = child->GetPadding();
    const int paddingAcross = axis.CrossStart(padding) + axis.CrossEnd(padding);
    remainingMain -= axis.Start(padding);
    const int availableMainHere = std::min(axis.LimitMain(child), remainingMain);
    const int availableCrossHere = std::min(axis.LimitCross(child), availableCross - paddingAcross);
    fixedRemaining -= axis.Start(padding) + axis.End(padding);
    if (placed > 1) fixedRemaining -= gap;
    SIZE size = child->MeasureSize(axis.Make(availableMainHere, availableCrossHere));
    int along = axis.Main(size);
    if (along != 0) {
      along = Clamp(along, axis.MinMain(child), axis.MaxMain(child));
      fixedRemaining -= along;
    } else {
      ++stretched;
      along = share;
      // The last one takes what rounding left over.
      if (stretched == stretchables)
        along = std::max(0, remainingMain - static_cast<int>(axis.End(padding)) - fixedRemaining);
      along = Clamp(along, axis.MinMain(child), axis.MaxMain(child));
    }
    // Across the line a vertical layout gives a child its measured width; a horizontal one gives
    // it its maximum height, whatever it measures. Either way no more than there is.
    int across = horizontal ? axis.MaxCross(child) : static_cast<int>(axis.Cross(size));
    if (across <= 0) across = availableCross - paddingAcross;
    if (across > availableCrossHere) across = availableCrossHere;
    if (across < axis.MinCross(child)) across = axis.MinCross(child);

    RECT place;
    axis.Start(place) = position + axis.Start(padding);
    axis.End(place) = axis.Start(place) + along;
    if (crossAlign == crossMiddle) {
      int middle = (axis.CrossStart(rect) + axis.CrossEnd(rect)) / 2;
      if (crossBar != nullptr) middle += crossBar->GetScrollRange() / 2 - crossBar->GetScrollPos();
      axis.CrossStart(place) = middle - across / 2;
      axis.CrossEnd(place) = axis.CrossStart(place) + across;
    } else if (crossAlign == crossFar) {
      int end = axis.CrossEnd(rect);
      if (crossBar != nullptr) end += crossBar->GetScrollRange() - crossBar->GetScrollPos();
      axis.CrossEnd(place) = end - axis.CrossEnd(padding);
      axis.CrossStart(place) = axis.CrossEnd(place) - across;
    } else {
      int start = axis.CrossStart(rect);
      if (crossBar != nullptr) start -= crossBar->GetScrollPos();
      axis.CrossStart(place) = start + axis.CrossStart(padding);
      axis.CrossEnd(place) = axis.CrossStart(place) + across;
    }
    child->SetPos(place, false);

    const int taken = along + axis.Start(padding) + axis.End(padding);
    requiredMain += taken;
    position += taken + gap;
    remainingMain -= along + axis.End(padding) + gap;
  }
  if (measuredCount > 0) requiredMain += (measuredCount - 1) * gap;
  ProcessScrollBar(rect, horizontal ? requiredMain : requiredCross, horizontal ? requiredCross : requiredMain);
}

}  // namespace SkinUI
