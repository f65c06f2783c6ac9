#include "ContainerUI.h"

#include <oleacc.h>

#include <algorithm>

#include "AttributeText.h"
#include "ClipUI.h"
#include "PaintManagerUI.h"
#include "ScrollBarUI.h"

namespace SkinUI {

namespace {

constexpr int kDefaultScrollStep = 8;
constexpr UINT kAlignLeft = 0;
constexpr UINT kAlignCenter = 1;
constexpr UINT kAlignRight = 2;
constexpr UINT kAlignTop = 0;
constexpr UINT kAlignVCenter = 4;
constexpr UINT kAlignBottom = 8;
constexpr WORD kWheelUp = 0;
constexpr WORD kWheelDown = 1;

bool Intersect(RECT& out, const RECT& a, const RECT& b) { return ::IntersectRect(&out, &a, &b) != FALSE; }

int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  // Listeners hear of the destruction while the children still exist.
  if (!OnDestroy.IsEmpty()) OnDestroy.Fire(this);
  OnDestroy.Clear();
  m_bDelayedDestroy = false;
  std::vector<CControlUI*> children;
  children.swap(m_items);
  for (CControlUI* child : children) DestroyChild(child);
  m_pVerticalScrollBar.reset();
  m_pHorizontalScrollBar.reset();
}

bool CContainerUI::IsAccessibleElement() const { return !GetAccessibleName().empty(); }

DWORD CContainerUI::GetAccessibleRole() const { return ROLE_SYSTEM_PANE; }

std::wstring CContainerUI::GetClassName() const { return L"ContainerUI"; }

void* CContainerUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"IContainer")) return static_cast<IContainerUI*>(this);
  if (attr::EqualsNoCase(typeName, L"Container")) return this;
  return CControlUI::GetInterface(typeName);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= CContainerUI::GetCount()) return nullptr;
  return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  const int current = GetItemIndex(control);
  // An index outside the list would drop the child from it.
  if (current < 0 || index < 0 || index >= GetCount()) return false;
  m_items.erase(m_items.begin() + current);
  m_items.insert(m_items.begin() + index, control);
  NeedLayout();
  return true;
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

// Not the virtual AddAt: a derived Add that calls this must not run its own AddAt rules too.
bool CContainerUI::Add(CControlUI* control) { return CContainerUI::AddAt(control, CContainerUI::GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr || index < 0 || index > CContainerUI::GetCount()) return false;
  if (m_pManager != nullptr) {
    m_pManager->InitControls(control, this);
  } else {
    control->SetManager(nullptr, this, false);
  }
  if (IsVisible()) {
    NeedLayout();
  } else {
    control->SetParentVisible(false);
  }
  m_items.insert(m_items.begin() + index, control);
  return true;
}

bool CContainerUI::Remove(CControlUI* control) {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  if (it == m_items.end()) return false;
  m_items.erase(it);
  NeedLayout();
  DestroyChild(control);
  return true;
}

bool CContainerUI::RemoveAt(int index) {
  CControlUI* control = GetItemAt(index);
  return control != nullptr && Remove(control);
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> children;
  children.swap(m_items);
  for (CControlUI* child : children) DestroyChild(child);
  NeedLayout();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize) {
  for (CControlUI* child : m_items) child->SetManager(manager, this, initialize);
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(manager, this, initialize);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(manager, this, initialize);
  CControlUI::SetManager(manager, parent, initialize);
}

RECT CContainerUI::GetClientPos() const {
  RECT rect = m_rcItem;
  const RECT inset = GetInset();
  rect.left += inset.left;
  rect.top += inset.top;
  rect.right -= inset.right;
  rect.bottom -= inset.bottom;
  if (IsScrollBarShown(m_pVerticalScrollBar.get())) {
    const int pos = m_pVerticalScrollBar->GetScrollPos();
    rect.top -= pos;
    rect.bottom -= pos;
    rect.bottom += m_pVerticalScrollBar->GetScrollRange();
    rect.right -= m_pVerticalScrollBar->GetFixedWidth();
  }
  if (IsScrollBarShown(m_pHorizontalScrollBar.get())) {
    const int pos = m_pHorizontalScrollBar->GetScrollPos();
    rect.left -= pos;
    rect.right -= pos;
    rect.right += m_pHorizontalScrollBar->GetScrollRange();
    rect.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
  }
  return rect;
}

void CContainerUI::SetPos(RECT rect, bool invalidate) {
  CControlUI::SetPos(rect, invalidate);
  if (m_items.empty()) return;
  const RECT inner = GetClientPos();
  // With scroll bars the content is as large as the largest child needs at the view's size.
  const RECT view = GetInnerRect();
  SIZE required = {};
  for (int i = 0; i < CContainerUI::GetCount(); ++i) {
    CControlUI* child = m_items[static_cast<size_t>(i)];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const int width = Clamp(inner.right - inner.left, child->GetMinWidth(), child->GetMaxWidth());
    const int height = Clamp(inner.bottom - inner.top, child->GetMinHeight(), child->GetMaxHeight());
    child->SetPos(RECT{inner.left, inner.top, inner.left + width, inner.top + height}, false);
    required.cx = std::max<LONG>(required.cx, Clamp(view.right - view.left, child->GetMinWidth(), child->GetMaxWidth()));
    required.cy = std::max<LONG>(required.cy, Clamp(view.bottom - view.top, child->GetMinHeight(), child->GetMaxHeight()));
  }
  ProcessScrollBar(view, required.cx, required.cy);
}

void CContainerUI::Move(SIZE offset, bool needInvalidate) {
  // Children and bars are placed relative to this container: the re-layout that the move asks
  // for carries them along, so they are not shifted a second time here.
  CControlUI::Move(offset, needInvalidate);
}

void CContainerUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* child : m_items) child->SetParentVisible(IsVisible());
}

void CContainerUI::SetParentVisible(bool visible) {
  CControlUI::SetParentVisible(visible);
  for (CControlUI* child : m_items) child->SetParentVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool enable) {
  if (m_bEnabled == enable) return;
  m_bEnabled = enable;
  for (CControlUI* child : m_items) child->SetEnabled(enable);
  Invalidate();
}

void CContainerUI::SetMouseEnabled(bool enable) {
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetMouseEnabled(enable);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetMouseEnabled(enable);
  CControlUI::SetMouseEnabled(enable);
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, UINT flags) {
  if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
  const bool hitTest = (flags & kFindHitTest) != 0;
  const POINT point = hitTest && data != nullptr ? *static_cast<const POINT*>(data) : POINT{};
  if (hitTest && (data == nullptr || !::PtInRect(&m_rcItem, point))) return nullptr;
  if ((flags & kFindUpdateTest) != 0 && proc(this, data) != nullptr) return nullptr;

  const bool askSelf = !hitTest || IsMouseEnabled();
  if ((flags & kFindMeFirst) != 0 && askSelf) {
    if (CControlUI* found = proc(this, data)) return found;
  }
  if (m_pVerticalScrollBar) {
    if (CControlUI* found = m_pVerticalScrollBar->FindControl(proc, data, flags)) return found;
  }
  if (m_pHorizontalScrollBar) {
    if (CControlUI* found = m_pHorizontalScrollBar->FindControl(proc, data, flags)) return found;
  }

  if (!hitTest || IsMouseChildEnabled()) {
    const RECT inner = GetInnerRect();
    const bool lastFirst = (flags & kFindTopFirst) != 0;
    // A handler run by the predicate may change the list: index it afresh at every step.
    for (int step = 0; step < CContainerUI::GetCount(); ++step) {
      const int index = lastFirst ? CContainerUI::GetCount() - 1 - step : step;
      CControlUI* child = m_items[static_cast<size_t>(index)];
      CControlUI* found = child->FindControl(proc, data, flags);
      if (found == nullptr) continue;
      if (!hitTest || child->IsFloat() || ::PtInRect(&inner, point)) return found;
    }
  }

  if ((flags & kFindMeFirst) == 0 && askSelf) return proc(this, data);
  return nullptr;
}

void CContainerUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) {
      m_pParent->HandleEvent(event);
    } else {
      CControlUI::HandleEvent(event);
    }
    return;
  }
  if (event.Type == UIEvent::SetFocus) {
    m_bFocused = true;
    return;
  }
  if (event.Type == UIEvent::KillFocus) {
    m_bFocused = false;
    return;
  }
  CScrollBarUI* vertical = m_pVerticalScrollBar.get();
  if (vertical != nullptr && vertical->IsVisible() && vertical->IsEnabled()) {
    if (event.Type == UIEvent::KeyDown) {
      switch (event.Key) {
        case VK_PRIOR: PageUp(); return;
        case VK_NEXT: PageDown(); return;
        case VK_END: EndDown(); return;
        case VK_HOME: HomeUp(); return;
        case VK_UP: LineUp(); return;
        case VK_DOWN: LineDown(); return;
        default: break;
      }
    } else if (event.Type == UIEvent::ScrollWheel) {
      const WORD direction = LOWORD(event.WParam);
      if (direction == kWheelUp) {
        LineUp();
        return;
      }
      if (direction == kWheelDown) {
        LineDown();
        return;
      }
    }
  }
  CScrollBarUI* horizontal = m_pHorizontalScrollBar.get();
  if (horizontal != nullptr && horizontal->IsVisible() && horizontal->IsEnabled()) {
    if (event.Type == UIEvent::KeyDown) {
      switch (event.Key) {
        case VK_PRIOR: PageLeft(); return;
        case VK_NEXT: PageRight(); return;
        case VK_END: EndRight(); return;
        case VK_HOME: HomeLeft(); return;
        case VK_LEFT: LineLeft(); return;
        case VK_RIGHT: LineRight(); return;
        default: break;
      }
    } else if (event.Type == UIEvent::ScrollWheel) {
      const WORD direction = LOWORD(event.WParam);
      if (direction == kWheelUp) {
        LineLeft();
        return;
      }
      if (direction == kWheelDown) {
        LineRight();
        return;
      }
    }
  }
  CControlUI::HandleEvent(event);
}

void CContainerUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  using attr::EqualsNoCase;
  if (EqualsNoCase(name, L"inset")) {
    int inset[4];
    attr::ParseIntList(value, inset, 4);
    SetInset(RECT{inset[0], inset[1], inset[2], inset[3]});
  } else if (EqualsNoCase(name, L"mousechild")) {
    SetMouseChildEnabled(attr::ParseBool(value));
  } else if (EqualsNoCase(name, L"vscrollbar")) {
    EnableScrollBar(attr::ParseBool(value), m_pHorizontalScrollBar != nullptr);
  } else if (EqualsNoCase(name, L"vscrollbarstyle")) {
    m_sVerticalScrollBarStyle = value;
    if (m_pVerticalScrollBar) ApplyScrollBarStyle(m_pVerticalScrollBar.get(), value);
  } else if (EqualsNoCase(name, L"hscrollbar")) {
    EnableScrollBar(m_pVerticalScrollBar != nullptr, attr::ParseBool(value));
  } else if (EqualsNoCase(name, L"hscrollbarstyle")) {
    m_sHorizontalScrollBarStyle = value;
    if (m_pHorizontalScrollBar) ApplyScrollBarStyle(m_pHorizontalScrollBar.get(), value);
  } else if (EqualsNoCase(name, L"childpadding")) {
    SetChildPadding(attr::ParseInt(value));
  } else if (name == L"childalign") {
    if (value == L"left") {
      m_iChildAlign = kAlignLeft;
    } else if (value == L"center") {
      m_iChildAlign = kAlignCenter;
    } else if (value == L"right") {
      m_iChildAlign = kAlignRight;
    }
  } else if (name == L"childvalign") {
    if (value == L"top") {
      m_iChildVAlign = kAlignTop;
    } else if (value == L"vcenter") {
      m_iChildVAlign = kAlignVCenter;
    } else if (value == L"bottom") {
      m_iChildVAlign = kAlignBottom;
    }
  } else if (EqualsNoCase(name, L"scrollstepsize")) {
    SetScrollStepSize(attr::ParseInt(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

bool CContainerUI::PaintContent(HDC dc, const RECT& paint, CControlUI* stopControl) {
  if (!Intersect(m_rcPaint, paint, m_rcItem)) return true;
  TClipUI clip;
  TClipUI::GenerateClip(dc, m_rcPaint, clip);
  PaintBackgroundColor(dc);
  PaintBackgroundImage(dc);
  PaintStateImage(dc);
  PaintForeColor(dc);
  PaintForeImage(dc);
  PaintText(dc);
  PaintBorder(dc);

  if (!m_items.empty()) {
    const RECT inner = GetInnerRect();
    RECT scratch;
    RECT innerPaint;
    if (!Intersect(innerPaint, paint, inner)) {
      for (CControlUI* child : m_items) {
        if (!child->IsVisible() || !child->IsFloat()) continue;
        if (!Intersect(scratch, paint, child->GetPos()) || !Intersect(scratch, m_rcItem, child->GetPos())) continue;
        if (!child->Paint(dc, paint, stopControl)) return false;
      }
    } else {
      TClipUI childClip;
      TClipUI::GenerateClip(dc, innerPaint, childClip);
      for (CControlUI* child : m_items) {
        if (!child->IsVisible() || !Intersect(scratch, paint, child->GetPos())) continue;
        if (child->IsFloat()) {
          if (!Intersect(scratch, m_rcItem, child->GetPos())) continue;
          TClipUI::UseOldClipBegin(dc, childClip);
          const bool go = child->Paint(dc, paint, stopControl);
          TClipUI::UseOldClipEnd(dc, childClip);
          if (!go) return false;
        } else {
          if (!Intersect(scratch, inner, child->GetPos())) continue;
          if (!child->Paint(dc, paint, stopControl)) return false;
        }
      }
    }
  }

  RECT scratch;
  for (CScrollBarUI* bar : {m_pVerticalScrollBar.get(), m_pHorizontalScrollBar.get()}) {
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (Intersect(scratch, paint, bar->GetPos()) && !bar->Paint(dc, paint, stopControl)) return false;
  }
  return true;
}

RECT CContainerUI::GetInset() const { return Scale(m_rcInset); }

void CContainerUI::SetInset(RECT inset) {
  m_rcInset = inset;
  NeedLayout();
}

int CContainerUI::GetChildPadding() const { return Scale(m_iChildPadding); }

void CContainerUI::SetChildPadding(int padding) {
  m_iChildPadding = padding;
  NeedLayout();
}

UINT CContainerUI::GetChildAlign() const { return m_iChildAlign; }

void CContainerUI::SetChildAlign(UINT align) {
  m_iChildAlign = align;
  NeedLayout();
}

UINT CContainerUI::GetChildVAlign() const { return m_iChildVAlign; }

void CContainerUI::SetChildVAlign(UINT align) {
  m_iChildVAlign = align;
  NeedLayout();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }
void CContainerUI::SetAutoDelete(bool autoDestroy) { m_bAutoDestroy = autoDestroy; }
bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }
void CContainerUI::SetDeferredDelete(bool delayed) { m_bDelayedDestroy = delayed; }
bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
void CContainerUI::SetMouseChildEnabled(bool enable) { m_bMouseChildEnabled = enable; }

int CContainerUI::FindSelectable(int index, bool forward) const {
  const int count = CContainerUI::GetCount();
  if (count == 0) return -1;
  index = Clamp(index, 0, count - 1);
  for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
    const CControlUI* child = m_items[static_cast<size_t>(i)];
    if (child->IsVisible() && child->IsEnabled()) return i;
  }
  return -1;
}

SIZE CContainerUI::GetScrollPos() const {
  SIZE pos = {};
  if (m_pVerticalScrollBar) pos.cy = m_pVerticalScrollBar->GetScrollPos();
  if (m_pHorizontalScrollBar) pos.cx = m_pHorizontalScrollBar->GetScrollPos();
  return pos;
}

SIZE CContainerUI::GetScrollRange() const {
  SIZE range = {};
  if (m_pVerticalScrollBar) range.cy = m_pVerticalScrollBar->GetScrollRange();
  if (m_pHorizontalScrollBar) range.cx = m_pHorizontalScrollBar->GetScrollRange();
  return range;
}

void CContainerUI::SetScrollPos(SIZE pos, bool notify) {
  const SIZE before = GetScrollPos();
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(pos.cy);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetScrollPos(pos.cx);
  const SIZE after = GetScrollPos();
  if (after.cx == before.cx && after.cy == before.cy) return;
  SetPos(m_rcItem, true);
  if (notify) Notify(L"scroll");
}

void CContainerUI::SetScrollStepSize(int size) {
  if (size > 0) m_nScrollStepSize = size;
}

int CContainerUI::GetScrollStepSize() const { return Scale(m_nScrollStepSize); }

int CContainerUI::LineStep() const {
  return m_nScrollStepSize > 0 ? GetScrollStepSize() : Scale(kDefaultScrollStep);
}

void CContainerUI::ScrollBy(int dx, int dy) {
  SIZE pos = GetScrollPos();
  pos.cx += dx;
  pos.cy += dy;
  SetScrollPos(pos);
}

void CContainerUI::LineUp() { ScrollBy(0, -LineStep()); }
void CContainerUI::LineDown() { ScrollBy(0, LineStep()); }
void CContainerUI::LineLeft() { ScrollBy(-LineStep(), 0); }
void CContainerUI::LineRight() { ScrollBy(LineStep(), 0); }

void CContainerUI::PageUp() {
  const RECT inner = GetInnerRect();
  ScrollBy(0, -(inner.bottom - inner.top));
}

void CContainerUI::PageDown() {
  const RECT inner = GetInnerRect();
  ScrollBy(0, inner.bottom - inner.top);
}

void CContainerUI::PageLeft() {
  const RECT inner = GetInnerRect();
  ScrollBy(-(inner.right - inner.left), 0);
}

void CContainerUI::PageRight() {
  const RECT inner = GetInnerRect();
  ScrollBy(inner.right - inner.left, 0);
}

void CContainerUI::HomeUp() {
  SIZE pos = GetScrollPos();
  pos.cy = 0;
  SetScrollPos(pos);
}

void CContainerUI::EndDown() {
  SIZE pos = GetScrollPos();
  pos.cy = GetScrollRange().cy;
  SetScrollPos(pos);
}

void CContainerUI::HomeLeft() {
  SIZE pos = GetScrollPos();
  pos.cx = 0;
  SetScrollPos(pos);
}

void CContainerUI::EndRight() {
  SIZE pos = GetScrollPos();
  pos.cx = GetScrollRange().cx;
  SetScrollPos(pos);
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  if (vertical && !m_pVerticalScrollBar) {
    m_pVerticalScrollBar = std::make_unique<CScrollBarUI>();
    m_pVerticalScrollBar->SetOwner(this);
    m_pVerticalScrollBar->SetManager(m_pManager, nullptr, false);
    if (m_pManager != nullptr) {
      if (const std::wstring* list = m_pManager->GetDefaultAttributeList(L"VScrollBar")) {
        m_pVerticalScrollBar->ApplyAttributeList(*list);
      }
    }
    if (!m_sVerticalScrollBarStyle.empty()) ApplyScrollBarStyle(m_pVerticalScrollBar.get(), m_sVerticalScrollBarStyle);
  } else if (!vertical && m_pVerticalScrollBar) {
    m_pVerticalScrollBar.reset();
  }
  if (horizontal && !m_pHorizontalScrollBar) {
    m_pHorizontalScrollBar = std::make_unique<CScrollBarUI>();
    m_pHorizontalScrollBar->SetHorizontal(true);
    m_pHorizontalScrollBar->SetOwner(this);
    m_pHorizontalScrollBar->SetManager(m_pManager, nullptr, false);
    if (m_pManager != nullptr) {
      if (const std::wstring* list = m_pManager->GetDefaultAttributeList(L"HScrollBar")) {
        m_pHorizontalScrollBar->ApplyAttributeList(*list);
      }
    }
    if (!m_sHorizontalScrollBarStyle.empty()) {
      ApplyScrollBarStyle(m_pHorizontalScrollBar.get(), m_sHorizontalScrollBarStyle);
    }
  } else if (!horizontal && m_pHorizontalScrollBar) {
    m_pHorizontalScrollBar.reset();
  }
  NeedLayout();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar.get(); }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar.get(); }

void CContainerUI::SetFloatPos(int index) {
  CControlUI* child = GetItemAt(index);
  if (child == nullptr || !child->IsVisible() || !child->IsFloat()) return;
  const RECT& p = m_rcItem;
  const int width = p.right - p.left;
  const int height = p.bottom - p.top;
  const SIZE origin = child->GetFixedOrigin();
  const int cx = child->GetFixedWidth();
  const int cy = child->GetFixedHeight();
  const UINT align = child->GetFloatAlign();
  RECT rect;
  if (align != 0) {
    int dx = origin.cx;
    if ((align & kFloatAlignCenter) != 0) {
      dx = (width - cx) / 2;
    } else if ((align & kFloatAlignRight) != 0) {
      dx = width - cx;
    }
    int dy = origin.cy;
    if ((align & kFloatAlignVCenter) != 0) {
      dy = (height - cy) / 2;
    } else if ((align & kFloatAlignBottom) != 0) {
      dy = height - cy;
    }
    rect = RECT{p.left + dx, p.top + dy, p.left + dx + cx, p.top + dy + cy};
  } else {
    const TPercentInfo percent = child->GetFloatPercent();
    const int baseX = origin.cx < 0 ? p.right : p.left;
    const int baseY = origin.cy < 0 ? p.bottom : p.top;
    rect.left = static_cast<int>(width * percent.left) + baseX + origin.cx;
    rect.top = static_cast<int>(height * percent.top) + baseY + origin.cy;
    rect.right = static_cast<int>(width * percent.right) + baseX + origin.cx + cx;
    rect.bottom = static_cast<int>(height * percent.bottom) + baseY + origin.cy + cy;
  }
  child->SetPos(rect, false);
}

void CContainerUI::ProcessScrollBar(RECT rect, int cxRequired, int cyRequired) {
  const SIZE before = GetScrollPos();
  if (m_pVerticalScrollBar) {
    const int range = std::max(0, cyRequired - static_cast<int>(rect.bottom - rect.top));
    m_pVerticalScrollBar->SetScrollRange(range);
    m_pVerticalScrollBar->SetPos(
        RECT{rect.right, rect.top, rect.right + m_pVerticalScrollBar->GetFixedWidth(), rect.bottom}, false);
  }
  if (m_pHorizontalScrollBar) {
    const int range = std::max(0, cxRequired - static_cast<int>(rect.right - rect.left));
    m_pHorizontalScrollBar->SetScrollRange(range);
    m_pHorizontalScrollBar->SetPos(
        RECT{rect.left, rect.bottom, rect.right, rect.bottom + m_pHorizontalScrollBar->GetFixedHeight()}, false);
  }
  // A range that shrank below the position moved the position: lay out once more with it.
  const SIZE after = GetScrollPos();
  if (after.cx != before.cx || after.cy != before.cy) SetPos(m_rcItem, false);
}

RECT CContainerUI::GetInnerRect() const {
  RECT rect = m_rcItem;
  const RECT inset = GetInset();
  rect.left += inset.left;
  rect.top += inset.top;
  rect.right -= inset.right;
  rect.bottom -= inset.bottom;
  if (IsScrollBarShown(m_pVerticalScrollBar.get())) rect.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (IsScrollBarShown(m_pHorizontalScrollBar.get())) rect.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
  return rect;
}

bool CContainerUI::IsScrollBarShown(const CScrollBarUI* bar) const { return bar != nullptr && bar->IsVisible(); }

void CContainerUI::DestroyChild(CControlUI* control) {
  if (!m_bAutoDestroy || control == nullptr) return;
  if (m_bDelayedDestroy && m_pManager != nullptr) {
    m_pManager->AddDeferredCleanup(control);
  } else {
    delete control;
  }
}

void CContainerUI::ApplyScrollBarStyle(CScrollBarUI* bar, const std::wstring& style) {
  const std::wstring* named = m_pManager != nullptr ? m_pManager->GetStyle(style) : nullptr;
  bar->ApplyAttributeList(named != nullptr ? *named : style);
}

}  // namespace SkinUI
