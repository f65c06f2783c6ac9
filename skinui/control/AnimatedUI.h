#pragma once
// The visibility hooks of a control that animates while it is shown: joining a window and every
// change of its own or its parents' visibility call UpdateAnimation, which starts or stops the
// control's timer.

namespace SkinUI {

template <typename Base>
class CAnimatedUI : public Base {
 public:
  void OnInitialize() override {
    Base::OnInitialize();
    UpdateAnimation();
  }
  void SetVisible(bool visible = true) override {
    Base::SetVisible(visible);
    UpdateAnimation();
  }
  void SetParentVisible(bool visible = true) override {
    Base::SetParentVisible(visible);
    UpdateAnimation();
  }

 protected:
  virtual void UpdateAnimation() = 0;
};

}  // namespace SkinUI
