#pragma once
// A label with a small state machine (hot, pushed, captured, focused, disabled), an image,
// background colour, text colour and font per state, and the "click" notification.

#include "LabelUI.h"

namespace SkinUI {

// Button state bits.
constexpr UINT kStateFocused = 0x1;
constexpr UINT kStateSelected = 0x2;
constexpr UINT kStateDisabled = 0x4;
constexpr UINT kStateHot = 0x8;
constexpr UINT kStatePushed = 0x10;
constexpr UINT kStateCaptured = 0x40;

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  ~CButtonUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  bool Activate() override;
  DWORD GetAccessibleRole() const override;
  std::wstring GetAccessibleDefaultAction() const override;
  void SetEnabled(bool enable = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundColor(HDC dc) override;
  void PaintStateImage(HDC dc) override;
  void PaintForeImage(HDC dc) override;
  void PaintText(HDC dc) override;

  virtual const std::wstring& GetNormalImage() const;
  virtual void SetNormalImage(const std::wstring& image);
  virtual const std::wstring& GetHotImage() const;
  virtual void SetHotImage(const std::wstring& image);
  virtual const std::wstring& GetPushedImage() const;
  virtual void SetPushedImage(const std::wstring& image);
  virtual const std::wstring& GetFocusedImage() const;
  virtual void SetFocusedImage(const std::wstring& image);
  virtual const std::wstring& GetDisabledImage() const;
  virtual void SetDisabledImage(const std::wstring& image);
  virtual const std::wstring& GetHotForeImage() const;
  virtual void SetHotForeImage(const std::wstring& image);
  virtual const std::wstring& GetStateImage() const;
  // Also empties the normal image: the state pictures are cut from the new one.
  virtual void SetStateImage(const std::wstring& image);

  const std::wstring& GetPushedForeImage() const { return m_sPushedForeImage; }
  void SetPushedForeImage(const std::wstring& image);
  int GetStateCount() const { return m_nStateCount; }
  void SetStateCount(int count);
  UINT GetButtonState() const { return m_uButtonState; }

  void SelectBoundTab(int index = -1);
  int GetBindTabIndex() const { return m_iBindTabIndex; }
  void BindTabIndex(int index);
  const std::wstring& GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
  void BindTabLayoutName(const std::wstring& name) { m_sBindTabLayoutName = name; }

  uint32_t GetHotBkColor() const { return m_dwHotBkColor; }
  void SetHotBkColor(uint32_t color);
  uint32_t GetPushedBkColor() const { return m_dwPushedBkColor; }
  void SetPushedBkColor(uint32_t color);
  uint32_t GetDisabledBkColor() const { return m_dwDisabledBkColor; }
  void SetDisabledBkColor(uint32_t color);
  uint32_t GetHotTextColor() const { return m_dwHotTextColor; }
  void SetHotTextColor(uint32_t color) { m_dwHotTextColor = color; }
  uint32_t GetPushedTextColor() const { return m_dwPushedTextColor; }
  void SetPushedTextColor(uint32_t color) { m_dwPushedTextColor = color; }
  uint32_t GetFocusedTextColor() const { return m_dwFocusedTextColor; }
  void SetFocusedTextColor(uint32_t color) { m_dwFocusedTextColor = color; }
  int GetHotFont() const { return m_iHotFont; }
  void SetHotFont(int index);
  int GetPushedFont() const { return m_iPushedFont; }
  void SetPushedFont(int index);
  int GetFocusedFont() const { return m_iFocusedFont; }
  void SetFocusedFont(int index);

 protected:
  // Focused and disabled bits follow the control; a disabled window leaves only disabled.
  void RefreshState();
  // Cuts count side-by-side pictures out of a state image; false while it cannot be read.
  bool SliceStateImage(const std::wstring& stateImage, int count, std::wstring slices[4]);
  static bool IsPointIn(const RECT& rect, POINT point);

  UINT m_uButtonState = 0;
  int m_iHotFont = -1;
  int m_iPushedFont = -1;
  int m_iFocusedFont = -1;
  uint32_t m_dwHotBkColor = 0;
  uint32_t m_dwPushedBkColor = 0;
  uint32_t m_dwDisabledBkColor = 0;
  uint32_t m_dwHotTextColor = 0;
  uint32_t m_dwPushedTextColor = 0;
  uint32_t m_dwFocusedTextColor = 0;
  std::wstring m_sNormalImage;
  std::wstring m_sHotImage;
  std::wstring m_sHotForeImage;
  std::wstring m_sPushedImage;
  std::wstring m_sPushedForeImage;
  std::wstring m_sFocusedImage;
  std::wstring m_sDisabledImage;
  int m_nStateCount = 0;
  std::wstring m_sStateImage;
  int m_iBindTabIndex = -1;
  std::wstring m_sBindTabLayoutName;
};

}  // namespace SkinUI
