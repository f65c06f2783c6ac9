#include "ProgressUI.h"

#include <oleacc.h>

#include <cwchar>
#include <string>

#include "AttributeTableUI.h"
#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kProgressTextStyle = kStyleCenter | kStyleSingleLine;
constexpr int kProgressHeight = 12;
constexpr int kFullScale = 100;
constexpr size_t kPercentTextSize = 32;

using Attributes = CAttributeTableUI<CProgressUI>;
const Attributes::Entry kProgressAttributes[] = {
    {L"hor", Attributes::Bool<&CProgressUI::SetHorizontal>},
    {L"min", Attributes::Int<&CProgressUI::SetMinValue>},
    {L"max", Attributes::Int<&CProgressUI::SetMaxValue>},
    {L"value", Attributes::Int<&CProgressUI::SetValue>},
    {L"isstretchfore", Attributes::Bool<&CProgressUI::SetStretchForeImage>},
};

}  // namespace

CProgressUI::CProgressUI() {
  m_uTextStyle = kProgressTextStyle;
  m_cxyFixed.cy = kProgressHeight;
}

CProgressUI::~CProgressUI() = default;

std::wstring CProgressUI::GetClassName() const { return L"ProgressUI"; }

void* CProgressUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Progress")) return this;
  return CLabelUI::GetInterface(typeName);
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kProgressAttributes, *this, name, value)) CLabelUI::SetAttribute(name, value);
}

void CProgressUI::PaintForeColor(HDC dc) {
  if (m_dwForeColor == 0) return;
  Normalize();
  RECT filled = m_rcItem;
  const long long span = static_cast<long long>(m_nMax) - m_nMin;
  if (m_bHorizontal) {
    filled.right = m_rcItem.left + static_cast<LONG>(static_cast<long long>(m_rcItem.right - m_rcItem.left) * (m_nValue - m_nMin) / span);
  } else {
    filled.top = m_rcItem.top + static_cast<LONG>(static_cast<long long>(m_rcItem.bottom - m_rcItem.top) * (m_nMax - m_nValue) / span);
  }
  CSkinRender::DrawColor(dc, filled, GetAdjustColor(m_dwForeColor));
}

void CProgressUI::PaintForeImage(HDC dc) {
  if (m_sForeImage.empty()) return;
  Normalize();
  const double span = static_cast<double>(m_nMax) - m_nMin;
  const int width = m_rcItem.right - m_rcItem.left;
  const int height = m_rcItem.bottom - m_rcItem.top;
  RECT dest = {0, 0, width, height};
  if (m_bHorizontal) {
    dest.right = static_cast<int>(width * (m_nValue - m_nMin) / span);
  } else {
    dest.top = static_cast<int>(height * (m_nMax - m_nValue) / span);
  }
  m_sForeImageModify = DestModifier(dest);
  if (!m_bStretchForeImage) m_sForeImageModify += L" source" + m_sForeImageModify.substr(4);
  DrawImage(dc, m_sForeImage, m_sForeImageModify);
}

std::wstring CProgressUI::DestModifier(const RECT& box) const {
  // The descriptor parser scales what it reads: hand it the unscaled numbers.
  const int scale = m_pManager != nullptr ? m_pManager->GetDpiScale() : kFullScale;
  auto unscale = [scale](long value) { return std::to_wstring(::MulDiv(value, kFullScale, scale)); };
  return L"dest='" + unscale(box.left) + L',' + unscale(box.top) + L',' + unscale(box.right) + L',' +
         unscale(box.bottom) + L"'";
}

bool CProgressUI::IsAccessibleElement() const { return true; }

DWORD CProgressUI::GetAccessibleRole() const { return ROLE_SYSTEM_PROGRESSBAR; }

std::wstring CProgressUI::GetAccessibleValue() const { return PercentText(); }

std::wstring CProgressUI::PercentText() const {
  const double span = m_nMax > m_nMin ? static_cast<double>(m_nMax) - m_nMin : 1.0;
  wchar_t text[kPercentTextSize];
  std::swprintf(text, kPercentTextSize, L"%.0f%%", (m_nValue - m_nMin) * 100.0 / span);
  return text;
}

void CProgressUI::UpdateText() {
  if (m_bShowText) SetText(PercentText());
}

void CProgressUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  Invalidate();
}

void CProgressUI::SetMinValue(int value) {
  m_nMin = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  m_nMax = value;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  if (value == m_nValue || value < m_nMin || value > m_nMax) return;
  m_nValue = value;
  Invalidate();
  UpdateText();
  NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE);
}

void CProgressUI::SetShowText(bool show) {
  if (m_bShowText == show) return;
  m_bShowText = show;
  if (show) {
    UpdateText();
  } else {
    SetText(L"");
  }
}

void CProgressUI::SetStretchForeImage(bool stretch) {
  if (m_bStretchForeImage == stretch) return;
  m_bStretchForeImage = stretch;
  Invalidate();
}

void CProgressUI::Normalize() {
  if (m_nMin >= m_nMax) m_nMax = m_nMin + 1;
  if (m_nValue > m_nMax) m_nValue = m_nMax;
  if (m_nValue < m_nMin) m_nValue = m_nMin;
}

}  // namespace SkinUI
