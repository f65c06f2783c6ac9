#pragma once
// Drawing for the toolkit: image descriptors and images, colours, gradients, lines and
// rectangles, plain and html text. Every routine draws into the device context it is given,
// clipped by that context's clip region.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "UIResourceTypes.h"

// The routine below is named after what it does; the platform's narrow/wide macro of the same
// name would rename it.
#ifdef DrawText
#undef DrawText
#endif

namespace SkinUI {

class CPaintManagerUI;

// Text style flags (the platform's text-format bits).
constexpr UINT kTextCenter = 0x1;
constexpr UINT kTextRight = 0x2;
constexpr UINT kTextVCenter = 0x4;
constexpr UINT kTextBottom = 0x8;
constexpr UINT kTextWordBreak = 0x10;
constexpr UINT kTextSingleLine = 0x20;
constexpr UINT kTextNoClip = 0x100;
constexpr UINT kTextCalcRect = 0x400;
constexpr UINT kTextEndEllipsis = 0x8000;

class CSkinRender {
 public:
  // Images.
  static std::unique_ptr<TImageDataUI> LoadImageData(const std::wstring& name, const std::wstring& resourceType,
                                                     uint32_t mask, HINSTANCE instance);
  static std::unique_ptr<TImageDataUI> LoadImageData(UINT resourceId, const std::wstring& resourceType,
                                                     uint32_t mask, HINSTANCE instance);
  // Decodes an image file held in memory (PNG, JPEG, BMP, ...).
  static std::unique_ptr<TImageDataUI> DecodeImage(const uint8_t* bytes, size_t length, uint32_t mask);
  // Straight 8-bit RGBA pixels as a premultiplied image; a pixel equal to mask turns clear.
  static std::unique_ptr<TImageDataUI> ImageFromRgba(const uint8_t* rgba, int width, int height, uint32_t mask);
  // Decodes every frame of a GIF held in memory into one image, the frames stacked top to
  // bottom (frameCount frames of width x height / frameCount); delays in milliseconds per frame.
  static std::unique_ptr<TImageDataUI> DecodeGifFrames(const uint8_t* bytes, size_t length, int& frameCount,
                                                       std::vector<int>& delays);

  static void ParseImageDescriptor(TImageDrawUI& info, const std::wstring& descriptor,
                                   const std::wstring& modifier, CPaintManagerUI* manager);
  static bool DrawImageDescriptor(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                  const std::wstring& descriptor, const std::wstring& modifier = L"",
                                  HINSTANCE instance = nullptr);
  static bool DrawImageInfo(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                            const TImageDrawUI* info, HINSTANCE instance = nullptr);
  static bool DrawImageByName(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                              const std::wstring& name, const std::wstring& resourceType, const RECT& dest,
                              const RECT& source, const RECT& corners, uint32_t mask, uint8_t fade, bool hole,
                              bool xTiled, bool yTiled, HINSTANCE instance = nullptr);
  static void DrawNineGrid(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& part,
                           const RECT& corners, bool alpha, uint8_t fade = 255, bool hole = false,
                           bool xTiled = false, bool yTiled = false);

  // Primitives.
  static void DrawColor(HDC dc, const RECT& rect, uint32_t color);
  static void DrawGradient(HDC dc, const RECT& rect, uint32_t first, uint32_t second, bool vertical, int steps);
  static void DrawLine(HDC dc, const RECT& rect, int width, uint32_t color, int penStyle = PS_SOLID);
  static void DrawRect(HDC dc, const RECT& rect, int width, uint32_t color);
  static void DrawRoundRect(HDC dc, const RECT& rect, int width, int cornerWidth, int cornerHeight,
                            uint32_t color);
  static SIZE GetTextSize(HDC dc, CPaintManagerUI* manager, const std::wstring& text, int fontId);

  // Texts.
  static void DrawText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text, uint32_t color,
                       int fontId, UINT style);
  static void DrawColorText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text,
                            uint32_t color, int fontId, UINT style, uint32_t background);
  // links/linkTexts have room for *linkCount entries; *linkCount returns the number found.
  static void DrawHtmlText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text,
                           uint32_t color, RECT* links, std::wstring* linkTexts, int* linkCount, int fontId,
                           UINT style);
  // The words of a mark-up text without its tags, as a screen reader should read them; line
  // breaks become spaces.
  static std::wstring HtmlPlainText(const std::wstring& text);

  // Off: blending and gradients are done by the toolkit's own software paths, as on a
  // platform without GDI's blending calls.
  static void SetPlatformBlending(bool use);
  static bool IsPlatformBlending();
};

}  // namespace SkinUI
