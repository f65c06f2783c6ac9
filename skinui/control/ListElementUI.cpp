#include "ListElementUI.h"

#include <oleacc.h>

#include <algorithm>

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {
constexpr int kLineWidth = 1;
constexpr const wchar_t* kSelectAction = L"选中";
}  // namespace

CListElementUI::CListElementUI() { m_cxyFixed.cy = kDefaultRowHeight; }
CListElementUI::~CListElementUI() = default;

std::wstring CListElementUI::GetClassName() const { return L"ListElementUI"; }

void* CListElementUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListItem")) return static_cast<IListItemUI*>(this);
  if (attr::EqualsNoCase(typeName, L"ListElement")) return this;
  return CControlUI::GetInterface(typeName);
}

UINT CListElementUI::GetFlags() const { return 0; }

bool CListElementUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pOwner != nullptr) m_pOwner->OnItemActivate(m_iIndex);
  return true;
}

void CListElementUI::SetEnabled(bool enable) {
  CControlUI::SetEnabled(enable);
  if (!enable) m_bHot = false;
}

void CListElementUI::SetOwner(CControlUI* owner) { m_pOwner = OwnerOf(owner); }

bool CListElementUI::Select(bool select) {
  if (!IsEnabled() && select) return false;
  if (m_bSelected == select) return true;
  m_bSelected = select;
  Invalidate();
  if (select) NotifyAccessibleEvent(EVENT_OBJECT_SELECTION);
  return true;
}

bool CListElementUI::IsAccessibleElement() const { return true; }

DWORD CListElementUI::GetAccessibleRole() const { return ROLE_SYSTEM_LISTITEM; }

DWORD CListElementUI::GetAccessibleState() const {
  return RowAccessibleState(*this, CControlUI::GetAccessibleState());
}

std::wstring CListElementUI::GetAccessibleDefaultAction() const { return RowDefaultAction(); }

bool CListElementUI::DoAccessibleDefaultAction() { return SelectRowByDefaultAction(*this); }

DWORD CListElementUI::RowAccessibleState(const IListItemUI& item, DWORD controlState) {
  return controlState | STATE_SYSTEM_SELECTABLE | (item.IsSelected() ? STATE_SYSTEM_SELECTED : 0);
}

std::wstring CListElementUI::RowDefaultAction() { return kSelectAction; }

bool CListElementUI::SelectRowByDefaultAction(IListItemUI& item) {
  IListOwnerUI* owner = item.GetOwner();
  return owner != nullptr && owner->SelectItem(item.GetIndex()) && item.IsSelected();
}

void CListElementUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) m_pParent->HandleEvent(event);
    return;
  }
  if (HandleRowEvent(*this, *this, m_bHot, event)) return;
  CControlUI::HandleEvent(event);
}

void CListElementUI::PaintStateImage(HDC dc) { PaintRowBackground(*this, *this, m_bHot, dc, m_rcPaint); }

IListOwnerUI* CListElementUI::OwnerOf(CControlUI* owner) {
  return owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner")) : nullptr;
}

IListItemUI* CListElementUI::ItemOf(CControlUI* control) {
  return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem")) : nullptr;
}

void CListElementUI::Renumber(const IContainerUI& rows, int from) {
  for (int i = std::max(from, 0); i < rows.GetCount(); ++i) {
    if (IListItemUI* item = ItemOf(rows.GetItemAt(i))) item->SetIndex(i);
  }
}

bool CListElementUI::MoveSelection(const IContainerUI& rows, int& current, int index) {
  if (index < -1 || index >= rows.GetCount()) return false;
  if (index == current) return true;
  CControlUI* row = rows.GetItemAt(index);
  IListItemUI* next = ItemOf(row);
  if (index >= 0 && (next == nullptr || !row->IsEnabled())) return false;
  if (IListItemUI* previous = ItemOf(rows.GetItemAt(current))) previous->Select(false);
  current = index;
  if (next != nullptr) next->Select(true);
  return true;
}

bool CListElementUI::HandleRowEvent(CControlUI& row, IListItemUI& item, bool& hot, TControlEventUI& event) {
  IListOwnerUI* owner = item.GetOwner();
  if (owner == nullptr) return false;
  const RECT& rect = row.GetPos();
  switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::RButtonDown:
      // A disabled row keeps the selection where it is, but the keys still go to the owner.
      owner->SelectItem(row.IsEnabled() ? item.GetIndex() : owner->GetCurSel(), true);
      return true;
    case UIEvent::ButtonUp:
      // A click handler may remove the row: nothing touches it afterwards.
      if (row.IsEnabled() && ::PtInRect(&rect, event.MousePoint)) owner->OnItemClick(item.GetIndex());
      return true;
    case UIEvent::DoubleClick:
      if (row.IsEnabled()) owner->OnItemActivate(item.GetIndex());
      return true;
    case UIEvent::KeyDown:
      if (event.Key == VK_RETURN) {
        if (row.IsEnabled()) owner->OnItemActivate(item.GetIndex());
      } else {
        owner->DoEvent(event);
      }
      return true;
    case UIEvent::ScrollWheel:
      owner->DoEvent(event);
      return true;
    case UIEvent::MouseEnter:
      if (row.IsEnabled() && !hot) {
        hot = true;
        row.Invalidate();
      }
      return true;
    case UIEvent::MouseLeave:
      // Leaving a child of the row for the row itself keeps it hot.
      if (hot && !::PtInRect(&rect, event.MousePoint)) {
        hot = false;
        row.Invalidate();
      }
      return true;
    default:
      return false;
  }
}

void CListElementUI::PaintRowBackground(CControlUI& row, IListItemUI& item, bool hot, HDC dc, const RECT& paint) {
  IListOwnerUI* owner = item.GetOwner();
  if (owner == nullptr) return;
  const TListInfoUI& info = *owner->GetListInfo();
  const RECT& rect = row.GetPos();
  uint32_t color = info.bkColor;
  const std::wstring* image = &info.bkImage;
  if (!row.IsEnabled()) {
    color = info.disabledBkColor;
    image = &info.disabledImage;
  } else if (item.IsSelected()) {
    color = info.selectedBkColor;
    image = &info.selectedImage;
  } else if (hot) {
    color = info.hotBkColor;
    image = &info.hotImage;
  } else if (info.alternateBkColor != 0 && item.GetIndex() % 2 == 1) {
    color = info.alternateBkColor;
  }
  RECT visible;
  if (color != 0 && ::IntersectRect(&visible, &rect, &paint)) CSkinRender::DrawColor(dc, visible, color);
  if (!image->empty()) row.DrawImage(dc, *image);
  if (info.lineColor != 0) {
    const RECT line = {rect.left, rect.bottom - kLineWidth, rect.right, rect.bottom};
    if (::IntersectRect(&visible, &line, &paint)) CSkinRender::DrawColor(dc, visible, info.lineColor);
  }
}

uint32_t CListElementUI::RowTextColor(const CControlUI& row, IListItemUI& item, bool hot) {
  IListOwnerUI* owner = item.GetOwner();
  if (owner == nullptr) return 0;
  const TListInfoUI& info = *owner->GetListInfo();
  uint32_t color = 0;
  if (!row.IsEnabled()) {
    color = info.disabledTextColor;
  } else if (item.IsSelected()) {
    color = info.selectedTextColor;
  } else if (hot) {
    color = info.hotTextColor;
  }
  if (color != 0) return color;
  if (info.textColor != 0) return info.textColor;
  CPaintManagerUI* manager = row.GetManager();
  if (manager == nullptr) return 0;
  return row.IsEnabled() ? manager->GetDefaultFontColor() : manager->GetDefaultDisabledColor();
}

}  // namespace SkinUI
