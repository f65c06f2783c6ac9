#include <gtest/gtest.h>

#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {
namespace {

TImageDrawUI Parse(const std::wstring& descriptor, const std::wstring& modifier = L"",
                   CPaintManagerUI* manager = nullptr) {
  TImageDrawUI info;
  CSkinRender::ParseImageDescriptor(info, descriptor, modifier, manager);
  return info;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ImageDescriptor, BarePathNamesTheFileWithDefaults) {
  const TImageDrawUI info = Parse(L"image15\\table_mask.png");
  EXPECT_EQ(info.imageName, L"image15\\table_mask.png");
  EXPECT_EQ(info.descriptor, L"image15\\table_mask.png");
  EXPECT_TRUE(info.resourceType.empty());
  EXPECT_TRUE(SameRect(info.dest, RECT{}));
  EXPECT_TRUE(SameRect(info.source, RECT{}));
  EXPECT_TRUE(SameRect(info.corner, RECT{}));
  EXPECT_EQ(info.mask, 0u);
  EXPECT_EQ(info.fade, 255);
  EXPECT_FALSE(info.hole || info.xTiled || info.yTiled || info.hsl);
  EXPECT_EQ(info.iconSize.cx, 0);
}

TEST(ImageDescriptor, EveryKeyIsRead) {
  const TImageDrawUI info = Parse(
      L"file='a.png' restype='PNG' dest='1,2,3,4' source='5;6;7;8' corner='2,2,2,2' mask='#FFFF00FF' "
      L"fade='128' hole='TRUE' xtiled='true' ytiled='True' hsl='true' size='16,24' padding='1,2,3,4' "
      L"align='right bottom' unknown='x'");
  EXPECT_EQ(info.imageName, L"a.png");
  EXPECT_EQ(info.resourceType, L"PNG");
  EXPECT_TRUE(SameRect(info.dest, RECT{1, 2, 3, 4}));
  EXPECT_TRUE(SameRect(info.source, RECT{5, 6, 7, 8})) << "any one-character separator";
  EXPECT_TRUE(SameRect(info.corner, RECT{2, 2, 2, 2}));
  EXPECT_EQ(info.mask, 0xFFFF00FFu);
  EXPECT_EQ(info.fade, 128);
  EXPECT_TRUE(info.hole);
  EXPECT_TRUE(info.xTiled);
  EXPECT_TRUE(info.yTiled);
  EXPECT_TRUE(info.hsl);
  EXPECT_EQ(info.iconSize.cx, 16);
  EXPECT_EQ(info.iconSize.cy, 24);
  EXPECT_TRUE(SameRect(info.padding, RECT{1, 2, 3, 4}));
  EXPECT_EQ(info.align, L"right bottom");
}

TEST(ImageDescriptor, ResKeyMaskWithoutHashAndFadeTruncation) {
  const TImageDrawUI info = Parse(L"res='101' mask='ff00ff' fade='300' hole='yes'");
  EXPECT_EQ(info.imageName, L"101");
  EXPECT_EQ(info.mask, 0xFF00FFu);
  EXPECT_EQ(info.fade, 300 & 0xFF) << "stored as 8 bits";
  EXPECT_FALSE(info.hole);
}

TEST(ImageDescriptor, ItemWithoutSpaceAfterQuoteEndsParsing) {
  const TImageDrawUI info = Parse(L"file='a.png'source='0,0,4,4' corner='1,1,1,1'");
  EXPECT_EQ(info.imageName, L"a.png");
  EXPECT_TRUE(SameRect(info.source, RECT{}));
  EXPECT_TRUE(SameRect(info.corner, RECT{}));
}

TEST(ImageDescriptor, SyntaxErrorsKeepEarlierItems) {
  EXPECT_EQ(Parse(L"file='a.png' fade=128 corner='1,1,1,1'").fade, 255);
  EXPECT_TRUE(SameRect(Parse(L"file='a.png' fade=128 corner='1,1,1,1'").corner, RECT{}));
  EXPECT_EQ(Parse(L"file='a.png' fade '12'").fade, 255);
  const TImageDrawUI open = Parse(L"file='a.png' corner='1,1,1,1");
  EXPECT_EQ(open.imageName, L"a.png");
  EXPECT_TRUE(SameRect(open.corner, RECT{})) << "no closing quote";
  EXPECT_EQ(Parse(L"  file = 'b.png'   fade = '7' ").fade, 7) << "blanks around = are skipped";
  EXPECT_EQ(Parse(L"file='' fade='9'").imageName, L"file='' fade='9'") << "empty values are ignored";
  EXPECT_EQ(Parse(L"FILE='c.png'").imageName, L"FILE='c.png'") << "keys are case-sensitive";
}

TEST(ImageDescriptor, ShortRectanglesStopAtTheEnd) {
  EXPECT_TRUE(SameRect(Parse(L"corner='3'").corner, RECT{3, 0, 0, 0}));
  EXPECT_TRUE(SameRect(Parse(L"dest='3,4'").dest, RECT{3, 4, 0, 0}));
}

TEST(ImageDescriptor, ModifierIsParsedAfterTheDescriptor) {
  const TImageDrawUI info = Parse(L"file='a.png' fade='10'", L"fade='20' source='0,0,2,2'");
  EXPECT_EQ(info.modifier, L"fade='20' source='0,0,2,2'");
  EXPECT_EQ(info.fade, 20);
  EXPECT_TRUE(SameRect(info.source, RECT{0, 0, 2, 2}));
  EXPECT_EQ(info.imageName, L"a.png");
}

TEST(ImageDescriptor, ScaledManagerScalesRectanglesAndRenamesTheImage) {
  CPaintManagerUI manager;
  manager.GetDpiScaler()->SetAwareness(CDpiScaler::Awareness::PerMonitorAware);
  manager.GetDpiScaler()->SetScale(150);
  const TImageDrawUI info =
      Parse(L"file='a.png' corner='2,2,2,2' dest='10,10,20,30' size='16,16' padding='2,0,0,0'", L"", &manager);
  EXPECT_EQ(info.imageName, L"a@150.png");
  EXPECT_TRUE(SameRect(info.corner, RECT{3, 3, 3, 3}));
  EXPECT_TRUE(SameRect(info.dest, RECT{15, 15, 30, 45}));
  EXPECT_TRUE(SameRect(info.padding, RECT{3, 0, 0, 0}));
  EXPECT_EQ(info.iconSize.cx, 16) << "size is not scaled";

  CPaintManagerUI plain;
  EXPECT_EQ(Parse(L"file='a.png'", L"", &plain).imageName, L"a.png");
}

}  // namespace
}  // namespace SkinUI
