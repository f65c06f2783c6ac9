#include "SliderUI.h"

#include <oleacc.h>

#include <algorithm>
#include <string>

#include "AttributeTableUI.h"
#include "ButtonUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr int kPageDivisions = 10;
constexpr int kSliderHeight = 20;

using Attributes = CAttributeTableUI<CSliderUI>;
const Attributes::Entry kSliderAttributes[] = {
    {L"step", Attributes::Int<&CSliderUI::SetChangeStep>},
    {L"thumbsize", Attributes::Size<&CSliderUI::SetThumbSize>},
    {L"thumbimage", Attributes::Text<&CSliderUI::SetThumbImage>},
    {L"thumbhotimage", Attributes::Text<&CSliderUI::SetThumbHotImage>},
    {L"thumbpushedimage", Attributes::Text<&CSliderUI::SetThumbPushedImage>},
    {L"thumbcolor", Attributes::Color<&CSliderUI::SetThumbColor>},
};

}  // namespace

CSliderUI::CSliderUI() {
  m_uTextStyle = kStyleSingleLine | kStyleCenter | kStyleVCenter;
  m_cxyFixed.cy = kSliderHeight;
}

CSliderUI::~CSliderUI() = default;

std::wstring CSliderUI::GetClassName() const { return L"SliderUI"; }

void* CSliderUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Slider")) return this;
  return CProgressUI::GetInterface(typeName);
}

UINT CSliderUI::GetFlags() const { return IsEnabled() ? kFlagSetCursor | kFlagTabStop : 0; }

void CSliderUI::SetEnabled(bool enable) {
  CProgressUI::SetEnabled(enable);
  if (!enable) m_uThumbState = 0;
}

void CSliderUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    CProgressUI::HandleEvent(event);
    return;
  }
  const int span = GetMaxValue() - GetMinValue();
  switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      if (!IsEnabled()) return;
      m_uThumbState |= kStateCaptured | kStatePushed;
      ChangeValue(ValueAt(event.MousePoint));
      Invalidate();
      return;
    case UIEvent::MouseMove:
      if ((m_uThumbState & kStateCaptured) != 0) ChangeValue(ValueAt(event.MousePoint));
      return;
    case UIEvent::ButtonUp:
      if ((m_uThumbState & kStateCaptured) != 0) {
        m_uThumbState &= ~(kStateCaptured | kStatePushed);
        Invalidate();
      }
      return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
      if (!IsEnabled()) return;
      m_uThumbState = event.Type == UIEvent::MouseEnter ? m_uThumbState | kStateHot : m_uThumbState & ~kStateHot;
      Invalidate();
      return;
    case UIEvent::ScrollWheel:
      if (!IsEnabled()) return;
      ChangeValue(GetValue() + (LOWORD(event.WParam) == 1 ? -m_nStep : m_nStep));
      return;
    case UIEvent::KeyDown:
      if (!IsEnabled() || !IsKeyboardEnabled()) break;
      switch (event.Key) {
        case VK_LEFT:
        case VK_DOWN:
          ChangeValue(GetValue() - m_nStep);
          return;
        case VK_RIGHT:
        case VK_UP:
          ChangeValue(GetValue() + m_nStep);
          return;
        case VK_PRIOR:
          ChangeValue(GetValue() + std::max(m_nStep, span / kPageDivisions));
          return;
        case VK_NEXT:
          ChangeValue(GetValue() - std::max(m_nStep, span / kPageDivisions));
          return;
        case VK_HOME:
          ChangeValue(GetMinValue());
          return;
        case VK_END:
          ChangeValue(GetMaxValue());
          return;
        default:
          break;
      }
      break;
    default:
      break;
  }
  CProgressUI::HandleEvent(event);
}

void CSliderUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kSliderAttributes, *this, name, value)) CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintForeImage(HDC dc) {
  CProgressUI::PaintForeImage(dc);
  const RECT thumb = GetThumbRect();
  const std::wstring* image = &m_sThumbImage;
  if ((m_uThumbState & kStatePushed) != 0 && !m_sThumbPushedImage.empty()) {
    image = &m_sThumbPushedImage;
  } else if ((m_uThumbState & kStateHot) != 0 && !m_sThumbHotImage.empty()) {
    image = &m_sThumbHotImage;
  }
  if (!image->empty()) {
    const RECT box = {thumb.left - m_rcItem.left, thumb.top - m_rcItem.top, thumb.right - m_rcItem.left,
                      thumb.bottom - m_rcItem.top};
    if (DrawImage(dc, *image, DestModifier(box))) return;
  }
  if (m_dwThumbColor != 0) CSkinRender::DrawColor(dc, thumb, GetAdjustColor(m_dwThumbColor));
}

void CSliderUI::SetChangeStep(int step) { m_nStep = std::max(step, 1); }

SIZE CSliderUI::GetThumbSize() const { return Scale(m_szThumb); }

void CSliderUI::SetThumbSize(SIZE size) {
  m_szThumb = size;
  Invalidate();
}

RECT CSliderUI::GetThumbRect() const {
  const SIZE thumb = GetThumbSize();
  const long long span = std::max(1LL, static_cast<long long>(GetMaxValue()) - GetMinValue());
  const long long offset = static_cast<long long>(GetValue()) - GetMinValue();
  const RECT& r = m_rcItem;
  if (IsHorizontal()) {
    const int travel = std::max(0, static_cast<int>(r.right - r.left - thumb.cx));
    const int left = r.left + static_cast<int>(travel * offset / span);
    const int top = (r.top + r.bottom - thumb.cy) / 2;
    return RECT{left, top, left + thumb.cx, top + thumb.cy};
  }
  const int travel = std::max(0, static_cast<int>(r.bottom - r.top - thumb.cy));
  const int top = r.bottom - thumb.cy - static_cast<int>(travel * offset / span);
  const int left = (r.left + r.right - thumb.cx) / 2;
  return RECT{left, top, left + thumb.cx, top + thumb.cy};
}

void CSliderUI::SetThumbImage(const std::wstring& image) {
  m_sThumbImage = image;
  Invalidate();
}

void CSliderUI::SetThumbHotImage(const std::wstring& image) {
  m_sThumbHotImage = image;
  Invalidate();
}

void CSliderUI::SetThumbPushedImage(const std::wstring& image) {
  m_sThumbPushedImage = image;
  Invalidate();
}

void CSliderUI::SetThumbColor(uint32_t color) {
  m_dwThumbColor = color;
  Invalidate();
}

void CSliderUI::ChangeValue(int value) {
  value = std::clamp(value, GetMinValue(), std::max(GetMinValue(), GetMaxValue()));
  if (value == GetValue()) return;
  SetValue(value);
  Notify(kNotifyValueChanged, static_cast<WPARAM>(value));
}

DWORD CSliderUI::GetAccessibleRole() const { return ROLE_SYSTEM_SLIDER; }

std::wstring CSliderUI::GetAccessibleValue() const { return std::to_wstring(GetValue()); }

int CSliderUI::ValueAt(POINT point) const {
  const SIZE thumb = GetThumbSize();
  const int span = GetMaxValue() - GetMinValue();
  const RECT& r = m_rcItem;
  long long along = 0;
  long long travel = 0;
  if (IsHorizontal()) {
    travel = r.right - r.left - thumb.cx;
    along = point.x - r.left - thumb.cx / 2;
  } else {
    travel = r.bottom - r.top - thumb.cy;
    along = r.bottom - thumb.cy / 2 - point.y;
  }
  if (travel <= 0) return GetMinValue();
  along = std::clamp(along, 0LL, travel);
  // Rounded to the nearest step from the minimum.
  const long long raw = (along * span + travel / 2) / travel;
  const long long stepped = (raw + m_nStep / 2) / m_nStep * m_nStep;
  return GetMinValue() + static_cast<int>(std::min<long long>(stepped, span));
}

}  // namespace SkinUI
