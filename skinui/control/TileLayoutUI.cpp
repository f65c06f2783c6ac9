#include "TileLayoutUI.h"

#include <algorithm>
#include <vector>

#include "AttributeTableUI.h"

namespace SkinUI {

namespace {

using Attributes = CAttributeTableUI<CTileLayoutUI>;
const Attributes::Entry kTileLayoutAttributes[] = {
    {L"itemsize", Attributes::Size<&CTileLayoutUI::SetItemSize>},
    {L"columns", Attributes::Int<&CTileLayoutUI::SetColumns>},
};

}  // namespace

CTileLayoutUI::CTileLayoutUI() = default;
CTileLayoutUI::~CTileLayoutUI() = default;

std::wstring CTileLayoutUI::GetClassName() const { return L"TileLayoutUI"; }

void* CTileLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"TileLayout")) return this;
  return CContainerUI::GetInterface(typeName);
}

void CTileLayoutUI::SetPos(RECT rect, bool invalidate) {
  CControlUI::SetPos(rect, invalidate);
  const RECT inner = GetInnerRect();
  const int width = inner.right - inner.left;
  const int gap = GetChildPadding();
  const SIZE item = GetItemSize();
  int columns = m_nColumns;
  int cellWidth = 0;
  if (item.cx > 0) {
    cellWidth = item.cx;
    columns = std::max(1, static_cast<int>((width + gap) / (item.cx + gap)));
  } else {
    columns = std::max(1, columns);
    cellWidth = std::max(0, (width - gap * (columns - 1)) / columns);
  }
  m_nColumnsUsed = columns;

  std::vector<CControlUI*> tiles;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    tiles.push_back(child);
  }

  const SIZE scroll = GetScrollPos();
  LONG top = inner.top - scroll.cy;
  for (size_t row = 0; row * columns < tiles.size(); ++row) {
    const size_t first = row * static_cast<size_t>(columns);
    const size_t last = std::min(tiles.size(), first + static_cast<size_t>(columns));
    int rowHeight = item.cy;
    if (rowHeight <= 0) {
      for (size_t i = first; i < last; ++i) rowHeight = std::max(rowHeight, tiles[i]->GetFixedHeight());
      if (rowHeight <= 0) rowHeight = cellWidth;
    }
    LONG left = inner.left - scroll.cx;
    for (size_t i = first; i < last; ++i) {
      CControlUI* child = tiles[i];
      const RECT padding = child->GetPadding();
      RECT cell = {left + padding.left, top + padding.top, left + cellWidth - padding.right,
                   top + rowHeight - padding.bottom};
      const int fixedHeight = child->GetFixedHeight();
      if (fixedHeight > 0 && fixedHeight < cell.bottom - cell.top) cell.bottom = cell.top + fixedHeight;
      child->SetPos(cell, false);
      left += cellWidth + gap;
    }
    top += rowHeight + gap;
  }
  const int required = static_cast<int>(top - gap - (inner.top - scroll.cy));
  ProcessScrollBar(inner, 0, std::max(0, required));
}

void CTileLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kTileLayoutAttributes, *this, name, value)) CContainerUI::SetAttribute(name, value);
}

SIZE CTileLayoutUI::GetItemSize() const { return Scale(m_szItem); }

void CTileLayoutUI::SetItemSize(SIZE size) {
  m_szItem = size;
  NeedLayout();
}

void CTileLayoutUI::SetColumns(int columns) {
  if (columns < 1) return;
  m_nColumns = columns;
  NeedLayout();
}

}  // namespace SkinUI
