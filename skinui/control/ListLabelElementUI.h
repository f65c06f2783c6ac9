#pragma once
// A list row that shows one text across the row, in the owner's item font and colours.

#include "ListElementUI.h"

namespace SkinUI {

class CListLabelElementUI : public CListElementUI {
 public:
  CListLabelElementUI();
  ~CListLabelElementUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void PaintText(HDC dc) override;
  // Mark-up, when the owner shows it, is read without its tags.
  std::wstring GetAccessibleName() const override;

 protected:
  // Draws text in rect (less the owner's item padding) with the owner's item style.
  void DrawRowText(HDC dc, const RECT& rect, const std::wstring& text);
};

}  // namespace SkinUI
