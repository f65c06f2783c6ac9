// The slider driven by mouse, wheel and key messages posted to a real window.

#include <gtest/gtest.h>

#include "SliderUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kTrack = 0x00FF00;
constexpr uint32_t kFill = 0x0000FF;
constexpr uint32_t kThumb = 0xFF0000;

constexpr const wchar_t* kSliders =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Slider name=\"volume\" float=\"true\" pos=\"10,10,210,30\" min=\"0\" max=\"100\" value=\"50\""
    L" thumbsize=\"10,20\" thumbcolor=\"#FFFF0000\" forecolor=\"#FF0000FF\" bkcolor=\"#FF00FF00\"/>"
    L"<Slider name=\"level\" float=\"true\" pos=\"250,10,270,110\" hor=\"false\" min=\"0\" max=\"10\""
    L" thumbsize=\"20,10\" thumbcolor=\"#FFFF0000\"/>"
    L"</VerticalLayout></Window>";

class SliderInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  CSliderUI* Slider(const wchar_t* name) {
    return static_cast<CSliderUI*>(window.Find(name)->GetInterface(L"Slider"));
  }
  void Wheel(int x, int y, int delta) {
    ::PostMessageW(window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                   MAKELPARAM(TestWindow::kLeft + x, TestWindow::kTop + y));
    PumpPending();
  }
  TestWindow window{kSliders};
};

TEST_F(SliderInput, MouseWheelAndKeysSetTheValueAndThePicture) {
  CSliderUI* slider = Slider(L"volume");
  ASSERT_NE(slider, nullptr);
  // 50 of 100: the thumb's left edge is half of the 190 px it travels.
  EXPECT_EQ(slider->GetThumbRect().left, 10 + 95);
  EXPECT_EQ(window.Pixel(110, 20), kThumb);
  EXPECT_EQ(window.Pixel(50, 20), kFill);
  EXPECT_EQ(window.Pixel(180, 20), kTrack);

  // A click on the track jumps there: the thumb's centre under the mouse.
  window.Click(10 + 5 + 38, 20);
  EXPECT_EQ(slider->GetValue(), 20);
  EXPECT_EQ(window.NoteCount(L"valuechanged:volume"), 1);

  // Dragging past the end stops at the maximum; each move that changes the value reports it.
  window.MouseMove(10 + 5 + 38, 20);
  window.MouseDown(10 + 5 + 38, 20);
  window.MouseMove(200, 25);
  window.MouseMove(280, 40);
  window.MouseUp(280, 40);
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(window.NoteCount(L"valuechanged:volume"), 3) << "97 at x=200, then 100";
  window.MouseMove(20, 20);
  EXPECT_EQ(slider->GetValue(), 100) << "no drag after the button is up";
  window.Paint();
  EXPECT_EQ(window.Pixel(205, 20), kThumb);
  EXPECT_EQ(window.Pixel(150, 20), kFill);

  window.Manager().SetFocus(slider);
  const int expected[] = {0, 1, 11, 1, 100, 99};
  const WPARAM keys[] = {VK_HOME, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT};
  for (size_t i = 0; i < 6; ++i) {
    window.Key(keys[i]);
    EXPECT_EQ(slider->GetValue(), expected[i]) << "key " << keys[i];
  }
  EXPECT_EQ(window.NoteCount(L"valuechanged:volume"), 9);
  window.Key(VK_RIGHT);
  window.Key(VK_RIGHT);
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(window.NoteCount(L"valuechanged:volume"), 10) << "nothing changes past the end";

  Wheel(100, 20, -WHEEL_DELTA);
  EXPECT_EQ(slider->GetValue(), 99);
  slider->SetAttribute(L"step", L"5");
  Wheel(100, 20, -WHEEL_DELTA);
  EXPECT_EQ(slider->GetValue(), 94);

  slider->SetEnabled(false);
  window.Click(30, 20);
  window.Key(VK_HOME);
  EXPECT_EQ(slider->GetValue(), 94);
}

TEST_F(SliderInput, VerticalSliderGrowsUpwards) {
  CSliderUI* level = Slider(L"level");
  EXPECT_EQ(level->GetThumbRect().top, 100) << "the minimum sits at the bottom";
  window.Click(260, 10 + 5);
  EXPECT_EQ(level->GetValue(), 10);
  window.Click(260, 60);
  EXPECT_EQ(level->GetValue(), 5);
  window.Paint();
  EXPECT_EQ(window.Pixel(260, 60), kThumb);
  EXPECT_EQ(window.NoteCount(L"valuechanged:level"), 2);
}

}  // namespace

namespace {

TEST(SliderImages, ThumbImagesFollowTheMouse) {
  MemorySkin skin{MakeZip({{"thumb.png", MakeSolidPng(10, 20, 0xFFFF0000)},
                           {"hot.png", MakeSolidPng(10, 20, 0xFF00FF00)},
                           {"pushed.png", MakeSolidPng(10, 20, 0xFF0000FF)}})};
  TestWindow window{
      L"<Window size=\"300,100\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
      L"<Slider name=\"s\" float=\"true\" pos=\"10,10,210,30\" value=\"0\" thumbsize=\"10,20\""
      L" thumbimage=\"thumb.png\" thumbhotimage=\"hot.png\" thumbpushedimage=\"pushed.png\"/>"
      L"</VerticalLayout></Window>"};
  ASSERT_TRUE(window.Open());
  EXPECT_EQ(window.Pixel(15, 20), kThumb);
  EXPECT_EQ(window.Pixel(25, 20), 0xFFFFFFu) << "the image fills the thumb only";
  window.MouseMove(100, 20);
  window.Paint();
  EXPECT_EQ(window.Pixel(15, 20), kTrack) << "hot";
  window.MouseDown(100, 20);
  window.Paint();
  const RECT thumb = static_cast<CSliderUI*>(window.Find(L"s")->GetInterface(L"Slider"))->GetThumbRect();
  EXPECT_EQ(window.Pixel(thumb.left + 5, 20), kFill) << "pushed, moved under the mouse";
  EXPECT_EQ(window.Pixel(15, 20), 0xFFFFFFu);
  window.MouseUp(100, 20);
}

}  // namespace
