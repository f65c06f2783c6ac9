#pragma once
// The display scale of one window: sizes read from the skin pass through it.

#include <windows.h>

namespace SkinUI {

class CDpiScaler {
 public:
  enum class Awareness { Unaware, SystemAware, PerMonitorAware };

  CDpiScaler();

  Awareness GetAwareness() const { return awareness_; }
  void SetAwareness(Awareness awareness) { awareness_ = awareness; }

  // The effective percentage: 100 while the process is not DPI-aware.
  int GetScale() const;
  void SetScale(int percent);
  int GetDpi() const;

  int Scale(int value) const;
  RECT Scale(RECT rect) const;
  SIZE Scale(SIZE size) const;
  POINT Scale(POINT point) const;

 private:
  Awareness awareness_ = Awareness::Unaware;
  int percent_ = 100;
};

}  // namespace SkinUI
