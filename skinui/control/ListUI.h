#pragma once
// A list: an optional header whose items give the columns, over a scrolling body of rows. One
// row at most is selected; the keys move the selection ("itemselect", WParam the new index,
// LParam the old one); a click sends "itemclick" and a double click or Return "itemactivate"
// (WParam the row's index). All three come from the list.
//
// Rows added to the list go to the body: GetCount, GetItemAt and the rest of IContainerUI see
// the rows only. A ListHeader replaces the header; ListHeaderItems go into it.

#include "IListUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {

class CListHeaderUI;

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();
  ~CListUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;

  // IContainerUI, over the rows.
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // Scrolling is the body's.
  SIZE GetScrollPos() const override;
  SIZE GetScrollRange() const override;
  void SetScrollPos(SIZE pos, bool notify = true) override;
  void EnableScrollBar(bool vertical = true, bool horizontal = false) override;
  CScrollBarUI* GetVerticalScrollBar() const override;
  CScrollBarUI* GetHorizontalScrollBar() const override;

  // IListOwnerUI.
  TListInfoUI* GetListInfo() override;
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int index, bool takeFocus = false) override;
  void DoEvent(TControlEventUI& event) override;
  void OnItemClick(int index) override;
  void OnItemActivate(int index) override;

  CListHeaderUI* GetHeader() const { return m_pHeader; }
  // The header shows when it has items and is not hidden.
  void SetHeaderVisible(bool visible);
  CVerticalLayoutUI* GetBody() const { return m_pBody; }
  // Scrolls the body so that the row is wholly in view.
  void EnsureVisible(int index);
  // Scrolls a list body so that one of its rows is wholly in view.
  static void ScrollRowIntoView(CContainerUI& body, CControlUI* row);
  // Rows the body shows at once, at least 1: the step of PgUp and PgDn.
  int GetRowsPerPage() const;

 private:
  void UpdateHeaderVisibility();

  CListHeaderUI* m_pHeader = nullptr;
  CVerticalLayoutUI* m_pBody = nullptr;
  TListInfoUI m_listInfo;
  int m_iCurSel = -1;
  bool m_bHeaderHidden = false;
};

}  // namespace SkinUI
