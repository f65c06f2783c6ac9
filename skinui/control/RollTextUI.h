#pragma once
// A one-line text that scrolls through the control, entering at one side and leaving at the
// other, a few pixels per timer tick while shown.

#include "AnimatedUI.h"
#include "AnimationTimerUI.h"
#include "LabelUI.h"

namespace SkinUI {

class CRollTextUI : public CAnimatedUI<CLabelUI> {
 public:
  CRollTextUI();
  ~CRollTextUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetText(const std::wstring& text) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(HDC dc) override;

  void BeginRoll();
  void EndRoll();
  bool IsRolling() const { return m_timer.IsRunning(); }
  // "left" (default): from the right edge to the left; "right": the other way.
  void SetRollDirection(const std::wstring& direction);
  void SetRollStep(int pixels);
  void SetRollInterval(int milliseconds);
  // Pixels rolled since the text last entered.
  int GetRollOffset() const { return m_nOffset; }

 protected:
  void UpdateAnimation() override;

 private:

  CAnimationTimerUI m_timer;
  bool m_bRolling = true;
  bool m_bToRight = false;
  int m_nStep = 2;
  int m_nInterval = 40;
  int m_nOffset = 0;
  int m_nTextWidth = 0;
};

}  // namespace SkinUI
