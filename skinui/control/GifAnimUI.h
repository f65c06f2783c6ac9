#pragma once
// An animated GIF, decoded once from the skin and played frame by frame, each frame shown for
// its own delay. Plays only while shown; "autoplay" (default on) starts it by itself.

#include <memory>
#include <vector>

#include "AnimatedUI.h"
#include "AnimationTimerUI.h"
#include "ControlUI.h"
#include "UIResourceTypes.h"

namespace SkinUI {

class CGifAnimUI : public CAnimatedUI<CControlUI> {
 public:
  CGifAnimUI();
  ~CGifAnimUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void OnInitialize() override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintBackgroundImage(HDC dc) override;

  // The GIF file in the skin (or a plain path).
  void SetGifImage(const std::wstring& file);
  bool IsAutoPlay() const { return m_bAutoPlay; }
  void SetAutoPlay(bool autoPlay);
  // Sizes the control to one frame.
  void SetAutoSize(bool autoSize);
  void Play();
  void Pause();
  void Stop();

  int GetFrameCount() const { return m_nFrames; }
  int GetFrame() const { return m_nFrame; }
  bool IsPlaying() const { return m_timer.IsRunning(); }

 protected:
  void UpdateAnimation() override;

 private:
  bool LoadFrames();
  UINT FrameDelay() const;

  CAnimationTimerUI m_timer;
  std::wstring m_sGifFile;
  std::unique_ptr<TImageDataUI> m_frames;
  std::vector<int> m_delays;
  int m_nFrames = 0;
  int m_nFrame = 0;
  bool m_bLoadTried = false;
  bool m_bAutoPlay = true;
  bool m_bAutoSize = false;
  bool m_bPlaying = false;
};

}  // namespace SkinUI
