#include "RollTextUI.h"

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kRollTimerId = 0x54;

using Attributes = CAttributeTableUI<CRollTextUI>;
const Attributes::Entry kRollTextAttributes[] = {
    {L"rolldirection", Attributes::Text<&CRollTextUI::SetRollDirection>},
    {L"rollstep", Attributes::Int<&CRollTextUI::SetRollStep>},
    {L"rollinterval", Attributes::Int<&CRollTextUI::SetRollInterval>},
    {L"autoroll", [](CRollTextUI& roll, const std::wstring& value) {
       if (attr::ParseBool(value)) {
         roll.BeginRoll();
       } else {
         roll.EndRoll();
       }
     }},
};

}  // namespace

CRollTextUI::CRollTextUI() : m_timer(this, kRollTimerId) {}
CRollTextUI::~CRollTextUI() = default;

std::wstring CRollTextUI::GetClassName() const { return L"RollTextUI"; }

void* CRollTextUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"RollText")) return this;
  return CAnimatedUI::GetInterface(typeName);
}

void CRollTextUI::SetText(const std::wstring& text) {
  CAnimatedUI::SetText(text);
  m_nOffset = 0;
  m_nTextWidth = 0;
}

void CRollTextUI::HandleEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::Timer && event.WParam == kRollTimerId) {
    m_nOffset += m_nStep;
    // Out at the far side: enter again.
    if (m_nTextWidth > 0 && m_nOffset > GetWidth() + m_nTextWidth) m_nOffset = 0;
    Invalidate();
    return;
  }
  CAnimatedUI::HandleEvent(event);
}

void CRollTextUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kRollTextAttributes, *this, name, value)) CAnimatedUI::SetAttribute(name, value);
}

void CRollTextUI::PaintText(HDC dc) {
  TakeDefaultColors();
  const std::wstring text = GetText();
  if (text.empty() || m_pManager == nullptr) return;
  m_nTextWidth = CSkinRender::GetTextSize(dc, m_pManager, text, m_iFont).cx;
  RECT rect = GetTextRect();
  if (m_bToRight) {
    rect.left = m_rcItem.left - m_nTextWidth + m_nOffset;
  } else {
    rect.left = m_rcItem.right - m_nOffset;
  }
  rect.right = rect.left + m_nTextWidth;
  const UINT style = (m_uTextStyle & ~(kStyleCenter | kStyleRight | kStyleWordBreak)) | kStyleSingleLine;
  DrawLabelText(dc, rect, text, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont, style);
}

void CRollTextUI::BeginRoll() {
  m_bRolling = true;
  UpdateAnimation();
}

void CRollTextUI::EndRoll() {
  m_bRolling = false;
  UpdateAnimation();
}

void CRollTextUI::SetRollDirection(const std::wstring& direction) {
  m_bToRight = attr::EqualsNoCase(direction, L"right");
  m_nOffset = 0;
  Invalidate();
}

void CRollTextUI::SetRollStep(int pixels) {
  if (pixels > 0) m_nStep = pixels;
}

void CRollTextUI::SetRollInterval(int milliseconds) {
  if (milliseconds > 0) m_nInterval = milliseconds;
  UpdateAnimation();
}

void CRollTextUI::UpdateAnimation() { m_timer.Update(m_bRolling, static_cast<UINT>(m_nInterval)); }

}  // namespace SkinUI
