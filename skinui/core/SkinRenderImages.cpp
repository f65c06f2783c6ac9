// Image loading, image descriptors and the nine-grid blit of CSkinRender.

#include <climits>
#include <cwchar>
#include <cwctype>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb_image.h>

#include "PaintManagerUI.h"
#include "SkinFileReader.h"
#include "SkinRender.h"
#include "SkinRenderBlend.h"

namespace SkinUI {

namespace {

constexpr uint8_t kOpaque = 255;
constexpr int kFullScale = 100;

bool g_platformBlending = true;

bool IsEmptyRect(const RECT& rect) { return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0; }

bool Intersects(const RECT& a, const RECT& b) {
  RECT ignored;
  return ::IntersectRect(&ignored, &a, &b) != FALSE;
}

// Four numbers; each after the first is read one character past the end of the previous one.
RECT ParseRect(const wchar_t* text) {
  LONG values[4] = {};
  const wchar_t* p = text;
  for (int i = 0; i < 4; ++i) {
    wchar_t* end = nullptr;
    values[i] = static_cast<LONG>(std::wcstol(p, &end, 10));
    if (*end == L'\0') break;
    p = end + 1;
  }
  return RECT{values[0], values[1], values[2], values[3]};
}

bool IsTrue(const std::wstring& value) { return _wcsicmp(value.c_str(), L"true") == 0; }

// Runs the key='value' items of one string; stops at the first syntax error.
void ParseDescriptorItems(TImageDrawUI& info, const std::wstring& text, CPaintManagerUI* manager) {
  const size_t n = text.size();
  size_t i = 0;
  auto skipBlank = [&] {
    while (i < n && text[i] <= L' ') ++i;
  };
  auto scaled = [&](RECT rect) { return manager != nullptr ? manager->ScaleRect(rect) : rect; };
  while (i < n) {
    skipBlank();
    const size_t keyStart = i;
    while (i < n && text[i] != L'=' && text[i] > L' ') ++i;
    const std::wstring key = text.substr(keyStart, i - keyStart);
    skipBlank();
    if (i >= n || text[i] != L'=') return;
    ++i;
    skipBlank();
    if (i >= n || text[i] != L'\'') return;
    ++i;
    const size_t valueStart = i;
    while (i < n && text[i] != L'\'') ++i;
    if (i >= n) return;
    const std::wstring value = text.substr(valueStart, i - valueStart);
    ++i;
    if (!value.empty()) {
      const wchar_t* v = value.c_str();
      if (key == L"file" || key == L"res") {
        info.imageName = value;
      } else if (key == L"restype") {
        info.resourceType = value;
      } else if (key == L"dest") {
        info.dest = scaled(ParseRect(v));
      } else if (key == L"source") {
        info.source = scaled(ParseRect(v));
      } else if (key == L"corner") {
        info.corner = scaled(ParseRect(v));
      } else if (key == L"padding") {
        info.padding = scaled(ParseRect(v));
      } else if (key == L"mask") {
        if (*v == L'#') ++v;
        info.mask = static_cast<uint32_t>(std::wcstoul(v, nullptr, 16));
      } else if (key == L"fade") {
        info.fade = static_cast<uint8_t>(std::wcstol(v, nullptr, 10));
      } else if (key == L"hole") {
        info.hole = IsTrue(value);
      } else if (key == L"xtiled") {
        info.xTiled = IsTrue(value);
      } else if (key == L"ytiled") {
        info.yTiled = IsTrue(value);
      } else if (key == L"hsl") {
        info.hsl = IsTrue(value);
      } else if (key == L"size") {
        wchar_t* end = nullptr;
        info.iconSize.cx = std::wcstol(v, &end, 10);
        info.iconSize.cy = *end != L'\0' ? std::wcstol(end + 1, nullptr, 10) : 0;
      } else if (key == L"align") {
        info.align = value;
      }
    }
    if (i >= n || text[i] != L' ') return;
  }
}

BLENDFUNCTION MakeBlend(uint8_t fade) { return BLENDFUNCTION{AC_SRC_OVER, 0, fade, AC_SRC_ALPHA}; }

}  // namespace

void SoftwareBlend(HDC dc, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                   uint8_t fade) {
  uint32_t* srcPixels = nullptr;
  uint32_t* dstPixels = nullptr;
  unique_hbitmap srcBitmap(CreateTopDownDib(dc, dw, dh, &srcPixels));
  unique_hbitmap dstBitmap(CreateTopDownDib(dc, dw, dh, &dstPixels));
  unique_memory_dc work(::CreateCompatibleDC(dc));
  if (!srcBitmap || !dstBitmap || !work) return;
  {
    CSelectObjectGuard select(work.get(), srcBitmap.get());
    ::SetStretchBltMode(work.get(), COLORONCOLOR);
    ::StretchBlt(work.get(), 0, 0, dw, dh, source, sx, sy, sw, sh, SRCCOPY);
  }
  CSelectObjectGuard select(work.get(), dstBitmap.get());
  ::BitBlt(work.get(), 0, 0, dw, dh, dc, dx, dy, SRCCOPY);
  ::GdiFlush();
  const size_t count = static_cast<size_t>(dw) * static_cast<size_t>(dh);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t s = srcPixels[i];
    const uint32_t d = dstPixels[i];
    double x = static_cast<double>(s >> 24) * fade / 255.0 / 255.0;
    if (x < 0) x = 0;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const double sc = static_cast<double>((s >> shift) & 0xFF) * fade / 255.0;
      const double dc2 = static_cast<double>((d >> shift) & 0xFF);
      double value = sc + dc2 * (1.0 - x);
      if (value > 255.0) value = 255.0;
      out |= static_cast<uint32_t>(value) << shift;
    }
    dstPixels[i] = out;
  }
  ::BitBlt(dc, dx, dy, dw, dh, work.get(), 0, 0, SRCCOPY);
}

namespace {

// Places one piece, blended or copied.
struct PieceDrawer {
  HDC dc;
  HDC source;
  bool blend;
  uint8_t fade;

  void Draw(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) const {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (blend) {
      if (g_platformBlending) {
        ::GdiAlphaBlend(dc, dx, dy, dw, dh, source, sx, sy, sw, sh, MakeBlend(fade));
      } else {
        SoftwareBlend(dc, dx, dy, dw, dh, source, sx, sy, sw, sh, fade);
      }
    } else if (dw == sw && dh == sh) {
      ::BitBlt(dc, dx, dy, dw, dh, source, sx, sy, SRCCOPY);
    } else {
      ::StretchBlt(dc, dx, dy, dw, dh, source, sx, sy, sw, sh, SRCCOPY);
    }
  }
  void Draw(const RECT& d, int sx, int sy, int sw, int sh) const {
    Draw(d.left, d.top, d.right - d.left, d.bottom - d.top, sx, sy, sw, sh);
  }
};

}  // namespace

void CSkinRender::SetPlatformBlending(bool use) { g_platformBlending = use; }
bool CSkinRender::IsPlatformBlending() { return g_platformBlending; }

std::unique_ptr<TImageDataUI> CSkinRender::DecodeImage(const uint8_t* bytes, size_t length, uint32_t mask) {
  if (bytes == nullptr || length == 0 || length > static_cast<size_t>(INT_MAX)) return nullptr;
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(bytes, static_cast<int>(length), &width, &height, &channels, 4);
  if (rgba == nullptr) return nullptr;
  std::unique_ptr<stbi_uc, void (*)(void*)> owner(rgba, stbi_image_free);
  if (width <= 0 || height <= 0) return nullptr;
  return ImageFromRgba(rgba, width, height, mask);
}

std::unique_ptr<TImageDataUI> CSkinRender::DecodeGifFrames(const uint8_t* bytes, size_t length, int& frameCount,
                                                           std::vector<int>& delays) {
  frameCount = 0;
  delays.clear();
  if (bytes == nullptr || length == 0 || length > static_cast<size_t>(INT_MAX)) return nullptr;
  int* frameDelays = nullptr;
  int width = 0;
  int height = 0;
  int frames = 0;
  int channels = 0;
  stbi_uc* rgba = stbi_load_gif_from_memory(bytes, static_cast<int>(length), &frameDelays, &width, &height, &frames,
                                            &channels, 4);
  if (rgba == nullptr) return nullptr;
  std::unique_ptr<stbi_uc, void (*)(void*)> owner(rgba, stbi_image_free);
  std::unique_ptr<int, void (*)(void*)> delayOwner(frameDelays, stbi_image_free);
  if (width <= 0 || height <= 0 || frames <= 0 || height > INT_MAX / frames) return nullptr;
  std::unique_ptr<TImageDataUI> image = ImageFromRgba(rgba, width, height * frames, 0);
  if (!image) return nullptr;
  frameCount = frames;
  for (int i = 0; i < frames; ++i) delays.push_back(frameDelays != nullptr ? frameDelays[i] : 0);
  return image;
}

std::unique_ptr<TImageDataUI> CSkinRender::ImageFromRgba(const uint8_t* rgba, int width, int height, uint32_t mask) {
  auto image = std::make_unique<TImageDataUI>();
  image->bitmap.reset(CreateTopDownDib(nullptr, width, height, &image->pixels));
  if (!image->bitmap || image->pixels == nullptr) return nullptr;
  image->width = width;
  image->height = height;
  image->mask = mask;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = rgba + i * 4;
    uint32_t r = p[0], g = p[1], b = p[2];
    const uint32_t a = p[3];
    if (a != kOpaque) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      image->alpha = true;
    }
    uint32_t value = (a << 24) | (r << 16) | (g << 8) | b;
    if (value == mask) {
      value = 0;
      image->alpha = true;
    }
    image->pixels[i] = value;
  }
  return image;
}

std::unique_ptr<TImageDataUI> CSkinRender::LoadImageData(const std::wstring& name, const std::wstring& resourceType,
                                                         uint32_t mask, HINSTANCE instance) {
  std::vector<uint8_t> bytes;
  if (!resourceType.empty()) {
    ReadModuleResource(instance, name.c_str(), resourceType.c_str(), bytes);
  } else {
    ReadSkinOrPlainFile(name, bytes);
  }
  if (bytes.empty() && !resourceType.empty()) ReadPlainFile(name, bytes);
  auto image = DecodeImage(bytes.data(), bytes.size(), mask);
  if (image) image->resourceType = resourceType;
  return image;
}

std::unique_ptr<TImageDataUI> CSkinRender::LoadImageData(UINT resourceId, const std::wstring& resourceType,
                                                         uint32_t mask, HINSTANCE instance) {
  std::vector<uint8_t> bytes;
  if (resourceType.empty() ||
      !ReadModuleResource(instance, MAKEINTRESOURCEW(resourceId), resourceType.c_str(), bytes))
    return nullptr;
  auto image = DecodeImage(bytes.data(), bytes.size(), mask);
  if (image) image->resourceType = resourceType;
  return image;
}

void CSkinRender::ParseImageDescriptor(TImageDrawUI& info, const std::wstring& descriptor,
                                       const std::wstring& modifier, CPaintManagerUI* manager) {
  info = TImageDrawUI();
  info.descriptor = descriptor;
  info.modifier = modifier;
  info.imageName = descriptor;
  ParseDescriptorItems(info, descriptor, manager);
  ParseDescriptorItems(info, modifier, manager);
  if (manager != nullptr) {
    const int scale = manager->GetDpiScale();
    if (scale != kFullScale) {
      wchar_t suffix[16];
      std::swprintf(suffix, 16, L"@%d.", scale);
      std::wstring scaledName;
      for (wchar_t ch : info.imageName) {
        if (ch == L'.') {
          scaledName += suffix;
        } else {
          scaledName += ch;
        }
      }
      info.imageName = scaledName;
    }
  }
}

bool CSkinRender::DrawImageDescriptor(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                      const std::wstring& descriptor, const std::wstring& modifier,
                                      HINSTANCE instance) {
  if (manager == nullptr || dc == nullptr) return false;
  const TImageDrawUI* info = manager->GetParsedDescriptor(descriptor, modifier);
  return DrawImageInfo(dc, manager, item, paint, info, instance);
}

bool CSkinRender::DrawImageInfo(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                const TImageDrawUI* info, HINSTANCE instance) {
  if (manager == nullptr || dc == nullptr || info == nullptr) return false;
  RECT dest = item;
  if (!IsEmptyRect(info->dest)) {
    dest = info->dest;
    ::OffsetRect(&dest, item.left, item.top);
  }
  if (info->iconSize.cx > 0 && info->iconSize.cy > 0) {
    const LONG width = info->iconSize.cx;
    const LONG height = info->iconSize.cy;
    const std::wstring& align = info->align;
    if (align.find(L"left") != std::wstring::npos) {
      dest.left = item.left;
    } else if (align.find(L"center") != std::wstring::npos) {
      dest.left = item.left + (item.right - item.left - width) / 2;
    } else if (align.find(L"right") != std::wstring::npos) {
      dest.left = item.right - width;
    } else {
      dest.left = item.left;
    }
    dest.right = dest.left + width;
    if (align.find(L"top") != std::wstring::npos) {
      dest.top = item.top;
    } else if (align.find(L"vcenter") != std::wstring::npos) {
      dest.top = item.top + (item.bottom - item.top - height) / 2;
    } else if (align.find(L"bottom") != std::wstring::npos) {
      dest.top = item.bottom - height;
    } else {
      dest.top = item.top;
    }
    dest.bottom = dest.top + height;
    ::OffsetRect(&dest, info->padding.left, info->padding.top);
    ::OffsetRect(&dest, -info->padding.right, -info->padding.bottom);
    if (dest.right > item.right) dest.right = item.right;
    if (dest.bottom > item.bottom) dest.bottom = item.bottom;
  }
  return DrawImageByName(dc, manager, item, paint, info->imageName, info->resourceType, dest, info->source,
                         info->corner, info->mask, info->fade, info->hole, info->xTiled, info->yTiled, instance);
}

bool CSkinRender::DrawImageByName(HDC dc, CPaintManagerUI* manager, const RECT& item, const RECT& paint,
                                  const std::wstring& name, const std::wstring& resourceType, const RECT& dest,
                                  const RECT& source, const RECT& corners, uint32_t mask, uint8_t fade,
                                  bool hole, bool xTiled, bool yTiled, HINSTANCE instance) {
  if (name.empty() || manager == nullptr || dc == nullptr) return false;
  const TImageDataUI* image = manager->GetOrLoadImage(name, resourceType, mask, false, instance);
  if (image == nullptr || !image->bitmap) return false;
  RECT part = source;
  if (IsEmptyRect(part)) part = RECT{0, 0, image->width, image->height};
  if (part.right > image->width) part.right = image->width;
  if (part.bottom > image->height) part.bottom = image->height;
  if (!Intersects(dest, item)) return true;
  if (Intersects(dest, paint)) {
    DrawNineGrid(dc, image->bitmap.get(), dest, paint, part, corners, manager->IsLayered() ? true : image->alpha,
                 fade, hole, xTiled, yTiled);
  }
  return true;
}

void CSkinRender::DrawNineGrid(HDC dc, HBITMAP bitmap, const RECT& d, const RECT& paint, const RECT& b,
                               const RECT& corners, bool alpha, uint8_t fade, bool hole, bool xTiled,
                               bool yTiled) {
  if (dc == nullptr || bitmap == nullptr) return;
  unique_memory_dc memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  CSelectObjectGuard select(memory.get(), bitmap);
  const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
  const PieceDrawer piece{dc, memory.get(), alpha || fade < kOpaque, fade};

  const LONG cl = corners.left, ct = corners.top, cr = corners.right, cb = corners.bottom;
  const LONG dw = d.right - d.left, dh = d.bottom - d.top;
  const LONG bw = b.right - b.left, bh = b.bottom - b.top;

  if (!piece.blend && dw == bw && dh == bh && cl == 0 && ct == 0 && cr == 0 && cb == 0) {
    RECT shown;
    if (::IntersectRect(&shown, &d, &paint)) {
      ::BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, memory.get(),
               b.left + shown.left - d.left, b.top + shown.top - d.top, SRCCOPY);
    }
    ::SetStretchBltMode(dc, oldMode);
    return;
  }

  if (!hole) {
    const RECT m{d.left + cl, d.top + ct, d.right - cr, d.bottom - cb};
    const LONG tw = bw - cl - cr, th = bh - ct - cb;
    const LONG sx = b.left + cl, sy = b.top + ct;
    if (Intersects(m, paint) && tw > 0 && th > 0) {
      if (!xTiled && !yTiled) {
        piece.Draw(m, sx, sy, tw, th);
      } else if (xTiled && !yTiled) {
        for (LONG left = m.left; left < m.right; left += tw) {
          const LONG right = left + tw < m.right ? left + tw : m.right;
          piece.Draw(left, m.top, right - left, m.bottom - m.top, sx, sy, right - left, th);
        }
      } else if (!xTiled && yTiled) {
        for (LONG top = m.top; top < m.bottom; top += th) {
          const LONG bottom = top + th < m.bottom ? top + th : m.bottom;
          piece.Draw(m.left, top, m.right - m.left, bottom - top, sx, sy, tw, bottom - top);
        }
      } else {
        for (LONG top = m.top; top < m.bottom; top += th) {
          const LONG bottom = top + th < m.bottom ? top + th : m.bottom;
          for (LONG left = m.left; left < m.right; left += tw) {
            const LONG right = left + tw < m.right ? left + tw : m.right;
            piece.Draw(left, top, right - left, bottom - top, sx, sy, right - left, bottom - top);
          }
        }
      }
    }
  }

  auto border = [&](bool present, const RECT& dest, LONG sx, LONG sy, LONG sw, LONG sh) {
    if (present && Intersects(dest, paint)) piece.Draw(dest, sx, sy, sw, sh);
  };
  const LONG midW = bw - cl - cr, midH = bh - ct - cb;
  border(cl > 0 && ct > 0, RECT{d.left, d.top, d.left + cl, d.top + ct}, b.left, b.top, cl, ct);
  border(ct > 0, RECT{d.left + cl, d.top, d.right - cr, d.top + ct}, b.left + cl, b.top, midW, ct);
  border(cr > 0 && ct > 0, RECT{d.right - cr, d.top, d.right, d.top + ct}, b.right - cr, b.top, cr, ct);
  border(cl > 0, RECT{d.left, d.top + ct, d.left + cl, d.bottom - cb}, b.left, b.top + ct, cl, midH);
  border(cr > 0, RECT{d.right - cr, d.top + ct, d.right, d.bottom - cb}, b.right - cr, b.top + ct, cr, midH);
  border(cl > 0 && cb > 0, RECT{d.left, d.bottom - cb, d.left + cl, d.bottom}, b.left, b.bottom - cb, cl, cb);
  border(cb > 0, RECT{d.left + cl, d.bottom - cb, d.right - cr, d.bottom}, b.left + cl, b.bottom - cb, midW, cb);
  border(cr > 0 && cb > 0, RECT{d.right - cr, d.bottom - cb, d.right, d.bottom}, b.right - cr, b.bottom - cb, cr,
         cb);
  ::SetStretchBltMode(dc, oldMode);
}

}  // namespace SkinUI
