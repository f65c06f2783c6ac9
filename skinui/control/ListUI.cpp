#include "ListUI.h"

#include <oleacc.h>

#include <algorithm>

#include "AttributeTableUI.h"
#include "ListElementUI.h"
#include "ListHeaderUI.h"
#include "PaintManagerUI.h"
#include "ScrollBarUI.h"

namespace SkinUI {

namespace {

constexpr WORD kWheelUp = 0;

using Attributes = CAttributeTableUI<CListUI>;
const Attributes::Entry kListAttributes[] = {
    {L"header", [](CListUI& list, const std::wstring& v) { list.SetHeaderVisible(!attr::EqualsNoCase(v, L"hidden")); }},
    {L"headervisible", Attributes::Bool<&CListUI::SetHeaderVisible>},
    {L"selectedid", [](CListUI& list, const std::wstring& v) { list.SelectItem(attr::ParseInt(v)); }},
};

// Attributes of the rows' layout: the body takes them as they are.
constexpr const wchar_t* kBodyAttributes[] = {L"childpadding",    L"scrollstepsize",  L"vscrollbar",
                                              L"hscrollbar",      L"vscrollbarstyle", L"hscrollbarstyle"};

}  // namespace

// The header and the body are the list's own two children, owned as any child is.
CListUI::CListUI() : m_pHeader(new CListHeaderUI()), m_pBody(new CVerticalLayoutUI()) {
  CContainerUI::Add(m_pHeader);
  CContainerUI::Add(m_pBody);
  m_pBody->EnableScrollBar(true, false);
  // Clicks on the body between rows, and on disabled rows, reach the list (and focus it); the
  // body's scroll bar stays mouse-enabled.
  m_pBody->CControlUI::SetMouseEnabled(false);
  UpdateHeaderVisibility();
}

CListUI::~CListUI() = default;

std::wstring CListUI::GetClassName() const { return L"ListUI"; }

void* CListUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"List")) return this;
  if (attr::EqualsNoCase(typeName, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(typeName);
}

UINT CListUI::GetFlags() const { return IsEnabled() && IsKeyboardEnabled() ? kFlagTabStop : 0; }

void CListUI::HandleEvent(TControlEventUI& event) {
  if ((event.Type == UIEvent::KeyDown || event.Type == UIEvent::ScrollWheel) && IsEnabled()) {
    DoEvent(event);
    return;
  }
  if (event.Type == UIEvent::SetFocus || event.Type == UIEvent::KillFocus) Invalidate();
  CVerticalLayoutUI::HandleEvent(event);
}

void CListUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (SetListInfoAttribute(m_listInfo, name, value)) {
    Invalidate();
    return;
  }
  for (const wchar_t* bodyName : kBodyAttributes) {
    if (attr::EqualsNoCase(name, bodyName)) {
      m_pBody->SetAttribute(name, value);
      return;
    }
  }
  if (!Attributes::Apply(kListAttributes, *this, name, value)) CVerticalLayoutUI::SetAttribute(name, value);
}

CControlUI* CListUI::GetItemAt(int index) const { return m_pBody->GetItemAt(index); }
int CListUI::GetItemIndex(CControlUI* control) const { return m_pBody->GetItemIndex(control); }
int CListUI::GetCount() const { return m_pBody->GetCount(); }

bool CListUI::SetItemIndex(CControlUI* control, int index) {
  const int before = m_pBody->GetItemIndex(control);
  CControlUI* selected = m_pBody->GetItemAt(m_iCurSel);
  if (!m_pBody->SetItemIndex(control, index)) return false;
  CListElementUI::Renumber(*this, std::min(before, index));
  m_iCurSel = m_pBody->GetItemIndex(selected);
  return true;
}

bool CListUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CListUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr) return false;
  if (control->GetInterface(L"ListHeader") != nullptr) {
    auto* header = static_cast<CListHeaderUI*>(control->GetInterface(L"ListHeader"));
    CContainerUI::Remove(m_pHeader);
    m_pHeader = header;
    if (!CContainerUI::AddAt(header, 0)) return false;
    UpdateHeaderVisibility();
    return true;
  }
  if (control->GetInterface(L"ListHeaderItem") != nullptr) {
    if (!m_pHeader->Add(control)) return false;
    UpdateHeaderVisibility();
    return true;
  }
  if (!m_pBody->AddAt(control, index)) return false;
  if (IListItemUI* item = CListElementUI::ItemOf(control)) item->SetOwner(this);
  if (m_iCurSel >= index) ++m_iCurSel;
  CListElementUI::Renumber(*this, index);
  return true;
}

bool CListUI::Remove(CControlUI* control) {
  const int index = m_pBody->GetItemIndex(control);
  if (index < 0) return false;
  if (index == m_iCurSel) {
    m_iCurSel = -1;
  } else if (index < m_iCurSel) {
    --m_iCurSel;
  }
  m_pBody->Remove(control);
  CListElementUI::Renumber(*this, index);
  return true;
}

bool CListUI::RemoveAt(int index) {
  CControlUI* control = GetItemAt(index);
  return control != nullptr && Remove(control);
}

void CListUI::RemoveAll() {
  m_iCurSel = -1;
  m_pBody->RemoveAll();
}

SIZE CListUI::GetScrollPos() const { return m_pBody->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pBody->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE pos, bool notify) { m_pBody->SetScrollPos(pos, notify); }

void CListUI::EnableScrollBar(bool vertical, bool horizontal) { m_pBody->EnableScrollBar(vertical, horizontal); }

CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_pBody->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_pBody->GetHorizontalScrollBar(); }

TListInfoUI* CListUI::GetListInfo() {
  m_listInfo.columns.clear();
  if (m_pHeader->IsVisible()) {
    for (int i = 0; i < m_pHeader->GetCount(); ++i) {
      CControlUI* column = m_pHeader->GetItemAt(i);
      if (!column->IsVisible()) continue;
      const RECT& pos = column->GetPos();
      m_listInfo.columns.push_back(RECT{pos.left, 0, pos.right, 0});
    }
  }
  return &m_listInfo;
}

// The rows are the list's accessible children: its IContainerUI side sees only them.
bool CListUI::IsAccessibleElement() const { return true; }

DWORD CListUI::GetAccessibleRole() const { return ROLE_SYSTEM_LIST; }

bool CListUI::SelectItem(int index, bool takeFocus) {
  if (index < -1 || index >= GetCount()) return false;
  if (takeFocus && m_pManager != nullptr) m_pManager->SetFocus(this);
  const int old = m_iCurSel;
  if (!CListElementUI::MoveSelection(*this, m_iCurSel, index)) return false;
  if (m_iCurSel == old) return true;
  EnsureVisible(index);
  Notify(L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}

void CListUI::DoEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::ScrollWheel) {
    LOWORD(event.WParam) == kWheelUp ? m_pBody->LineUp() : m_pBody->LineDown();
    return;
  }
  if (event.Type != UIEvent::KeyDown || GetCount() == 0) return;
  const int last = GetCount() - 1;
  int target = -1;
  switch (event.Key) {
    case VK_UP: target = m_pBody->FindSelectable(m_iCurSel - 1, false); break;
    case VK_DOWN: target = m_pBody->FindSelectable(m_iCurSel + 1, true); break;
    case VK_HOME: target = m_pBody->FindSelectable(0, true); break;
    case VK_END: target = m_pBody->FindSelectable(last, false); break;
    case VK_PRIOR: target = m_pBody->FindSelectable(std::max(m_iCurSel - GetRowsPerPage(), 0), true); break;
    case VK_NEXT: target = m_pBody->FindSelectable(std::min(m_iCurSel + GetRowsPerPage(), last), false); break;
    case VK_RETURN:
      if (m_iCurSel >= 0) OnItemActivate(m_iCurSel);
      return;
    default: return;
  }
  if (target >= 0) SelectItem(target);
}

void CListUI::OnItemClick(int index) { Notify(L"itemclick", static_cast<WPARAM>(index)); }

void CListUI::OnItemActivate(int index) { Notify(L"itemactivate", static_cast<WPARAM>(index)); }

void CListUI::EnsureVisible(int index) { ScrollRowIntoView(*m_pBody, GetItemAt(index)); }

void CListUI::ScrollRowIntoView(CContainerUI& body, CControlUI* row) {
  if (row == nullptr) return;
  RECT view = body.GetPos();
  const RECT inset = body.GetInset();
  view.top += inset.top;
  view.bottom -= inset.bottom;
  if (CScrollBarUI* bar = body.GetHorizontalScrollBar(); bar != nullptr && bar->IsVisible()) {
    view.bottom -= bar->GetFixedHeight();
  }
  const RECT& pos = row->GetPos();
  SIZE scroll = body.GetScrollPos();
  if (pos.top < view.top) {
    scroll.cy -= view.top - pos.top;
  } else if (pos.bottom > view.bottom) {
    scroll.cy += pos.bottom - view.bottom;
  } else {
    return;
  }
  body.SetScrollPos(scroll);
}

int CListUI::GetRowsPerPage() const {
  const RECT& view = m_pBody->GetPos();
  CControlUI* row = GetItemAt(std::max(m_iCurSel, 0));
  const int rowHeight = row != nullptr ? row->GetPos().bottom - row->GetPos().top : 0;
  if (rowHeight <= 0) return 1;
  return std::max(1, static_cast<int>(view.bottom - view.top) / rowHeight);
}

void CListUI::SetHeaderVisible(bool visible) {
  m_bHeaderHidden = !visible;
  UpdateHeaderVisibility();
}

void CListUI::UpdateHeaderVisibility() {
  m_pHeader->SetVisible(!m_bHeaderHidden && m_pHeader->GetCount() > 0);
}

}  // namespace SkinUI
