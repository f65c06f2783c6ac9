#include "DrawingTestSupport.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace SkinUI::testing {

namespace {

// GDI+ is started once for the whole test program, as the installer's start-up does.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

const auto* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBig32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

}  // namespace

DibSurface::DibSurface(int width, int height, uint32_t fill) : width_(width), height_(height) {
  dc_.reset(::CreateCompatibleDC(nullptr));
  bitmap_.reset(CreateTopDownDib(dc_.get(), width, height, &pixels_));
  old_ = ::SelectObject(dc_.get(), bitmap_.get());
  Fill(fill);
}

DibSurface::~DibSurface() { ::SelectObject(dc_.get(), old_); }

uint32_t DibSurface::Pixel(int x, int y) const {
  ::GdiFlush();
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void DibSurface::Fill(uint32_t color) {
  ::GdiFlush();
  for (int i = 0; i < width_ * height_; ++i) pixels_[i] = color;
}

RECT DibSurface::InkBounds(uint32_t background) const {
  RECT bounds{-1, -1, -1, -1};
  ::GdiFlush();
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if ((pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF) == (background & 0xFFFFFF)) continue;
      if (bounds.left < 0 || x < bounds.left) bounds.left = x;
      if (bounds.top < 0) bounds.top = y;
      if (x + 1 > bounds.right) bounds.right = x + 1;
      bounds.bottom = y + 1;
    }
  }
  return bounds;
}

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint32_t>& argb) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint32_t p = argb[static_cast<size_t>(y) * width + x];
      raw.push_back(static_cast<uint8_t>(p >> 16));
      raw.push_back(static_cast<uint8_t>(p >> 8));
      raw.push_back(static_cast<uint8_t>(p));
      raw.push_back(static_cast<uint8_t>(p >> 24));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_SPEED);
  packed.resize(packedSize);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(width));
  PutBig32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

namespace {
void PutLittle(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> EncodeStoredZip(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& members) {
  std::vector<uint8_t> zip;
  std::vector<uint8_t> directory;
  for (const auto& [name, data] : members) {
    const uint32_t offset = static_cast<uint32_t>(zip.size());
    const uint32_t crc = static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
    const uint32_t size = static_cast<uint32_t>(data.size());
    PutLittle(zip, 0x04034B50, 4);
    PutLittle(zip, 10, 2);  // version needed
    PutLittle(zip, 0, 2);   // flags
    PutLittle(zip, 0, 2);   // stored
    PutLittle(zip, 0, 4);   // time and date
    PutLittle(zip, crc, 4);
    PutLittle(zip, size, 4);
    PutLittle(zip, size, 4);
    PutLittle(zip, static_cast<uint32_t>(name.size()), 2);
    PutLittle(zip, 0, 2);
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), data.begin(), data.end());

    PutLittle(directory, 0x02014B50, 4);
    PutLittle(directory, 20, 2);  // made by
    PutLittle(directory, 10, 2);
    PutLittle(directory, 0, 2);
    PutLittle(directory, 0, 2);
    PutLittle(directory, 0, 4);
    PutLittle(directory, crc, 4);
    PutLittle(directory, size, 4);
    PutLittle(directory, size, 4);
    PutLittle(directory, static_cast<uint32_t>(name.size()), 2);
    PutLittle(directory, 0, 2);  // extra
    PutLittle(directory, 0, 2);  // comment
    PutLittle(directory, 0, 2);  // disk
    PutLittle(directory, 0, 2);  // internal attributes
    PutLittle(directory, 0x20, 4);  // archive attribute
    PutLittle(directory, offset, 4);
    directory.insert(directory.end(), name.begin(), name.end());
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
  zip.insert(zip.end(), directory.begin(), directory.end());
  PutLittle(zip, 0x06054B50, 4);
  PutLittle(zip, 0, 2);
  PutLittle(zip, 0, 2);
  PutLittle(zip, static_cast<uint32_t>(members.size()), 2);
  PutLittle(zip, static_cast<uint32_t>(members.size()), 2);
  PutLittle(zip, static_cast<uint32_t>(directory.size()), 4);
  PutLittle(zip, directoryOffset, 4);
  PutLittle(zip, 0, 2);
  return zip;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, base);
  wchar_t name[MAX_PATH] = {};
  ::GetTempFileNameW(base, L"skd", 0, name);
  ::DeleteFileW(name);
  path_ = name;
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  for (const auto& file : written_) ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW(path_.c_str());
}

std::wstring TempFolder::Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const {
  const std::wstring full = path_ + L"\\" + name;
  unique_file file(::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
  DWORD written = 0;
  if (file) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  written_.push_back(full);
  return full;
}

HWND CreateTestWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"drawing", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace SkinUI::testing
