#pragma once
// Records kept in the paint manager's tables: fonts, loaded images and parsed image
// descriptors.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GdiHandles.h"

namespace SkinUI {

struct TFontDataUI {
  unique_hfont font;
  std::wstring faceName;
  int size = 0;  // as written in the skin, before DPI scaling
  bool bold = false;
  bool underline = false;
  bool italic = false;
  TEXTMETRICW metrics = {};
  bool hasMetrics = false;
};

struct TImageDataUI {
  unique_hbitmap bitmap;           // top-down 32-bit, premultiplied BGRA
  uint32_t* pixels = nullptr;      // the bitmap's own pixels
  std::vector<uint32_t> savedPixels;  // copy kept for HSL-adjustable images only
  int width = 0;
  int height = 0;
  bool alpha = false;
  bool hsl = false;
  std::wstring resourceType;
  uint32_t mask = 0;
};

struct TImageDrawUI {
  std::wstring descriptor;
  std::wstring modifier;
  std::wstring imageName;
  std::wstring resourceType;
  RECT dest = {};
  RECT source = {};
  RECT corner = {};
  uint32_t mask = 0;
  uint8_t fade = 255;
  bool hole = false;
  bool xTiled = false;
  bool yTiled = false;
  bool hsl = false;
  SIZE iconSize = {};
  RECT padding = {};
  std::wstring align;
};

}  // namespace SkinUI
