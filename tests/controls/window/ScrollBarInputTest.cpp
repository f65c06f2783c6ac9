// Scroll bars driven by mouse and wheel messages posted to a real window: the arrows, the rail,
// the thumb and the wheel scroll the owning layout, and the parts repaint in their state colours.

#include <gtest/gtest.h>

#include "ContainerUI.h"
#include "ScrollBarUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kRowA = 0xAA0000;
constexpr uint32_t kRowB = 0x00AA00;
constexpr uint32_t kThumbNormal = 0xC2C2C2;
constexpr uint32_t kThumbHot = 0xA8A8A8;
constexpr uint32_t kThumbPushed = 0x8C8C8C;

// Ten 40-pixel rows in a 200 x 100 box: a range of 300. The bar is x 194..210 of the box, its
// arrows 16 pixels long, its rail 68, its thumb 68 * 100 / 400 = 17.
std::wstring ListSkin() {
  std::wstring rows;
  for (int i = 0; i < 10; ++i) {
    rows += L"<Control name=\"row" + std::to_wstring(i) + L"\" height=\"40\" bkcolor=\"" +
            (i % 2 == 0 ? L"#FFAA0000" : L"#FF00AA00") + L"\"/>";
  }
  return L"<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
         L"<VerticalLayout name=\"box\" float=\"true\" pos=\"10,10,210,110\" vscrollbar=\"true\">" +
         rows +
         L"</VerticalLayout>"
         L"<ScrollBar name=\"hbar\" hor=\"true\" float=\"true\" pos=\"10,150,110,166\" range=\"50\" linesize=\"5\" "
         L"thumbnormalcolor=\"#FF0000FF\"/>"
         L"</VerticalLayout></Window>";
}

class ScrollBarInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  CContainerUI* Box() { return static_cast<CContainerUI*>(window.Find(L"box")); }
  int Pos() { return Box()->GetScrollPos().cy; }
  void Wheel(int x, int y, int delta) {
    ::PostMessageW(window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                   MAKELPARAM(TestWindow::kLeft + x, TestWindow::kTop + y));
    PumpPending();
  }
  TestWindow window{ListSkin()};
};

TEST_F(ScrollBarInput, ArrowsRailThumbAndWheelScrollTheLayout) {
  CScrollBarUI* bar = Box()->GetVerticalScrollBar();
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(300, bar->GetScrollRange());
  window.Paint();
  EXPECT_EQ(kRowA, window.Pixel(50, 45));
  EXPECT_EQ(kThumbNormal, window.Pixel(202, 30));

  // The up arrow at the top does nothing; the down arrow steps a line and says so once.
  window.Click(202, 18);
  EXPECT_EQ(0, Pos());
  EXPECT_EQ(0, window.NoteCount(L"scroll:box"));
  window.Click(202, 100);
  EXPECT_EQ(8, Pos());
  EXPECT_EQ(1, window.NoteCount(L"scroll:box"));
  EXPECT_EQ(2, window.Find(L"row0")->GetPos().top);
  window.Paint();
  EXPECT_EQ(kRowB, window.Pixel(50, 45));

  // The rail below the thumb pages down by the view's height.
  window.Click(202, 85);
  EXPECT_EQ(108, Pos());

  // The thumb (now at 26 + 51 * 108 / 300 = 44) follows the mouse while held, in pushed colour.
  const RECT thumb = bar->GetPartRect(CScrollBarUI::kThumb);
  EXPECT_EQ(10 + 16 + 51 * 108 / 300, thumb.top);
  window.MouseMove(202, 50);
  window.MouseDown(202, 50);
  window.Paint();
  EXPECT_EQ(kThumbPushed, window.Pixel(202, 50));
  window.MouseMove(202, 50 + 17);
  EXPECT_EQ(208, Pos());
  window.MouseMove(150, 190);  // far past the end, outside the bar
  EXPECT_EQ(300, Pos());
  EXPECT_EQ(110, window.Find(L"row9")->GetPos().bottom);
  window.MouseUp(150, 190);

  // Over the thumb without a button: hot.
  window.MouseMove(202, 85);
  window.Paint();
  EXPECT_EQ(kThumbHot, window.Pixel(202, 85));

  // The wheel over a row scrolls the layout the row is in.
  Wheel(50, 50, WHEEL_DELTA);
  EXPECT_EQ(292, Pos());
  Wheel(50, 50, -WHEEL_DELTA);
  Wheel(50, 50, -WHEEL_DELTA);
  EXPECT_EQ(300, Pos());
}

TEST_F(ScrollBarInput, AStandaloneBarKeepsItsOwnPositionAndHidesItsThumbWhenDisabled) {
  auto* bar = static_cast<CScrollBarUI*>(window.Find(L"hbar")->GetInterface(L"ScrollBar"));
  ASSERT_NE(nullptr, bar);
  window.Paint();
  // Thumb: rail 68 long (16..84), 68 * 100 / 150 = 45 of it.
  EXPECT_EQ(0x0000FF, window.Pixel(10 + 16 + 20, 158));
  EXPECT_EQ(0x0000FF, window.Pixel(10 + 16 + 44, 158));
  EXPECT_NE(0x0000FF, window.Pixel(10 + 16 + 46, 158));

  window.Click(103, 158);  // right arrow
  EXPECT_EQ(5, bar->GetScrollPos());
  EXPECT_EQ(1, window.NoteCount(L"scroll:hbar"));
  window.Click(100 - 12, 158);  // rail right of the thumb: a page (the bar's length) clamps at the end
  EXPECT_EQ(50, bar->GetScrollPos());
  Wheel(60, 158, WHEEL_DELTA);
  EXPECT_EQ(45, bar->GetScrollPos());

  bar->SetEnabled(false);
  window.Paint();
  const RECT hidden = bar->GetPartRect(CScrollBarUI::kThumb);
  EXPECT_TRUE(::IsRectEmpty(&hidden));
  EXPECT_NE(0x0000FF, window.Pixel(10 + 16 + 44, 158));
  window.Click(103, 158);
  EXPECT_EQ(45, bar->GetScrollPos());
  EXPECT_EQ(3, window.NoteCount(L"scroll:hbar"));
}

}  // namespace

namespace {

constexpr uint32_t kThumbImage = 0xFF8000;
constexpr uint32_t kThumbPushedImage = 0x8000FF;

// A horizontal layout 100 wide holding three 60-pixel columns (a range of 80), its bar drawn
// with pictures from the skin archive.
const char kImageSkin[] =
    "<Window size=\"200,100\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
    "<HorizontalLayout name=\"strip\" float=\"true\" pos=\"0,0,100,60\" hscrollbar=\"true\" "
    "hscrollbarstyle=\"thumbnormalimage=&quot;thumb.png&quot; thumbpushedimage=&quot;pushed.png&quot; "
    "button1normalimage=&quot;thumb.png&quot;\">"
    "<Control width=\"60\" bkcolor=\"#FFAA0000\"/><Control width=\"60\" bkcolor=\"#FF00AA00\"/>"
    "<Control width=\"60\" bkcolor=\"#FF0000AA\"/>"
    "</HorizontalLayout></VerticalLayout></Window>";

class ScrollBarImages : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  MemorySkin skin{MakeZip({{"skin.xml", kImageSkin},
                           {"thumb.png", MakeSolidPng(8, 8, 0xFF000000u | kThumbImage)},
                           {"pushed.png", MakeSolidPng(8, 8, 0xFF000000u | kThumbPushedImage)}})};
  TestWindow window{L"skin.xml"};
};

TEST_F(ScrollBarImages, AHorizontalBarDrawsItsPicturesAndDragsAlongX) {
  auto* strip = static_cast<CContainerUI*>(window.Find(L"strip"));
  CScrollBarUI* bar = strip->GetHorizontalScrollBar();
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(80, bar->GetScrollRange());
  // The bar is the strip's bottom 16 pixels (y 44..60); its rail runs from x 16 to 84.
  const RECT thumb = bar->GetPartRect(CScrollBarUI::kThumb);
  EXPECT_EQ(16, thumb.left);
  EXPECT_EQ(44, thumb.top);
  window.Paint();
  EXPECT_EQ(kThumbImage, window.Pixel(thumb.left + 4, 52));
  EXPECT_EQ(kThumbImage, window.Pixel(8, 52));  // the left arrow's picture
  EXPECT_EQ(0xAA0000, window.Pixel(30, 20));

  // Dragging the thumb to the rail's end scrolls the last column fully into view.
  window.MouseMove(thumb.left + 4, 52);
  window.MouseDown(thumb.left + 4, 52);
  window.Paint();
  EXPECT_EQ(kThumbPushedImage, window.Pixel(thumb.left + 4, 52));
  window.MouseMove(thumb.left + 4 + 100, 52);
  window.MouseUp(thumb.left + 4 + 100, 52);
  EXPECT_EQ(80, strip->GetScrollPos().cx);
  window.Paint();
  EXPECT_EQ(0x0000AA, window.Pixel(90, 20));
  EXPECT_EQ(0x00AA00, window.Pixel(30, 20));
}

}  // namespace
