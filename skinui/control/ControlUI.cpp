#include "ControlUI.h"

#include <oleacc.h>

#include <cstdlib>

#include "AttributeTableUI.h"
#include "AttributeText.h"
#include "ClipUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "SkinResourceIndex.h"

namespace SkinUI {

namespace {

constexpr WORD kArrowCursor = 32512;
constexpr int kTwoGradientSteps = 8;
constexpr int kOneGradientSteps = 16;
// Styles may name styles; a style that names itself must not recurse without end.
constexpr int kMaxStyleDepth = 8;
constexpr uint32_t kAlphaMask = 0xFF000000u;

struct CursorName {
  const wchar_t* name;
  WORD id;
};

constexpr CursorName kCursorNames[] = {
    {L"arrow", 32512},   {L"ibeam", 32513},    {L"wait", 32514},     {L"cross", 32515},  {L"uparrow", 32516},
    {L"size", 32640},    {L"icon", 32641},     {L"sizenwse", 32642}, {L"sizenesw", 32643},
    {L"sizewe", 32644},  {L"sizens", 32645},   {L"sizeall", 32646},  {L"no", 32648},     {L"hand", 32649},
};

int g_styleDepth = 0;

bool Intersect(RECT& out, const RECT& a, const RECT& b) { return ::IntersectRect(&out, &a, &b) != FALSE; }

using Attributes = CAttributeTableUI<CControlUI>;

UINT ParseFloatAlign(const std::wstring& value, UINT align) {
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find_first_of(L", ", start);
    if (end == std::wstring::npos) end = value.size();
    const std::wstring word = value.substr(start, end - start);
    if (word == L"null") {
      align = 0;
    } else if (word == L"left") {
      align &= ~(kFloatAlignCenter | kFloatAlignRight);
    } else if (word == L"center") {
      align = (align | kFloatAlignCenter) & ~kFloatAlignRight;
    } else if (word == L"right") {
      align = (align | kFloatAlignRight) & ~kFloatAlignCenter;
    } else if (word == L"top") {
      align &= ~(kFloatAlignVCenter | kFloatAlignBottom);
    } else if (word == L"vcenter") {
      align = (align | kFloatAlignVCenter) & ~kFloatAlignBottom;
    } else if (word == L"bottom") {
      align = (align | kFloatAlignBottom) & ~kFloatAlignVCenter;
    }
    start = end + 1;
  }
  return align;
}

const Attributes::Entry kControlAttributes[] = {
    {L"style",
     [](CControlUI& control, const std::wstring& value) {
       CPaintManagerUI* manager = control.GetManager();
       const std::wstring* style = manager != nullptr ? manager->GetStyle(value) : nullptr;
       if (style == nullptr) {
         control.AddCustomAttribute(L"style", value);
         return;
       }
       const std::wstring text = *style;
       control.ApplyAttributeList(text);
     }},
    {L"innerstyle", Attributes::Text<&CControlUI::ApplyAttributeList>},
    {L"pos",
     [](CControlUI& control, const std::wstring& value) {
       int pos[4];
       attr::ParseIntList(value, pos, 4);
       control.SetFixedOrigin(SIZE{pos[0] >= 0 ? pos[0] : pos[2], pos[1] >= 0 ? pos[1] : pos[3]});
       control.SetFixedWidth(std::abs(pos[2] - pos[0]));
       control.SetFixedHeight(std::abs(pos[3] - pos[1]));
     }},
    {L"float",
     [](CControlUI& control, const std::wstring& value) {
       if (value.find(L',') == std::wstring::npos) {
         control.SetFloat(attr::ParseBool(value));
         return;
       }
       double percent[4];
       attr::ParseDoubleList(value, percent, 4);
       control.SetFloatPercent(TPercentInfo{percent[0], percent[1], percent[2], percent[3]});
       control.SetFloat(true);
     }},
    {L"floatalign",
     [](CControlUI& control, const std::wstring& value) {
       control.SetFloatAlign(ParseFloatAlign(value, control.GetFloatAlign()));
     }},
    {L"padding", Attributes::Rect<&CControlUI::SetPadding>},
    {L"gradient", Attributes::Text<&CControlUI::SetGradient>},
    {L"bkcolor", Attributes::Color<&CControlUI::SetBkColor>},
    {L"bkcolor1", Attributes::Color<&CControlUI::SetBkColor>},
    {L"bkcolor2", Attributes::Color<&CControlUI::SetBkColor2>},
    {L"bkcolor3", Attributes::Color<&CControlUI::SetBkColor3>},
    {L"forecolor", Attributes::Color<&CControlUI::SetForeColor>},
    {L"bordercolor", Attributes::StrictColor<&CControlUI::SetBorderColor>},
    {L"focusbordercolor", Attributes::StrictColor<&CControlUI::SetFocusBorderColor>},
    {L"colorhsl", Attributes::Bool<&CControlUI::SetColorHSL>},
    {L"bordersize",
     [](CControlUI& control, const std::wstring& value) {
       if (value.find(L',') == std::wstring::npos) {
         control.SetBorderSize(attr::ParseInt(value));
         control.SetBorderSize(RECT{});
         return;
       }
       int sides[4];
       attr::ParseIntList(value, sides, 4);
       control.SetBorderSize(RECT{sides[0], sides[1], sides[2], sides[3]});
     }},
    {L"leftbordersize", Attributes::Int<&CControlUI::SetLeftBorderSize>},
    {L"topbordersize", Attributes::Int<&CControlUI::SetTopBorderSize>},
    {L"rightbordersize", Attributes::Int<&CControlUI::SetRightBorderSize>},
    {L"bottombordersize", Attributes::Int<&CControlUI::SetBottomBorderSize>},
    {L"borderstyle", Attributes::Int<&CControlUI::SetBorderStyle>},
    {L"borderround", Attributes::Size<&CControlUI::SetBorderRound>},
    {L"bkimage", Attributes::Text<&CControlUI::SetBkImage>},
    {L"foreimage", Attributes::Text<&CControlUI::SetForeImage>},
    {L"width", Attributes::Int<&CControlUI::SetFixedWidth>},
    {L"height", Attributes::Int<&CControlUI::SetFixedHeight>},
    {L"minwidth", Attributes::Int<&CControlUI::SetMinWidth>},
    {L"minheight", Attributes::Int<&CControlUI::SetMinHeight>},
    {L"maxwidth", Attributes::Int<&CControlUI::SetMaxWidth>},
    {L"maxheight", Attributes::Int<&CControlUI::SetMaxHeight>},
    {L"name", Attributes::Text<&CControlUI::SetName>},
    {L"drag", Attributes::Bool<&CControlUI::SetDragEnabled>},
    {L"drop", Attributes::Bool<&CControlUI::SetDropEnabled>},
    {L"resourcetext", Attributes::Bool<&CControlUI::SetResourceText>},
    {L"richevent", Attributes::Bool<&CControlUI::SetRichEvent>},
    {L"text", Attributes::Text<&CControlUI::SetText>},
    {L"tooltip", Attributes::Text<&CControlUI::SetToolTip>},
    {L"accname", Attributes::Text<&CControlUI::SetAccessibleName>},
    {L"focusringimage", Attributes::Text<&CControlUI::SetFocusRingImage>},
    {L"focusringcolor", Attributes::StrictColor<&CControlUI::SetFocusRingColor>},
    {L"userdata", Attributes::Text<&CControlUI::SetUserData>},
    {L"enabled", Attributes::Bool<&CControlUI::SetEnabled>},
    {L"mouse", Attributes::Bool<&CControlUI::SetMouseEnabled>},
    {L"keyboard", Attributes::Bool<&CControlUI::SetKeyboardEnabled>},
    {L"visible", Attributes::Bool<&CControlUI::SetVisible>},
    {L"shortcut",
     [](CControlUI& control, const std::wstring& value) { control.SetShortcut(value.empty() ? wchar_t{0} : value[0]); }},
    {L"menu", Attributes::Bool<&CControlUI::SetContextMenuUsed>},
    {L"cursor",
     [](CControlUI& control, const std::wstring& value) {
       for (const CursorName& entry : kCursorNames) {
         if (attr::EqualsNoCase(value, entry.name)) {
           control.SetCursor(entry.id);
           return;
         }
       }
     }},
    {L"virtualwnd", Attributes::Text<&CControlUI::SetVirtualWindow>},
};

uint32_t Alpha(uint32_t color) { return color >> 24; }

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (!OnDestroy.IsEmpty()) OnDestroy.Fire(this);
  RemoveAllCustomAttributes();
  if (m_pManager != nullptr) m_pManager->ReleaseDeferredObjects(this);
}

std::wstring CControlUI::GetName() const { return m_sName; }
void CControlUI::SetName(const std::wstring& name) { m_sName = name; }
std::wstring CControlUI::GetClassName() const { return L"ControlUI"; }

void* CControlUI::GetInterface(const std::wstring& typeName) {
  return attr::EqualsNoCase(typeName, L"Control") ? this : nullptr;
}

UINT CControlUI::GetFlags() const { return m_uControlFlags; }
void CControlUI::SetFlags(UINT flags) { m_uControlFlags = flags; }
UINT CControlUI::GetFlagsWord() const { return m_uControlFlags; }

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize) {
  m_pManager = manager;
  m_pParent = parent;
  if (initialize && m_pParent != nullptr) Initialize();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }

std::wstring CControlUI::GetText() const {
  if (!m_bResourceText) return m_sText;
  return CSkinResourceIndex::GetInstance()->GetText(m_sText);
}

void CControlUI::SetText(const std::wstring& text) {
  std::wstring stored = attr::ReplaceAll(text, L"{\\n}", L"\n");
  if (stored == m_sText) return;
  m_sText = std::move(stored);
  Invalidate();
  NotifyAccessibleEvent(EVENT_OBJECT_NAMECHANGE);
}

bool CControlUI::IsResourceText() const { return m_bResourceText; }

void CControlUI::SetResourceText(bool resource) {
  if (m_bResourceText == resource) return;
  m_bResourceText = resource;
  Invalidate();
}

bool CControlUI::IsDragEnabled() const { return m_bDragEnabled; }
void CControlUI::SetDragEnabled(bool enable) { m_bDragEnabled = enable; }
bool CControlUI::IsDropEnabled() const { return m_bDropEnabled; }
void CControlUI::SetDropEnabled(bool enable) { m_bDropEnabled = enable; }
bool CControlUI::IsRichEvent() const { return m_bRichEvent; }
void CControlUI::SetRichEvent(bool enable) { m_bRichEvent = enable; }

RECT CControlUI::GetRelativePos() const {
  if (m_pParent == nullptr) return RECT{};
  RECT relative = m_rcItem;
  const RECT& parent = m_pParent->GetPos();
  ::OffsetRect(&relative, -parent.left, -parent.top);
  return relative;
}

RECT CControlUI::GetClientPos() const { return m_rcItem; }
const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rect, bool invalidate) {
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;

  RECT invalid = m_rcItem;
  if (::IsRectEmpty(&invalid)) invalid = rect;
  m_rcItem = rect;
  if (m_pManager == nullptr) return;

  if (!m_bSetPos) {
    m_bSetPos = true;
    if (!OnSize.IsEmpty()) OnSize.Fire(this);
    m_bSetPos = false;
  }
  m_bUpdateNeeded = false;
  if (!invalidate || !IsVisible()) return;

  ::UnionRect(&invalid, &invalid, &m_rcItem);
  for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
    if (!parent->IsVisible()) return;
    if (!Intersect(invalid, invalid, parent->GetPos())) return;
  }
  m_pManager->Invalidate(invalid);
}

void CControlUI::Move(SIZE offset, bool /*needInvalidate*/) {
  m_cXY.cx += offset.cx;
  m_cXY.cy += offset.cy;
  NeedParentLayout();
}

int CControlUI::GetWidth() const { return m_rcItem.right - m_rcItem.left; }
int CControlUI::GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
int CControlUI::GetLayoutWidth() const { return m_bFloat ? GetWidth() : GetFixedWidth(); }
int CControlUI::GetLayoutHeight() const { return m_bFloat ? GetHeight() : GetFixedHeight(); }
int CControlUI::GetX() const { return m_rcItem.left; }
int CControlUI::GetY() const { return m_rcItem.top; }

RECT CControlUI::GetPadding() const { return Scale(m_rcPadding); }

void CControlUI::SetPadding(RECT padding) {
  m_rcPadding = padding;
  NeedParentLayout();
}

SIZE CControlUI::GetFixedOrigin() const { return Scale(m_cXY); }

void CControlUI::SetFixedOrigin(SIZE origin) {
  m_cXY = origin;
  NeedParentLayout();
}

SIZE CControlUI::GetFixedSize() const { return Scale(m_cxyFixed); }
int CControlUI::GetFixedWidth() const { return Scale(m_cxyFixed.cx); }

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  NeedParentLayout();
}

int CControlUI::GetFixedHeight() const { return Scale(m_cxyFixed.cy); }

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  NeedParentLayout();
}

int CControlUI::GetMinWidth() const { return Scale(m_cxyMin.cx); }

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0 || m_cxyMin.cx == cx) return;
  m_cxyMin.cx = cx;
  NeedParentLayout();
}

int CControlUI::GetMaxWidth() const { return Scale(m_cxyMax.cx); }

void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0 || m_cxyMax.cx == cx) return;
  m_cxyMax.cx = cx;
  NeedParentLayout();
}

int CControlUI::GetMinHeight() const { return Scale(m_cxyMin.cy); }

void CControlUI::SetMinHeight(int cy) {
  if (cy < 0 || m_cxyMin.cy == cy) return;
  m_cxyMin.cy = cy;
  NeedParentLayout();
}

int CControlUI::GetMaxHeight() const { return Scale(m_cxyMax.cy); }

void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0 || m_cxyMax.cy == cy) return;
  m_cxyMax.cy = cy;
  NeedParentLayout();
}

TPercentInfo CControlUI::GetFloatPercent() const { return m_piFloatPercent; }

void CControlUI::SetFloatPercent(TPercentInfo percent) {
  m_piFloatPercent = percent;
  NeedParentLayout();
}

void CControlUI::SetFloatAlign(UINT align) {
  m_uFloatAlign = align;
  NeedParentLayout();
}

UINT CControlUI::GetFloatAlign() const { return m_uFloatAlign; }

std::wstring CControlUI::GetToolTip() const {
  if (!m_bResourceText) return m_sToolTip;
  return CSkinResourceIndex::GetInstance()->GetText(m_sToolTip);
}

void CControlUI::SetToolTip(const std::wstring& text) { m_sToolTip = attr::ReplaceAll(text, L"<n>", L"\r\n"); }
void CControlUI::SetToolTipWidth(int width) { m_nTooltipWidth = width; }
int CControlUI::GetToolTipWidth() const { return Scale(m_nTooltipWidth); }
WORD CControlUI::GetCursor() const { return m_wCursor; }

std::wstring CControlUI::GetCursorName() const {
  for (const CursorName& entry : kCursorNames) {
    if (entry.id == m_wCursor) return entry.name;
  }
  return std::wstring();
}

void CControlUI::SetCursor(WORD cursor) {
  m_wCursor = cursor;
  Invalidate();
}

wchar_t CControlUI::GetShortcut() const { return m_chShortcut; }
void CControlUI::SetShortcut(wchar_t ch) { m_chShortcut = ch; }
bool CControlUI::IsContextMenuUsed() const { return m_bMenuUsed; }
void CControlUI::SetContextMenuUsed(bool used) { m_bMenuUsed = used; }
const std::wstring& CControlUI::GetUserData() const { return m_sUserData; }
void CControlUI::SetUserData(const std::wstring& text) { m_sUserData = text; }
UINT_PTR CControlUI::GetTag() const { return m_pTag; }
void CControlUI::SetTag(UINT_PTR tag) { m_pTag = tag; }

bool CControlUI::IsVisibleSelf() const { return m_bVisible; }
bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  const bool wasVisible = IsVisible();
  m_bVisible = visible;
  m_bFocused = false;
  if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
  if (IsVisible() != wasVisible) {
    NeedParentLayout();
    NotifyAccessibleEvent(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
  }
}

void CControlUI::SetParentVisible(bool visible) {
  m_bInternVisible = visible;
  if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool enable) {
  if (m_bEnabled == enable) return;
  m_bEnabled = enable;
  Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }
void CControlUI::SetMouseEnabled(bool enable) { m_bMouseEnabled = enable; }
bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
void CControlUI::SetKeyboardEnabled(bool enable) { m_bKeyboardEnabled = enable; }
bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
  if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool floating) {
  if (m_bFloat == floating) return;
  m_bFloat = floating;
  NeedParentLayout();
}

CControlUI* CControlUI::FindControl(FindControlProc proc, void* data, UINT flags) {
  if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
  if ((flags & kFindHitTest) != 0) {
    if (!m_bMouseEnabled || data == nullptr) return nullptr;
    if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(data))) return nullptr;
  }
  return proc != nullptr ? proc(this, data) : nullptr;
}

void CControlUI::Initialize() {
  OnInitialize();
  if (!OnInit.IsEmpty()) OnInit.Fire(this);
}

void CControlUI::OnInitialize() {}

void CControlUI::Event(TControlEventUI& event) {
  if (OnEvent.Fire(&event)) HandleEvent(event);
}

void CControlUI::HandleEvent(TControlEventUI& event) {
  switch (event.Type) {
    case UIEvent::SetCursor:
      ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(m_wCursor != 0 ? m_wCursor : kArrowCursor)));
      return;
    case UIEvent::SetFocus:
      m_bFocused = true;
      Invalidate();
      return;
    case UIEvent::KillFocus:
      m_bFocused = false;
      Invalidate();
      return;
    case UIEvent::Timer:
      Notify(L"timer", event.WParam, event.LParam);
      return;
    case UIEvent::ContextMenu:
      if (IsContextMenuUsed()) {
        Notify(L"menu", event.WParam, event.LParam);
        return;
      }
      break;
    default:
      break;
  }
  if (m_pParent != nullptr) m_pParent->HandleEvent(event);
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kControlAttributes, *this, name, value)) AddCustomAttribute(name, value);
}

SIZE CControlUI::MeasureSize(SIZE /*available*/) { return GetFixedSize(); }

bool CControlUI::IsAccessibleElement() const {
  return !GetAccessibleName().empty() || (GetFlags() & kFlagTabStop) != 0;
}

DWORD CControlUI::GetAccessibleRole() const { return ROLE_SYSTEM_GRAPHIC; }

std::wstring CControlUI::GetAccessibleName() const {
  std::wstring name = GetText();
  return name.empty() ? GetAccessibleLabel() : name;
}

std::wstring CControlUI::GetAccessibleLabel() const {
  std::wstring label = GetToolTip();
  return label.empty() ? m_sAccessibleName : label;
}

DWORD CControlUI::GetAccessibleState() const {
  DWORD state = 0;
  if (!IsEnabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (!IsVisible()) state |= STATE_SYSTEM_INVISIBLE;
  if ((GetFlags() & kFlagTabStop) != 0) state |= STATE_SYSTEM_FOCUSABLE;
  if (m_pManager != nullptr && m_pManager->GetFocus() == this) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

std::wstring CControlUI::GetAccessibleValue() const { return std::wstring(); }

std::wstring CControlUI::GetAccessibleDefaultAction() const { return std::wstring(); }

bool CControlUI::DoAccessibleDefaultAction() {
  if (GetAccessibleDefaultAction().empty()) return false;
  return Activate();
}

bool CControlUI::Paint(HDC dc, const RECT& paint, CControlUI* stopControl) {
  if (stopControl == this) return false;
  if (!Intersect(m_rcPaint, paint, m_rcItem)) return true;
  return PaintContent(dc, paint, stopControl);
}

bool CControlUI::PaintContent(HDC dc, const RECT& paint, CControlUI* /*stopControl*/) {
  if (!Intersect(m_rcPaint, paint, m_rcItem)) return true;
  const SIZE round = GetBorderRound();
  TClipUI clip;
  if (round.cx == 0 && round.cy == 0) {
    TClipUI::GenerateClip(dc, m_rcPaint, clip);
  } else {
    TClipUI::GenerateRoundClip(dc, m_rcPaint, m_rcItem, round.cx, round.cy, clip);
  }
  PaintBackgroundColor(dc);
  PaintBackgroundImage(dc);
  PaintStateImage(dc);
  PaintForeColor(dc);
  PaintForeImage(dc);
  PaintText(dc);
  PaintBorder(dc);
  return true;
}

void CControlUI::PaintBackgroundColor(HDC dc) {
  if (m_dwBackColor == 0) return;
  const bool vertical = m_sGradient != L"hor";
  if (m_dwBackColor2 == 0) {
    const uint32_t color = GetAdjustColor(m_dwBackColor);
    CSkinRender::DrawColor(dc, Alpha(color) < 0xFF ? m_rcItem : m_rcPaint, color);
    return;
  }
  if (m_dwBackColor3 != 0) {
    RECT upper = m_rcItem;
    upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
    CSkinRender::DrawGradient(dc, upper, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), vertical,
                              kTwoGradientSteps);
    RECT lower = m_rcItem;
    lower.top = upper.bottom;
    CSkinRender::DrawGradient(dc, lower, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3), vertical,
                              kTwoGradientSteps);
    return;
  }
  CSkinRender::DrawGradient(dc, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), vertical,
                            kOneGradientSteps);
}

void CControlUI::PaintBackgroundImage(HDC dc) {
  if (!m_sBkImage.empty()) DrawImage(dc, m_sBkImage);
}

void CControlUI::PaintStateImage(HDC /*dc*/) {}

void CControlUI::PaintForeColor(HDC dc) {
  if (m_dwForeColor != 0) CSkinRender::DrawColor(dc, m_rcItem, GetAdjustColor(m_dwForeColor));
}

void CControlUI::PaintForeImage(HDC dc) {
  if (!m_sForeImage.empty()) DrawImage(dc, m_sForeImage);
}

void CControlUI::PaintText(HDC /*dc*/) {}

void CControlUI::PaintBorder(HDC dc) {
  if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
  const int size = GetBorderSize();
  const SIZE round = GetBorderRound();
  const int left = GetLeftBorderSize();
  const int top = GetTopBorderSize();
  const int right = GetRightBorderSize();
  const int bottom = GetBottomBorderSize();
  const bool focusColor = IsFocused() && m_dwFocusBorderColor != 0;
  const uint32_t color = GetAdjustColor(focusColor ? m_dwFocusBorderColor : m_dwBorderColor);
  const uint32_t borderColor = GetAdjustColor(m_dwBorderColor);
  const RECT& r = m_rcItem;

  if (size > 0 && (round.cx > 0 || round.cy > 0)) {
    CSkinRender::DrawRoundRect(dc, r, size, round.cx, round.cy, color);
  } else if (focusColor && size > 0) {
    CSkinRender::DrawRect(dc, r, size, color);
  } else if (left > 0 || top > 0 || right > 0 || bottom > 0) {
    if (left > 0) CSkinRender::DrawLine(dc, RECT{r.left, r.top, r.left, r.bottom}, left, borderColor, m_nBorderStyle);
    if (top > 0) CSkinRender::DrawLine(dc, RECT{r.left, r.top, r.right, r.top}, top, borderColor, m_nBorderStyle);
    if (right > 0) {
      CSkinRender::DrawLine(dc, RECT{r.right - 1, r.top, r.right - 1, r.bottom}, right, borderColor, m_nBorderStyle);
    }
    if (bottom > 0) {
      CSkinRender::DrawLine(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom - 1}, bottom, borderColor,
                            m_nBorderStyle);
    }
  } else if (size > 0) {
    CSkinRender::DrawRect(dc, m_rcItem, size, borderColor);
  }
}

void CControlUI::PaintOverlay(HDC /*dc*/, const RECT& /*paint*/) {}

void CControlUI::PaintFocusRing(HDC dc) {
  if (!m_sFocusRingImage.empty() && DrawImage(dc, m_sFocusRingImage)) return;
  if (m_dwFocusRingColor != 0) {
    // Skin colours often leave the alpha at 0 and mean opaque.
    const uint32_t color = (m_dwFocusRingColor & kAlphaMask) != 0 ? m_dwFocusRingColor : m_dwFocusRingColor | kAlphaMask;
    CSkinRender::DrawRect(dc, m_rcItem, 1, GetAdjustColor(color));
    return;
  }
  ::DrawFocusRect(dc, &m_rcItem);
}

void CControlUI::Invalidate() {
  if (!IsVisible() || m_pManager == nullptr) return;
  RECT invalid = m_rcItem;
  for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
    if (!Intersect(invalid, invalid, parent->GetPos())) return;
  }
  m_pManager->Invalidate(invalid);
}

void CControlUI::NeedLayout() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager != nullptr) m_pManager->RequestUpdate();
}

void CControlUI::NeedParentLayout() {
  if (m_pParent != nullptr) {
    m_pParent->NeedLayout();
    m_pParent->Invalidate();
  } else {
    NeedLayout();
  }
  if (m_pManager != nullptr) m_pManager->RequestUpdate();
}

void CControlUI::ApplyAttributeList(const std::wstring& list) {
  if (g_styleDepth >= kMaxStyleDepth) return;
  std::wstring text = list;
  if (m_pManager != nullptr) {
    const std::wstring* style = m_pManager->GetStyle(list);
    if (style != nullptr) text = *style;
  }
  text = attr::ReplaceAll(std::move(text), L"&quot;", L"\"");

  ++g_styleDepth;
  size_t at = 0;
  while (at < text.size()) {
    const size_t equals = text.find(L'=', at);
    if (equals == std::wstring::npos || equals + 1 >= text.size() || text[equals + 1] != L'"') break;
    const std::wstring name = text.substr(at, equals - at);
    const size_t valueStart = equals + 2;
    const size_t quote = text.find(L'"', valueStart);
    if (quote == std::wstring::npos) break;
    SetAttribute(name, text.substr(valueStart, quote - valueStart));
    at = quote + 1;
    if (at >= text.size()) break;
    if (text[at] != L' ' && text[at] != L',') break;
    ++at;
  }
  --g_styleDepth;
}

void CControlUI::AddCustomAttribute(const std::wstring& name, const std::wstring& value) {
  if (name.empty() || value.empty()) return;
  if (m_mCustomAttributes.Find(name) != nullptr) return;
  m_mCustomAttributes.Insert(name, std::make_unique<std::wstring>(value));
}

const std::wstring* CControlUI::GetCustomAttribute(const std::wstring& name) {
  return m_mCustomAttributes.Find(name);
}

bool CControlUI::RemoveCustomAttribute(const std::wstring& name) {
  return m_mCustomAttributes.Remove(name) != nullptr;
}

void CControlUI::RemoveAllCustomAttributes() { m_mCustomAttributes.Clear(); }

bool CControlUI::DrawImage(HDC dc, const std::wstring& descriptor, const std::wstring& modifier) {
  return CSkinRender::DrawImageDescriptor(dc, m_pManager, m_rcItem, m_rcPaint, descriptor, modifier);
}

std::wstring CControlUI::GetVirtualWindow() const {
  if (!m_sVirtualWnd.empty()) return m_sVirtualWnd;
  return m_pParent != nullptr ? m_pParent->GetVirtualWindow() : std::wstring();
}

void CControlUI::SetVirtualWindow(const std::wstring& name) {
  m_sVirtualWnd = name;
  if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

void CControlUI::SetBkColor(uint32_t color) {
  if (m_dwBackColor == color) return;
  m_dwBackColor = color;
  Invalidate();
}

void CControlUI::SetBkColor2(uint32_t color) {
  if (m_dwBackColor2 == color) return;
  m_dwBackColor2 = color;
  Invalidate();
}

void CControlUI::SetBkColor3(uint32_t color) {
  if (m_dwBackColor3 == color) return;
  m_dwBackColor3 = color;
  Invalidate();
}

void CControlUI::SetForeColor(uint32_t color) {
  if (m_dwForeColor == color) return;
  m_dwForeColor = color;
  Invalidate();
}

void CControlUI::SetGradient(const std::wstring& gradient) {
  m_sGradient = gradient;
  Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& image) {
  if (m_sBkImage == image) return;
  m_sBkImage = image;
  Invalidate();
}

void CControlUI::SetForeImage(const std::wstring& image) {
  if (m_sForeImage == image) return;
  m_sForeImage = image;
  Invalidate();
}

void CControlUI::SetBorderColor(uint32_t color) {
  if (m_dwBorderColor == color) return;
  m_dwBorderColor = color;
  Invalidate();
}

void CControlUI::SetFocusBorderColor(uint32_t color) {
  if (m_dwFocusBorderColor == color) return;
  m_dwFocusBorderColor = color;
  Invalidate();
}

void CControlUI::SetColorHSL(bool hsl) {
  m_bColorHSL = hsl;
  Invalidate();
}

int CControlUI::GetBorderSize() const { return Scale(m_nBorderSize); }

void CControlUI::SetBorderSize(int size) {
  m_nBorderSize = size;
  Invalidate();
}

void CControlUI::SetBorderSize(RECT sides) {
  m_rcBorderSize = sides;
  Invalidate();
}

int CControlUI::GetLeftBorderSize() const { return Scale(m_rcBorderSize.left); }

void CControlUI::SetLeftBorderSize(int size) {
  m_rcBorderSize.left = size;
  Invalidate();
}

int CControlUI::GetTopBorderSize() const { return Scale(m_rcBorderSize.top); }

void CControlUI::SetTopBorderSize(int size) {
  m_rcBorderSize.top = size;
  Invalidate();
}

int CControlUI::GetRightBorderSize() const { return Scale(m_rcBorderSize.right); }

void CControlUI::SetRightBorderSize(int size) {
  m_rcBorderSize.right = size;
  Invalidate();
}

int CControlUI::GetBottomBorderSize() const { return Scale(m_rcBorderSize.bottom); }

void CControlUI::SetBottomBorderSize(int size) {
  m_rcBorderSize.bottom = size;
  Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
  m_nBorderStyle = style;
  Invalidate();
}

SIZE CControlUI::GetBorderRound() const { return Scale(m_cxyBorderRound); }

void CControlUI::SetBorderRound(SIZE round) {
  m_cxyBorderRound = round;
  Invalidate();
}

int CControlUI::Scale(int value) const {
  return m_pManager != nullptr ? m_pManager->ScaleValue(value) : value;
}

RECT CControlUI::Scale(RECT rect) const { return m_pManager != nullptr ? m_pManager->ScaleRect(rect) : rect; }
SIZE CControlUI::Scale(SIZE size) const { return m_pManager != nullptr ? m_pManager->ScaleSize(size) : size; }

void CControlUI::NotifyAccessibleEvent(DWORD event) {
  if (m_pManager != nullptr) m_pManager->NotifyAccessibleEvent(this, event);
}

void CControlUI::Notify(const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async) {
  if (m_pManager != nullptr) m_pManager->SendNotify(this, type, wParam, lParam, async);
}

}  // namespace SkinUI
