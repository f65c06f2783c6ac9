#pragma once
// Owners for the GDI objects the toolkit creates, and a guard that puts back whatever a
// device context held before an object was selected into it.

#include <windows.h>

#include <cstdint>

#include "UniqueHandle.h"

namespace SkinUI {
namespace gdi_traits {

template <typename T>
struct Object {
  using type = T;
  static type invalid() { return nullptr; }
  static void close(type object) { ::DeleteObject(object); }
};

struct MemoryDC {
  using type = HDC;
  static type invalid() { return nullptr; }
  static void close(type dc) { ::DeleteDC(dc); }
};

struct Icon {
  using type = HICON;
  static type invalid() { return nullptr; }
  static void close(type icon) { ::DestroyIcon(icon); }
};

struct FontResource {
  using type = HANDLE;
  static type invalid() { return nullptr; }
  static void close(type font) { ::RemoveFontMemResourceEx(font); }
};

}  // namespace gdi_traits

using unique_hfont = unique_handle<gdi_traits::Object<HFONT>>;
using unique_hbitmap = unique_handle<gdi_traits::Object<HBITMAP>>;
using unique_hrgn = unique_handle<gdi_traits::Object<HRGN>>;
using unique_hbrush = unique_handle<gdi_traits::Object<HBRUSH>>;
using unique_hpen = unique_handle<gdi_traits::Object<HPEN>>;
using unique_memory_dc = unique_handle<gdi_traits::MemoryDC>;     // CreateCompatibleDC
using unique_font_resource = unique_handle<gdi_traits::FontResource>;  // AddFontMemResourceEx
using unique_hicon = unique_handle<gdi_traits::Icon>;                  // LoadImage without LR_SHARED

// Selects an object into a device context for the guard's lifetime.
class CSelectObjectGuard {
 public:
  CSelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  CSelectObjectGuard(const CSelectObjectGuard&) = delete;
  CSelectObjectGuard& operator=(const CSelectObjectGuard&) = delete;
  ~CSelectObjectGuard() {
    if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A top-down 32-bit DIB section; pixels are premultiplied BGRA.
inline HBITMAP CreateTopDownDib(HDC dc, int width, int height, uint32_t** pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (pixels != nullptr) *pixels = bitmap != nullptr ? static_cast<uint32_t*>(bits) : nullptr;
  return bitmap;
}

}  // namespace SkinUI
