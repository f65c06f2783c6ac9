#pragma once
// Shows one of its children at a time and reports a change of page with "tabselect".

#include "ContainerUI.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  CTabLayoutUI();
  ~CTabLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;

  void SetPos(RECT rect, bool invalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  virtual bool SelectItem(CControlUI* control);
  virtual bool SelectItem(int index);

  int GetCurSel() const { return m_iCurSel; }

 private:
  int m_iCurSel = -1;
};

}  // namespace SkinUI
