#include "AnimationTimerUI.h"

#include "ControlUI.h"
#include "PaintManagerUI.h"

namespace SkinUI {

void CAnimationTimerUI::Update(bool wanted, UINT elapse) {
  CPaintManagerUI* manager = m_owner->GetManager();
  const bool run = wanted && manager != nullptr && manager->GetPaintWindow() != nullptr && m_owner->IsVisible();
  if (!run) {
    Stop();
    return;
  }
  if (m_manager == manager && m_elapse == elapse) return;
  Stop();
  if (manager->SetTimer(m_owner, m_id, elapse)) {
    m_manager = manager;
    m_elapse = elapse;
  }
}

void CAnimationTimerUI::Stop() {
  if (m_manager != nullptr) m_manager->KillTimer(m_owner, m_id);
  m_manager = nullptr;
  m_elapse = 0;
}

}  // namespace SkinUI
