#pragma once
// The header of a list: its items, left to right, give the list's columns.

#include "HorizontalLayoutUI.h"

namespace SkinUI {

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  CListHeaderUI();
  ~CListHeaderUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  // Columns that moved move the rows' texts: the list repaints too.
  void SetPos(RECT rect, bool invalidate = true) override;
};

}  // namespace SkinUI
