#pragma once
// A clip scope: narrows a device context's clip region and puts the old one back when it ends.

#include <windows.h>

#include "GdiHandles.h"

namespace SkinUI {

class TClipUI {
 public:
  TClipUI() = default;
  TClipUI(const TClipUI&) = delete;
  TClipUI& operator=(const TClipUI&) = delete;
  ~TClipUI();

  static void GenerateClip(HDC dc, const RECT& rect, TClipUI& clip);
  static void GenerateRoundClip(HDC dc, const RECT& rect, const RECT& roundRect, int width, int height,
                                TClipUI& clip);
  static void UseOldClipBegin(HDC dc, TClipUI& clip) { clip.SuspendClip(dc); }
  static void UseOldClipEnd(HDC dc, TClipUI& clip) { clip.ResumeClip(dc); }

  // Back to the saved region for a moment, and back again.
  void SuspendClip(HDC dc);
  void ResumeClip(HDC dc);

 private:
  HDC dc_ = nullptr;
  RECT rect_ = {};
  unique_hrgn oldRegion_;
  unique_hrgn region_;
};

}  // namespace SkinUI
