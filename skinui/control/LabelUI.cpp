#include "LabelUI.h"

#include <oleacc.h>

#include "AttributeTableUI.h"
#include "AttributeText.h"
#include "GdiHandles.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr int kMeasureExtent = 9999;
constexpr int kSingleLineExtra = 8;
constexpr UINT kAlignBits = kStyleCenter | kStyleRight | kStyleVCenter | kStyleBottom;

UINT WithFlag(UINT style, UINT flag, bool on) { return on ? style | flag : style & ~flag; }

using Attributes = CAttributeTableUI<CLabelUI>;
const Attributes::Entry kLabelAttributes[] = {
    {L"align",
     [](CLabelUI& label, const std::wstring& value) {
       UINT style = label.GetTextStyle();
       if (attr::ContainsWord(value, L"left")) style &= ~(kStyleCenter | kStyleRight);
       if (attr::ContainsWord(value, L"center")) style = (style | kStyleCenter) & ~kStyleRight;
       if (attr::ContainsWord(value, L"right")) style = (style | kStyleRight) & ~kStyleCenter;
       label.SetTextStyle(style);
     }},
    {L"valign",
     [](CLabelUI& label, const std::wstring& value) {
       UINT style = label.GetTextStyle();
       if (attr::ContainsWord(value, L"top")) {
         style = (style & ~(kStyleVCenter | kStyleBottom | kStyleWordBreak)) | kStyleSingleLine;
       }
       if (attr::ContainsWord(value, L"vcenter")) {
         style = (style & ~(kStyleBottom | kStyleWordBreak)) | kStyleVCenter | kStyleSingleLine;
       }
       if (attr::ContainsWord(value, L"bottom")) {
         style = (style & ~(kStyleVCenter | kStyleWordBreak)) | kStyleBottom | kStyleSingleLine;
       }
       label.SetTextStyle(style);
     }},
    {L"endellipsis",
     [](CLabelUI& label, const std::wstring& value) {
       label.SetTextStyle(WithFlag(label.GetTextStyle(), kStyleEndEllipsis, attr::ParseBool(value)));
     }},
    {L"wordbreak",
     [](CLabelUI& label, const std::wstring& value) {
       const UINT style = label.GetTextStyle();
       if (attr::ParseBool(value)) {
         label.SetTextStyle((style & ~kStyleSingleLine) | kStyleWordBreak | kStyleEditControl);
       } else {
         label.SetTextStyle((style & ~(kStyleWordBreak | kStyleEditControl)) | kStyleSingleLine);
       }
     }},
    {L"noprefix",
     [](CLabelUI& label, const std::wstring& value) {
       label.SetTextStyle(WithFlag(label.GetTextStyle(), kStyleNoPrefix, attr::ParseBool(value)));
     }},
    {L"font", Attributes::Int<&CLabelUI::SetFont>},
    {L"textcolor", Attributes::StrictColor<&CLabelUI::SetTextColor>},
    {L"disabledtextcolor", Attributes::StrictColor<&CLabelUI::SetDisabledTextColor>},
    {L"textpadding", Attributes::Rect<&CLabelUI::SetTextPadding>},
    {L"showhtml", Attributes::Bool<&CLabelUI::SetShowHtml>},
    {L"autocalcwidth", Attributes::Bool<&CLabelUI::SetAutoWidth>},
    {L"autocalcheight", Attributes::Bool<&CLabelUI::SetAutoHeight>},
};

}  // namespace

CLabelUI::CLabelUI() = default;
CLabelUI::~CLabelUI() = default;

std::wstring CLabelUI::GetClassName() const { return L"LabelUI"; }

void* CLabelUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Label")) return this;
  return CControlUI::GetInterface(typeName);
}

DWORD CLabelUI::GetAccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }

std::wstring CLabelUI::GetAccessibleName() const {
  if (!m_bShowHtml || GetText().empty()) return CControlUI::GetAccessibleName();
  return CSkinRender::HtmlPlainText(GetText());
}

UINT CLabelUI::GetFlags() const { return IsEnabled() ? kFlagSetCursor : 0; }

void CLabelUI::SetText(const std::wstring& text) {
  const std::wstring before = m_sText;
  CControlUI::SetText(text);
  if (m_sText == before) return;
  m_bNeedEstimateSize = true;
  if (m_bAutoCalcWidth || m_bAutoCalcHeight) NeedParentLayout();
}

void CLabelUI::HandleEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::SetFocus) {
    m_bFocused = true;
    return;
  }
  if (event.Type == UIEvent::KillFocus) {
    m_bFocused = false;
    return;
  }
  CControlUI::HandleEvent(event);
}

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kLabelAttributes, *this, name, value)) CControlUI::SetAttribute(name, value);
}

SIZE CLabelUI::MeasureSize(SIZE available) {
  if (m_cxyFixed.cx >= 1 && m_cxyFixed.cy >= 1) return GetFixedSize();
  if (!m_bNeedEstimateSize && available.cx == m_szAvailableLast.cx && available.cy == m_szAvailableLast.cy) {
    return m_cxyFixedLast;
  }
  SIZE size = GetFixedSize();
  const RECT padding = GetTextPadding();
  const std::wstring text = GetText();
  if ((m_uTextStyle & kStyleSingleLine) != 0) {
    if (size.cy == 0) {
      int fontHeight = 0;
      if (m_pManager != nullptr) {
        if (const TFontDataUI* font = m_pManager->GetFontInfo(m_iFont)) fontHeight = font->metrics.tmHeight;
      }
      size.cy = padding.top + fontHeight + padding.bottom + kSingleLineExtra;
    }
    if (size.cx == 0 && m_bAutoCalcWidth) {
      RECT measure = {0, 0, kMeasureExtent, size.cy};
      if (!DrawLabelText(nullptr, measure, text, 0, m_iFont, (m_uTextStyle & ~kAlignBits) | kStyleCalcRect))
        measure.right = measure.left;
      size.cx = measure.right - measure.left + padding.left + padding.right;
    }
  } else if (size.cy == 0 && m_bAutoCalcHeight) {
    RECT measure = {padding.left, 0, size.cx - padding.right, kMeasureExtent};
    if (!DrawLabelText(nullptr, measure, text, 0, m_iFont, m_uTextStyle | kStyleCalcRect))
      measure.bottom = measure.top;
    size.cy = measure.bottom - measure.top + padding.top + padding.bottom;
  }
  // Without a manager nothing could be measured: measure again once there is one.
  m_szAvailableLast = available;
  m_cxyFixedLast = size;
  m_bNeedEstimateSize = m_pManager == nullptr;
  return size;
}

void CLabelUI::PaintText(HDC dc) {
  TakeDefaultColors();
  const std::wstring text = GetText();
  if (text.empty()) return;
  RECT rect = GetTextRect();
  DrawLabelText(dc, rect, text, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont, m_uTextStyle);
}

bool CLabelUI::IsAutoWidth() const { return m_bAutoCalcWidth; }

void CLabelUI::SetAutoWidth(bool autoWidth) {
  m_bAutoCalcWidth = autoWidth;
  m_bNeedEstimateSize = true;
}

bool CLabelUI::IsAutoHeight() const { return m_bAutoCalcHeight; }

void CLabelUI::SetAutoHeight(bool autoHeight) {
  m_bAutoCalcHeight = autoHeight;
  m_bNeedEstimateSize = true;
}

void CLabelUI::SetTextStyle(UINT style) {
  m_uTextStyle = style;
  Invalidate();
}

void CLabelUI::SetTextColor(uint32_t color) {
  m_dwTextColor = color;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(uint32_t color) {
  m_dwDisabledTextColor = color;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  m_bNeedEstimateSize = true;
  Invalidate();
}

RECT CLabelUI::GetTextPadding() const { return Scale(m_rcTextPadding); }

void CLabelUI::SetTextPadding(RECT padding) {
  m_rcTextPadding = padding;
  m_bNeedEstimateSize = true;
  Invalidate();
}

void CLabelUI::SetShowHtml(bool show) {
  if (m_bShowHtml == show) return;
  m_bShowHtml = show;
  m_bNeedEstimateSize = true;
  Invalidate();
}

RECT CLabelUI::GetTextRect() const {
  const RECT padding = GetTextPadding();
  return RECT{m_rcItem.left + padding.left, m_rcItem.top + padding.top, m_rcItem.right - padding.right,
              m_rcItem.bottom - padding.bottom};
}

void CLabelUI::TakeDefaultColors() {
  if (m_pManager == nullptr) return;
  if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
  if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

bool CLabelUI::DrawLabelText(HDC dc, RECT& rect, const std::wstring& text, uint32_t color, int font, UINT style) {
  if (m_pManager == nullptr || text.empty()) return false;
  // Measuring needs a device context even before the window paints.
  unique_memory_dc scratch;
  if (dc == nullptr) dc = m_pManager->GetPaintDC();
  if (dc == nullptr) {
    scratch.reset(::CreateCompatibleDC(nullptr));
    dc = scratch.get();
  }
  if (dc == nullptr) return false;
  if (m_bShowHtml) {
    int links = 0;
    CSkinRender::DrawHtmlText(dc, m_pManager, rect, text, color, nullptr, nullptr, &links, font, style);
  } else {
    CSkinRender::DrawText(dc, m_pManager, rect, text, color, font, style);
  }
  return true;
}

}  // namespace SkinUI
