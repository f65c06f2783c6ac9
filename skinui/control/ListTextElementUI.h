#pragma once
// A list row with one text per header column. In a skin, "text" gives the column texts
// separated by '|'.

#include <vector>

#include "ListLabelElementUI.h"

namespace SkinUI {

class CListTextElementUI : public CListLabelElementUI {
 public:
  CListTextElementUI();
  ~CListTextElementUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(HDC dc) override;

  // Column 0 is the control's own text.
  std::wstring GetText(int column) const;
  void SetText(int column, const std::wstring& text);
  int GetColumnCount() const { return static_cast<int>(m_columnTexts.size()) + 1; }
  using CListLabelElementUI::GetText;
  using CListLabelElementUI::SetText;

 private:
  // Columns 1 and on.
  std::vector<std::wstring> m_columnTexts;
};

}  // namespace SkinUI
