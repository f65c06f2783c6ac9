#pragma once
// Surfaces, PNG files and folders for the drawing tests.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "GdiHandles.h"
#include "PaintManagerUI.h"

namespace SkinUI::testing {

// A top-down 32-bit DIB section selected into its own memory device context.
class DibSurface {
 public:
  DibSurface(int width, int height, uint32_t fill = 0);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  uint32_t Pixel(int x, int y) const;  // 0xAARRGGBB
  uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }
  void Fill(uint32_t color);
  // Rightmost and bottom edges (exclusive) of pixels that differ from the fill colour; -1 when none.
  RECT InkBounds(uint32_t background) const;

 private:
  int width_;
  int height_;
  uint32_t* pixels_ = nullptr;
  unique_memory_dc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// PNG bytes of straight (not premultiplied) RGBA pixels given as 0xAARRGGBB, row by row.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint32_t>& argb);

// A ZIP archive of stored members (name uses "/" as separator).
std::vector<uint8_t> EncodeStoredZip(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& members);

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& path() const { return path_; }
  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::wstring path_;
  mutable std::vector<std::wstring> written_;
};

// A manager whose window state (normally set by the message side) the tests choose.
class TestManager : public CPaintManagerUI {
 public:
  void SetLayeredState(bool layered) { m_bLayered = layered; }
  void SetPaintDCState(HDC dc) { m_hDcPaint = dc; }
  void SetMouseState(POINT point) { m_ptLastMousePos = point; }
};

// A window for code that needs one.
HWND CreateTestWindow();

}  // namespace SkinUI::testing
