// The controls that animate through the window's timers: GifAnim, Ring, RollText and
// FadeButton. Each test waits for the animation's effect, never for a time.

#include <gtest/gtest.h>

#include "FadeButtonUI.h"
#include "GifAnimUI.h"
#include "RingUI.h"
#include "RollTextUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;

constexpr const wchar_t* kAnimated =
    L"<Window size=\"400,200\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<GifAnim name=\"gif\" float=\"true\" pos=\"10,10,18,18\" bkimage=\"spin.gif\"/>"
    L"<GifAnim name=\"still\" float=\"true\" pos=\"30,10,38,18\" bkimage=\"spin.gif\" autoplay=\"false\"/>"
    L"<Ring name=\"ring\" float=\"true\" pos=\"50,10,90,50\" bkimage=\"halves.png\" step=\"0\"/>"
    L"<Ring name=\"spinner\" float=\"true\" pos=\"100,10,140,50\" bkimage=\"halves.png\" interval=\"20\"/>"
    L"<RollText name=\"news\" float=\"true\" pos=\"10,60,210,90\" text=\"Rolling news\" textcolor=\"#FF000000\""
    L" rollinterval=\"20\" rollstep=\"5\"/>"
    L"<FadeButton name=\"fade\" float=\"true\" pos=\"10,100,110,140\" bkcolor=\"#FF0000FF\""
    L" hotbkcolor=\"#FFFF0000\" fadestep=\"64\" fadeinterval=\"20\"/>"
    L"</VerticalLayout></Window>";

class AnimatedControls : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  template <typename T>
  T* Find(const wchar_t* name, const wchar_t* typeName) {
    return static_cast<T*>(window.Find(name)->GetInterface(typeName));
  }
  MemorySkin skin{MakeZip({{"spin.gif", MakeSolidGif(8, 8, {kRed, kGreen, kBlue}, 2)},
                           {"halves.png", MakeStripedPng(10, 20, {0xFFFF0000, 0xFF0000FF})}})};
  TestWindow window{kAnimated};
};

TEST_F(AnimatedControls, GifPlaysItsFramesOnlyWhileShown) {
  auto* gif = Find<CGifAnimUI>(L"gif", L"GifAnim");
  auto* still = Find<CGifAnimUI>(L"still", L"GifAnim");
  EXPECT_EQ(gif->GetFrameCount(), 3);
  EXPECT_TRUE(gif->IsPlaying());
  EXPECT_FALSE(still->IsPlaying()) << "autoplay off";
  EXPECT_EQ(window.Pixel(34, 14), kRed);

  // Each frame in its turn, drawn as it comes.
  const uint32_t frameColours[] = {kRed, kGreen, kBlue};
  for (int frame : {1, 2, 0}) {
    ASSERT_TRUE(PumpUntil([&] { return gif->GetFrame() == frame; })) << "frame " << frame;
    // Held while it is drawn: painting pumps messages, and a slow run could step past it.
    gif->Pause();
    window.Paint();
    EXPECT_EQ(window.Pixel(14, 14), frameColours[frame]) << "frame " << frame;
    gif->Play();
  }

  window.Find(L"root")->SetVisible(false);
  EXPECT_FALSE(gif->IsPlaying()) << "a hidden parent stops the animation";
  window.Find(L"root")->SetVisible(true);
  EXPECT_TRUE(gif->IsPlaying());
  gif->Stop();
  EXPECT_FALSE(gif->IsPlaying());
  EXPECT_EQ(gif->GetFrame(), 0);
  still->Play();
  EXPECT_TRUE(still->IsPlaying());
  ASSERT_TRUE(PumpUntil([&] { return still->GetFrame() == 1; }));
}

TEST_F(AnimatedControls, RingTurnsItsImageAboutTheCentre) {
  auto* ring = Find<CRingUI>(L"ring", L"Ring");
  auto* spinner = Find<CRingUI>(L"spinner", L"Ring");
  // Red left half, blue right half: turned by half a turn they change sides; by a quarter the
  // red half is on top.
  EXPECT_EQ(window.Pixel(62, 30), kRed);
  EXPECT_EQ(window.Pixel(78, 30), kBlue);
  EXPECT_EQ(window.Pixel(55, 30), kWhite) << "only the image turns, nothing is stretched";
  ring->SetAngle(180);
  window.Paint();
  EXPECT_EQ(window.Pixel(62, 30), kBlue);
  EXPECT_EQ(window.Pixel(78, 30), kRed);
  ring->SetAngle(90);
  window.Paint();
  EXPECT_EQ(window.Pixel(70, 22), kRed);
  EXPECT_EQ(window.Pixel(70, 38), kBlue);

  EXPECT_FALSE(ring->IsSpinning()) << "step 0";
  EXPECT_TRUE(spinner->IsSpinning());
  const int start = spinner->GetAngle();
  ASSERT_TRUE(PumpUntil([&] { return spinner->GetAngle() != start; }));
  spinner->SetVisible(false);
  EXPECT_FALSE(spinner->IsSpinning());
}

TEST_F(AnimatedControls, RollTextMovesAcrossAndStopsWhenAsked) {
  auto* news = Find<CRollTextUI>(L"news", L"RollText");
  EXPECT_TRUE(news->IsRolling());
  ASSERT_TRUE(PumpUntil([&] { return news->GetRollOffset() >= 60; }));
  news->EndRoll();
  window.Paint();
  const int offset = news->GetRollOffset();
  // The text's left edge is offset pixels in from the right edge.
  int firstInk = -1;
  for (int x = 10; x < 210 && firstInk < 0; ++x)
    for (int y = 60; y < 90 && firstInk < 0; ++y)
      if (window.Pixel(x, y) != kWhite) firstInk = x;
  EXPECT_GE(firstInk, 210 - offset);
  EXPECT_LE(firstInk, 210 - offset + 4);
  EXPECT_FALSE(news->IsRolling());
  news->BeginRoll();
  EXPECT_TRUE(news->IsRolling());
  window.Find(L"root")->SetVisible(false);
  EXPECT_FALSE(news->IsRolling());
}

TEST_F(AnimatedControls, FadeButtonFadesToTheHotColourAndBack) {
  auto* fade = Find<CFadeButtonUI>(L"fade", L"FadeButton");
  EXPECT_EQ(window.Pixel(60, 120), kBlue);
  window.MouseMove(60, 120);
  EXPECT_TRUE(fade->IsFading());
  window.Paint();
  EXPECT_NE(window.Pixel(60, 120), kRed) << "not hot at once";
  ASSERT_TRUE(PumpUntil([&] { return fade->GetFade() == 255; }));
  EXPECT_FALSE(fade->IsFading());
  window.Paint();
  EXPECT_EQ(window.Pixel(60, 120), kRed);

  window.MouseMove(300, 180);
  ASSERT_TRUE(PumpUntil([&] { return fade->GetFade() > 0 && fade->GetFade() < 255; }));
  window.Paint();
  const uint32_t between = window.Pixel(60, 120);
  EXPECT_NE(between, kRed);
  EXPECT_NE(between, kBlue);
  ASSERT_TRUE(PumpUntil([&] { return fade->GetFade() == 0; }));
  window.Paint();
  EXPECT_EQ(window.Pixel(60, 120), kBlue);
  window.Click(60, 120);
  EXPECT_EQ(window.NoteCount(L"click:fade"), 1) << "still a button";
}

}  // namespace
