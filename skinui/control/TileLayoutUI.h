#pragma once
// Lays its children out in a grid, row by row: either cells of a fixed item size (as many
// columns as fit) or a fixed number of columns sharing the width. A row is as high as the
// item size, else as its highest child, else as a cell is wide.

#include "ContainerUI.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
 public:
  CTileLayoutUI();
  ~CTileLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  SIZE GetItemSize() const;
  // A width above 0 fixes the cell width and makes the column count follow the layout's width.
  void SetItemSize(SIZE size);
  int GetColumns() const { return m_nColumns; }
  void SetColumns(int columns);
  // Columns in the last layout.
  int GetColumnsUsed() const { return m_nColumnsUsed; }

 private:
  SIZE m_szItem = {};
  int m_nColumns = 1;
  int m_nColumnsUsed = 1;
};

}  // namespace SkinUI
