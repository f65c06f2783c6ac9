#pragma once
// The display scale of one window: sizes read from the skin pass through it.

#include <windows.h>

namespace SkinUI {

class CDpiScaler {
 public:
  enum class Awareness { Unaware, SystemAware, PerMonitorAware };

  CDpiScaler();

  // Makes the process per-monitor aware where its manifest has not (per-monitor v2 first, then
  // v1, then system-wide awareness) and returns the awareness in force. Runs its work once.
  static Awareness EnableProcessAwareness();
  // The window's DPI; the system DPI where the system has no per-window DPI.
  static int GetWindowDpi(HWND window);

  Awareness GetAwareness() const { return awareness_; }
  void SetAwareness(Awareness awareness) { awareness_ = awareness; }

  // The effective percentage: 100 while the process is not DPI-aware.
  int GetScale() const;
  void SetScale(int percent);
  int GetDpi() const;
  void SetDpi(int dpi);

  int Scale(int value) const;
  RECT Scale(RECT rect) const;
  SIZE Scale(SIZE size) const;
  POINT Scale(POINT point) const;
  // Each of the four values on its own, as for distances from the edges of a window.
  RECT ScaleEdges(RECT edges) const;

 private:
  Awareness awareness_ = Awareness::Unaware;
  int percent_ = 100;
};

}  // namespace SkinUI
