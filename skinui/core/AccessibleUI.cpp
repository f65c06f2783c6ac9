#include "AccessibleUI.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ControlUI.h"
#include "OleAccLibrary.h"
#include "PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr const wchar_t* kShortcutPrefix = L"Alt+";

void PutEmpty(VARIANT* out) {
  ::VariantInit(out);
  out->vt = VT_EMPTY;
}

void PutLong(VARIANT* out, LONG value) {
  ::VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
}

RECT ScreenRect(HWND window, RECT rect) {
  ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

CAccessibleUI* CAccessibleUI::Create(std::shared_ptr<CAccessibleTreeUI> tree, LONG id) {
  return new CAccessibleUI(std::move(tree), id);
}

STDMETHODIMP CAccessibleUI::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
  } else if (riid == __uuidof(IEnumVARIANT)) {
    *object = static_cast<IEnumVARIANT*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleUI::AddRef() { return static_cast<ULONG>(++m_refCount); }

STDMETHODIMP_(ULONG) CAccessibleUI::Release() {
  const LONG count = --m_refCount;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CAccessibleUI::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP CAccessibleUI::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CAccessibleUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CAccessibleUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT CAccessibleUI::Target(const VARIANT& child, CControlUI** control) const {
  *control = nullptr;
  if (m_tree->GetManager() == nullptr) return CO_E_OBJNOTCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  *control = m_tree->Resolve(child.lVal == CHILDID_SELF ? m_id : child.lVal);
  if (*control != nullptr) return S_OK;
  return child.lVal == CHILDID_SELF ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
}

bool CAccessibleUI::IsRoot(const CControlUI* control) const {
  return control == m_tree->Resolve(CAccessibleTreeUI::kRootId);
}

void CAccessibleUI::PutObject(CControlUI* control, VARIANT* out) const {
  const LONG id = m_tree->IdOf(control);
  if (id == m_id) {
    PutLong(out, CHILDID_SELF);
    return;
  }
  ::VariantInit(out);
  out->vt = VT_DISPATCH;
  out->pdispVal = Create(m_tree, id);
}

HRESULT CAccessibleUI::PutText(const std::wstring& text, BSTR* out) const {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAccessibleUI::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  if (IsRoot(self)) {
    return COleAccLibrary::Get().ObjectFromWindow(m_tree->GetWindow(), static_cast<DWORD>(OBJID_WINDOW),
                                                  IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  *parent = Create(m_tree, m_tree->IdOf(m_tree->ParentOf(self)));
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  *count = static_cast<long>(m_tree->ChildrenOf(self).size());
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (child.vt != VT_I4 || child.lVal == CHILDID_SELF) return E_INVALIDARG;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  *object = Create(m_tree, child.lVal);
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accName(VARIANT child, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  std::wstring text = control->GetAccessibleName();
  if (text.empty() && IsRoot(control)) {
    HWND window = m_tree->GetWindow();
    const int length = ::GetWindowTextLengthW(window);
    if (length > 0) {
      text.resize(static_cast<size_t>(length) + 1);
      text.resize(static_cast<size_t>(::GetWindowTextW(window, &text[0], length + 1)));
    }
  }
  return PutText(text, name);
}

STDMETHODIMP CAccessibleUI::get_accValue(VARIANT child, BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  return PutText(control->GetAccessibleValue(), value);
}

STDMETHODIMP CAccessibleUI::get_accDescription(VARIANT child, BSTR* description) {
  if (description == nullptr) return E_POINTER;
  *description = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  return FAILED(status) ? status : S_FALSE;
}

STDMETHODIMP CAccessibleUI::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  PutEmpty(role);
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  PutLong(role, static_cast<LONG>(IsRoot(control) ? ROLE_SYSTEM_CLIENT : control->GetAccessibleRole()));
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  PutEmpty(state);
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  DWORD bits = control->GetAccessibleState();
  if (IsRoot(control)) {
    bits = STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == m_tree->GetWindow() && m_tree->GetManager()->GetFocus() == nullptr)
      bits |= STATE_SYSTEM_FOCUSED;
  }
  PutLong(state, static_cast<LONG>(bits));
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accHelp(VARIANT child, BSTR* help) {
  if (help == nullptr) return E_POINTER;
  *help = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  return FAILED(status) ? status : S_FALSE;
}

STDMETHODIMP CAccessibleUI::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
  if (helpFile == nullptr || topic == nullptr) return E_POINTER;
  *helpFile = nullptr;
  *topic = 0;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  return FAILED(status) ? status : S_FALSE;
}

STDMETHODIMP CAccessibleUI::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (shortcut == nullptr) return E_POINTER;
  *shortcut = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  const wchar_t key = control->GetShortcut();
  return PutText(key != 0 ? std::wstring(kShortcutPrefix) + key : std::wstring(), shortcut);
}

STDMETHODIMP CAccessibleUI::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  PutEmpty(focus);
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  if (::GetFocus() != m_tree->GetWindow()) return S_FALSE;
  CControlUI* focused = m_tree->GetManager()->GetFocus();
  if (focused == nullptr) {
    if (!IsRoot(self)) return S_FALSE;
    PutLong(focus, CHILDID_SELF);
    return S_OK;
  }
  CControlUI* child = m_tree->ChildFor(focused, self);
  if (child == nullptr) return S_FALSE;
  PutObject(child, focus);
  return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  PutEmpty(selection);
  return m_tree->GetManager() != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessibleUI::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (action == nullptr) return E_POINTER;
  *action = nullptr;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  return PutText(control->GetAccessibleDefaultAction(), action);
}

STDMETHODIMP CAccessibleUI::accSelect(long flags, VARIANT child) {
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
  if ((control->GetAccessibleState() & STATE_SYSTEM_FOCUSABLE) == 0) return E_INVALIDARG;
  m_tree->GetManager()->SetFocus(control);
  return S_OK;
}

STDMETHODIMP CAccessibleUI::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  HWND window = m_tree->GetWindow();
  RECT rect = control->GetPos();
  if (IsRoot(control)) ::GetClientRect(window, &rect);
  rect = ScreenRect(window, rect);
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

STDMETHODIMP CAccessibleUI::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  PutEmpty(end);
  CControlUI* from = nullptr;
  const HRESULT status = Target(start, &from);
  if (FAILED(status)) return status;
  std::vector<CControlUI*> row;
  ptrdiff_t step = 0;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
      if (start.lVal != CHILDID_SELF) return E_INVALIDARG;
      row = m_tree->ChildrenOf(from);
      if (row.empty()) return S_FALSE;
      PutObject(direction == NAVDIR_FIRSTCHILD ? row.front() : row.back(), end);
      return S_OK;
    case NAVDIR_NEXT:
      step = 1;
      break;
    case NAVDIR_PREVIOUS:
      step = -1;
      break;
    default:
      return S_FALSE;
  }
  if (IsRoot(from)) return S_FALSE;
  row = m_tree->ChildrenOf(m_tree->ParentOf(from));
  auto at = std::find(row.begin(), row.end(), from);
  if (at == row.end()) return S_FALSE;
  const ptrdiff_t index = (at - row.begin()) + step;
  if (index < 0 || index >= static_cast<ptrdiff_t>(row.size())) return S_FALSE;
  PutObject(row[static_cast<size_t>(index)], end);
  return S_OK;
}

STDMETHODIMP CAccessibleUI::accHitTest(long x, long y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  PutEmpty(child);
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  POINT point = {x, y};
  HWND window = m_tree->GetWindow();
  ::ScreenToClient(window, &point);
  RECT area = self->GetPos();
  if (IsRoot(self)) ::GetClientRect(window, &area);
  if (!::PtInRect(&area, point)) return S_FALSE;
  CControlUI* hit = m_tree->GetManager()->FindControl(point);
  CControlUI* found = hit != nullptr ? m_tree->ChildFor(hit, self) : nullptr;
  PutObject(found != nullptr ? found : self, child);
  return S_OK;
}

STDMETHODIMP CAccessibleUI::accDoDefaultAction(VARIANT child) {
  CControlUI* control = nullptr;
  const HRESULT status = Target(child, &control);
  if (FAILED(status)) return status;
  if (control->GetAccessibleDefaultAction().empty()) return DISP_E_MEMBERNOTFOUND;
  // Later, from the window's own queue: the action may open a dialog or close the window, and
  // the client waits for this call to return.
  return m_tree->GetManager()->PostDefaultAction(control) ? S_OK : E_FAIL;
}

STDMETHODIMP CAccessibleUI::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
STDMETHODIMP CAccessibleUI::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

STDMETHODIMP CAccessibleUI::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  if (items == nullptr) return E_POINTER;
  if (fetched != nullptr) *fetched = 0;
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  const std::vector<CControlUI*> children = m_tree->ChildrenOf(self);
  ULONG taken = 0;
  while (taken < count && m_cursor < children.size()) PutObject(children[m_cursor++], &items[taken++]);
  if (fetched != nullptr) *fetched = taken;
  return taken == count ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Skip(ULONG count) {
  CControlUI* self = m_tree->Resolve(m_id);
  if (self == nullptr) return CO_E_OBJNOTCONNECTED;
  const size_t total = m_tree->ChildrenOf(self).size();
  m_cursor += count;
  if (m_cursor <= total) return S_OK;
  m_cursor = static_cast<ULONG>(total);
  return S_FALSE;
}

STDMETHODIMP CAccessibleUI::Reset() {
  m_cursor = 0;
  return S_OK;
}

STDMETHODIMP CAccessibleUI::Clone(IEnumVARIANT** copy) {
  if (copy == nullptr) return E_POINTER;
  CAccessibleUI* clone = Create(m_tree, m_id);
  clone->m_cursor = m_cursor;
  *copy = clone;
  return S_OK;
}

}  // namespace SkinUI
