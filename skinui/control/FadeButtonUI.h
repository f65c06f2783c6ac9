#pragma once
// A button whose hot look (hot image or hot background colour) fades in when the mouse enters
// and out when it leaves, one step per timer tick.

#include "AnimatedUI.h"
#include "AnimationTimerUI.h"
#include "ButtonUI.h"

namespace SkinUI {

class CFadeButtonUI : public CAnimatedUI<CButtonUI> {
 public:
  CFadeButtonUI();
  ~CFadeButtonUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundColor(HDC dc) override;
  void PaintStateImage(HDC dc) override;

  // 0: normal look, 255: fully hot.
  int GetFade() const { return m_nFade; }
  void SetFadeStep(int step);
  void SetFadeInterval(int milliseconds);
  bool IsFading() const { return m_timer.IsRunning(); }

 protected:
  // Hidden, the button drops its hot look at once.
  void UpdateAnimation() override;

 private:
  bool IsPlainState() const;

  CAnimationTimerUI m_timer;
  int m_nFade = 0;
  int m_nTarget = 0;
  int m_nStep = 32;
  int m_nInterval = 25;
};

}  // namespace SkinUI
