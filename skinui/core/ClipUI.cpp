#include "ClipUI.h"

namespace SkinUI {

TClipUI::~TClipUI() {
  if (dc_ != nullptr && oldRegion_) ::SelectClipRgn(dc_, oldRegion_.get());
}

void TClipUI::GenerateClip(HDC dc, const RECT& rect, TClipUI& clip) {
  RECT box = {};
  ::GetClipBox(dc, &box);
  clip.oldRegion_.reset(::CreateRectRgnIndirect(&box));
  clip.region_.reset(::CreateRectRgnIndirect(&rect));
  ::ExtSelectClipRgn(dc, clip.region_.get(), RGN_AND);
  clip.dc_ = dc;
  clip.rect_ = rect;
}

void TClipUI::GenerateRoundClip(HDC dc, const RECT& rect, const RECT& roundRect, int width, int height,
                                TClipUI& clip) {
  RECT box = {};
  ::GetClipBox(dc, &box);
  clip.oldRegion_.reset(::CreateRectRgnIndirect(&box));
  clip.region_.reset(::CreateRectRgnIndirect(&rect));
  unique_hrgn round(::CreateRoundRectRgn(roundRect.left, roundRect.top, roundRect.right + 1, roundRect.bottom + 1,
                                         width, height));
  ::CombineRgn(clip.region_.get(), clip.region_.get(), round.get(), RGN_AND);
  ::ExtSelectClipRgn(dc, clip.region_.get(), RGN_AND);
  clip.dc_ = dc;
  clip.rect_ = rect;
}

void TClipUI::SuspendClip(HDC dc) {
  if (oldRegion_) ::SelectClipRgn(dc, oldRegion_.get());
}

void TClipUI::ResumeClip(HDC dc) {
  if (region_) ::ExtSelectClipRgn(dc, region_.get(), RGN_AND);
}

}  // namespace SkinUI
