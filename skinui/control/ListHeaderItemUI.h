#pragma once
// One column title of a list header: a text with normal, hot and pushed pictures, a
// "headerclick" when clicked, and a band at its right edge that resizes the column when dragged.

#include "LabelUI.h"

namespace SkinUI {

class CListHeaderItemUI : public CLabelUI {
 public:
  CListHeaderItemUI();
  ~CListHeaderItemUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void SetEnabled(bool enable = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStateImage(HDC dc) override;

  bool IsDragable() const { return m_bDragable; }
  void SetDragable(bool dragable) { m_bDragable = dragable; }
  int GetSepWidth() const;
  void SetSepWidth(int width);
  void SetNormalImage(const std::wstring& image);
  void SetHotImage(const std::wstring& image);
  void SetPushedImage(const std::wstring& image);
  void SetSepImage(const std::wstring& image);
  // The resize band at the right edge.
  RECT GetSepRect() const;

 private:
  bool m_bDragable = true;
  int m_iSepWidth = 4;
  bool m_bHot = false;
  bool m_bPushed = false;
  bool m_bDragging = false;
  POINT m_ptDragStart = {};
  int m_nDragStartWidth = 0;
  std::wstring m_sNormalImage;
  std::wstring m_sHotImage;
  std::wstring m_sPushedImage;
  std::wstring m_sSepImage;
};

}  // namespace SkinUI
