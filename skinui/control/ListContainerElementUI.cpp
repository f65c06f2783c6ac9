#include "ListContainerElementUI.h"

#include <oleacc.h>

#include "AttributeText.h"
#include "ListElementUI.h"

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI() { m_cxyFixed.cy = CListElementUI::kDefaultRowHeight; }
CListContainerElementUI::~CListContainerElementUI() = default;

std::wstring CListContainerElementUI::GetClassName() const { return L"ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListItem")) return static_cast<IListItemUI*>(this);
  if (attr::EqualsNoCase(typeName, L"ListContainerElement")) return this;
  return CHorizontalLayoutUI::GetInterface(typeName);
}

UINT CListContainerElementUI::GetFlags() const { return 0; }

bool CListContainerElementUI::Activate() {
  if (!CHorizontalLayoutUI::Activate()) return false;
  if (m_pOwner != nullptr) m_pOwner->OnItemActivate(m_iIndex);
  return true;
}

void CListContainerElementUI::SetOwner(CControlUI* owner) { m_pOwner = CListElementUI::OwnerOf(owner); }

bool CListContainerElementUI::Select(bool select) {
  if (!IsEnabled() && select) return false;
  if (m_bSelected == select) return true;
  m_bSelected = select;
  Invalidate();
  if (select) NotifyAccessibleEvent(EVENT_OBJECT_SELECTION);
  return true;
}

bool CListContainerElementUI::IsAccessibleElement() const { return true; }

DWORD CListContainerElementUI::GetAccessibleRole() const { return ROLE_SYSTEM_LISTITEM; }

DWORD CListContainerElementUI::GetAccessibleState() const {
  return CListElementUI::RowAccessibleState(*this, CHorizontalLayoutUI::GetAccessibleState());
}

std::wstring CListContainerElementUI::GetAccessibleDefaultAction() const {
  return CListElementUI::RowDefaultAction();
}

bool CListContainerElementUI::DoAccessibleDefaultAction() { return CListElementUI::SelectRowByDefaultAction(*this); }

void CListContainerElementUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) m_pParent->HandleEvent(event);
    return;
  }
  if (CListElementUI::HandleRowEvent(*this, *this, m_bHot, event)) return;
  CHorizontalLayoutUI::HandleEvent(event);
}

void CListContainerElementUI::PaintStateImage(HDC dc) {
  CListElementUI::PaintRowBackground(*this, *this, m_bHot, dc, m_rcPaint);
}

}  // namespace SkinUI
