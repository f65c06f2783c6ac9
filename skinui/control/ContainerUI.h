#pragma once
// A control that owns an ordered list of children: floating children are placed by their own
// position data, every other child is stretched over the inner area.

#include <memory>
#include <vector>

#include "ControlUI.h"
#include "IContainerUI.h"

namespace SkinUI {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  // A container is read as a pane only when the skin names it; otherwise its children stand in
  // its place.
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;

  // IContainerUI.
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // CControlUI.
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  RECT GetClientPos() const override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetParentVisible(bool visible = true) override;
  void SetEnabled(bool enable = true) override;
  void SetMouseEnabled(bool enable = true) override;
  CControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool PaintContent(HDC dc, const RECT& paint, CControlUI* stopControl) override;

  virtual RECT GetInset() const;
  virtual void SetInset(RECT inset);
  virtual int GetChildPadding() const;
  virtual void SetChildPadding(int padding);
  virtual UINT GetChildAlign() const;
  virtual void SetChildAlign(UINT align);
  virtual UINT GetChildVAlign() const;
  virtual void SetChildVAlign(UINT align);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDelete(bool autoDestroy);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDeferredDelete(bool delayed);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool enable = true);
  virtual int FindSelectable(int index, bool forward = true) const;
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE pos, bool notify = true);
  virtual void SetScrollStepSize(int size);
  virtual int GetScrollStepSize() const;
  virtual void LineUp();
  virtual void LineDown();
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown();
  virtual void LineLeft();
  virtual void LineRight();
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
  virtual CScrollBarUI* GetVerticalScrollBar() const;
  virtual CScrollBarUI* GetHorizontalScrollBar() const;
  virtual void SetFloatPos(int index);
  virtual void ProcessScrollBar(RECT rect, int cxRequired, int cyRequired);

 protected:
  // The item rectangle less the inset and the visible scroll bars.
  RECT GetInnerRect() const;
  bool IsScrollBarShown(const CScrollBarUI* bar) const;
  // Lays the children out in one line over the item rectangle, along x or along y
  // (ContainerLineLayout.cpp): the vertical and horizontal layouts' SetPos.
  void SetLinePos(bool horizontal);
  // The scaled step of one line: the container's own, else the default.
  int LineStep() const;
  void ScrollBy(int dx, int dy);
  void DestroyChild(CControlUI* control);
  void ApplyScrollBarStyle(CScrollBarUI* bar, const std::wstring& style);

  // The container's own children. Its code counts them with CContainerUI::GetCount: a derived
  // class (the list) may present other items through the virtual one.
  std::vector<CControlUI*> m_items;
  RECT m_rcInset = {};
  int m_iChildPadding = 0;
  UINT m_iChildAlign = 0;
  UINT m_iChildVAlign = 0;
  bool m_bAutoDestroy = true;
  bool m_bDelayedDestroy = true;
  bool m_bMouseChildEnabled = true;
  int m_nScrollStepSize = 0;
  std::unique_ptr<CScrollBarUI> m_pVerticalScrollBar;
  std::unique_ptr<CScrollBarUI> m_pHorizontalScrollBar;
  std::wstring m_sVerticalScrollBarStyle;
  std::wstring m_sHorizontalScrollBarStyle;
};

}  // namespace SkinUI
