// A window built from a skin archive held in memory, painted, and checked pixel by pixel in
// the back buffer and in a PrintWindow capture.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "GdiHandles.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kRoot = 0x336699;
constexpr uint32_t kNormal = 0xFF0000;
constexpr uint32_t kHot = 0x00FF00;
constexpr uint32_t kPushed = 0x0000FF;
constexpr uint32_t kStripes[] = {0xFFFF00, 0x00FFFF, 0xFF00FF, 0x808080};
constexpr uint32_t kWhite = 0xFFFFFF;

const char kSkin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<Window size=\"200,120\">"
    "<Font id=\"0\" name=\"Arial\" size=\"24\" bold=\"true\"/>"
    "<VerticalLayout name=\"root\" bkcolor=\"#FF336699\">"
    "<Button name=\"btn\" float=\"true\" pos=\"10,10,70,40\" normalimage=\"normal.png\" hotimage=\"hot.png\" "
    "pushedimage=\"pushed.png\"/>"
    "<Button name=\"states\" float=\"true\" pos=\"80,10,120,40\" stateimage=\"image15\\states.png\" "
    "statecount=\"4\"/>"
    "<Label name=\"text\" float=\"true\" pos=\"10,60,190,110\" text=\"HHHHHH\" textcolor=\"#FFFFFFFF\" "
    "bkcolor=\"#FF000000\" font=\"0\"/>"
    "</VerticalLayout></Window>";

uint32_t Argb(uint32_t rgb) { return 0xFF000000u | rgb; }

std::vector<uint8_t> SkinArchive() {
  return MakeZip({
      {"skin.xml", kSkin},
      {"normal.png", MakeSolidPng(60, 30, Argb(kNormal))},
      {"hot.png", MakeSolidPng(60, 30, Argb(kHot))},
      {"pushed.png", MakeSolidPng(60, 30, Argb(kPushed))},
      {"image15/states.png",
       MakeStripedPng(40, 30, {Argb(kStripes[0]), Argb(kStripes[1]), Argb(kStripes[2]), Argb(kStripes[3])})},
  });
}

class SkinPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Open());
    window.Paint();
  }
  MemorySkin skin{SkinArchive()};
  TestWindow window{L"skin.xml"};
};

TEST_F(SkinPaint, BackgroundButtonImageAndTextLandWhereTheSkinPutsThem) {
  const SIZE size = window.Manager().GetOffscreenSize();
  EXPECT_EQ(size.cx, 200);
  EXPECT_EQ(size.cy, 120);
  EXPECT_EQ(window.Pixel(150, 30), kRoot);
  EXPECT_EQ(window.Pixel(5, 5), kRoot);
  EXPECT_EQ(window.Pixel(10, 10), kNormal);
  EXPECT_EQ(window.Pixel(40, 25), kNormal);
  EXPECT_EQ(window.Pixel(69, 39), kNormal);
  EXPECT_EQ(window.Pixel(70, 25), kRoot);
  // White strokes of the text inside the label's black box, none outside it.
  const RECT label = {10, 60, 190, 110};
  EXPECT_GT(CountPixels(window, label, kWhite), 100);
  EXPECT_GT(CountPixels(window, label, 0x000000), 1000);
  EXPECT_EQ(CountPixels(window, RECT{0, 0, 200, 58}, kWhite), 0);
}

TEST_F(SkinPaint, ButtonImagesFollowHoverAndPress) {
  window.MouseMove(40, 25);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kHot);
  window.MouseDown(40, 25);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kPushed);
  // Captured and outside: no longer pushed; still hot, as the hover stays while captured.
  window.MouseMove(150, 100);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kHot);
  window.MouseUp(150, 100);
  window.MouseMove(151, 100);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kNormal);
  EXPECT_EQ(window.NoteCount(L"click:btn"), 0);
}

TEST_F(SkinPaint, StateImageIsCutIntoSlicesPerState) {
  EXPECT_EQ(window.Pixel(100, 25), kStripes[0]);
  window.MouseMove(100, 25);
  window.Paint();
  EXPECT_EQ(window.Pixel(100, 25), kStripes[1]);
  window.MouseDown(100, 25);
  window.Paint();
  EXPECT_EQ(window.Pixel(100, 25), kStripes[2]);
  window.MouseUp(100, 25);
  window.MouseMove(150, 100);
  window.Find(L"states")->SetEnabled(false);
  window.Paint();
  EXPECT_EQ(window.Pixel(100, 25), kStripes[3]);
}

TEST_F(SkinPaint, PrintWindowCaptureMatchesTheBackBuffer) {
  HDC screen = ::GetDC(nullptr);
  unique_memory_dc dc(::CreateCompatibleDC(screen));
  uint32_t* bits = nullptr;
  unique_hbitmap bitmap(CreateTopDownDib(screen, 200, 120, &bits));
  ::ReleaseDC(nullptr, screen);
  ASSERT_NE(bits, nullptr);
  {
    CSelectObjectGuard select(dc.get(), bitmap.get());
    ASSERT_TRUE(::PrintWindow(window.GetHWND(), dc.get(), 0));
  }
  ::GdiFlush();
  for (POINT p : {POINT{150, 30}, POINT{40, 25}, POINT{100, 25}, POINT{15, 105}})
    EXPECT_EQ(bits[p.y * 200 + p.x] & 0xFFFFFF, window.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

// Layered windows draw their text through GDI+, which the program starts at start-up.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

TEST_F(SkinPaint, LayeredOutputMakesDrawnPixelsOpaque) {
  GdiplusSession gdiplus;
  window.Manager().SetLayered(true);
  window.Paint();
  EXPECT_NE(::GetWindowLongW(window.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  const uint32_t* bits = window.Manager().GetOffscreenBits();
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(bits[30 * 200 + 150], Argb(kRoot));
  EXPECT_EQ(bits[25 * 200 + 40], Argb(kNormal));
  // The text (GDI+ in layered mode) is opaque and nearly white where its strokes are full.
  int opaqueWhite = 0;
  int transparent = 0;
  for (int y = 60; y < 110; ++y) {
    for (int x = 10; x < 190; ++x) {
      const uint32_t pixel = bits[y * 200 + x];
      if ((pixel >> 24) != 0xFF) ++transparent;
      if ((pixel & 0xFFF0F0F0u) == 0xFFF0F0F0u) ++opaqueWhite;
    }
  }
  EXPECT_GT(opaqueWhite, 100);
  EXPECT_EQ(transparent, 0);
  window.Manager().SetLayered(false);
  window.Paint();
  EXPECT_EQ(::GetWindowLongW(window.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST(SkinPaintLayered, ALayeredImageSetsTheAlphaOfEveryPixel) {
  GdiplusSession gdiplus;
  MemorySkin skin(MakeZip({
      {"layered.xml",
       "<Window size=\"100,60\" layeredimage=\"mask.png\"><VerticalLayout bkcolor=\"#FF336699\"/></Window>"},
      {"mask.png", MakeSolidPng(100, 60, 0x80FFFFFF)},
  }));
  TestWindow window(L"layered.xml");
  ASSERT_TRUE(window.Open());
  window.Paint();
  ASSERT_TRUE(window.Manager().IsLayered());
  const uint32_t* bits = window.Manager().GetOffscreenBits();
  ASSERT_NE(bits, nullptr);
  const uint32_t pixel = bits[30 * 100 + 50];
  EXPECT_EQ(pixel >> 24, 0x80u);
  EXPECT_EQ((pixel >> 16) & 0xFF, 0x33u * 0x80u / 255u);
  EXPECT_EQ((pixel >> 8) & 0xFF, 0x66u * 0x80u / 255u);
  EXPECT_EQ(pixel & 0xFF, 0x99u * 0x80u / 255u);
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

// What the display shows of the window, read back from the screen: the back buffer is drawn
// either way, only a failed UpdateLayeredWindow leaves the window itself blank.
TEST(SkinPaintLayered, OpacityTogetherWithLayeredShowsTheWindowAtThatOpacity) {
  GdiplusSession gdiplus;
  MemorySkin skin(MakeZip({
      {"faded.xml",
       "<Window size=\"100,60\" opacity=\"255\" layered=\"true\"><VerticalLayout bkcolor=\"#FF336699\"/></Window>"},
  }));
  TestWindow window(L"faded.xml");
  ASSERT_TRUE(window.Open());
  window.Paint();
  PumpUntil([] { return false; }, 300);
  ASSERT_TRUE(window.Manager().IsLayered());
  EXPECT_EQ(window.Manager().GetOpacity(), 255);
  const COLORREF shown = ScreenPixel(TestWindow::kLeft + 50, TestWindow::kTop + 30);
  EXPECT_EQ(shown, RGB(0x33, 0x66, 0x99)) << std::hex << shown;
}

TEST_F(SkinPaint, ShowingAHiddenControlRepaintsOnlyAfterLayout) {
  window.Find(L"btn")->SetVisible(false);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kRoot);
  window.Find(L"btn")->SetVisible(true);
  window.Paint();
  EXPECT_EQ(window.Pixel(40, 25), kNormal);
}

}  // namespace
