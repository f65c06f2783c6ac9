#pragma once
// The timer an animated control runs through its window's paint manager: it runs only while
// the control wants it and is shown in a window, so a hidden animation costs nothing.

#include <windows.h>

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class CAnimationTimerUI {
 public:
  CAnimationTimerUI(CControlUI* owner, UINT timerId) : m_owner(owner), m_id(timerId) {}
  CAnimationTimerUI(const CAnimationTimerUI&) = delete;
  CAnimationTimerUI& operator=(const CAnimationTimerUI&) = delete;

  // Starts, restarts (another elapse) or stops the timer as the owner's state asks.
  void Update(bool wanted, UINT elapse);
  bool IsRunning() const { return m_manager != nullptr; }
  UINT GetId() const { return m_id; }

 private:
  void Stop();

  CControlUI* m_owner;
  UINT m_id;
  UINT m_elapse = 0;
  CPaintManagerUI* m_manager = nullptr;  // the one the timer runs on
};

}  // namespace SkinUI
