#pragma once
// A progress bar whose value the user sets: a thumb dragged with the mouse, a click on the
// track, the arrow, Home, End and page keys, and the wheel. Sends "valuechanged" after each
// change the user makes.

#include "ProgressUI.h"

namespace SkinUI {

constexpr const wchar_t* kNotifyValueChanged = L"valuechanged";

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  ~CSliderUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void SetEnabled(bool enable = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintForeImage(HDC dc) override;
  DWORD GetAccessibleRole() const override;
  // The value itself, not a percentage.
  std::wstring GetAccessibleValue() const override;

  int GetChangeStep() const { return m_nStep; }
  void SetChangeStep(int step);
  SIZE GetThumbSize() const;
  void SetThumbSize(SIZE size);
  // The thumb's rectangle in window coordinates.
  RECT GetThumbRect() const;
  void SetThumbImage(const std::wstring& image);
  void SetThumbHotImage(const std::wstring& image);
  void SetThumbPushedImage(const std::wstring& image);
  uint32_t GetThumbColor() const { return m_dwThumbColor; }
  void SetThumbColor(uint32_t color);

 private:
  // Sets the value the user asked for, clamped to the range; notifies when it changed.
  void ChangeValue(int value);
  int ValueAt(POINT point) const;

  int m_nStep = 1;
  SIZE m_szThumb = {10, 10};
  UINT m_uThumbState = 0;
  std::wstring m_sThumbImage;
  std::wstring m_sThumbHotImage;
  std::wstring m_sThumbPushedImage;
  uint32_t m_dwThumbColor = 0;
};

}  // namespace SkinUI
