#pragma once
// A tab layout whose newly selected page slides in from the side (or from below with
// "animation_direction" "vertical"), a step per timer tick; "tabselect" goes out at once.

#include "AnimatedUI.h"
#include "AnimationTimerUI.h"
#include "TabLayoutUI.h"

namespace SkinUI {

class CAnimationTabLayoutUI : public CAnimatedUI<CTabLayoutUI> {
 public:
  CAnimationTabLayoutUI();
  ~CAnimationTabLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool SelectItem(int index) override;
  using CTabLayoutUI::SelectItem;

  bool IsVerticalAnimation() const { return m_bVertical; }
  void SetVerticalAnimation(bool vertical);
  void SetAnimationFrames(int frames);
  // Pixels the current page still lies off its place; 0 when no slide is running.
  int GetSlideOffset() const { return m_nOffset; }

 protected:
  // Hidden, the slide finishes at once.
  void UpdateAnimation() override;

 private:
  void FinishSlide();

  CAnimationTimerUI m_timer;
  bool m_bVertical = false;
  int m_nFrames = 8;
  int m_nOffset = 0;
  int m_nStep = 0;
};

}  // namespace SkinUI
