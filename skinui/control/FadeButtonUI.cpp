#include "FadeButtonUI.h"

#include <algorithm>

#include "AttributeTableUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kFadeTimerId = 0x46;
constexpr int kOpaque = 255;

using Attributes = CAttributeTableUI<CFadeButtonUI>;
const Attributes::Entry kFadeButtonAttributes[] = {
    {L"fadestep", Attributes::Int<&CFadeButtonUI::SetFadeStep>},
    {L"fadeinterval", Attributes::Int<&CFadeButtonUI::SetFadeInterval>},
};

uint32_t BlendChannel(uint32_t from, uint32_t to, int shift, int amount) {
  const int a = static_cast<int>((from >> shift) & 0xFF);
  const int b = static_cast<int>((to >> shift) & 0xFF);
  return static_cast<uint32_t>(a + (b - a) * amount / kOpaque) << shift;
}

uint32_t Blend(uint32_t from, uint32_t to, int amount) {
  return BlendChannel(from, to, 24, amount) | BlendChannel(from, to, 16, amount) | BlendChannel(from, to, 8, amount) |
         BlendChannel(from, to, 0, amount);
}

}  // namespace

CFadeButtonUI::CFadeButtonUI() : m_timer(this, kFadeTimerId) {}
CFadeButtonUI::~CFadeButtonUI() = default;

std::wstring CFadeButtonUI::GetClassName() const { return L"FadeButtonUI"; }

void* CFadeButtonUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"FadeButton")) return this;
  return CAnimatedUI::GetInterface(typeName);
}

void CFadeButtonUI::HandleEvent(TControlEventUI& event) {
  switch (event.Type) {
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
      if (IsEnabled() && IsMouseEnabled()) {
        m_nTarget = event.Type == UIEvent::MouseEnter ? kOpaque : 0;
        UpdateAnimation();
      }
      break;
    case UIEvent::Timer:
      if (event.WParam != kFadeTimerId) break;
      m_nFade = m_nTarget > m_nFade ? std::min(m_nTarget, m_nFade + m_nStep) : std::max(m_nTarget, m_nFade - m_nStep);
      Invalidate();
      UpdateAnimation();
      return;
    default:
      break;
  }
  CAnimatedUI::HandleEvent(event);
}

void CFadeButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kFadeButtonAttributes, *this, name, value)) CAnimatedUI::SetAttribute(name, value);
}

void CFadeButtonUI::PaintBackgroundColor(HDC dc) {
  if (!IsPlainState() || m_dwHotBkColor == 0) {
    CAnimatedUI::PaintBackgroundColor(dc);
    return;
  }
  const uint32_t from = m_dwBackColor != 0 ? m_dwBackColor : (m_dwHotBkColor & 0x00FFFFFFu);
  const uint32_t color = Blend(from, m_dwHotBkColor, m_nFade);
  if ((color >> 24) != 0) CSkinRender::DrawColor(dc, m_rcItem, GetAdjustColor(color));
}

void CFadeButtonUI::PaintStateImage(HDC dc) {
  if (!IsPlainState() || m_sHotImage.empty()) {
    CAnimatedUI::PaintStateImage(dc);
    return;
  }
  if (!m_sNormalImage.empty()) DrawImage(dc, m_sNormalImage);
  if (m_nFade > 0) DrawImage(dc, m_sHotImage, L"fade='" + std::to_wstring(m_nFade) + L"'");
}

void CFadeButtonUI::SetFadeStep(int step) {
  if (step > 0) m_nStep = std::min(step, kOpaque);
}

void CFadeButtonUI::SetFadeInterval(int milliseconds) {
  if (milliseconds > 0) m_nInterval = milliseconds;
  UpdateAnimation();
}

bool CFadeButtonUI::IsPlainState() const {
  return IsEnabled() && (m_uButtonState & kStatePushed) == 0;
}

void CFadeButtonUI::UpdateAnimation() {
  if (!IsVisible()) m_nFade = m_nTarget = 0;
  m_timer.Update(m_nFade != m_nTarget, static_cast<UINT>(m_nInterval));
}

}  // namespace SkinUI
