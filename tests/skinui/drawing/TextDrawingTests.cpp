// Texts are checked through relations between measurements (wider, taller, equal to the sum of
// its runs), not through pixel widths of a particular font.

#include <gtest/gtest.h>

#include <algorithm>

#include "DrawingTestSupport.h"
#include "GdiplusWarmUp.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {
namespace {

using testing::DibSurface;
using testing::TestManager;

constexpr uint32_t kBlack = 0xFF000000;
constexpr int kBaseFont = 0;
constexpr int kBoldFont = 1;
constexpr int kBigFont = 2;

class TextDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(manager_.AddFont(kBaseFont, L"Arial", 14, false, false, false), nullptr);
    ASSERT_NE(manager_.AddFont(kBoldFont, L"Arial", 14, true, false, false), nullptr);
    ASSERT_NE(manager_.AddFont(kBigFont, L"Arial", 30, false, false, false), nullptr);
  }

  LONG Extent(const std::wstring& text, int font = kBaseFont) {
    return CSkinRender::GetTextSize(surface_.dc(), &manager_, text, font).cx;
  }
  LONG LineHeight(int font = kBaseFont) {
    const TEXTMETRICW& m = manager_.GetFontInfo(font)->metrics;
    return m.tmHeight + m.tmExternalLeading;
  }
  RECT Html(const std::wstring& text, RECT rect = RECT{0, 0, 1000, 1000}, UINT style = kTextCalcRect,
            int font = kBaseFont) {
    CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, text, 0xFFFFFFFF, nullptr, nullptr, nullptr, font,
                              style);
    return rect;
  }
  RECT Plain(const std::wstring& text, RECT rect = RECT{0, 0, 1000, 1000}, UINT style = kTextCalcRect | kTextSingleLine) {
    CSkinRender::DrawText(surface_.dc(), &manager_, rect, text, 0xFFFFFFFF, kBaseFont, style);
    return rect;
  }
  // True when some drawn pixel has its green channel lit (white text has, red text has not).
  bool HasGreenInk(const DibSurface& s) {
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x)
        if (((s.Rgb(x, y) >> 8) & 0xFF) > 100) return true;
    return false;
  }

  DibSurface surface_{300, 200, kBlack};
  TestManager manager_;
};

TEST_F(TextDrawing, CalculateModeMeasuresPlainText) {
  const RECT shortText = Plain(L"Hi");
  const RECT longText = Plain(L"Hi there, a longer line");
  EXPECT_GT(shortText.right, 0);
  EXPECT_GT(longText.right, shortText.right);
  EXPECT_EQ(longText.right, Extent(L"Hi there, a longer line"));
  EXPECT_GE(shortText.bottom, LineHeight() - 1);
  const RECT wrapped = Plain(L"one two three four five six", RECT{0, 0, 60, 1000}, kTextCalcRect | kTextWordBreak);
  EXPECT_GT(wrapped.bottom, 2 * shortText.bottom) << "word break in a narrow rectangle needs several lines";
  EXPECT_EQ(surface_.InkBounds(kBlack).left, -1) << "calculate mode draws nothing";
}

TEST_F(TextDrawing, PlainTextIsDrawnInsideItsRectangleInTheColour) {
  RECT rect{10, 10, 200, 40};
  CSkinRender::DrawText(surface_.dc(), &manager_, rect, L"Red text", 0xFFFF0000, kBaseFont, kTextSingleLine);
  const RECT ink = surface_.InkBounds(kBlack);
  ASSERT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 200);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 40);
  EXPECT_FALSE(HasGreenInk(surface_));
}

TEST_F(TextDrawing, CharacterReferenceDrawsThatOneCharacter) {
  EXPECT_EQ(Plain(L"&#x41;").right, Plain(L"A").right);
  EXPECT_EQ(Plain(L"x &#x57 y").right, Plain(L"W").right);
}

TEST_F(TextDrawing, GdiplusPathMeasuresAndCollapsesAmpersands) {
  manager_.SetUseGdiplusText(true);
  const RECT one = Plain(L"W");
  const RECT four = Plain(L"WWWW");
  EXPECT_GT(four.right, one.right);
  EXPECT_GT(one.bottom, 1);
  EXPECT_EQ(Plain(L"a&&b").right, Plain(L"a&b").right);
  RECT rect{0, 0, 200, 50};
  CSkinRender::DrawText(surface_.dc(), &manager_, rect, L"Drawn", 0xFFFFFFFF, kBaseFont, kTextSingleLine);
  EXPECT_NE(surface_.InkBounds(kBlack).left, -1);
}

TEST_F(TextDrawing, ColorTextFillsTheBackgroundFirst) {
  RECT rect{0, 0, 50, 20};
  CSkinRender::DrawColorText(surface_.dc(), &manager_, rect, L"x", 0xFFFFFFFF, kBaseFont, kTextSingleLine,
                             0xFF0000FF);
  EXPECT_EQ(surface_.Rgb(49, 19), 0x0000FFu);
  EXPECT_EQ(surface_.Rgb(50, 20), 0u);
}

TEST_F(TextDrawing, HtmlRunsAddUpToTheTextWidth) {
  const RECT measured = Html(L"Hello world");
  EXPECT_EQ(measured.right, Extent(L"Hello") + Extent(L" ") + Extent(L"world"));
  EXPECT_EQ(measured.bottom, LineHeight());
  EXPECT_EQ(surface_.InkBounds(kBlack).left, -1);
}

TEST_F(TextDrawing, HtmlBoldItalicUnderlineAndFontTags) {
  EXPECT_EQ(Html(L"<b>Hello</b>").right, Extent(L"Hello", kBoldFont));
  EXPECT_GT(Html(L"<b>Hello</b>").right, Html(L"Hello").right);
  EXPECT_EQ(Html(L"<u>Hello</u>").right, Extent(L"Hello"));
  EXPECT_GT(Html(L"<i>Hi</i>").right, 0);
  EXPECT_EQ(Html(L"<f 2>Hi</f>").right, Extent(L"Hi", kBigFont));
  EXPECT_EQ(Html(L"<f 2>Hi</f>").bottom, LineHeight(kBigFont));
  const RECT created = Html(L"<f Arial 30 bold>Hi</f>");
  EXPECT_GT(created.bottom, LineHeight());
  EXPECT_NE(manager_.FindFont(L"Arial", 30, true, false, false), nullptr) << "registered on the manager";
  EXPECT_GT(manager_.GetFontIndex(L"Arial", 30, true, false, false), 9) << "clear of the skin's font ids";
  EXPECT_EQ(Html(L"{b}Hello{/b}").right, Extent(L"Hello", kBoldFont)) << "brace form";
}

TEST_F(TextDrawing, ClosingBoldOverBoldFontPopsTheCallersFont) {
  // Font 1 is bold already: <b> pushes nothing, so </b> pops font 1 itself.
  const RECT measured = Html(L"<f 1><b>a</b>WWW");
  EXPECT_EQ(measured.right, Extent(L"a", kBoldFont) + Extent(L"WWW", kBaseFont));
}

TEST_F(TextDrawing, HtmlEscapesDrawBracketsLiterally) {
  const RECT measured = Html(L"{<}b{>}x");
  EXPECT_EQ(measured.right, Extent(L"<") + Extent(L"b") + Extent(L">") + Extent(L"x"));
  EXPECT_EQ(Html(L"<{>a<}>").right, Extent(L"{") + Extent(L"a") + Extent(L"}"));
  EXPECT_EQ(Html(L"a<B>").right, Extent(L"a") + Extent(L"<B>")) << "not a tag: drawn as text";
  EXPECT_EQ(Html(L"<r><b>x</b></r>").right, Extent(L"<b>x</b>")) << "raw text";
}

TEST_F(TextDrawing, HtmlLineControlTags) {
  EXPECT_EQ(Html(L"a<n>b").bottom, 2 * LineHeight());
  EXPECT_EQ(Html(L"a<n>b", RECT{0, 0, 1000, 1000}, kTextCalcRect | kTextSingleLine).bottom, LineHeight());
  EXPECT_EQ(Html(L"a\nb").bottom, 2 * LineHeight());
  EXPECT_EQ(Html(L"<x 20>a").right, 20 + Extent(L"a"));
  EXPECT_EQ(Html(L"<y 50>a").bottom, 50);
  EXPECT_EQ(Html(L"<p 10>a</p>").bottom, 10 + LineHeight());
  EXPECT_EQ(Html(L"a<p 10>b</p>").bottom, LineHeight() + 10 + LineHeight()) << "p breaks a non-empty line";
}

TEST_F(TextDrawing, WrappedLinkYieldsTwoRectanglesWithTheSameText) {
  const std::wstring text = L"see <a http://host/x>our user agreement</a> now";
  const LONG width = Extent(L"see ") + Extent(L"our user") + 2;
  RECT links[5] = {};
  std::wstring linkTexts[5];
  int count = 5;
  RECT rect{0, 0, width, 1000};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, text, 0, links, linkTexts, &count, kBaseFont,
                            kTextCalcRect | kTextWordBreak);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(linkTexts[0], L"http://host/x");
  EXPECT_EQ(linkTexts[1], L"http://host/x");
  EXPECT_EQ(links[0].left, Extent(L"see "));
  EXPECT_EQ(links[0].top, 0);
  EXPECT_EQ(links[1].left, 0) << "continues at the left edge of the next line";
  EXPECT_EQ(links[1].top, links[0].bottom);
  EXPECT_GT(links[1].right, 0);
  EXPECT_LE(links[0].right, width);
  EXPECT_GE(rect.bottom, 2 * LineHeight());
}

TEST_F(TextDrawing, LinkCountStopsAtTheCapacity) {
  RECT links[1] = {};
  std::wstring linkTexts[1];
  int count = 1;
  RECT rect{0, 0, 1000, 1000};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<a one>1</a> <a two>2</a>", 0, links, linkTexts,
                            &count, kBaseFont, kTextCalcRect);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(linkTexts[0], L"one");
}

TEST_F(TextDrawing, LinkUnderTheMouseTakesTheHoverColour) {
  auto hasRedInk = [](const DibSurface& s) {
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x)
        if (((s.Rgb(x, y) >> 16) & 0xFF) > 100) return true;
    return false;
  };
  RECT links[2] = {};
  std::wstring linkTexts[2];
  int count = 2;
  RECT rect{0, 0, 200, 40};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<a first>WWW</a> <a second>WWW</a>", 0, links,
                            linkTexts, &count, kBaseFont, kTextSingleLine);
  ASSERT_EQ(count, 2);
  EXPECT_FALSE(hasRedInk(surface_)) << "the window's link colour is blue";

  manager_.SetMouseState(POINT{(links[1].left + links[1].right) / 2, (links[1].top + links[1].bottom) / 2});
  surface_.Fill(kBlack);
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<a first>WWW</a> <a second>WWW</a>", 0, links,
                            linkTexts, &count, kBaseFont, kTextSingleLine);
  EXPECT_TRUE(hasRedInk(surface_)) << "hovered link colour 0xFFD3215F";
  bool redInFirst = false;
  for (int y = 0; y < 40; ++y)
    for (int x = links[0].left; x < links[0].right; ++x)
      if (((surface_.Rgb(x, y) >> 16) & 0xFF) > 100) redInFirst = true;
  EXPECT_FALSE(redInFirst) << "only the hovered link changes colour";
}

TEST_F(TextDrawing, EndEllipsisCutsALongWordAtTheRightEdge) {
  const RECT rect{0, 0, 60, 100};
  const RECT measured = Html(L"Supercalifragilistic", rect, kTextCalcRect | kTextSingleLine | kTextEndEllipsis);
  EXPECT_LE(measured.right, 60);
  EXPECT_GT(measured.right, 60 - Extent(L"W") - Extent(L"..."));
  RECT drawn = rect;
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, drawn, L"Supercalifragilistic", 0xFFFFFFFF, nullptr, nullptr,
                            nullptr, kBaseFont, kTextSingleLine | kTextEndEllipsis);
  EXPECT_LE(surface_.InkBounds(kBlack).right, 60);
}

// Only the cut line ends in the ellipsis: its hidden rest still closes its tags, and the lines
// after its line feed are laid out as usual.
TEST_F(TextDrawing, EndEllipsisHidesOnlyTheRestOfTheCutLine) {
  const RECT rect{0, 0, 60, 1000};
  const RECT all = Html(L"Super<b>califragilistic</b> word\nabc\n<b>x</b>", rect, kTextCalcRect | kTextEndEllipsis);
  EXPECT_EQ(all.bottom, 3 * LineHeight()) << "the lines after the cut one are kept";
  EXPECT_LE(all.right, 60);
  const RECT later = Html(L"abc", rect, kTextCalcRect);
  const RECT afterCut =
      Html(L"Super<b>califragilistic</b>\nabc", RECT{0, 0, 60, 1000}, kTextCalcRect | kTextEndEllipsis);
  EXPECT_EQ(afterCut.bottom, 2 * LineHeight());
  EXPECT_GE(afterCut.right, later.right);
  EXPECT_EQ(Html(L"Supercalifragilistic\nabc", rect, kTextCalcRect | kTextSingleLine | kTextEndEllipsis).bottom,
            LineHeight())
      << "a single line still stops at the cut";
}

TEST_F(TextDrawing, LongRunIsCutAndWrapsOntoTheNextLine) {
  const RECT measured = Html(L"abcdefghijklmnopqrstuvwxyz", RECT{0, 0, 40, 1000});
  EXPECT_LE(measured.right, 40);
  EXPECT_GT(measured.bottom, 2 * LineHeight());
}

TEST_F(TextDrawing, WordBreakMovesTheWholeWordToTheNextLine) {
  const LONG width = Extent(L"aaa ") + Extent(L"b") + 1;
  const RECT broken = Html(L"aaa bbb", RECT{0, 0, width, 1000}, kTextCalcRect | kTextWordBreak);
  EXPECT_EQ(broken.bottom, 2 * LineHeight());
  EXPECT_EQ(broken.right, std::max(Extent(L"aaa "), Extent(L"bbb")));
  const RECT cut = Html(L"aaa bbb", RECT{0, 0, width, 1000}, kTextCalcRect);
  EXPECT_EQ(cut.bottom, 2 * LineHeight());
  EXPECT_EQ(cut.right, std::max(Extent(L"aaa ") + Extent(L"b"), Extent(L"bb"))) << "cut before the overflow";
  const RECT single = Html(L"aaa bbb", RECT{0, 0, width, 1000}, kTextCalcRect | kTextSingleLine);
  EXPECT_EQ(single.bottom, LineHeight());
}

TEST_F(TextDrawing, ColourTagsAndSaturation) {
  RECT rect{0, 0, 200, 40};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<c #FF0000>WWWW</c>", 0xFFFFFFFF, nullptr, nullptr,
                            nullptr, kBaseFont, kTextSingleLine);
  ASSERT_NE(surface_.InkBounds(kBlack).left, -1);
  EXPECT_FALSE(HasGreenInk(surface_)) << "six digits give the colour as written";
  surface_.Fill(kBlack);
  rect = RECT{0, 0, 200, 40};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<c #FFFF0000>WWWW</c>", 0xFF0000FF, nullptr,
                            nullptr, nullptr, kBaseFont, kTextSingleLine);
  EXPECT_TRUE(HasGreenInk(surface_)) << "eight digits from 8 up saturate to 0x7FFFFFFF (white)";
}

TEST_F(TextDrawing, InlineImageDrawsTheSelectedFrame) {
  uint32_t* pixels = nullptr;
  HBITMAP bitmap = CreateTopDownDib(nullptr, 8, 4, &pixels);
  const uint32_t frames[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) pixels[y * 8 + x] = frames[x / 2];
  ASSERT_NE(manager_.AddImageBitmap(L"a.png", bitmap, 8, 4, false), nullptr);

  const RECT measured = Html(L"<i a.png 4 2>");
  EXPECT_EQ(measured.right, 2);
  EXPECT_GE(measured.bottom, 4);
  RECT rect{0, 0, 100, 40};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<i a.png 4 2>", 0xFFFFFFFF, nullptr, nullptr,
                            nullptr, kBaseFont, kTextSingleLine);
  const RECT ink = surface_.InkBounds(kBlack);
  EXPECT_EQ(ink.left, 0);
  EXPECT_EQ(ink.right, 2);
  EXPECT_EQ(ink.bottom - ink.top, 4);
  EXPECT_EQ(ink.top, (LineHeight() - 4) / 2) << "centred on a taller line";
  EXPECT_EQ(surface_.Rgb(0, ink.top), 0x0000FFu) << "the third quarter";
  EXPECT_EQ(Html(L"<i a.png 4 9>").right, 2) << "an index out of range is 0";
  EXPECT_EQ(Html(L"<i file='a.png' 2>").right, 4) << "descriptor form";
  EXPECT_EQ(Html(L"<i missing.png>x").right, Extent(L"x"));
}

TEST_F(TextDrawing, CentredSingleLineIsPlacedInTheMiddle) {
  RECT rect{0, 0, 300, 60};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"WWW", 0xFFFFFFFF, nullptr, nullptr, nullptr, kBaseFont,
                            kTextSingleLine | kTextCenter | kTextVCenter);
  const RECT ink = surface_.InkBounds(kBlack);
  ASSERT_NE(ink.left, -1);
  const LONG width = Extent(L"WWW");
  EXPECT_NEAR(ink.left, (300 - width) / 2, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, LineHeight() / 2);
}

TEST_F(TextDrawing, SelectionPaintsTheSelectedBackground) {
  manager_.SetDefaultSelectedBkColor(0xFF00FF00);
  RECT rect{0, 0, 200, 40};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<s>WW</s>", 0xFFFFFFFF, nullptr, nullptr, nullptr,
                            kBaseFont, kTextSingleLine);
  EXPECT_EQ(surface_.Rgb(1, LineHeight() / 2), 0x00FF00u);
}

TEST_F(TextDrawing, HtmlDrawingClipsToTheRectangleAndRestoresTheClip) {
  RECT rect{0, 0, 20, 100};
  CSkinRender::DrawHtmlText(surface_.dc(), &manager_, rect, L"<x 15>WWWWWWWW", 0xFFFFFFFF, nullptr, nullptr, nullptr,
                            kBaseFont, kTextSingleLine);
  EXPECT_LE(surface_.InkBounds(kBlack).right, 20);
  CSkinRender::DrawColor(surface_.dc(), RECT{250, 150, 260, 160}, 0xFFFF0000);
  EXPECT_EQ(surface_.Rgb(255, 155), 0xFF0000u);
}

// The warm-up thread makes GDI+ fonts while the first text waits for it; text drawn then and text
// drawn long after are the same pixels, and starting and waiting again is harmless.
TEST_F(TextDrawing, GdiplusTextDuringFontWarmUpMatchesLaterText) {
  manager_.SetUseGdiplusText(true);
  const std::wstring text = L"Tessaro \x5B89\x88C5 40%";
  const UINT style = kTextSingleLine | kTextVCenter;
  DibSurface during(300, 40, kBlack), after(300, 40, kBlack);
  RECT rect = {4, 0, 296, 40};
  CGdiplusWarmUp::Start();
  CSkinRender::DrawText(during.dc(), &manager_, rect, text, 0xFFFFFFFF, kBaseFont, style);
  CGdiplusWarmUp::Start();
  CGdiplusWarmUp::Wait();
  CGdiplusWarmUp::Wait();
  rect = {4, 0, 296, 40};
  CSkinRender::DrawText(after.dc(), &manager_, rect, text, 0xFFFFFFFF, kBaseFont, style);

  const RECT ink = during.InkBounds(kBlack);
  EXPECT_GT(ink.right - ink.left, 60);
  EXPECT_GT(ink.bottom - ink.top, 5);
  int differing = 0;
  for (int y = 0; y < during.height(); ++y)
    for (int x = 0; x < during.width(); ++x) differing += during.Pixel(x, y) != after.Pixel(x, y);
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace SkinUI
