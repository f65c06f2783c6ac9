#pragma once
// The IAccessible a skinned window serves for its client area (WM_GETOBJECT with OBJID_CLIENT),
// and one more for each element below it. Every object names its control by child id through
// the window's accessible tree, so a client that holds an object after the control or the
// window is gone gets errors, never a dangling control.

#include <windows.h>
#include <oleacc.h>

#include <memory>

#include "AccessibleTreeUI.h"

namespace SkinUI {

class CAccessibleUI final : public IAccessible, public IEnumVARIANT {
 public:
  // A new object with one reference.
  static CAccessibleUI* Create(std::shared_ptr<CAccessibleTreeUI> tree, LONG id);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: no type information; clients call IAccessible directly.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(long* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(long flags, VARIANT child) override;
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

  // IEnumVARIANT over the children, each as an object.
  STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumVARIANT** copy) override;

 private:
  CAccessibleUI(std::shared_ptr<CAccessibleTreeUI> tree, LONG id) : m_tree(std::move(tree)), m_id(id) {}
  ~CAccessibleUI() = default;

  // The control a child argument names: this object's own for CHILDID_SELF.
  HRESULT Target(const VARIANT& child, CControlUI** control) const;
  bool IsRoot(const CControlUI* control) const;
  // Fills the variant with an object for the control, or CHILDID_SELF when it is this one's.
  void PutObject(CControlUI* control, VARIANT* out) const;
  HRESULT PutText(const std::wstring& text, BSTR* out) const;

  LONG m_refCount = 1;
  std::shared_ptr<CAccessibleTreeUI> m_tree;
  LONG m_id;
  ULONG m_cursor = 0;
};

}  // namespace SkinUI
