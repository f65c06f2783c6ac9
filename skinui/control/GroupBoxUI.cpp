#include "GroupBoxUI.h"

#include <oleacc.h>

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr RECT kDefaultInset = {8, 22, 8, 8};
constexpr int kCaptionIndent = 10;
constexpr int kCaptionGap = 4;
constexpr uint32_t kDefaultFrameColor = 0xFF9A9A9A;

using Attributes = CAttributeTableUI<CGroupBoxUI>;
const Attributes::Entry kGroupBoxAttributes[] = {
    {L"textcolor", Attributes::Color<&CGroupBoxUI::SetTextColor>},
    {L"disabledtextcolor", Attributes::Color<&CGroupBoxUI::SetDisabledTextColor>},
    {L"font", Attributes::Int<&CGroupBoxUI::SetFont>},
};

}  // namespace

CGroupBoxUI::CGroupBoxUI() { m_rcInset = kDefaultInset; }
CGroupBoxUI::~CGroupBoxUI() = default;

std::wstring CGroupBoxUI::GetClassName() const { return L"GroupBoxUI"; }

void* CGroupBoxUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"GroupBox")) return this;
  return CVerticalLayoutUI::GetInterface(typeName);
}

void CGroupBoxUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kGroupBoxAttributes, *this, name, value)) CVerticalLayoutUI::SetAttribute(name, value);
}

void CGroupBoxUI::PaintText(HDC dc) {
  m_rcCaption = RECT{};
  const std::wstring text = GetText();
  const SIZE size = MeasureCaption(dc);
  if (size.cx == 0) return;
  const int indent = Scale(kCaptionIndent);
  m_rcCaption = RECT{m_rcItem.left + indent, m_rcItem.top, m_rcItem.left + indent + size.cx, m_rcItem.top + size.cy};
  uint32_t color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  if (color == 0) color = IsEnabled() ? m_pManager->GetDefaultFontColor() : m_pManager->GetDefaultDisabledColor();
  RECT rect = m_rcCaption;
  CSkinRender::DrawText(dc, m_pManager, rect, text, color, m_iFont, kTextSingleLine | kTextVCenter);
}

void CGroupBoxUI::PaintBorder(HDC dc) {
  const uint32_t color = GetAdjustColor(m_dwBorderColor != 0 ? m_dwBorderColor : kDefaultFrameColor);
  const int width = GetBorderSize() > 0 ? GetBorderSize() : 1;
  const SIZE caption = MeasureCaption(dc);
  const RECT& r = m_rcItem;
  // The frame's top runs through the middle of the caption.
  const LONG top = r.top + caption.cy / 2;
  const LONG right = r.right - 1;
  const LONG bottom = r.bottom - 1;
  CSkinRender::DrawLine(dc, RECT{r.left, top, r.left, bottom}, width, color);
  CSkinRender::DrawLine(dc, RECT{right, top, right, bottom}, width, color);
  CSkinRender::DrawLine(dc, RECT{r.left, bottom, r.right, bottom}, width, color);
  if (caption.cx == 0) {
    CSkinRender::DrawLine(dc, RECT{r.left, top, r.right, top}, width, color);
    return;
  }
  const int gap = Scale(kCaptionGap);
  const LONG captionLeft = r.left + Scale(kCaptionIndent);
  CSkinRender::DrawLine(dc, RECT{r.left, top, captionLeft - gap, top}, width, color);
  CSkinRender::DrawLine(dc, RECT{captionLeft + caption.cx + gap, top, r.right, top}, width, color);
}

void CGroupBoxUI::SetTextColor(uint32_t color) {
  m_dwTextColor = color;
  Invalidate();
}

void CGroupBoxUI::SetDisabledTextColor(uint32_t color) {
  m_dwDisabledTextColor = color;
  Invalidate();
}

void CGroupBoxUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
}

DWORD CGroupBoxUI::GetAccessibleRole() const { return ROLE_SYSTEM_GROUPING; }

SIZE CGroupBoxUI::MeasureCaption(HDC dc) const {
  const std::wstring text = GetText();
  if (text.empty() || m_pManager == nullptr || dc == nullptr) return SIZE{};
  return CSkinRender::GetTextSize(dc, m_pManager, text, m_iFont);
}

}  // namespace SkinUI
