#pragma once
// The row behaviour every list row shares: its index and owner, selection and hot state, the
// mouse and keys that select, click and activate it, and its background per state. The text
// rows derive from it; the container row reuses its static parts.

#include "ControlUI.h"
#include "IContainerUI.h"
#include "IListUI.h"

namespace SkinUI {

class CListElementUI : public CControlUI, public IListItemUI {
 public:
  // The height of a row that does not set its own.
  static constexpr int kDefaultRowHeight = 22;

  CListElementUI();
  ~CListElementUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  bool Activate() override;
  void SetEnabled(bool enable = true) override;
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

  // Shared with the container row. The row events the owner hears of; false for the others.
  static bool HandleRowEvent(CControlUI& row, IListItemUI& item, bool& hot, TControlEventUI& event);
  // The owner's background for the row's state: colour, then picture.
  static void PaintRowBackground(CControlUI& row, IListItemUI& item, bool hot, HDC dc, const RECT& paint);
  // The owner's text colour for the row's state; 0 when the owner gives none.
  static uint32_t RowTextColor(const CControlUI& row, IListItemUI& item, bool hot);
  // What assistive technology hears of a row: its state added to the control's, its default
  // action (select), and that action done through the owner.
  static DWORD RowAccessibleState(const IListItemUI& item, DWORD controlState);
  static std::wstring RowDefaultAction();
  static bool SelectRowByDefaultAction(IListItemUI& item);
  static IListOwnerUI* OwnerOf(CControlUI* owner);
  static IListItemUI* ItemOf(CControlUI* control);
  // For owners: rows from index from on learn their index again.
  static void Renumber(const IContainerUI& rows, int from);
  // For owners: moves the selection mark from row current to row index (-1: none) and stores
  // index in current; false when index is out of range or names a row that cannot be selected.
  static bool MoveSelection(const IContainerUI& rows, int& current, int index);

 protected:
  int m_iIndex = -1;
  bool m_bSelected = false;
  bool m_bHot = false;
  IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace SkinUI
