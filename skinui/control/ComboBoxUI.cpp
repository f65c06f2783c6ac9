#include "ComboBoxUI.h"

#include <algorithm>

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr uint32_t kArrowColor = 0xFF404040;
constexpr uint32_t kDisabledArrowColor = 0xFFA0A0A0;
// The drawn triangle: its half-width as a part of the arrow square's side.
constexpr int kArrowDivisor = 4;

using Attributes = CAttributeTableUI<CComboBoxUI>;
const Attributes::Entry kComboBoxAttributes[] = {
    {L"arrowimage", Attributes::Text<&CComboBoxUI::SetArrowImage>},
    {L"arrowhotimage", Attributes::Text<&CComboBoxUI::SetArrowHotImage>},
    {L"arrowpushedimage", Attributes::Text<&CComboBoxUI::SetArrowPushedImage>},
    {L"arrowdisabledimage", Attributes::Text<&CComboBoxUI::SetArrowDisabledImage>},
};

}  // namespace

CComboBoxUI::CComboBoxUI() = default;
CComboBoxUI::~CComboBoxUI() = default;

std::wstring CComboBoxUI::GetClassName() const { return L"ComboBoxUI"; }

void* CComboBoxUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ComboBox")) return this;
  return CComboUI::GetInterface(typeName);
}

void CComboBoxUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kComboBoxAttributes, *this, name, value)) CComboUI::SetAttribute(name, value);
}

void CComboBoxUI::SetArrowImage(const std::wstring& image) {
  m_sArrowImage = image;
  Invalidate();
}

void CComboBoxUI::SetArrowHotImage(const std::wstring& image) {
  m_sArrowHotImage = image;
  Invalidate();
}

void CComboBoxUI::SetArrowPushedImage(const std::wstring& image) {
  m_sArrowPushedImage = image;
  Invalidate();
}

void CComboBoxUI::SetArrowDisabledImage(const std::wstring& image) {
  m_sArrowDisabledImage = image;
  Invalidate();
}

RECT CComboBoxUI::GetArrowRect() const {
  const int side = std::min(m_rcItem.bottom - m_rcItem.top, m_rcItem.right - m_rcItem.left);
  return RECT{m_rcItem.right - side, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

void CComboBoxUI::PaintStateImage(HDC dc) {
  CComboUI::PaintStateImage(dc);
  const RECT arrow = GetArrowRect();
  const std::wstring* image = &m_sArrowImage;
  if (!IsEnabled() && !m_sArrowDisabledImage.empty()) {
    image = &m_sArrowDisabledImage;
  } else if ((IsPushed() || IsDropped()) && !m_sArrowPushedImage.empty()) {
    image = &m_sArrowPushedImage;
  } else if (IsHot() && !m_sArrowHotImage.empty()) {
    image = &m_sArrowHotImage;
  }
  if (!image->empty() &&
      CSkinRender::DrawImageDescriptor(dc, m_pManager, arrow, m_rcPaint, *image, std::wstring())) {
    return;
  }
  // A downward triangle, one line of pixels at a time.
  const int half = (arrow.right - arrow.left) / kArrowDivisor;
  const int centerX = (arrow.left + arrow.right) / 2;
  const int top = (arrow.top + arrow.bottom) / 2 - half / 2;
  const uint32_t color = IsEnabled() ? kArrowColor : kDisabledArrowColor;
  for (int row = 0; row < half; ++row) {
    const RECT line = {centerX - half + row, top + row, centerX + half - row, top + row + 1};
    RECT visible;
    if (::IntersectRect(&visible, &line, &m_rcPaint)) CSkinRender::DrawColor(dc, visible, color);
  }
}

RECT CComboBoxUI::GetTextArea() const {
  RECT area = CComboUI::GetTextArea();
  area.right = std::min(area.right, GetArrowRect().left);
  return area;
}

}  // namespace SkinUI
