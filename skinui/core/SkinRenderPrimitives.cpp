// Colours, gradients, lines, rectangles and text extents of CSkinRender.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "SkinRenderBlend.h"

namespace SkinUI {

namespace {

COLORREF ToColorRef(uint32_t color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

COLOR16 Channel16(uint32_t color, int shift) { return static_cast<COLOR16>(((color >> shift) & 0xFF) << 8); }

int BandExponent(int steps) {
  if (steps < 4) return 1;
  if (steps < 8) return 2;
  if (steps < 16) return 3;
  if (steps < 32) return 4;
  if (steps < 64) return 5;
  return 6;
}

uint32_t Interpolate(uint32_t first, uint32_t second, int index, int count) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((first >> shift) & 0xFF);
    const int b = static_cast<int>((second >> shift) & 0xFF);
    const int value = count > 1 ? a + (b - a) * index / (count - 1) : a;
    result |= static_cast<uint32_t>(value) << shift;
  }
  return result;
}

void FillGradient(HDC dc, const RECT& rect, uint32_t first, uint32_t second, bool vertical, int steps) {
  if (CSkinRender::IsPlatformBlending()) {
    TRIVERTEX vertices[2] = {
        {rect.left, rect.top, Channel16(first, 16), Channel16(first, 8), Channel16(first, 0), 0xFF00},
        {rect.right, rect.bottom, Channel16(second, 16), Channel16(second, 8), Channel16(second, 0), 0xFF00},
    };
    GRADIENT_RECT gradient = {0, 1};
    ::GdiGradientFill(dc, vertices, 2, &gradient, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    return;
  }
  const int bands = 1 << BandExponent(steps);
  const LONG length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  for (int i = 0; i < bands; ++i) {
    RECT band = rect;
    const LONG from = length * i / bands;
    const LONG to = length * (i + 1) / bands;
    if (vertical) {
      band.top = rect.top + from;
      band.bottom = rect.top + to;
    } else {
      band.left = rect.left + from;
      band.right = rect.left + to;
    }
    unique_hbrush brush(::CreateSolidBrush(ToColorRef(Interpolate(first, second, i, bands))));
    ::FillRect(dc, &band, brush.get());
  }
}

}  // namespace

void CSkinRender::DrawColor(HDC dc, const RECT& rect, uint32_t color) {
  if ((color >> 24) == 0 || dc == nullptr) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::SolidBrush brush(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)));
  graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                         static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void CSkinRender::DrawGradient(HDC dc, const RECT& rect, uint32_t first, uint32_t second, bool vertical,
                               int steps) {
  const uint32_t alpha = ((first >> 24) + (second >> 24)) / 2;
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  if (alpha == 0 || dc == nullptr || width <= 0 || height <= 0) return;
  if (alpha == 255) {
    FillGradient(dc, rect, first, second, vertical, steps);
    return;
  }
  unique_memory_dc memory(::CreateCompatibleDC(dc));
  uint32_t* pixels = nullptr;
  unique_hbitmap bitmap(CreateTopDownDib(dc, width, height, &pixels));
  if (!memory || !bitmap) return;
  CSelectObjectGuard select(memory.get(), bitmap.get());
  FillGradient(memory.get(), RECT{0, 0, width, height}, first, second, vertical, steps);
  if (IsPlatformBlending()) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::GdiAlphaBlend(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width, height, blend);
  } else {
    ::GdiFlush();
    for (LONG i = 0; i < width * height; ++i) pixels[i] |= 0xFF000000u;
    SoftwareBlend(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width, height,
                  static_cast<uint8_t>(alpha));
  }
}

void CSkinRender::DrawLine(HDC dc, const RECT& rect, int width, uint32_t color, int penStyle) {
  if (dc == nullptr) return;
  unique_hpen pen(::CreatePen(penStyle, width, ToColorRef(color)));
  CSelectObjectGuard select(dc, pen.get());
  POINT old = {};
  ::MoveToEx(dc, rect.left, rect.top, &old);
  ::LineTo(dc, rect.right, rect.bottom);
  ::MoveToEx(dc, old.x, old.y, nullptr);
}

void CSkinRender::DrawRect(HDC dc, const RECT& rect, int width, uint32_t color) {
  if (dc == nullptr) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(width));
  pen.SetAlignment(Gdiplus::PenAlignmentInset);
  graphics.DrawRectangle(&pen, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                         static_cast<INT>(rect.right - rect.left - 1), static_cast<INT>(rect.bottom - rect.top - 1));
}

void CSkinRender::DrawRoundRect(HDC dc, const RECT& rect, int width, int cornerWidth, int cornerHeight,
                                uint32_t color) {
  if (dc == nullptr) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  const INT x = rect.left, y = rect.top;
  const INT w = rect.right - rect.left - 1, h = rect.bottom - rect.top - 1;
  const INT diameter = (cornerWidth / 2) * 2;
  Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(width));
  if (diameter <= 0 || w <= 0 || h <= 0) {
    graphics.DrawRectangle(&pen, x, y, w, h);
    return;
  }
  Gdiplus::GraphicsPath path;
  path.AddArc(x, y, diameter, diameter, 180, 90);
  path.AddLine(x + diameter / 2, y, x + w - diameter / 2, y);
  path.AddArc(x + w - diameter, y, diameter, diameter, 270, 90);
  path.AddLine(x + w, y + diameter / 2, x + w, y + h - diameter / 2);
  path.AddArc(x + w - diameter, y + h - diameter, diameter, diameter, 0, 90);
  path.AddLine(x + w - diameter / 2, y + h, x + diameter / 2, y + h);
  path.AddArc(x, y + h - diameter, diameter, diameter, 90, 90);
  path.CloseFigure();
  graphics.DrawPath(&pen, &path);
}

SIZE CSkinRender::GetTextSize(HDC dc, CPaintManagerUI* manager, const std::wstring& text, int fontId) {
  SIZE size = {};
  if (dc == nullptr || manager == nullptr) return size;
  CSelectObjectGuard select(dc, manager->GetFont(fontId));
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace SkinUI
