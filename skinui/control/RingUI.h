#pragma once
// A busy indicator: its background image turns about the control's centre, a few degrees per
// timer tick, while the control is shown.

#include "AnimatedUI.h"
#include "AnimationTimerUI.h"
#include "LabelUI.h"

namespace SkinUI {

class CRingUI : public CAnimatedUI<CLabelUI> {
 public:
  CRingUI();
  ~CRingUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(HDC dc) override;
  DWORD GetAccessibleRole() const override;

  int GetAngle() const { return m_nAngle; }
  void SetAngle(int degrees);
  // Degrees added per tick; 0 stops the ring.
  void SetStep(int degrees);
  void SetInterval(int milliseconds);
  bool IsSpinning() const { return m_timer.IsRunning(); }

 protected:
  void UpdateAnimation() override;

 private:

  CAnimationTimerUI m_timer;
  int m_nAngle = 0;
  int m_nStep = 30;
  int m_nInterval = 80;
};

}  // namespace SkinUI
