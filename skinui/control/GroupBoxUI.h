#pragma once
// A vertical layout framed by a line with its caption (the text) set into the top edge; the
// children stack inside the frame.

#include "VerticalLayoutUI.h"

namespace SkinUI {

class CGroupBoxUI : public CVerticalLayoutUI {
 public:
  CGroupBoxUI();
  ~CGroupBoxUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(HDC dc) override;
  void PaintBorder(HDC dc) override;
  DWORD GetAccessibleRole() const override;

  uint32_t GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(uint32_t color);
  uint32_t GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(uint32_t color);
  int GetFont() const { return m_iFont; }
  void SetFont(int index);
  // The caption's rectangle as of the last paint.
  RECT GetCaptionRect() const { return m_rcCaption; }

 private:
  // The caption's size in the current font; zero without text or a manager.
  SIZE MeasureCaption(HDC dc) const;

  uint32_t m_dwTextColor = 0;
  uint32_t m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  RECT m_rcCaption = {};
};

}  // namespace SkinUI
