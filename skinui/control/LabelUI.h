#pragma once
// A control that draws its text: colours, font, padding, alignment, single-line or word-break
// style, optional html-like markup and optional size-to-text.

#include "ControlUI.h"

namespace SkinUI {

// Text style bits (the platform's text-format flags).
constexpr UINT kStyleCenter = 0x1;
constexpr UINT kStyleRight = 0x2;
constexpr UINT kStyleVCenter = 0x4;
constexpr UINT kStyleBottom = 0x8;
constexpr UINT kStyleWordBreak = 0x10;
constexpr UINT kStyleSingleLine = 0x20;
constexpr UINT kStyleCalcRect = 0x400;
constexpr UINT kStyleNoPrefix = 0x800;
constexpr UINT kStyleEditControl = 0x2000;
constexpr UINT kStyleEndEllipsis = 0x8000;

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  ~CLabelUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  DWORD GetAccessibleRole() const override;
  // Mark-up is read without its tags.
  std::wstring GetAccessibleName() const override;
  UINT GetFlags() const override;
  void SetText(const std::wstring& text) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintText(HDC dc) override;

  virtual bool IsAutoWidth() const;
  virtual void SetAutoWidth(bool autoWidth);
  virtual bool IsAutoHeight() const;
  virtual void SetAutoHeight(bool autoHeight);

  UINT GetTextStyle() const { return m_uTextStyle; }
  void SetTextStyle(UINT style);
  uint32_t GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(uint32_t color);
  uint32_t GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(uint32_t color);
  int GetFont() const { return m_iFont; }
  void SetFont(int index);
  RECT GetTextPadding() const;
  void SetTextPadding(RECT padding);
  bool IsShowHtml() const { return m_bShowHtml; }
  void SetShowHtml(bool show);

 protected:
  // The item rectangle less the text padding.
  RECT GetTextRect() const;
  // Takes the manager's default colours into fields that are still 0.
  void TakeDefaultColors();
  // Draws (or with kStyleCalcRect measures) text in the rectangle; false when there is no text or
  // no manager to draw with, and the rectangle is left as it was.
  bool DrawLabelText(HDC dc, RECT& rect, const std::wstring& text, uint32_t color, int font, UINT style);

  uint32_t m_dwTextColor = 0;
  uint32_t m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  UINT m_uTextStyle = kStyleVCenter | kStyleSingleLine;
  RECT m_rcTextPadding = {};
  bool m_bShowHtml = false;
  bool m_bAutoCalcWidth = false;
  bool m_bAutoCalcHeight = false;
  SIZE m_szAvailableLast = {};
  SIZE m_cxyFixedLast = {};
  bool m_bNeedEstimateSize = true;
};

}  // namespace SkinUI
