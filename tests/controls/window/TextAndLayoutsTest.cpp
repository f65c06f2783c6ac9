// Text with links, the group box frame, and the tile, child and animated tab layouts, in a
// real window.

#include <gtest/gtest.h>

#include "AnimationTabLayoutUI.h"
#include "ChildLayoutUI.h"
#include "GroupBoxUI.h"
#include "TextUI.h"
#include "TileLayoutUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFrame = 0x00FF00;

constexpr const wchar_t* kPage =
    L"<Window size=\"500,400\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<Text name=\"text\" float=\"true\" pos=\"10,10,160,110\" textcolor=\"#FF000000\""
    L" text=\"Read the {a terms}terms of use{/a} and then the whole of the {a privacy}privacy policy{/a}.\"/>"
    L"<GroupBox name=\"group\" float=\"true\" pos=\"200,10,400,110\" text=\"Options\" bordercolor=\"#FF00FF00\""
    L" textcolor=\"#FF000000\"><Control name=\"inside\" bkcolor=\"#FF0000FF\"/></GroupBox>"
    L"<TileLayout name=\"tiles\" float=\"true\" pos=\"10,130,220,250\" columns=\"3\" childpadding=\"6\">"
    L"<Control name=\"t0\"/><Control name=\"t1\" height=\"20\"/><Control name=\"t2\"/><Control name=\"t3\"/>"
    L"</TileLayout>"
    L"<ChildLayout name=\"child\" float=\"true\" pos=\"240,130,400,250\" xmlfile=\"part.xml\"/>"
    L"<AnimationTabLayout name=\"pages\" float=\"true\" pos=\"10,270,210,370\" animation_frames=\"4\">"
    L"<Control name=\"p0\" bkcolor=\"#FFFF0000\"/><Control name=\"p1\" bkcolor=\"#FF0000FF\"/>"
    L"</AnimationTabLayout>"
    L"</VerticalLayout></Window>";

constexpr const char* kPart =
    "<Window><VerticalLayout name=\"partroot\"><Button name=\"partbutton\" height=\"30\" text=\"Part\"/>"
    "</VerticalLayout></Window>";

class TextAndLayouts : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  template <typename T>
  T* Find(const wchar_t* name, const wchar_t* typeName) {
    return static_cast<T*>(window.Find(name)->GetInterface(typeName));
  }
  // A point inside the link's rectangle as the text measured it in the last paint.
  static POINT PointOnLink(CTextUI* text, int index) {
    const RECT area = text->GetPos();
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (text->LinkAt(POINT{x, y}) == index) return POINT{x + 2, y + 2};
    return POINT{};
  }
  MemorySkin skin{MakeZip({{"part.xml", kPart}})};
  TestWindow window{kPage};
};

TEST_F(TextAndLayouts, TextWrapsAndItsLinksReportClicks) {
  auto* text = Find<CTextUI>(L"text", L"Text");
  // The second link wraps: one rectangle a line, each naming the link.
  ASSERT_EQ(text->GetLinkCount(), 3);
  EXPECT_EQ(text->GetLinkContent(0), L"terms");
  EXPECT_EQ(text->GetLinkContent(1), L"privacy");
  EXPECT_EQ(text->GetLinkContent(2), L"privacy");
  // 150 px is too narrow for one line: the text wraps onto lines further down.
  int lowestInk = 0;
  for (int y = 10; y < 110; ++y)
    for (int x = 10; x < 160; ++x)
      if (window.Pixel(x, y) != kWhite) lowestInk = y;
  EXPECT_GT(lowestInk, 40);

  const POINT first = PointOnLink(text, 0);
  const POINT second = PointOnLink(text, 2);
  ASSERT_NE(first.x, 0);
  ASSERT_NE(second.x, 0);
  std::vector<std::wstring> clicked;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"link") clicked.push_back(text->GetLinkContent(static_cast<int>(msg.WParam)));
  };
  window.Click(first.x, first.y);
  window.Click(second.x, second.y);
  ASSERT_EQ(clicked, (std::vector<std::wstring>{L"terms", L"privacy"}));
  // Pressed on one link and released on the other: no link.
  window.MouseMove(first.x, first.y);
  window.MouseDown(first.x, first.y);
  window.MouseMove(second.x, second.y);
  window.MouseUp(second.x, second.y);
  EXPECT_EQ(window.NoteCount(L"link:text"), 2);
  window.Click(150, 105);
  EXPECT_EQ(window.NoteCount(L"link:text"), 2) << "plain text is no link";
}

TEST_F(TextAndLayouts, GroupBoxFramesItsChildrenAroundTheCaption) {
  auto* group = Find<CGroupBoxUI>(L"group", L"GroupBox");
  const RECT caption = group->GetCaptionRect();
  ASSERT_GT(caption.right, caption.left);
  const int top = (caption.top + caption.bottom) / 2;
  EXPECT_EQ(window.Pixel(200, 60), kFrame);
  EXPECT_EQ(window.Pixel(399, 60), kFrame);
  EXPECT_EQ(window.Pixel(300, 109), kFrame);
  EXPECT_EQ(window.Pixel(203, top), kFrame);
  EXPECT_EQ(window.Pixel(395, top), kFrame);
  EXPECT_NE(window.Pixel(caption.left + 1, top), kFrame) << "the caption interrupts the top line";
  // The child fills the frame's inside, below the caption.
  const RECT inside = window.Find(L"inside")->GetPos();
  EXPECT_TRUE(inside.left > 200 && inside.right < 400 && inside.top >= caption.bottom && inside.bottom < 110)
      << "inside " << inside.left << "," << inside.top << "," << inside.right << "," << inside.bottom;
}

TEST_F(TextAndLayouts, TileLayoutFillsRowsByColumnsOrByItemSize) {
  auto* tiles = Find<CTileLayoutUI>(L"tiles", L"TileLayout");
  // 210 px, 3 columns, 6 px apart: 66 px cells; the first row is as high as its 20 px child.
  const RECT expected[] = {{10, 130, 76, 150}, {82, 130, 148, 150}, {154, 130, 220, 150}, {10, 156, 76, 222}};
  for (int i = 0; i < 4; ++i) {
    const RECT pos = window.Find((L"t" + std::to_wstring(i)).c_str())->GetPos();
    EXPECT_TRUE(EqualRect(&pos, &expected[i])) << "t" << i << " at " << pos.left << "," << pos.top << ","
                                               << pos.right << "," << pos.bottom;
  }
  tiles->SetItemSize(SIZE{50, 30});
  window.Paint();
  EXPECT_EQ(tiles->GetColumnsUsed(), 3) << "(210 + 6) / 56";
  const RECT t3 = window.Find(L"t3")->GetPos();
  const RECT cell = {10, 166, 60, 196};
  EXPECT_TRUE(EqualRect(&t3, &cell));
  tiles->SetItemSize(SIZE{100, 30});
  window.Paint();
  EXPECT_EQ(tiles->GetColumnsUsed(), 2);
}

TEST_F(TextAndLayouts, ChildLayoutBuildsItsFileIntoTheWindow) {
  CControlUI* button = window.Find(L"partbutton");
  ASSERT_NE(button, nullptr) << "the child file's names join the window's";
  const RECT pos = button->GetPos();
  EXPECT_EQ(pos.left, 240);
  EXPECT_EQ(pos.top, 130);
  EXPECT_EQ(pos.bottom, 160);
  window.Click(300, 145);
  EXPECT_EQ(window.NoteCount(L"click:partbutton"), 1);
  // Another file on the live layout replaces the children.
  auto* child = Find<CChildLayoutUI>(L"child", L"ChildLayout");
  child->SetChildLayoutXML(L"missing.xml");
  EXPECT_EQ(child->GetCount(), 0);
  child->SetChildLayoutXML(L"part.xml");
  EXPECT_EQ(child->GetCount(), 1);
  window.Paint();
  window.Click(300, 145);
  EXPECT_EQ(window.NoteCount(L"click:partbutton"), 2);
}

TEST_F(TextAndLayouts, AnimationTabSlidesTheNewPageIn) {
  auto* pages = Find<CAnimationTabLayoutUI>(L"pages", L"AnimationTabLayout");
  CControlUI* p1 = window.Find(L"p1");
  EXPECT_EQ(window.Pixel(100, 320), 0xFF0000u);
  pages->SelectItem(1);
  EXPECT_EQ(window.NoteCount(L"tabselect:pages"), 1);
  EXPECT_EQ(pages->GetSlideOffset(), 200);
  ASSERT_TRUE(PumpUntil([&] { return pages->GetSlideOffset() > 0 && pages->GetSlideOffset() < 200; }));
  window.Paint();
  // Part way: the new page's left edge has come in from the right.
  const int left = p1->GetPos().left;
  EXPECT_GT(left, 10);
  EXPECT_LT(left, 210);
  EXPECT_EQ(window.Pixel(left + 1, 320), 0x0000FFu);
  ASSERT_TRUE(PumpUntil([&] { return pages->GetSlideOffset() == 0; }));
  window.Paint();
  EXPECT_EQ(p1->GetPos().left, 10);
  EXPECT_EQ(window.Pixel(11, 320), 0x0000FFu);
  // Back to page 0: from the left this time; hiding finishes the slide at once.
  pages->SelectItem(0);
  EXPECT_EQ(pages->GetSlideOffset(), -200);
  window.Find(L"root")->SetVisible(false);
  EXPECT_EQ(pages->GetSlideOffset(), 0);
  EXPECT_EQ(window.NoteCount(L"tabselect:pages"), 2);
}

}  // namespace
