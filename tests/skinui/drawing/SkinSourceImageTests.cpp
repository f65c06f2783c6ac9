#include <gtest/gtest.h>

#include <algorithm>

#include "DrawingTestSupport.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "SkinResource.h"

namespace SkinUI {
namespace {

using testing::DibSurface;
using testing::EncodePng;
using testing::EncodeStoredZip;
using testing::TempFolder;

constexpr uint32_t kBackground = 0xFF000000;

std::vector<uint8_t> SolidPng(uint32_t argb) { return EncodePng(2, 2, std::vector<uint32_t>(4, argb)); }

// Each test selects its skin source and puts folder mode without a path back at the end.
class SkinSourceImages : public ::testing::Test {
 protected:
  void TearDown() override {
    CSkinResource::SetResourceZip(L"", false);
    CSkinResource::SetResourcePath(L"");
  }
  TempFolder folder_;
};

TEST_F(SkinSourceImages, ImagesComeFromTheSkinFolder) {
  ::CreateDirectoryW((folder_.path() + L"\\image15").c_str(), nullptr);
  const std::wstring file = folder_.Write(L"image15\\dot.png", SolidPng(0xFF00FF00));
  CSkinResource::SetResourcePath(folder_.path() + L"\\");
  CPaintManagerUI manager;
  DibSurface surface(4, 4, kBackground);
  EXPECT_TRUE(CSkinRender::DrawImageDescriptor(surface.dc(), &manager, RECT{0, 0, 2, 2}, RECT{0, 0, 4, 4},
                                               L"image15\\dot.png"));
  EXPECT_EQ(surface.Rgb(1, 1), 0x00FF00u);
  EXPECT_EQ(surface.Rgb(2, 2), 0u);
  ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW((folder_.path() + L"\\image15").c_str());
}

TEST_F(SkinSourceImages, ImagesComeFromTheSkinArchiveIgnoringCase) {
  folder_.Write(L"skin.zip", EncodeStoredZip({{"Image15/Dot.png", SolidPng(0xFFFF0000)},
                                             {"bad.png", std::vector<uint8_t>{1, 2, 3}}}));
  CSkinResource::SetResourcePath(folder_.path() + L"\\");
  CSkinResource::SetResourceZip(L"skin.zip", true);
  CPaintManagerUI manager;
  DibSurface surface(4, 4, kBackground);
  EXPECT_TRUE(CSkinRender::DrawImageDescriptor(surface.dc(), &manager, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4},
                                               L"file='image15\\dot.png' corner='1,1,1,1'"));
  EXPECT_EQ(surface.Rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(surface.Rgb(3, 3), 0xFF0000u);
  EXPECT_FALSE(CSkinRender::DrawImageDescriptor(surface.dc(), &manager, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4},
                                                L"bad.png"))
      << "a member that does not decode draws nothing";
  EXPECT_EQ(manager.GetImage(L"bad.png"), nullptr) << "and is not registered";
}

bool SamePixels(const TImageDataUI& image, const TImageDataUI& other) {
  const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  return image.width == other.width && image.height == other.height &&
         std::equal(image.pixels, image.pixels + count, other.pixels);
}

// An image decoded ahead on a thread of its own is, at each scale, the file of that scale: the
// first load takes it, and it draws as a decode on the spot does. One decoded with another mask
// is not taken.
TEST_F(SkinSourceImages, PrefetchedImagesAreTheFilesOfTheWindowsScale) {
  const uint32_t magenta = 0xFFFF00FF;
  folder_.Write(L"skin.zip",
                EncodeStoredZip({{"bg.png", SolidPng(0xFFFF0000)},
                                 {"bg@150.png", EncodePng(3, 3, std::vector<uint32_t>(9, 0xFF00FF00))},
                                 {"bg@200.png", EncodePng(4, 4, std::vector<uint32_t>(16, 0xFF0000FF))},
                                 {"keyed.png", EncodePng(2, 1, {magenta, 0xFF123456})}}));
  CSkinResource::SetResourcePath(folder_.path() + L"\\");
  CSkinResource::SetResourceZip(L"skin.zip", true);
  const struct {
    int scale;
    const wchar_t* file;
    int side;
    uint32_t rgb;
  } scales[] = {{100, L"bg.png", 2, 0xFF0000}, {150, L"bg@150.png", 3, 0x00FF00}, {200, L"bg@200.png", 4, 0x0000FF}};
  for (const auto& at : scales) {
    SCOPED_TRACE(at.scale);
    CPaintManagerUI manager;
    manager.GetDpiScaler()->SetAwareness(CDpiScaler::Awareness::PerMonitorAware);
    manager.GetDpiScaler()->SetScale(at.scale);
    manager.PrefetchImage(L"bg.png");
    EXPECT_EQ(manager.GetImage(at.file), nullptr) << "registered when first loaded, not before";
    DibSurface surface(8, 8, kBackground);
    EXPECT_TRUE(CSkinRender::DrawImageDescriptor(surface.dc(), &manager, RECT{0, 0, 8, 8}, RECT{0, 0, 8, 8},
                                                 L"bg.png"));
    EXPECT_EQ(surface.Rgb(7, 7), at.rgb);
    const TImageDataUI* image = manager.GetImage(at.file);
    const auto fresh = CSkinRender::LoadImageData(at.file, L"", 0, nullptr);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(image->width, at.side);
    EXPECT_TRUE(SamePixels(*image, *fresh));
  }

  CPaintManagerUI manager;
  manager.PrefetchImage(L"file='keyed.png' mask='#FFFF00FF'");
  manager.PrefetchImage(L"missing.png");
  const TImageDataUI* unmasked = manager.GetOrLoadImage(L"keyed.png");
  const auto fresh = CSkinRender::LoadImageData(L"keyed.png", L"", 0, nullptr);
  ASSERT_NE(unmasked, nullptr);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(SamePixels(*unmasked, *fresh)) << "the decode keyed on magenta was taken for the plain image";
  EXPECT_EQ(unmasked->pixels[0] >> 24, 0xFFu);
  EXPECT_EQ(manager.GetOrLoadImage(L"missing.png"), nullptr);
}

}  // namespace
}  // namespace SkinUI
