#include <gtest/gtest.h>

#include <cstdlib>

#include "DrawingTestSupport.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {
namespace {

using testing::DibSurface;
using testing::EncodePng;
using testing::TempFolder;
using testing::TestManager;

constexpr uint32_t kBackground = 0xFF202020;
// The nine 2x2 regions of a 6x6 picture: corners, edges and middle each in their own colour.
constexpr uint32_t kRegions[3][3] = {
    {0xFFFF0000, 0xFF00FF00, 0xFF0000FF},
    {0xFFFFFF00, 0xFFFFFFFF, 0xFF00FFFF},
    {0xFFFF00FF, 0xFF800000, 0xFF008000},
};

std::vector<uint8_t> NineRegionPng() {
  std::vector<uint32_t> pixels(36);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) pixels[y * 6 + x] = kRegions[y / 2][x / 2];
  return EncodePng(6, 6, pixels);
}

std::vector<uint8_t> SolidPng(int width, int height, uint32_t argb) {
  return EncodePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

bool Near(uint32_t actual, uint32_t expected, int tolerance = 2) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) return false;
  }
  return true;
}

#define EXPECT_RGB(surface, x, y, color) \
  EXPECT_TRUE(Near((surface).Rgb(x, y), (color) & 0xFFFFFF)) << "pixel " << (x) << "," << (y) << " is " << std::hex \
                                                             << (surface).Rgb(x, y)

class ImageDrawing : public ::testing::Test {
 protected:
  void TearDown() override { CSkinRender::SetPlatformBlending(true); }
  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) { return folder_.Write(name, bytes); }
  bool Draw(DibSurface& surface, const RECT& item, const std::wstring& descriptor, const RECT* paint = nullptr) {
    const RECT whole{0, 0, surface.width(), surface.height()};
    return CSkinRender::DrawImageDescriptor(surface.dc(), &manager_, item, paint ? *paint : whole, descriptor);
  }
  // Checks that every region of the nine-grid picture drawn at item with 2-pixel corners
  // lands where it must; the middle holds `middle`.
  void ExpectNineGrid(DibSurface& s, const RECT& d, uint32_t middle) {
    EXPECT_RGB(s, d.left, d.top, kRegions[0][0]);
    EXPECT_RGB(s, d.left + 1, d.top + 1, kRegions[0][0]);
    EXPECT_RGB(s, d.right - 1, d.top, kRegions[0][2]);
    EXPECT_RGB(s, d.left, d.bottom - 1, kRegions[2][0]);
    EXPECT_RGB(s, d.right - 2, d.bottom - 2, kRegions[2][2]);
    const int cx = (d.left + d.right) / 2, cy = (d.top + d.bottom) / 2;
    EXPECT_RGB(s, cx, d.top, kRegions[0][1]);
    EXPECT_RGB(s, cx, d.top + 1, kRegions[0][1]);
    EXPECT_RGB(s, cx, d.bottom - 1, kRegions[2][1]);
    EXPECT_RGB(s, d.left, cy, kRegions[1][0]);
    EXPECT_RGB(s, d.right - 1, cy, kRegions[1][2]);
    EXPECT_RGB(s, cx, cy, middle);
    EXPECT_RGB(s, d.left + 3, d.top + 3, middle);
    EXPECT_RGB(s, d.left - 1, d.top - 1, kBackground);
    EXPECT_RGB(s, d.right, d.bottom, kBackground);
  }

  TempFolder folder_;
  TestManager manager_;
};

TEST_F(ImageDrawing, DecodingPremultipliesAndFlagsAlpha) {
  const std::vector<uint8_t> png = EncodePng(2, 1, {0x80FF0000, 0xFF0000FF});
  auto image = CSkinRender::DecodeImage(png.data(), png.size(), 0);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 1);
  EXPECT_TRUE(image->alpha);
  EXPECT_EQ(image->pixels[0], 0x80800000u);
  EXPECT_EQ(image->pixels[1], 0xFF0000FFu);
  const std::vector<uint8_t> opaque = SolidPng(2, 2, 0xFF123456);
  auto solid = CSkinRender::DecodeImage(opaque.data(), opaque.size(), 0);
  ASSERT_TRUE(solid);
  EXPECT_FALSE(solid->alpha);
  EXPECT_EQ(solid->pixels[3], 0xFF123456u);
}

TEST_F(ImageDrawing, UndecodableBytesGiveNoImage) {
  const uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(CSkinRender::DecodeImage(garbage, sizeof(garbage), 0));
  EXPECT_FALSE(CSkinRender::DecodeImage(nullptr, 0, 0));
  std::vector<uint8_t> png = NineRegionPng();
  png.resize(png.size() / 2);
  EXPECT_FALSE(CSkinRender::DecodeImage(png.data(), png.size(), 0)) << "truncated";
  DibSurface surface(10, 10, kBackground);
  EXPECT_FALSE(Draw(surface, RECT{0, 0, 10, 10}, Write(L"cut.png", png)));
  EXPECT_EQ(surface.InkBounds(kBackground).left, -1);
}

TEST_F(ImageDrawing, MaskColourBecomesTransparent) {
  const std::wstring path = Write(L"masked.png", EncodePng(2, 1, {0xFFFF00FF, 0xFF00FF00}));
  auto image = CSkinRender::LoadImageData(path, L"", 0xFFFF00FF, nullptr);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels[0], 0u);
  EXPECT_TRUE(image->alpha);
  DibSurface surface(2, 1, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 2, 1}, L"file='" + path + L"' mask='#FFFF00FF'"));
  EXPECT_RGB(surface, 0, 0, kBackground);
  EXPECT_RGB(surface, 1, 0, 0xFF00FF00);
}

TEST_F(ImageDrawing, NineGridBordersLandWhereTheyMust) {
  const std::wstring path = Write(L"nine.png", NineRegionPng());
  DibSurface surface(40, 40, kBackground);
  const RECT item{5, 5, 25, 29};
  EXPECT_TRUE(Draw(surface, item, L"file='" + path + L"' corner='2,2,2,2'"));
  ExpectNineGrid(surface, item, kRegions[1][1]);
}

TEST_F(ImageDrawing, NineGridThroughTheAlphaPathOfALayeredWindow) {
  const std::wstring path = Write(L"nine.png", NineRegionPng());
  manager_.SetLayeredState(true);
  DibSurface surface(40, 40, kBackground);
  const RECT item{3, 4, 30, 21};
  EXPECT_TRUE(Draw(surface, item, L"file='" + path + L"' corner='2,2,2,2'"));
  ExpectNineGrid(surface, item, kRegions[1][1]);
}

TEST_F(ImageDrawing, HoleLeavesTheMiddleUntouched) {
  const std::wstring path = Write(L"nine.png", NineRegionPng());
  DibSurface surface(40, 40, kBackground);
  const RECT item{5, 5, 25, 25};
  EXPECT_TRUE(Draw(surface, item, L"file='" + path + L"' corner='2,2,2,2' hole='true'"));
  ExpectNineGrid(surface, item, kBackground);
  EXPECT_RGB(surface, 7, 7, kBackground);
  EXPECT_RGB(surface, 22, 22, kBackground);
}

TEST_F(ImageDrawing, FadeHalvesAnOpaqueImage) {
  const std::wstring path = Write(L"white.png", SolidPng(4, 4, 0xFFFFFFFF));
  for (bool platform : {true, false}) {
    CSkinRender::SetPlatformBlending(platform);
    DibSurface surface(4, 4, 0xFF000000);
    EXPECT_TRUE(Draw(surface, RECT{0, 0, 4, 4}, L"file='" + path + L"' fade='128'"));
    EXPECT_RGB(surface, 0, 0, 0x808080);
    EXPECT_RGB(surface, 3, 3, 0x808080);
  }
}

TEST_F(ImageDrawing, SoftwareBlendMatchesThePlatformOnTranslucentPixels) {
  const std::wstring path = Write(L"half.png", EncodePng(1, 1, {0x80FF0000}));
  uint32_t results[2] = {};
  for (int i = 0; i < 2; ++i) {
    CSkinRender::SetPlatformBlending(i == 0);
    DibSurface surface(1, 1, 0xFFFFFFFF);
    EXPECT_TRUE(Draw(surface, RECT{0, 0, 1, 1}, L"file='" + path + L"'"));
    results[i] = surface.Rgb(0, 0);
  }
  // Half-transparent red over white is light red: full red, green and blue halved.
  EXPECT_TRUE(Near(results[0], 0xFF7F7F)) << std::hex << results[0];
  EXPECT_TRUE(Near(results[1], results[0])) << std::hex << results[1];
}

TEST_F(ImageDrawing, HorizontalTilesAreCutAtTheEdge) {
  const std::wstring path = Write(L"stripe.png", EncodePng(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
  DibSurface surface(10, 1, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 8, 1}, L"file='" + path + L"' xtiled='true'"));
  const uint32_t expected[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000, 0x00FF00};
  for (int x = 0; x < 8; ++x) EXPECT_RGB(surface, x, 0, expected[x]);
  EXPECT_RGB(surface, 8, 0, kBackground);
}

TEST_F(ImageDrawing, TilesInBothDirectionsAreCutAtRightAndBottom) {
  const std::wstring path =
      Write(L"checker.png", EncodePng(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00}));
  DibSurface surface(8, 8, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{1, 1, 6, 6}, L"file='" + path + L"' xtiled='true' ytiled='true'"));
  EXPECT_RGB(surface, 1, 1, 0xFF0000);
  EXPECT_RGB(surface, 2, 2, 0xFFFF00);
  EXPECT_RGB(surface, 5, 5, 0xFF0000) << "the last tile is cut to its first pixel";
  EXPECT_RGB(surface, 4, 5, 0x00FF00);
  EXPECT_RGB(surface, 5, 4, 0x0000FF);
  EXPECT_RGB(surface, 6, 6, kBackground);
  EXPECT_RGB(surface, 6, 1, kBackground);
}

TEST_F(ImageDrawing, VerticalTilesStretchAcrossTheWidth) {
  const std::wstring path = Write(L"column.png", EncodePng(1, 2, {0xFFFF0000, 0xFF0000FF}));
  DibSurface surface(4, 6, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 4, 5}, L"file='" + path + L"' ytiled='true'"));
  for (int x = 0; x < 4; ++x) {
    EXPECT_RGB(surface, x, 0, 0xFF0000);
    EXPECT_RGB(surface, x, 3, 0x0000FF);
    EXPECT_RGB(surface, x, 4, 0xFF0000);
    EXPECT_RGB(surface, x, 5, kBackground);
  }
}

TEST_F(ImageDrawing, SourceWiderThanTheImageIsClamped) {
  const std::wstring path = Write(L"stripe.png", EncodePng(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
  DibSurface surface(3, 1, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 3, 1}, L"file='" + path + L"' source='0,0,100,100'"));
  EXPECT_RGB(surface, 0, 0, 0xFF0000);
  EXPECT_RGB(surface, 1, 0, 0x00FF00);
  EXPECT_RGB(surface, 2, 0, 0x0000FF);
  DibSurface part(2, 1, kBackground);
  EXPECT_TRUE(Draw(part, RECT{0, 0, 2, 1}, L"file='" + path + L"' source='1,0,3,1'"));
  EXPECT_RGB(part, 0, 0, 0x00FF00);
  EXPECT_RGB(part, 1, 0, 0x0000FF);
}

TEST_F(ImageDrawing, DestinationIsOffsetByTheItemCorner) {
  const std::wstring path = Write(L"red.png", SolidPng(4, 4, 0xFFFF0000));
  DibSurface surface(30, 30, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{10, 10, 30, 30}, L"file='" + path + L"' dest='2,3,6,7'"));
  const RECT ink = surface.InkBounds(kBackground);
  EXPECT_EQ(ink.left, 12);
  EXPECT_EQ(ink.top, 13);
  EXPECT_EQ(ink.right, 16);
  EXPECT_EQ(ink.bottom, 17);
}

TEST_F(ImageDrawing, IconSizeWithRightBottomSitsInTheCornerClampedToTheItem) {
  const std::wstring path = Write(L"red.png", SolidPng(4, 4, 0xFFFF0000));
  DibSurface surface(30, 20, kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 20, 10}, L"file='" + path + L"' size='4,4' align='right bottom'"));
  RECT ink = surface.InkBounds(kBackground);
  EXPECT_EQ(ink.left, 16);
  EXPECT_EQ(ink.top, 6);
  EXPECT_EQ(ink.right, 20);
  EXPECT_EQ(ink.bottom, 10);

  surface.Fill(kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 20, 10},
                   L"file='" + path + L"' size='4,4' align='right bottom' padding='2,3,0,0'"));
  ink = surface.InkBounds(kBackground);
  EXPECT_EQ(ink.left, 18);
  EXPECT_EQ(ink.right, 20) << "clamped to the item's right";
  EXPECT_EQ(ink.bottom, 10) << "clamped to the item's bottom";

  surface.Fill(kBackground);
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 20, 10}, L"file='" + path + L"' size='4,4' align='vcenter'"));
  ink = surface.InkBounds(kBackground);
  EXPECT_EQ(ink.left, 8) << "vcenter also centres horizontally";
  EXPECT_EQ(ink.top, 3);
}

TEST_F(ImageDrawing, OnlyThePaintRectangleIsCopied) {
  const std::wstring path = Write(L"red.png", SolidPng(6, 6, 0xFFFF0000));
  DibSurface surface(6, 6, kBackground);
  const RECT paint{2, 2, 4, 5};
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 6, 6}, L"file='" + path + L"'", &paint));
  const RECT ink = surface.InkBounds(kBackground);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.top, 2);
  EXPECT_EQ(ink.right, 4);
  EXPECT_EQ(ink.bottom, 5);
}

TEST_F(ImageDrawing, NothingIsDrawnOutsideItemOrPaintRectangle) {
  const std::wstring path = Write(L"red.png", SolidPng(4, 4, 0xFFFF0000));
  DibSurface surface(30, 30, kBackground);
  const RECT farPaint{20, 20, 30, 30};
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 10, 10}, L"file='" + path + L"'", &farPaint));
  EXPECT_TRUE(Draw(surface, RECT{0, 0, 10, 10}, L"file='" + path + L"' dest='15,15,19,19'"));
  EXPECT_EQ(surface.InkBounds(kBackground).left, -1);
  EXPECT_FALSE(Draw(surface, RECT{0, 0, 10, 10}, L"file='" + folder_.path() + L"\\missing.png'"));
  EXPECT_FALSE(CSkinRender::DrawImageDescriptor(surface.dc(), nullptr, RECT{0, 0, 1, 1}, RECT{0, 0, 1, 1}, path));
}

TEST_F(ImageDrawing, NineGridDrawnDirectlyFromABitmap) {
  const std::vector<uint8_t> png = NineRegionPng();
  auto image = CSkinRender::DecodeImage(png.data(), png.size(), 0);
  ASSERT_TRUE(image);
  DibSurface surface(20, 20, kBackground);
  const RECT dest{2, 2, 18, 14};
  CSkinRender::DrawNineGrid(surface.dc(), image->bitmap.get(), dest, RECT{0, 0, 20, 20}, RECT{0, 0, 6, 6},
                            RECT{2, 2, 2, 2}, false);
  ExpectNineGrid(surface, dest, kRegions[1][1]);
  // Pieces outside the paint rectangle are skipped: only the top row is painted here.
  DibSurface partial(20, 20, kBackground);
  CSkinRender::DrawNineGrid(partial.dc(), image->bitmap.get(), dest, RECT{0, 0, 20, 3}, RECT{0, 0, 6, 6},
                            RECT{2, 2, 2, 2}, true);
  EXPECT_RGB(partial, 2, 2, kRegions[0][0]);
  EXPECT_RGB(partial, 10, 8, kBackground);
  EXPECT_RGB(partial, 2, 13, kBackground);
}

}  // namespace
}  // namespace SkinUI
