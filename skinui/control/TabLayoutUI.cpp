#include "TabLayoutUI.h"

#include <algorithm>

#include "AttributeText.h"
#include "PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr int kNoSelection = -1;

int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

}  // namespace

CTabLayoutUI::CTabLayoutUI() = default;
CTabLayoutUI::~CTabLayoutUI() = default;

std::wstring CTabLayoutUI::GetClassName() const { return L"TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"TabLayout")) return this;
  return CContainerUI::GetInterface(typeName);
}

bool CTabLayoutUI::Add(CControlUI* control) {
  if (!CContainerUI::Add(control)) return false;
  if (m_iCurSel == kNoSelection && control->IsVisible()) {
    m_iCurSel = GetItemIndex(control);
  } else {
    control->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (m_iCurSel == kNoSelection && control->IsVisible()) {
    m_iCurSel = GetItemIndex(control);
  } else {
    // A page inserted at or before the selection moves the selection along; it is hidden like
    // every page that is not selected.
    if (m_iCurSel != kNoSelection && index <= m_iCurSel) ++m_iCurSel;
    control->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0 || !CContainerUI::Remove(control)) return false;
  if (m_iCurSel == index) {
    if (GetCount() > 0) {
      m_iCurSel = 0;
      GetItemAt(0)->SetVisible(true);
    } else {
      m_iCurSel = kNoSelection;
    }
    NeedParentLayout();
  } else if (m_iCurSel > index) {
    --m_iCurSel;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = kNoSelection;
  CContainerUI::RemoveAll();
  NeedParentLayout();
}

void CTabLayoutUI::SetPos(RECT rect, bool invalidate) {
  CControlUI::SetPos(rect, invalidate);
  rect = m_rcItem;
  const RECT inset = GetInset();
  rect.left += inset.left;
  rect.top += inset.top;
  rect.right -= inset.right;
  rect.bottom -= inset.bottom;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (i != m_iCurSel) continue;
    const RECT padding = child->GetPadding();
    RECT inner = rect;
    inner.left += padding.left;
    inner.top += padding.top;
    inner.right -= padding.right;
    inner.bottom -= padding.bottom;
    const SIZE available = {inner.right - inner.left, inner.bottom - inner.top};
    SIZE size = child->MeasureSize(available);
    if (size.cx == 0) size.cx = std::max(0, static_cast<int>(available.cx));
    if (size.cy == 0) size.cy = std::max(0, static_cast<int>(available.cy));
    size.cx = Clamp(size.cx, child->GetMinWidth(), child->GetMaxWidth());
    size.cy = Clamp(size.cy, child->GetMinHeight(), child->GetMaxHeight());
    child->SetPos(RECT{inner.left, inner.top, inner.left + size.cx, inner.top + size.cy}, false);
  }
}

void CTabLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"selectedid")) SelectItem(attr::ParseInt(value));
  CContainerUI::SetAttribute(name, value);
}

bool CTabLayoutUI::SelectItem(CControlUI* control) {
  const int index = GetItemIndex(control);
  return index >= 0 && SelectItem(index);
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == m_iCurSel) return true;
  const int old = m_iCurSel;
  m_iCurSel = index;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* page = m_items[static_cast<size_t>(i)];
    if (i == index) {
      page->SetVisible(true);
      page->SetFocus();
      SetPos(m_rcItem, true);
    } else {
      page->SetVisible(false);
    }
  }
  NeedParentLayout();
  if (m_pManager != nullptr) {
    m_pManager->MoveTabFocus(true);
    m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  }
  return true;
}

}  // namespace SkinUI
