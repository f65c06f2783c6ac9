#pragma once
// A button that is selected or not; in a group at most one option is selected. Reports
// "selectchanged".

#include "ButtonUI.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  ~COptionUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  bool Activate() override;
  // An option of a group is a radio button; one alone toggles, as a check box does.
  DWORD GetAccessibleRole() const override;
  DWORD GetAccessibleState() const override;
  std::wstring GetAccessibleDefaultAction() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundColor(HDC dc) override;
  void PaintStateImage(HDC dc) override;
  void PaintForeImage(HDC dc) override;
  void PaintText(HDC dc) override;

  virtual const std::wstring& GetSelectedStateImage() const;
  virtual void SetSelectedStateImage(const std::wstring& image);
  virtual void Selected(bool selected, bool notify = true);

  bool IsSelected() const { return m_bSelected; }
  const std::wstring& GetGroup() const { return m_sGroupName; }
  void SetGroup(const std::wstring& name);

  const std::wstring& GetSelectedImage() const { return m_sSelectedImage; }
  void SetSelectedImage(const std::wstring& image);
  const std::wstring& GetSelectedHotImage() const { return m_sSelectedHotImage; }
  void SetSelectedHotImage(const std::wstring& image);
  const std::wstring& GetSelectedPushedImage() const { return m_sSelectedPushedImage; }
  void SetSelectedPushedImage(const std::wstring& image);
  const std::wstring& GetSelectedDisabledImage() const { return m_sSelectedDisabledImage; }
  void SetSelectedDisabledImage(const std::wstring& image);
  const std::wstring& GetSelectedForeImage() const { return m_sSelectedForeImage; }
  void SetSelectedForeImage(const std::wstring& image);
  int GetSelectedStateCount() const { return m_nSelectedStateCount; }
  void SetSelectedStateCount(int count);
  uint32_t GetSelectedBkColor() const { return m_dwSelectedBkColor; }
  void SetSelectedBkColor(uint32_t color);
  uint32_t GetSelectedTextColor() const { return m_dwSelectedTextColor; }
  void SetSelectedTextColor(uint32_t color);
  int GetSelectedFont() const { return m_iSelectedFont; }
  void SetSelectedFont(int index);

 protected:
  // "selectchanged" carries the new state in WParam (check boxes) or 0 (options).
  bool m_bNotifyNewState = false;

  bool m_bSelected = false;
  std::wstring m_sGroupName;
  int m_iSelectedFont = -1;
  uint32_t m_dwSelectedBkColor = 0;
  uint32_t m_dwSelectedTextColor = 0;
  std::wstring m_sSelectedImage;
  std::wstring m_sSelectedHotImage;
  std::wstring m_sSelectedPushedImage;
  std::wstring m_sSelectedDisabledImage;
  std::wstring m_sSelectedForeImage;
  int m_nSelectedStateCount = 0;
  std::wstring m_sSelectedStateImage;
};

}  // namespace SkinUI
