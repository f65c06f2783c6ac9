#include "DpiScaler.h"

namespace SkinUI {

namespace {
constexpr int kBaseDpi = 96;
constexpr int kFullScale = 100;
}  // namespace

CDpiScaler::CDpiScaler() {
  HDC screen = ::GetDC(nullptr);
  if (screen != nullptr) {
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    if (dpi > 0) percent_ = ::MulDiv(dpi, kFullScale, kBaseDpi);
  }
}

int CDpiScaler::GetScale() const { return awareness_ == Awareness::Unaware ? kFullScale : percent_; }

void CDpiScaler::SetScale(int percent) {
  if (percent > 0) percent_ = percent;
}

int CDpiScaler::GetDpi() const { return ::MulDiv(GetScale(), kBaseDpi, kFullScale); }

int CDpiScaler::Scale(int value) const { return ::MulDiv(value, GetScale(), kFullScale); }

RECT CDpiScaler::Scale(RECT rect) const {
  const int width = Scale(rect.right - rect.left);
  const int height = Scale(rect.bottom - rect.top);
  rect.left = Scale(rect.left);
  rect.top = Scale(rect.top);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

SIZE CDpiScaler::Scale(SIZE size) const { return SIZE{Scale(size.cx), Scale(size.cy)}; }

POINT CDpiScaler::Scale(POINT point) const { return POINT{Scale(point.x), Scale(point.y)}; }

}  // namespace SkinUI
