#include <gtest/gtest.h>

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

}  // namespace
}  // namespace SkinUI
