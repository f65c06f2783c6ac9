#pragma once
// A list row that holds controls of its own, laid out left to right, and selects, clicks and
// activates like a text row.

#include "HorizontalLayoutUI.h"
#include "IListUI.h"

namespace SkinUI {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
 public:
  CListContainerElementUI();
  ~CListContainerElementUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  bool Activate() override;
  void HandleEvent(TControlEventUI& event) override;
  void PaintStateImage(HDC dc) override;
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;
  DWORD GetAccessibleState() const override;
  std::wstring GetAccessibleDefaultAction() const override;
  bool DoAccessibleDefaultAction() override;

  // IListItemUI.
  int GetIndex() const override { return m_iIndex; }
  void SetIndex(int index) override { m_iIndex = index; }
  IListOwnerUI* GetOwner() override { return m_pOwner; }
  void SetOwner(CControlUI* owner) override;
  bool IsSelected() const override { return m_bSelected; }
  bool Select(bool select = true) override;
  bool IsHot() const { return m_bHot; }

 private:
  int m_iIndex = -1;
  bool m_bSelected = false;
  bool m_bHot = false;
  IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace SkinUI
