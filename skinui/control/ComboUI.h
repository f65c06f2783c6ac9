#pragma once
// A drop-down list: the face shows the selected row's text; a click, Space, Return or F4 opens
// the rows in a popup window of their own ("dropdown"), which closes when a row is clicked,
// on Return or Escape, or when it loses the focus (a click outside). The arrows, Home/End and
// PgUp/PgDn select, open or closed; the selection sends "itemselect" (WParam the new index,
// LParam the old one) from the combo.

#include "ContainerUI.h"
#include "IListUI.h"

namespace SkinUI {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  CComboUI();
  ~CComboUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  bool Activate() override;
  void SetEnabled(bool enable = true) override;
  std::wstring GetText() const override;
  void SetPos(RECT rect, bool invalidate = true) override;
  CControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool PaintContent(HDC dc, const RECT& paint, CControlUI* stopControl) override;
  void PaintStateImage(HDC dc) override;
  void PaintText(HDC dc) override;
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;
  // The tooltip or the "accname" attribute; the selected row's text is the value.
  std::wstring GetAccessibleName() const override;
  DWORD GetAccessibleState() const override;
  std::wstring GetAccessibleValue() const override;
  std::wstring GetAccessibleDefaultAction() const override;

  // IContainerUI: rows keep their index and owner.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;

  // IListOwnerUI.
  TListInfoUI* GetListInfo() override { return &m_listInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  // Never moves the focus: the rows may be in the popup, which must keep it.
  bool SelectItem(int index, bool takeFocus = false) override;
  void DoEvent(TControlEventUI& event) override;
  void OnItemClick(int index) override;
  void OnItemActivate(int index) override;

  bool IsDropped() const { return m_pWindow != nullptr; }
  CComboWnd* GetDropWindow() const { return m_pWindow; }
  void CloseDropDown();
  // The popup's size; 0 across takes the combo's width, 0 down fits the rows up to a limit.
  SIZE GetDropBoxSize() const { return m_szDropBox; }
  void SetDropBoxSize(SIZE size) { m_szDropBox = size; }
  // Attributes for the popup's list layout (its background, border, inset...).
  const std::wstring& GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
  void SetDropBoxAttributeList(const std::wstring& list) { m_sDropBoxAttributes = list; }
  RECT GetTextPadding() const;
  void SetTextPadding(RECT padding);
  void SetTextColor(uint32_t color);
  void SetFont(int font);
  void SetNormalImage(const std::wstring& image);
  void SetHotImage(const std::wstring& image);
  void SetPushedImage(const std::wstring& image);
  void SetFocusedImage(const std::wstring& image);
  void SetDisabledImage(const std::wstring& image);

  // Called by the popup as its window goes.
  void OnDropWindowGone();

 protected:
  // Where the face's text goes: the face less the text padding.
  virtual RECT GetTextArea() const;
  bool IsHot() const { return m_bHot; }
  bool IsPushed() const { return m_bPushed; }

  CComboWnd* m_pWindow = nullptr;
  TListInfoUI m_listInfo;
  int m_iCurSel = -1;
  bool m_bHot = false;
  bool m_bPushed = false;
  SIZE m_szDropBox = {};
  std::wstring m_sDropBoxAttributes;
  RECT m_rcTextPadding = {};
  uint32_t m_dwTextColor = 0;
  int m_iFont = -1;
  std::wstring m_sNormalImage;
  std::wstring m_sHotImage;
  std::wstring m_sPushedImage;
  std::wstring m_sFocusedImage;
  std::wstring m_sDisabledImage;
};

}  // namespace SkinUI
