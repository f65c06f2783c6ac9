#include <gtest/gtest.h>

#include <cstdlib>

#include "ClipUI.h"
#include "DrawingTestSupport.h"
#include "SkinRender.h"

namespace SkinUI {
namespace {

using testing::DibSurface;

constexpr uint32_t kBackground = 0xFF000000;

int Channel(uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

class PrimitiveDrawing : public ::testing::Test {
 protected:
  void TearDown() override { CSkinRender::SetPlatformBlending(true); }
};

TEST_F(PrimitiveDrawing, ColorFillsTheRectangleAndHonoursAlpha) {
  DibSurface surface(10, 10, kBackground);
  CSkinRender::DrawColor(surface.dc(), RECT{2, 2, 6, 6}, 0xFFFF0000);
  EXPECT_EQ(surface.Rgb(2, 2), 0xFF0000u);
  EXPECT_EQ(surface.Rgb(5, 5), 0xFF0000u);
  EXPECT_EQ(surface.Rgb(6, 6), 0u);
  EXPECT_EQ(surface.Rgb(1, 1), 0u);
  CSkinRender::DrawColor(surface.dc(), RECT{0, 0, 10, 10}, 0x00FFFFFF);
  EXPECT_EQ(surface.Rgb(0, 0), 0u) << "alpha 0 draws nothing";
  CSkinRender::DrawColor(surface.dc(), RECT{7, 7, 9, 9}, 0x800000FF);
  EXPECT_NEAR(Channel(surface.Pixel(8, 8), 0), 128, 3);
}

TEST_F(PrimitiveDrawing, GradientRunsFromFirstToSecondColour) {
  for (bool platform : {true, false}) {
    CSkinRender::SetPlatformBlending(platform);
    DibSurface surface(64, 8, kBackground);
    CSkinRender::DrawGradient(surface.dc(), RECT{0, 0, 64, 8}, 0xFFFF0000, 0xFF0000FF, false, 64);
    EXPECT_GT(Channel(surface.Pixel(1, 4), 16), 200) << platform;
    EXPECT_LT(Channel(surface.Pixel(1, 4), 0), 50);
    EXPECT_GT(Channel(surface.Pixel(62, 4), 0), 200);
    EXPECT_LT(Channel(surface.Pixel(62, 4), 16), 50);
    EXPECT_GT(Channel(surface.Pixel(20, 4), 16), Channel(surface.Pixel(40, 4), 16)) << "red falls left to right";
    EXPECT_EQ(surface.Rgb(20, 0), surface.Rgb(20, 7)) << "horizontal gradients are constant down a column";
  }
}

TEST_F(PrimitiveDrawing, GradientWithoutPlatformFillUsesPowerOfTwoBands) {
  CSkinRender::SetPlatformBlending(false);
  auto distinctColours = [](int steps) {
    DibSurface surface(128, 1, kBackground);
    CSkinRender::DrawGradient(surface.dc(), RECT{0, 0, 128, 1}, 0xFFFF0000, 0xFF0000FF, false, steps);
    int count = 1;
    for (int x = 1; x < 128; ++x)
      if (surface.Rgb(x, 0) != surface.Rgb(x - 1, 0)) ++count;
    return count;
  };
  EXPECT_EQ(distinctColours(2), 2);
  EXPECT_EQ(distinctColours(4), 4);
  EXPECT_EQ(distinctColours(20), 16);
  EXPECT_EQ(distinctColours(200), 64);
}

TEST_F(PrimitiveDrawing, VerticalTranslucentGradientBlendsWithAverageAlpha) {
  for (bool platform : {true, false}) {
    CSkinRender::SetPlatformBlending(platform);
    DibSurface surface(4, 32, kBackground);
    CSkinRender::DrawGradient(surface.dc(), RECT{0, 0, 4, 32}, 0x80FFFFFF, 0x80FFFFFF, true, 8);
    EXPECT_NEAR(Channel(surface.Pixel(1, 16), 8), 128, 3) << platform;
    DibSurface untouched(4, 4, kBackground);
    CSkinRender::DrawGradient(untouched.dc(), RECT{0, 0, 4, 4}, 0x00FFFFFF, 0x00FFFFFF, true, 8);
    EXPECT_EQ(untouched.Rgb(1, 1), 0u);
  }
}

TEST_F(PrimitiveDrawing, LineAndRectOutlines) {
  DibSurface surface(20, 20, kBackground);
  CSkinRender::DrawLine(surface.dc(), RECT{0, 5, 19, 5}, 1, 0xFF00FF00);
  EXPECT_EQ(surface.Rgb(10, 5), 0x00FF00u);
  EXPECT_EQ(surface.Rgb(10, 6), 0u);

  DibSurface box(20, 20, kBackground);
  CSkinRender::DrawRect(box.dc(), RECT{2, 2, 12, 12}, 1, 0xFFFF0000);
  EXPECT_GT(Channel(box.Pixel(7, 2), 16), 200);
  EXPECT_GT(Channel(box.Pixel(2, 7), 16), 200);
  EXPECT_GT(Channel(box.Pixel(11, 7), 16), 200) << "outline over width - 1";
  EXPECT_EQ(box.Rgb(7, 7), 0u) << "outline only";
  EXPECT_EQ(box.Rgb(13, 7), 0u);

  DibSurface round(30, 30, kBackground);
  CSkinRender::DrawRoundRect(round.dc(), RECT{0, 0, 30, 30}, 1, 10, 10, 0xFFFFFFFF);
  EXPECT_GT(Channel(round.Pixel(15, 0), 0), 100) << "straight top edge";
  EXPECT_LT(Channel(round.Pixel(0, 0), 0), 60) << "corner cut by the arc";
  EXPECT_EQ(round.Rgb(15, 15), 0u);
}

TEST_F(PrimitiveDrawing, ClipScopeLimitsDrawingAndRestores) {
  DibSurface surface(20, 20, kBackground);
  {
    TClipUI clip;
    TClipUI::GenerateClip(surface.dc(), RECT{5, 5, 10, 10}, clip);
    CSkinRender::DrawColor(surface.dc(), RECT{0, 0, 20, 20}, 0xFFFF0000);
    EXPECT_EQ(surface.Rgb(5, 5), 0xFF0000u);
    EXPECT_EQ(surface.Rgb(4, 4), 0u);
    EXPECT_EQ(surface.Rgb(10, 10), 0u);
    clip.SuspendClip(surface.dc());
    ::SetPixelV(surface.dc(), 15, 15, RGB(0, 0, 255));
    clip.ResumeClip(surface.dc());
    ::SetPixelV(surface.dc(), 16, 16, RGB(0, 0, 255));
  }
  EXPECT_EQ(surface.Rgb(15, 15), 0x0000FFu) << "suspended";
  EXPECT_EQ(surface.Rgb(16, 16), 0u) << "resumed";
  CSkinRender::DrawColor(surface.dc(), RECT{0, 0, 20, 20}, 0xFF00FF00);
  EXPECT_EQ(surface.Rgb(0, 0), 0x00FF00u) << "the old clip is back";
}

TEST_F(PrimitiveDrawing, RoundClipCutsTheCorners) {
  DibSurface surface(20, 20, kBackground);
  {
    TClipUI clip;
    TClipUI::GenerateRoundClip(surface.dc(), RECT{0, 0, 20, 20}, RECT{0, 0, 19, 19}, 10, 10, clip);
    CSkinRender::DrawColor(surface.dc(), RECT{0, 0, 20, 20}, 0xFFFF0000);
  }
  EXPECT_EQ(surface.Rgb(0, 0), 0u);
  EXPECT_EQ(surface.Rgb(10, 0), 0xFF0000u);
  EXPECT_EQ(surface.Rgb(10, 10), 0xFF0000u);
  EXPECT_EQ(surface.Rgb(19, 19), 0u);
}

}  // namespace
}  // namespace SkinUI
