#include "ScrollBarUI.h"

#include <oleacc.h>

#include <algorithm>
#include <string>

#include "AttributeTableUI.h"
#include "AttributeText.h"
#include "ContainerUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr int kDefaultBarSize = 16;
constexpr int kMinThumbLength = 12;
constexpr UINT kRepeatTimer = 1;
constexpr UINT kRepeatFirstDelayMs = 400;
constexpr UINT kRepeatDelayMs = 50;
constexpr WORD kWheelUp = 0;

// Drawn where a skin gives no picture, so that a bare bar can still be seen and used.
constexpr uint32_t kDefaultColors[CScrollBarUI::kPartCount][CScrollBarUI::kStateCount] = {
    {0xFFDADADA, 0xFFC8C8C8, 0xFFB0B0B0, 0xFFEAEAEA},  // button 1
    {0xFFDADADA, 0xFFC8C8C8, 0xFFB0B0B0, 0xFFEAEAEA},  // button 2
    {0xFFC2C2C2, 0xFFA8A8A8, 0xFF8C8C8C, 0},           // thumb
    {0, 0, 0, 0},                                      // rail
};

constexpr const wchar_t* kPartNames[CScrollBarUI::kPartCount] = {L"button1", L"button2", L"thumb", L"rail"};
constexpr const wchar_t* kStateNames[CScrollBarUI::kStateCount] = {L"normal", L"hot", L"pushed", L"disabled"};

// "<part><state>image" or "<part><state>color", e.g. "thumbhotimage"; false for other names.
bool ParsePartAttribute(const std::wstring& name, int& part, int& state, bool& isColor) {
  std::wstring lower = name;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(::towlower(ch));
  for (part = 0; part < CScrollBarUI::kPartCount; ++part) {
    const std::wstring prefix = kPartNames[part];
    if (lower.compare(0, prefix.size(), prefix) != 0) continue;
    for (state = 0; state < CScrollBarUI::kStateCount; ++state) {
      const std::wstring stem = prefix + kStateNames[state];
      if (lower == stem + L"image") {
        isColor = false;
        return true;
      }
      if (lower == stem + L"color") {
        isColor = true;
        return true;
      }
    }
  }
  return false;
}

using Attributes = CAttributeTableUI<CScrollBarUI>;
const Attributes::Entry kScrollBarAttributes[] = {
    {L"hor", Attributes::Bool<&CScrollBarUI::SetHorizontal>},
    {L"linesize", Attributes::Int<&CScrollBarUI::SetLineSize>},
    {L"range", Attributes::Int<&CScrollBarUI::SetScrollRange>},
    {L"value", Attributes::Int<&CScrollBarUI::SetScrollPos>},
    {L"showbutton1",
     [](CScrollBarUI& bar, const std::wstring& v) { bar.ShowButton(CScrollBarUI::kButton1, attr::ParseBool(v)); }},
    {L"showbutton2",
     [](CScrollBarUI& bar, const std::wstring& v) { bar.ShowButton(CScrollBarUI::kButton2, attr::ParseBool(v)); }},
};

}  // namespace

CScrollBarUI::CScrollBarUI() {
  m_cxyFixed.cx = kDefaultBarSize;
  m_cxyFixed.cy = 0;
  for (int part = 0; part < kPartCount; ++part) {
    for (int state = 0; state < kStateCount; ++state) m_dwColors[part][state] = kDefaultColors[part][state];
  }
}

CScrollBarUI::~CScrollBarUI() {
  if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimer);
}

std::wstring CScrollBarUI::GetClassName() const { return L"ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ScrollBar")) return this;
  return CControlUI::GetInterface(typeName);
}

void CScrollBarUI::SetEnabled(bool enable) {
  CControlUI::SetEnabled(enable);
  if (!enable) m_hotPart = m_pressedPart = kNoPart;
}

bool CScrollBarUI::IsAccessibleElement() const { return m_pOwner == nullptr; }

DWORD CScrollBarUI::GetAccessibleRole() const { return ROLE_SYSTEM_SCROLLBAR; }

std::wstring CScrollBarUI::GetAccessibleValue() const { return std::to_wstring(m_nScrollPos); }

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  if (horizontal) {
    m_cxyFixed.cy = m_cxyFixed.cx != 0 ? m_cxyFixed.cx : kDefaultBarSize;
    m_cxyFixed.cx = 0;
  } else {
    m_cxyFixed.cx = m_cxyFixed.cy != 0 ? m_cxyFixed.cy : kDefaultBarSize;
    m_cxyFixed.cy = 0;
  }
  NeedParentLayout();
}

void CScrollBarUI::SetScrollRange(int range) {
  if (range < 0) range = 0;
  if (m_nRange == range) return;
  m_nRange = range;
  if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
  Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
  pos = std::clamp(pos, 0, m_nRange);
  if (m_nScrollPos == pos) return;
  m_nScrollPos = pos;
  Invalidate();
}

int CScrollBarUI::GetLineSize() const { return Scale(m_nLineSize); }

void CScrollBarUI::SetLineSize(int size) {
  if (size > 0) m_nLineSize = size;
}

void CScrollBarUI::ShowButton(Part button, bool show) {
  m_bShowButton[button == kButton2 ? 1 : 0] = show;
  Invalidate();
}

void CScrollBarUI::SetPartImage(Part part, PartState state, const std::wstring& image) {
  if (part >= kPartCount || state >= kStateCount) return;
  m_sImages[part][state] = image;
  Invalidate();
}

void CScrollBarUI::SetPartColor(Part part, PartState state, uint32_t color) {
  if (part >= kPartCount || state >= kStateCount) return;
  m_dwColors[part][state] = color;
  Invalidate();
}

int CScrollBarUI::Length() const {
  return m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
}

int CScrollBarUI::Thickness() const {
  return m_bHorizontal ? m_rcItem.bottom - m_rcItem.top : m_rcItem.right - m_rcItem.left;
}

RECT CScrollBarUI::GetPartRect(Part part) const {
  const int length = Length();
  const int thickness = Thickness();
  const int origin = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
  // Square arrows at both ends, as long as there is room for them.
  const int button = std::min(thickness, length / 2);
  const int railStart = m_bShowButton[0] ? button : 0;
  const int railEnd = length - (m_bShowButton[1] ? button : 0);
  int from = 0;
  int to = 0;
  switch (part) {
    case kButton1:
      if (m_bShowButton[0]) to = button;
      break;
    case kButton2:
      if (m_bShowButton[1]) {
        from = length - button;
        to = length;
      }
      break;
    case kRail:
      from = railStart;
      to = railEnd;
      break;
    case kThumb: {
      const int rail = railEnd - railStart;
      if (m_nRange <= 0 || !IsEnabled() || rail <= 0) break;
      // The thumb is to the rail what the view is to the whole content.
      const long long share = static_cast<long long>(rail) * length / (length + m_nRange);
      const int thumb = std::min(rail, std::max(static_cast<int>(share), Scale(kMinThumbLength)));
      from = railStart + static_cast<int>(static_cast<long long>(rail - thumb) * m_nScrollPos / m_nRange);
      to = from + thumb;
      break;
    }
    default:
      break;
  }
  if (to <= from) return RECT{};
  if (m_bHorizontal) return RECT{origin + from, m_rcItem.top, origin + to, m_rcItem.bottom};
  return RECT{m_rcItem.left, origin + from, m_rcItem.right, origin + to};
}

CScrollBarUI::Part CScrollBarUI::PartAt(POINT point) const {
  // The thumb lies on the rail: it is asked first.
  for (Part part : {kThumb, kButton1, kButton2, kRail}) {
    const RECT rect = GetPartRect(part);
    if (::PtInRect(&rect, point)) return part;
  }
  return kNoPart;
}

void CScrollBarUI::StepLine(int direction) {
  if (m_pOwner == nullptr) {
    ScrollTo(m_nScrollPos + direction * GetLineSize());
  } else if (m_bHorizontal) {
    direction < 0 ? m_pOwner->LineLeft() : m_pOwner->LineRight();
  } else {
    direction < 0 ? m_pOwner->LineUp() : m_pOwner->LineDown();
  }
}

void CScrollBarUI::StepPage(int direction) {
  if (m_pOwner == nullptr) {
    ScrollTo(m_nScrollPos + direction * std::max(Length(), 1));
  } else if (m_bHorizontal) {
    direction < 0 ? m_pOwner->PageLeft() : m_pOwner->PageRight();
  } else {
    direction < 0 ? m_pOwner->PageUp() : m_pOwner->PageDown();
  }
}

void CScrollBarUI::ScrollTo(int pos) {
  if (m_pOwner != nullptr) {
    SIZE scroll = m_pOwner->GetScrollPos();
    (m_bHorizontal ? scroll.cx : scroll.cy) = pos;
    m_pOwner->SetScrollPos(scroll);
    return;
  }
  const int before = m_nScrollPos;
  SetScrollPos(pos);
  if (m_nScrollPos != before) Notify(L"scroll");
}

void CScrollBarUI::RepeatPressedPart() {
  const POINT mouse = m_pManager != nullptr ? m_pManager->GetMousePos() : POINT{};
  if (PartAt(mouse) != m_pressedPart && m_pressedPart != kRail) return;
  if (m_pressedPart == kRail) {
    // Paging stops once the thumb has reached the point that is held.
    const RECT thumb = GetPartRect(kThumb);
    if (::PtInRect(&thumb, mouse) || PartAt(mouse) != kRail) return;
    const int at = m_bHorizontal ? mouse.x : mouse.y;
    const int thumbStart = m_bHorizontal ? thumb.left : thumb.top;
    if ((at < thumbStart) != (m_nPressDirection < 0)) return;
    StepPage(m_nPressDirection);
  } else {
    StepLine(m_nPressDirection);
  }
}

void CScrollBarUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pOwner != nullptr) m_pOwner->HandleEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick: {
      if (!IsEnabled()) return;
      m_pressedPart = PartAt(event.MousePoint);
      m_nPressDirection = 0;
      if (m_pressedPart == kThumb) {
        m_ptDragStart = event.MousePoint;
        m_nDragStartPos = m_nScrollPos;
      } else if (m_pressedPart == kButton1 || m_pressedPart == kButton2) {
        m_nPressDirection = m_pressedPart == kButton1 ? -1 : 1;
        StepLine(m_nPressDirection);
      } else if (m_pressedPart == kRail) {
        const RECT thumb = GetPartRect(kThumb);
        const int at = m_bHorizontal ? event.MousePoint.x : event.MousePoint.y;
        m_nPressDirection = at < (m_bHorizontal ? thumb.left : thumb.top) ? -1 : 1;
        StepPage(m_nPressDirection);
      }
      if (m_nPressDirection != 0 && m_pManager != nullptr) {
        m_pManager->SetTimer(this, kRepeatTimer, kRepeatFirstDelayMs);
      }
      Invalidate();
      return;
    }
    case UIEvent::ButtonUp:
      if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimer);
      m_pressedPart = kNoPart;
      m_hotPart = PartAt(event.MousePoint);
      Invalidate();
      return;
    case UIEvent::MouseMove:
      if (m_pressedPart == kThumb) {
        const RECT thumb = GetPartRect(kThumb);
        const RECT rail = GetPartRect(kRail);
        const int travel = m_bHorizontal ? (rail.right - rail.left) - (thumb.right - thumb.left)
                                         : (rail.bottom - rail.top) - (thumb.bottom - thumb.top);
        const int moved = m_bHorizontal ? event.MousePoint.x - m_ptDragStart.x : event.MousePoint.y - m_ptDragStart.y;
        if (travel > 0) {
          ScrollTo(m_nDragStartPos + static_cast<int>(static_cast<long long>(moved) * m_nRange / travel));
        }
      } else if (m_pressedPart == kNoPart && IsEnabled()) {
        const Part hot = PartAt(event.MousePoint);
        if (hot != m_hotPart) {
          m_hotPart = hot;
          Invalidate();
        }
      }
      return;
    case UIEvent::MouseEnter:
      return;
    case UIEvent::MouseLeave:
      if (m_hotPart != kNoPart) {
        m_hotPart = kNoPart;
        Invalidate();
      }
      return;
    case UIEvent::Timer:
      if (event.WParam != kRepeatTimer) break;
      if (m_pressedPart == kNoPart || m_pressedPart == kThumb) {
        if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimer);
        return;
      }
      if (m_pManager != nullptr) m_pManager->SetTimer(this, kRepeatTimer, kRepeatDelayMs);
      RepeatPressedPart();
      return;
    case UIEvent::ScrollWheel:
      if (!IsEnabled()) return;
      StepLine(LOWORD(event.WParam) == kWheelUp ? -1 : 1);
      return;
    default:
      break;
  }
  CControlUI::HandleEvent(event);
}

CScrollBarUI::PartState CScrollBarUI::StateOf(Part part) const {
  if (!IsEnabled()) return kDisabled;
  if (m_pressedPart == part) return kPushed;
  if (m_hotPart == part) return kHot;
  return kNormal;
}

void CScrollBarUI::PaintStateImage(HDC dc) {
  for (Part part : {kRail, kButton1, kButton2, kThumb}) {
    const RECT rect = GetPartRect(part);
    if (::IsRectEmpty(&rect)) continue;
    const PartState state = StateOf(part);
    // A missing state picture falls back to the normal one.
    const std::wstring& image = !m_sImages[part][state].empty() ? m_sImages[part][state] : m_sImages[part][kNormal];
    if (!image.empty() &&
        CSkinRender::DrawImageDescriptor(dc, m_pManager, rect, m_rcPaint, image, std::wstring())) {
      continue;
    }
    const uint32_t color = m_dwColors[part][state];
    RECT visible;
    if (color != 0 && ::IntersectRect(&visible, &rect, &m_rcPaint)) CSkinRender::DrawColor(dc, visible, color);
  }
}

void CScrollBarUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  int part = 0;
  int state = 0;
  bool isColor = false;
  if (ParsePartAttribute(name, part, state, isColor)) {
    if (isColor) {
      SetPartColor(static_cast<Part>(part), static_cast<PartState>(state), attr::ParseColor(value, true));
    } else {
      SetPartImage(static_cast<Part>(part), static_cast<PartState>(state), value);
    }
    return;
  }
  if (!Attributes::Apply(kScrollBarAttributes, *this, name, value)) CControlUI::SetAttribute(name, value);
}

}  // namespace SkinUI
