// The accessibility side of CPaintManagerUI: the IAccessible the window serves for its client
// area, the events assistive technology follows, the default actions it asks for, and the
// focus ring.

#include <windows.h>
#include <oleacc.h>

#include "AccessibleUI.h"
#include "ClipUI.h"
#include "ControlUI.h"
#include "OleAccLibrary.h"
#include "PaintManagerUI.h"

namespace SkinUI {

void CPaintManagerUI::NotifyAccessibleEvent(CControlUI* control, DWORD event) {
  if (m_hWndPaint == nullptr || !HoldsControl(control)) return;
  ::NotifyWinEvent(event, m_hWndPaint, OBJID_CLIENT, m_accessibleTree->IdOf(control));
}

bool CPaintManagerUI::PostDefaultAction(CControlUI* control) {
  if (m_hWndPaint == nullptr || !HoldsControl(control)) return false;
  return ::PostMessageW(m_hWndPaint, kMsgDefaultAction, static_cast<WPARAM>(m_accessibleTree->IdOf(control)), 0) !=
         FALSE;
}

void CPaintManagerUI::RunDefaultAction(LONG id) {
  CControlUI* control = m_accessibleTree->Resolve(id);
  if (control != nullptr) control->DoAccessibleDefaultAction();
}

LRESULT CPaintManagerUI::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || m_pRoot == nullptr) return 0;
  CAccessibleUI* object = CAccessibleUI::Create(m_accessibleTree, CAccessibleTreeUI::kRootId);
  const LRESULT result = COleAccLibrary::Get().ResultFromObject(__uuidof(IAccessible), wParam,
                                                                static_cast<IAccessible*>(object));
  object->Release();
  return result;
}

void CPaintManagerUI::ShowFocusCues() {
  if (m_bFocusCues) return;
  m_bFocusCues = true;
  if (m_pFocus != nullptr) m_pFocus->Invalidate();
}

void CPaintManagerUI::PaintFocusRing(HDC dc, const RECT& paint) {
  if (!m_bFocusCues || m_pFocus == nullptr || !m_pFocus->IsVisible() || !HoldsControl(m_pFocus)) return;
  RECT visible = {};
  if (!::IntersectRect(&visible, &paint, &m_pFocus->GetPos())) return;
  TClipUI clip;
  TClipUI::GenerateClip(dc, visible, clip);
  m_pFocus->PaintFocusRing(dc);
}

}  // namespace SkinUI
