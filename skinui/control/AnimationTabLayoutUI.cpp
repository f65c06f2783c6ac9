#include "AnimationTabLayoutUI.h"


#include "AttributeTableUI.h"

namespace SkinUI {

namespace {

constexpr UINT kSlideTimerId = 0x41;
constexpr UINT kSlideIntervalMs = 15;

using Attributes = CAttributeTableUI<CAnimationTabLayoutUI>;
const Attributes::Entry kAnimationTabAttributes[] = {
    {L"animation_direction", [](CAnimationTabLayoutUI& tab, const std::wstring& value) {
       tab.SetVerticalAnimation(attr::EqualsNoCase(value, L"vertical"));
     }},
    {L"animation_frames", Attributes::Int<&CAnimationTabLayoutUI::SetAnimationFrames>},
};

}  // namespace

CAnimationTabLayoutUI::CAnimationTabLayoutUI() : m_timer(this, kSlideTimerId) {}
CAnimationTabLayoutUI::~CAnimationTabLayoutUI() = default;

std::wstring CAnimationTabLayoutUI::GetClassName() const { return L"AnimationTabLayoutUI"; }

void* CAnimationTabLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"AnimationTabLayout")) return this;
  return CAnimatedUI::GetInterface(typeName);
}

void CAnimationTabLayoutUI::SetPos(RECT rect, bool invalidate) {
  CAnimatedUI::SetPos(rect, invalidate);
  CControlUI* page = GetItemAt(GetCurSel());
  if (m_nOffset == 0 || page == nullptr || page->IsFloat()) return;
  RECT shifted = page->GetPos();
  if (m_bVertical) {
    ::OffsetRect(&shifted, 0, m_nOffset);
  } else {
    ::OffsetRect(&shifted, m_nOffset, 0);
  }
  page->SetPos(shifted, false);
}

void CAnimationTabLayoutUI::UpdateAnimation() {
  if (!IsVisible()) FinishSlide();
}

void CAnimationTabLayoutUI::HandleEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::Timer && event.WParam == kSlideTimerId) {
    const int remaining = m_nOffset - m_nStep;
    // Done once the step would carry the page past its place.
    if (m_nOffset == 0 || (m_nOffset > 0) != (remaining > 0) || remaining == 0) {
      FinishSlide();
    } else {
      m_nOffset = remaining;
      SetPos(m_rcItem, false);
      Invalidate();
    }
    return;
  }
  CAnimatedUI::HandleEvent(event);
}

void CAnimationTabLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kAnimationTabAttributes, *this, name, value)) CAnimatedUI::SetAttribute(name, value);
}

bool CAnimationTabLayoutUI::SelectItem(int index) {
  const int old = GetCurSel();
  if (!CAnimatedUI::SelectItem(index)) return false;
  if (index == old || old < 0 || m_pManager == nullptr || !IsVisible()) return true;
  // Enters from the side of the pages that follow it when moving forward.
  const int extent = m_bVertical ? GetHeight() : GetWidth();
  if (extent <= 0) return true;
  m_nOffset = index > old ? extent : -extent;
  m_nStep = m_nOffset / m_nFrames;
  if (m_nStep == 0) m_nStep = m_nOffset > 0 ? 1 : -1;
  SetPos(m_rcItem, false);
  Invalidate();
  m_timer.Update(true, kSlideIntervalMs);
  if (!m_timer.IsRunning()) FinishSlide();
  return true;
}

void CAnimationTabLayoutUI::SetVerticalAnimation(bool vertical) { m_bVertical = vertical; }

void CAnimationTabLayoutUI::SetAnimationFrames(int frames) {
  if (frames > 0) m_nFrames = frames;
}

void CAnimationTabLayoutUI::FinishSlide() {
  m_timer.Update(false, 0);
  if (m_nOffset == 0) return;
  m_nOffset = 0;
  SetPos(m_rcItem, false);
  Invalidate();
}

}  // namespace SkinUI
