#pragma once
// An option that, with auto-check on, toggles itself on button-down and reports "checkclick".

#include "OptionUI.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  CCheckBoxUI();
  ~CCheckBoxUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  DWORD GetAccessibleRole() const override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  bool IsAutoCheck() const { return m_bAutoCheck; }
  void SetAutoCheck(bool autoCheck) { m_bAutoCheck = autoCheck; }
  void SetCheck(bool check) { Selected(check, true); }
  bool GetCheck() const { return IsSelected(); }

 private:
  bool m_bAutoCheck = false;
};

}  // namespace SkinUI
