// Plain text of CSkinRender: GDI+ for layered windows and windows that ask for it, else GDI.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>

#include "GdiplusWarmUp.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr uint32_t kGdiplusTextAlpha = 0xFE000000u;
constexpr int kMaxRenderingHint = 5;
constexpr size_t kMaxCharacterDigits = 4;

COLORREF ToColorRef(uint32_t color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

std::wstring CollapseAmpersands(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] == L'&') ++i;
  }
  return result;
}

void DrawTextGdiplus(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text, uint32_t color,
                     int fontId, UINT style) {
  CGdiplusWarmUp::Wait();
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Font font(dc, manager->GetFont(fontId));
  const int hint = manager->GetGdiplusTextRenderingHint();
  graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(
      hint >= 1 && hint <= kMaxRenderingHint ? hint : 0));
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  Gdiplus::SolidBrush brush(Gdiplus::Color(static_cast<Gdiplus::ARGB>(kGdiplusTextAlpha | (color & 0xFFFFFF))));

  std::unique_ptr<Gdiplus::StringFormat> format(Gdiplus::StringFormat::GenericTypographic()->Clone());
  if (!format) return;
  if (style & kTextEndEllipsis) format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  INT flags = format->GetFormatFlags();
  if (style & kTextNoClip) flags |= Gdiplus::StringFormatFlagsNoClip;
  if (style & kTextSingleLine) flags |= Gdiplus::StringFormatFlagsNoWrap;
  format->SetFormatFlags(flags);
  format->SetAlignment((style & kTextCenter)  ? Gdiplus::StringAlignmentCenter
                       : (style & kTextRight) ? Gdiplus::StringAlignmentFar
                                              : Gdiplus::StringAlignmentNear);
  format->SetLineAlignment((style & kTextVCenter)  ? Gdiplus::StringAlignmentCenter
                           : (style & kTextBottom) ? Gdiplus::StringAlignmentFar
                                                   : Gdiplus::StringAlignmentNear);

  const std::wstring shown = CollapseAmpersands(text);
  const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                              static_cast<Gdiplus::REAL>(rect.right - rect.left),
                              static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
  if (style & kTextCalcRect) {
    Gdiplus::RectF bounds;
    graphics.MeasureString(shown.c_str(), static_cast<INT>(shown.size()), &font, layout, format.get(), &bounds);
    rect.right = rect.left + static_cast<LONG>(bounds.Width) + 1;
    rect.bottom = rect.top + static_cast<LONG>(bounds.Height) + 1;
  } else {
    graphics.DrawString(shown.c_str(), static_cast<INT>(shown.size()), &font, layout, format.get(), &brush);
  }
}

// "&#x" followed by up to four hexadecimal digits stands for that one character.
bool TakeCharacterReference(const std::wstring& text, wchar_t& character) {
  const size_t at = text.find(L"&#x");
  if (at == std::wstring::npos) return false;
  std::wstring digits = text.substr(at + 3, kMaxCharacterDigits);
  const size_t space = digits.find(L' ');
  if (space != std::wstring::npos) digits.resize(space);
  const size_t semicolon = digits.find(L';');
  if (semicolon != std::wstring::npos) digits.resize(semicolon);
  character = static_cast<wchar_t>(std::wcstoul(digits.c_str(), nullptr, 16));
  return true;
}

}  // namespace

void CSkinRender::DrawText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text,
                           uint32_t color, int fontId, UINT style) {
  if (dc == nullptr || manager == nullptr || text.empty()) return;
  if (manager->IsLayered() || manager->IsUseGdiplusText()) {
    DrawTextGdiplus(dc, manager, rect, text, color, fontId, style);
    return;
  }
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = ::SetTextColor(dc, ToColorRef(color));
  CSelectObjectGuard select(dc, manager->GetFont(fontId));
  wchar_t character = 0;
  if (TakeCharacterReference(text, character)) {
    ::DrawTextW(dc, &character, 1, &rect, style);
  } else {
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, style);
  }
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

void CSkinRender::DrawColorText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text,
                                uint32_t color, int fontId, UINT style, uint32_t background) {
  DrawColor(dc, rect, background);
  DrawText(dc, manager, rect, text, color, fontId, style);
}

}  // namespace SkinUI
