#pragma once
// A label that shows a value between a minimum and a maximum as a filled part, drawn with the
// fore colour and/or the fore image.

#include "LabelUI.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  ~CProgressUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;
  // The filled share in percent, as "40%".
  std::wstring GetAccessibleValue() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintForeColor(HDC dc) override;
  void PaintForeImage(HDC dc) override;

  virtual void UpdateText();

  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal);
  int GetMinValue() const { return m_nMin; }
  void SetMinValue(int value);
  int GetMaxValue() const { return m_nMax; }
  void SetMaxValue(int value);
  int GetValue() const { return m_nValue; }
  // Values outside [minimum, maximum] are refused.
  void SetValue(int value);
  bool IsShowText() const { return m_bShowText; }
  void SetShowText(bool show);
  bool IsStretchForeImage() const { return m_bStretchForeImage; }
  void SetStretchForeImage(bool stretch);
  // The destination modifier of the last fore-image paint.
  const std::wstring& GetForeImageModifier() const { return m_sForeImageModify; }

 protected:
  // An image modifier "dest='l,t,r,b'" for a box relative to the control, in skin (unscaled) units.
  std::wstring DestModifier(const RECT& box) const;

 private:
  void Normalize();
  std::wstring PercentText() const;

  bool m_bShowText = false;
  bool m_bHorizontal = true;
  bool m_bStretchForeImage = true;
  int m_nMax = 100;
  int m_nMin = 0;
  int m_nValue = 0;
  std::wstring m_sForeImageModify;
};

}  // namespace SkinUI
