// A skinned window moved to a display of another DPI. Wine never sends WM_DPICHANGED (it makes
// every process per-monitor aware but has one DPI for all monitors), so the test sends the message
// itself to a real window, as Windows would when the window crosses to a 150 % monitor and back.

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBackground = 0xFF101010;

const char kSkin[] =
    "<Window size=\"200,100\" caption=\"0,0,0,20\" sizebox=\"4,4,4,4\" roundcorner=\"20,20\">"
    "<Font id=\"0\" name=\"Arial\" size=\"12\"/>"
    "<VerticalLayout bkcolor=\"#FF101010\">"
    "<Button name=\"art\" float=\"true\" pos=\"10,30,58,54\" normalimage=\"b.png\"/>"
    "<Label name=\"text\" float=\"true\" pos=\"80,30,180,54\" font=\"0\" text=\"Label\"/>"
    "</VerticalLayout></Window>";

LRESULT HitTest(HWND window, int x, int y) {
  return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(TestWindow::kLeft + x, TestWindow::kTop + y));
}

LONG FontHeight(HFONT font) {
  LOGFONTW description = {};
  ::GetObjectW(font, sizeof(description), &description);
  return description.lfHeight;
}

bool InRegion(HWND window, int x, int y) {
  unique_hrgn region(::CreateRectRgn(0, 0, 0, 0));
  return ::GetWindowRgn(window, region.get()) != ERROR && ::PtInRegion(region.get(), x, y);
}

void SendDpiChanged(HWND window, int dpi, RECT suggested) {
  ::SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

TEST(DpiChange, TheWindowTakesTheSuggestedRectangleAndRedrawsAtTheNewScale) {
  // b.png is red at 100 %; the 150 % art is a different picture (green) at 1.5 times the size.
  MemorySkin skin(MakeZip({{"dpi.xml", kSkin},
                           {"b.png", MakeSolidPng(48, 24, kRed)},
                           {"b@150.png", MakeSolidPng(72, 36, kGreen)}}));
  TestWindow window(L"dpi.xml");
  ASSERT_TRUE(window.Open());
  HWND hwnd = window.GetHWND();
  CPaintManagerUI& manager = window.Manager();
  // The harness display is at 96 DPI.
  ASSERT_EQ(manager.GetDpiScale(), 100);
  window.Paint();
  EXPECT_EQ(window.Pixel(10, 30), kRed & 0xFFFFFF);
  EXPECT_EQ(window.Pixel(57, 53), kRed & 0xFFFFFF);
  EXPECT_EQ(FontHeight(manager.GetFont(0)), -12);
  EXPECT_TRUE(InRegion(hwnd, 3, 3));

  const RECT wide = {TestWindow::kLeft, TestWindow::kTop, TestWindow::kLeft + 300, TestWindow::kTop + 150};
  SendDpiChanged(hwnd, 144, wide);
  RECT placed = {};
  ::GetWindowRect(hwnd, &placed);
  EXPECT_TRUE(::EqualRect(&placed, &wide));
  EXPECT_EQ(manager.GetDpiScale(), 150);
  EXPECT_EQ(FontHeight(manager.GetFont(0)), -18);
  window.Paint();
  // The button now spans 15,45 to 87,81 and shows the 150 % picture to its edges.
  EXPECT_EQ(window.Pixel(15, 45), kGreen & 0xFFFFFF);
  EXPECT_EQ(window.Pixel(86, 80), kGreen & 0xFFFFFF);
  EXPECT_EQ(window.Pixel(87, 60), kBackground & 0xFFFFFF);
  EXPECT_EQ(window.Pixel(50, 81), kBackground & 0xFFFFFF);
  // Caption, resize bands and corners grew with it.
  EXPECT_EQ(HitTest(hwnd, 150, 29), HTCAPTION);
  EXPECT_EQ(HitTest(hwnd, 150, 30), HTCLIENT);
  EXPECT_EQ(HitTest(hwnd, 5, 100), HTLEFT);
  EXPECT_EQ(HitTest(hwnd, 6, 100), HTCLIENT);
  EXPECT_FALSE(InRegion(hwnd, 3, 3));
  EXPECT_TRUE(InRegion(hwnd, 150, 75));

  // And back to 100 %.
  const RECT narrow = {TestWindow::kLeft, TestWindow::kTop, TestWindow::kLeft + 200, TestWindow::kTop + 100};
  SendDpiChanged(hwnd, 96, narrow);
  EXPECT_EQ(manager.GetDpiScale(), 100);
  EXPECT_EQ(FontHeight(manager.GetFont(0)), -12);
  window.Paint();
  EXPECT_EQ(window.Pixel(57, 53), kRed & 0xFFFFFF);
  EXPECT_EQ(window.Pixel(60, 60), kBackground & 0xFFFFFF);
  EXPECT_EQ(HitTest(hwnd, 150, 20), HTCLIENT);
}
