// Painting into a 32-bit DIB section: background colours, borders, the round clip, paint
// order and stop control, sliced state images, selected options, progress fill and text.

#include <gtest/gtest.h>

#include "ButtonUI.h"
#include "ContainerUI.h"
#include "ControlTestSupport.h"
#include "HorizontalLayoutUI.h"
#include "LabelUI.h"
#include "OptionUI.h"
#include "ProgressUI.h"

namespace SkinUI {
namespace {

using test::Canvas;
using test::ControlHost;
using test::Rect;
using test::Send;

constexpr uint32_t kWhite = 0xFFFFFFu;
constexpr uint32_t kRed = 0xFF0000u;
constexpr uint32_t kGreen = 0x00FF00u;
constexpr uint32_t kBlue = 0x0000FFu;
constexpr uint32_t kYellow = 0xFFFF00u;

// A container at the origin holding one child at the given rectangle.
template <typename T>
T* PlaceChild(ControlHost& host, T* child, RECT rect, const wchar_t* attributes) {
  auto* root = new CContainerUI();
  child->ApplyAttributeList(attributes);
  root->Add(child);
  host.Attach(root, Rect(0, 0, 100, 60));
  child->SetPos(rect, false);
  return child;
}

// Registers a width x height image of four equal vertical bands: red, green, blue, yellow.
void AddFourStateImage(CPaintManagerUI& manager, const wchar_t* name, int width, int height) {
  uint32_t* pixels = nullptr;
  HBITMAP bitmap = CreateTopDownDib(nullptr, width, height, &pixels);
  ASSERT_NE(nullptr, bitmap);
  const uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[y * width + x] = colours[x * 4 / width];
  ASSERT_NE(nullptr, manager.AddImageBitmap(name, bitmap, width, height, false));
}

TEST(ControlPaint, BackgroundColourFillsTheItemOnly) {
  ControlHost host;
  CControlUI* control = PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30), L"bkcolor=\"#FF336699\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  EXPECT_TRUE(control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr));
  EXPECT_EQ(0x336699u, canvas.Rgb(10, 10));
  EXPECT_EQ(0x336699u, canvas.Rgb(39, 29));
  EXPECT_EQ(kWhite, canvas.Rgb(40, 29));
  EXPECT_EQ(kWhite, canvas.Rgb(39, 30));
  EXPECT_EQ(kWhite, canvas.Rgb(9, 10));
  EXPECT_EQ(30 * 20, 100 * 60 - canvas.CountNot(0x336699u, canvas.Whole()));
}

TEST(ControlPaint, PaintRectangleLimitsTheFill) {
  ControlHost host;
  CControlUI* control = PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30), L"bkcolor=\"#FF336699\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), Rect(0, 0, 20, 60), nullptr);
  EXPECT_EQ(0x336699u, canvas.Rgb(19, 20));
  EXPECT_EQ(kWhite, canvas.Rgb(20, 20));
}

TEST(ControlPaint, TransparentBackgroundColourDrawsNothing) {
  ControlHost host;
  CControlUI* control = PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30), L"bkcolor=\"#00FFFFFF\"");
  Canvas canvas(100, 60, 0xFF123456u);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(0, canvas.CountNot(0x123456u, canvas.Whole()));
}

TEST(ControlPaint, ForeColourCoversTheBackground) {
  ControlHost host;
  CControlUI* control =
      PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30), L"bkcolor=\"#FFFF0000\" forecolor=\"#FF0000FF\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(20, 20));
}

TEST(ControlPaint, VerticalGradientRunsFromTopToBottom) {
  ControlHost host;
  CControlUI* control =
      PlaceChild(host, new CControlUI(), Rect(0, 0, 20, 40), L"bkcolor=\"#FF000000\" bkcolor2=\"#FFFFFFFF\"");
  Canvas canvas(100, 60, 0xFF00FF00u);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  const uint32_t top = canvas.Rgb(10, 1) & 0xFF;
  const uint32_t bottom = canvas.Rgb(10, 38) & 0xFF;
  EXPECT_LT(top, 0x40u);
  EXPECT_GT(bottom, 0xC0u);
  EXPECT_EQ(canvas.Rgb(2, 20), canvas.Rgb(18, 20));
}

TEST(ControlPaint, UniformBorderOutlinesTheItem) {
  ControlHost host;
  CControlUI* control = PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30),
                                   L"bkcolor=\"#FF00FF00\" bordersize=\"2\" bordercolor=\"#FFFF0000\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kRed, canvas.Rgb(10, 20));
  EXPECT_EQ(kRed, canvas.Rgb(39, 20));
  EXPECT_EQ(kRed, canvas.Rgb(25, 10));
  EXPECT_EQ(kRed, canvas.Rgb(25, 29));
  EXPECT_EQ(kGreen, canvas.Rgb(25, 20));
  EXPECT_EQ(kGreen, canvas.Rgb(14, 20));
  EXPECT_EQ(kWhite, canvas.Rgb(9, 20));
}

TEST(ControlPaint, FocusedBorderColourReplacesTheBorderWhileFocused) {
  ControlHost host;
  CControlUI* control =
      PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30),
                 L"bordersize=\"1\" bordercolor=\"#FFFF0000\" focusbordercolor=\"#FF0000FF\"");
  Send(control, UIEvent::SetFocus);
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(10, 20));
}

TEST(ControlPaint, PerSideBordersDrawOnlyTheirSides) {
  ControlHost host;
  CControlUI* control = PlaceChild(host, new CControlUI(), Rect(10, 10, 40, 30),
                                   L"bkcolor=\"#FF00FF00\" bordersize=\"0,0,0,2\" bordercolor=\"#FFFF0000\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kRed, canvas.Rgb(25, 29));
  EXPECT_EQ(kGreen, canvas.Rgb(25, 10));
  EXPECT_EQ(kGreen, canvas.Rgb(10, 20));
  EXPECT_EQ(kGreen, canvas.Rgb(39, 20));
}

TEST(ControlPaint, BorderRoundClipsTheCorners) {
  ControlHost host;
  CControlUI* control =
      PlaceChild(host, new CControlUI(), Rect(10, 10, 50, 50), L"bkcolor=\"#FF336699\" borderround=\"20,20\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  control->GetParent()->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kWhite, canvas.Rgb(10, 10));
  EXPECT_EQ(kWhite, canvas.Rgb(49, 49));
  EXPECT_EQ(0x336699u, canvas.Rgb(30, 30));
  EXPECT_EQ(0x336699u, canvas.Rgb(10, 30));
}

TEST(ControlPaint, ChildrenPaintInOrderAndHiddenOnesNot) {
  ControlHost host;
  auto* root = new CContainerUI();
  auto* under = new CControlUI();
  under->ApplyAttributeList(L"float=\"true\" pos=\"0,0,30,30\" bkcolor=\"#FFFF0000\"");
  auto* over = new CControlUI();
  over->ApplyAttributeList(L"float=\"true\" pos=\"10,10,40,40\" bkcolor=\"#FF0000FF\"");
  auto* hidden = new CControlUI();
  hidden->ApplyAttributeList(L"float=\"true\" pos=\"0,0,50,50\" bkcolor=\"#FF00FF00\" visible=\"false\"");
  root->Add(under);
  root->Add(over);
  root->Add(hidden);
  host.Attach(root, Rect(0, 0, 100, 60));
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  EXPECT_TRUE(root->Paint(canvas.dc(), canvas.Whole(), nullptr));
  EXPECT_EQ(kRed, canvas.Rgb(5, 5));
  EXPECT_EQ(kBlue, canvas.Rgb(20, 20));
  EXPECT_EQ(kWhite, canvas.Rgb(45, 45));

  Canvas stopped(100, 60, 0xFFFFFFFFu);
  EXPECT_FALSE(root->Paint(stopped.dc(), stopped.Whole(), over));
  EXPECT_EQ(kRed, stopped.Rgb(20, 20));
}

TEST(ControlPaint, ChildOutsideTheInsetIsClippedUnlessFloating) {
  ControlHost host;
  auto* root = new CContainerUI();
  root->SetAttribute(L"inset", L"10,10,10,10");
  auto* inner = new CControlUI();
  inner->SetAttribute(L"bkcolor", L"#FFFF0000");
  auto* floating = new CControlUI();
  floating->ApplyAttributeList(L"float=\"true\" pos=\"0,0,5,5\" bkcolor=\"#FF0000FF\"");
  root->Add(inner);
  root->Add(floating);
  host.Attach(root, Rect(0, 0, 100, 60));
  inner->SetPos(Rect(0, 0, 100, 60), false);
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  root->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kWhite, canvas.Rgb(8, 30));
  EXPECT_EQ(kRed, canvas.Rgb(10, 30));
  EXPECT_EQ(kBlue, canvas.Rgb(2, 2));
}

TEST(ControlPaint, StateImageIsCutIntoOneSlicePerState) {
  ControlHost host;
  AddFourStateImage(host.manager, L"states.png", 40, 10);
  auto* button = PlaceChild(host, new CButtonUI(), Rect(0, 0, 20, 10),
                            L"stateimage=\"states.png\" statecount=\"4\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(L"res='states.png' restype='' dest='0,0,0,0' source='0,0,10,10'", button->GetNormalImage());
  EXPECT_EQ(L"res='states.png' restype='' dest='0,0,0,0' source='10,0,20,10'", button->GetHotImage());
  EXPECT_EQ(L"res='states.png' restype='' dest='0,0,0,0' source='20,0,30,10'", button->GetPushedImage());
  EXPECT_EQ(L"res='states.png' restype='' dest='0,0,0,0' source='30,0,40,10'", button->GetDisabledImage());
  EXPECT_EQ(kRed, canvas.Rgb(5, 5));
  EXPECT_EQ(kRed, canvas.Rgb(19, 9));
  EXPECT_EQ(kWhite, canvas.Rgb(20, 5));

  Send(button, UIEvent::MouseEnter, POINT{5, 5});
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kGreen, canvas.Rgb(5, 5));
  Send(button, UIEvent::ButtonDown, POINT{5, 5});
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(5, 5));
  Send(button, UIEvent::ButtonUp, POINT{50, 50});
  button->SetEnabled(false);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kYellow, canvas.Rgb(5, 5));
}

TEST(ControlPaint, TwoStateImageUsesTheSecondSliceForHotAndPushed) {
  ControlHost host;
  AddFourStateImage(host.manager, L"two.png", 20, 10);
  auto* button =
      PlaceChild(host, new CButtonUI(), Rect(0, 0, 10, 10), L"stateimage=\"file='two.png'\" statecount=\"2\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(button->GetHotImage(), button->GetPushedImage());
  EXPECT_EQ(L"", button->GetDisabledImage());
  Send(button, UIEvent::ButtonDown, POINT{5, 5});
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  // Slice 1 of a 20-wide image of four bands holds blue then yellow.
  EXPECT_EQ(kBlue, canvas.Rgb(2, 5));
}

TEST(ControlPaint, MissingStateImageFallsBackToTheNormalImage) {
  ControlHost host;
  AddFourStateImage(host.manager, L"normal.png", 4, 4);
  auto* button = PlaceChild(host, new CButtonUI(), Rect(0, 0, 8, 8),
                            L"normalimage=\"file='normal.png' source='0,0,1,1'\" hotimage=\"nosuch.png\"");
  Send(button, UIEvent::MouseEnter, POINT{1, 1});
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kRed, canvas.Rgb(4, 4));
}

TEST(ControlPaint, ButtonStateBackgroundColours) {
  ControlHost host;
  auto* button = PlaceChild(host, new CButtonUI(), Rect(0, 0, 20, 20),
                            L"bkcolor=\"#FFFFFFFF\" hotbkcolor=\"#FF00FF00\" pushedbkcolor=\"#FF0000FF\" "
                            L"disabledbkcolor=\"#FFFF0000\"");
  Canvas canvas(100, 60, 0xFF000000u);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kWhite, canvas.Rgb(10, 10));
  Send(button, UIEvent::MouseEnter, POINT{5, 5});
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kGreen, canvas.Rgb(10, 10));
  Send(button, UIEvent::ButtonDown, POINT{5, 5});
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(10, 10));
  button->SetEnabled(false);
  button->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kRed, canvas.Rgb(10, 10));
}

TEST(ControlPaint, SelectedOptionUsesItsSelectedImageAndColour) {
  ControlHost host;
  AddFourStateImage(host.manager, L"check.png", 40, 10);
  auto* option = PlaceChild(host, new COptionUI(), Rect(0, 0, 10, 10),
                            L"bkcolor=\"#FF000000\" normalimage=\"file='check.png' source='0,0,10,10'\" "
                            L"selectedimage=\"file='check.png' source='20,0,30,10'\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  option->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kRed, canvas.Rgb(5, 5));
  option->Selected(true);
  option->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(5, 5));

  auto* coloured = PlaceChild(host, new COptionUI(), Rect(0, 20, 10, 30),
                              L"bkcolor=\"#FF000000\" selectedbkcolor=\"#FF00FF00\" selected=\"true\"");
  coloured->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kGreen, canvas.Rgb(5, 25));
}

TEST(ControlPaint, ProgressFillsTheTruncatedFraction) {
  ControlHost host;
  auto* progress = PlaceChild(host, new CProgressUI(), Rect(0, 0, 594, 12),
                              L"forecolor=\"#FF0000FF\" min=\"0\" max=\"100\" value=\"40\"");
  Canvas canvas(600, 20, 0xFFFFFFFFu);
  progress->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(kBlue, canvas.Rgb(236, 6));
  EXPECT_EQ(kWhite, canvas.Rgb(237, 6));

  AddFourStateImage(host.manager, L"bar.png", 8, 2);
  progress->SetForeImage(L"bar.png");
  progress->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(L"dest='0,0,237,12'", progress->GetForeImageModifier());
  progress->SetStretchForeImage(false);
  progress->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(L"dest='0,0,237,12' source='0,0,237,12'", progress->GetForeImageModifier());

  progress->SetHorizontal(false);
  progress->SetPos(Rect(0, 0, 10, 100), false);
  progress->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_EQ(L"dest='0,60,10,100' source='0,60,10,100'", progress->GetForeImageModifier());
  EXPECT_FALSE(progress->IsHorizontal());
}

TEST(ControlPaint, LabelTextStaysInsideItsPaddedRectangle) {
  ControlHost host;
  auto* label = PlaceChild(host, new CLabelUI(), Rect(10, 10, 90, 50),
                           L"text=\"WWWW\" textcolor=\"#FF000000\" textpadding=\"20,0,0,0\"");
  Canvas canvas(100, 60, 0xFFFFFFFFu);
  label->Paint(canvas.dc(), canvas.Whole(), nullptr);
  EXPECT_GT(canvas.CountNot(kWhite, Rect(30, 10, 90, 50)), 0);
  EXPECT_EQ(0, canvas.CountNot(kWhite, Rect(0, 0, 30, 60)));
  EXPECT_EQ(0, canvas.CountNot(kWhite, Rect(90, 0, 100, 60)));

  label->SetText(L"");
  Canvas empty(100, 60, 0xFFFFFFFFu);
  label->Paint(empty.dc(), empty.Whole(), nullptr);
  EXPECT_EQ(0, empty.CountNot(kWhite, empty.Whole()));
}

TEST(LabelMeasure, SingleLineHeightComesFromTheFontAndAutoWidthFromTheText) {
  ControlHost host;
  auto* label = PlaceChild(host, new CLabelUI(), Rect(0, 0, 10, 10), L"textpadding=\"2,3,4,5\"");
  const int fontHeight = host.manager.GetFontInfo(-1)->metrics.tmHeight;
  ASSERT_GT(fontHeight, 0);
  SIZE size = label->MeasureSize(SIZE{500, 500});
  EXPECT_EQ(0, size.cx);
  EXPECT_EQ(3 + fontHeight + 5 + 8, size.cy);

  label->SetAttribute(L"autocalcwidth", L"true");
  label->SetText(L"M");
  const int narrow = label->MeasureSize(SIZE{500, 500}).cx;
  label->SetText(L"MMMMMMMM");
  const int wide = label->MeasureSize(SIZE{500, 500}).cx;
  EXPECT_GT(narrow, 6);
  EXPECT_GT(wide, narrow * 4);

  label->SetAttribute(L"width", L"40");
  label->SetAttribute(L"height", L"30");
  size = label->MeasureSize(SIZE{500, 500});
  EXPECT_EQ(40, size.cx);
  EXPECT_EQ(30, size.cy);
}

TEST(LabelMeasure, AutoSizedLabelWithoutTextOrManagerMeasuresOnlyItsPadding) {
  CLabelUI detached;
  detached.ApplyAttributeList(L"autocalcwidth=\"true\" textpadding=\"2,0,3,0\" text=\"MMMM\"");
  EXPECT_EQ(5, detached.MeasureSize(SIZE{500, 500}).cx);

  ControlHost host;
  auto* row = host.Attach(new CHorizontalLayoutUI(), Rect(0, 0, 300, 40));
  auto* label = new CLabelUI();
  label->ApplyAttributeList(L"autocalcwidth=\"true\" textpadding=\"2,0,3,0\"");
  auto* rest = new CControlUI();
  row->Add(label);
  row->Add(rest);
  row->SetPos(Rect(0, 0, 300, 40), false);
  EXPECT_EQ(5, label->GetPos().right - label->GetPos().left);
  EXPECT_EQ(295, rest->GetPos().right - rest->GetPos().left);

  auto* tall = new CLabelUI();
  tall->ApplyAttributeList(L"width=\"60\" wordbreak=\"true\" autocalcheight=\"true\" textpadding=\"0,4,0,6\"");
  EXPECT_EQ(10, tall->MeasureSize(SIZE{60, 500}).cy);
  row->Add(tall);
  tall->SetText(L"MMMM");
  EXPECT_GT(tall->MeasureSize(SIZE{60, 500}).cy, 10);
  // Measured before it had a manager, the label measures its text once it has one.
  detached.SetManager(&host.manager, nullptr, false);
  EXPECT_GT(detached.MeasureSize(SIZE{500, 500}).cx, 10);
  detached.SetManager(nullptr, nullptr, false);
}

TEST(LabelMeasure, WordBreakLabelGrowsWithItsText) {
  ControlHost host;
  auto* label = PlaceChild(host, new CLabelUI(), Rect(0, 0, 10, 10),
                           L"width=\"60\" wordbreak=\"true\" autocalcheight=\"true\"");
  label->SetText(L"word");
  const int one = label->MeasureSize(SIZE{60, 500}).cy;
  label->SetText(L"word word word word word word word word");
  const int many = label->MeasureSize(SIZE{60, 500}).cy;
  EXPECT_GT(one, 0);
  EXPECT_GT(many, one * 2);
}

}  // namespace
}  // namespace SkinUI
