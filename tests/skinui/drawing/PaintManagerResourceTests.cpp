#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "SkinResource.h"
#include "SkinResourceIndex.h"

namespace SkinUI {
namespace {

using testing::DibSurface;
using testing::EncodePng;
using testing::TempFolder;
using testing::TestManager;

std::vector<uint8_t> SolidPng(int width, int height, uint32_t argb) {
  return EncodePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

TEST(PaintManagerFonts, SecondRegistrationOfAnIdReplacesAndDeletesTheFirst) {
  CPaintManagerUI manager;
  HFONT first = manager.AddFont(3, L"Arial", 12, false, false, false);
  ASSERT_NE(first, nullptr);
  HFONT second = manager.AddFont(3, L"Arial", 14, true, false, false);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(manager.GetFont(3), second);
  EXPECT_EQ(::GetObjectType(first), 0u) << "the replaced font object is deleted";
  const TFontDataUI* info = manager.GetFontInfo(3);
  EXPECT_EQ(info->size, 14);
  EXPECT_TRUE(info->bold);
  EXPECT_TRUE(info->hasMetrics);
  EXPECT_GT(info->metrics.tmHeight, 0);
}

TEST(PaintManagerFonts, NegativeAndUnknownIdsGiveTheDefaultFont) {
  CPaintManagerUI manager;
  HFONT fallback = manager.GetDefaultFontInfo()->font.get();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(manager.GetFont(-1), fallback);
  EXPECT_EQ(manager.GetFont(77), fallback);
  EXPECT_EQ(manager.GetFontInfo(77), manager.GetDefaultFontInfo());

  manager.SetDefaultFont(L"Arial", 20, false, false, false);
  EXPECT_EQ(manager.GetDefaultFontInfo()->faceName, L"Arial");
  EXPECT_EQ(manager.GetFont(-1), manager.GetDefaultFontInfo()->font.get());
  EXPECT_NE(manager.GetFont(-1), fallback);
  CPaintManagerUI other;
  EXPECT_EQ(other.GetFont(-1), fallback) << "a window's own default font stays its own";
}

TEST(PaintManagerFonts, BoldDefaultFontIsHeavyAndSizesFollowTheScale) {
  CPaintManagerUI manager;
  manager.SetDefaultFont(L"Arial", 14, true, false, false);
  ASSERT_TRUE(manager.GetDefaultFontInfo()->bold);
  EXPECT_GE(manager.GetDefaultFontInfo()->metrics.tmWeight, FW_BOLD);

  CPaintManagerUI scaled;
  scaled.GetDpiScaler()->SetAwareness(CDpiScaler::Awareness::PerMonitorAware);
  scaled.GetDpiScaler()->SetScale(200);
  manager.AddFont(1, L"Arial", 14, false, false, false);
  scaled.AddFont(1, L"Arial", 14, false, false, false);
  EXPECT_EQ(scaled.GetFontInfo(1)->size, 14) << "the record keeps the unscaled size";
  EXPECT_GT(scaled.GetFontInfo(1)->metrics.tmHeight, manager.GetFontInfo(1)->metrics.tmHeight * 3 / 2);
}

TEST(PaintManagerFonts, LongFaceNameIsCutTo31Characters) {
  CPaintManagerUI manager;
  const std::wstring face(40, L'Q');
  ASSERT_NE(manager.AddFont(1, face, 12, false, false, false), nullptr);
  EXPECT_EQ(manager.GetFontInfo(1)->faceName, std::wstring(31, L'Q'));
}

TEST(PaintManagerFonts, FindFontMatchesEveryProperty) {
  CPaintManagerUI manager;
  HFONT plain = manager.AddFont(4, L"Arial", 12, false, false, false);
  HFONT bold = manager.AddFont(5, L"Arial", 12, true, false, false);
  EXPECT_EQ(manager.FindFont(L"Arial", 12, false, false, false), plain);
  EXPECT_EQ(manager.FindFont(L"Arial", 12, true, false, false), bold);
  EXPECT_EQ(manager.FindFont(L"Arial", 12, false, true, false), nullptr);
  EXPECT_EQ(manager.FindFont(L"Arial", 13, false, false, false), nullptr);
  EXPECT_EQ(manager.GetFontIndex(bold), 5);
  EXPECT_EQ(manager.GetFontIndex(L"Arial", 12, false, false, false), 4);
  EXPECT_EQ(manager.GetFontIndex(L"Arial", 12, false, false, true), -1);
  EXPECT_EQ(manager.GetFontInfo(bold)->size, 12);
  const int generated = manager.AllocateGeneratedFontId();
  EXPECT_GE(generated, 10);
  EXPECT_NE(manager.AllocateGeneratedFontId(), generated);
}

TEST(PaintManagerFonts, SharedSwitchSendsRegistrationsToEveryWindow) {
  CPaintManagerUI first;
  CPaintManagerUI second;
  first.SetUseSharedResources(true);
  HFONT font = first.AddFont(6, L"Arial", 11, false, false, false);
  first.AddStyle(L"sharedStyle", L"text='x'");
  first.AddDefaultAttributeList(L"SharedList", L"width=\"3\"");
  EXPECT_EQ(second.GetFont(6), font);
  ASSERT_NE(second.GetStyle(L"sharedStyle"), nullptr);
  EXPECT_EQ(*second.GetStyle(L"sharedStyle"), L"text='x'");
  ASSERT_NE(second.GetDefaultAttributeList(L"SharedList"), nullptr);
  EXPECT_TRUE(first.RemoveFont(6, true));
  EXPECT_TRUE(first.RemoveDefaultAttributeList(L"SharedList", true));
  EXPECT_NE(second.GetFont(6), font);
}

TEST(PaintManagerTables, StyleKeepsFirstAndDefaultListKeepsLast) {
  CPaintManagerUI manager;
  manager.AddStyle(L"title", L"first");
  manager.AddStyle(L"title", L"second");
  ASSERT_NE(manager.GetStyle(L"title"), nullptr);
  EXPECT_EQ(*manager.GetStyle(L"title"), L"first");
  manager.AddDefaultAttributeList(L"VScrollBar", L"width=\"8\"");
  manager.AddDefaultAttributeList(L"VScrollBar", L"width=\"10\"");
  EXPECT_EQ(*manager.GetDefaultAttributeList(L"VScrollBar"), L"width=\"10\"");
  EXPECT_EQ(manager.GetDefaultAttributeList(L"vscrollbar"), nullptr) << "element names compare exactly";
  EXPECT_EQ(manager.GetStyle(L"missing"), nullptr);
}

TEST(PaintManagerTables, WindowEntriesComeBeforeSharedOnes) {
  CPaintManagerUI manager;
  CPaintManagerUI other;
  manager.AddDefaultAttributeList(L"Label", L"shared", true);
  manager.AddDefaultAttributeList(L"Label", L"window");
  EXPECT_EQ(*manager.GetDefaultAttributeList(L"Label"), L"window");
  EXPECT_EQ(*other.GetDefaultAttributeList(L"Label"), L"shared");
  manager.RemoveDefaultAttributeList(L"Label", true);
  EXPECT_EQ(other.GetDefaultAttributeList(L"Label"), nullptr);
}

TEST(PaintManagerColors, SharedColorsAreCopiedAndFollowedWhileUnchanged) {
  CPaintManagerUI follower;
  EXPECT_EQ(follower.GetDefaultDisabledColor(), 0xFFA7A6AAu);
  EXPECT_EQ(follower.GetDefaultFontColor(), 0xFF000000u);
  EXPECT_EQ(follower.GetDefaultLinkFontColor(), 0xFF0000FFu);
  EXPECT_EQ(follower.GetDefaultLinkHoverFontColor(), 0xFFD3215Fu);
  EXPECT_EQ(follower.GetDefaultSelectedBkColor(), 0xFFBAE4FFu);

  CPaintManagerUI own;
  own.SetDefaultFontColor(0xFF112233);
  follower.SetDefaultFontColor(0xFF445566, true);
  EXPECT_EQ(follower.GetDefaultFontColor(), 0xFF445566u);
  own.SetDefaultFontColor(0xFF778899, true);
  EXPECT_EQ(own.GetDefaultFontColor(), 0xFF112233u) << "a window's own colour is kept";
  CPaintManagerUI later;
  EXPECT_EQ(later.GetDefaultFontColor(), 0xFF778899u);
  later.SetDefaultFontColor(0xFF000000, true);
}

TEST(PaintManagerScale, ValuesAndRectanglesFollowThePercentage) {
  CPaintManagerUI manager;
  EXPECT_EQ(manager.GetDpiScale(), 100) << "a process that is not DPI-aware draws at 100 %";
  EXPECT_EQ(manager.ScaleValue(7), 7);
  manager.GetDpiScaler()->SetAwareness(CDpiScaler::Awareness::PerMonitorAware);
  manager.GetDpiScaler()->SetScale(150);
  EXPECT_EQ(manager.ScaleValue(10), 15);
  EXPECT_EQ(manager.ScaleValue(3), 5) << "rounded to nearest";
  const RECT scaled = manager.ScaleRect(RECT{1, 2, 4, 6});
  EXPECT_EQ(scaled.left, 2);
  EXPECT_EQ(scaled.top, 3);
  EXPECT_EQ(scaled.right, 2 + 5);   // width 3 -> 5 (4.5 rounded)
  EXPECT_EQ(scaled.bottom, 3 + 6);  // height 4 -> 6
}

TEST(PaintManagerImages, ImagesLoadOnceAndWindowTableComesFirst) {
  TempFolder folder;
  const std::wstring red = folder.Write(L"red.png", SolidPng(2, 2, 0xFFFF0000));
  const std::wstring blue = folder.Write(L"blue.png", SolidPng(3, 1, 0xFF0000FF));
  CPaintManagerUI manager;
  CPaintManagerUI other;
  const TImageDataUI* shared = manager.AddImage(red, L"", 0, false, true);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(other.GetImage(red), shared);
  EXPECT_EQ(shared->width, 2);
  EXPECT_FALSE(shared->alpha);

  const TImageDataUI* loaded = manager.GetOrLoadImage(blue);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(manager.GetOrLoadImage(blue), loaded) << "decoded once";
  EXPECT_EQ(other.GetImage(blue), nullptr) << "loaded images belong to the window";
  EXPECT_EQ(manager.GetImage(L"nothing.png"), nullptr);
  EXPECT_EQ(manager.GetOrLoadImage(folder.path() + L"\\nothing.png"), nullptr);
  EXPECT_EQ(manager.AddImage(L""), nullptr);
  EXPECT_EQ(manager.AddImage(L"notanumber", L"PNG"), nullptr) << "resource images need a numeric id";
  EXPECT_TRUE(manager.RemoveImage(red, true));
  EXPECT_EQ(other.GetImage(red), nullptr);
}

TEST(PaintManagerImages, ExistingBitmapsRegisterWithPositiveSizeOnly) {
  CPaintManagerUI manager;
  uint32_t* pixels = nullptr;
  HBITMAP bitmap = CreateTopDownDib(nullptr, 4, 4, &pixels);
  EXPECT_EQ(manager.AddImageBitmap(L"", bitmap, 4, 4, false), nullptr);
  EXPECT_EQ(manager.AddImageBitmap(L"b", nullptr, 4, 4, false), nullptr);
  EXPECT_EQ(manager.AddImageBitmap(L"b", bitmap, 0, 4, false), nullptr);
  const TImageDataUI* image = manager.AddImageBitmap(L"b", bitmap, 4, 4, true);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels, pixels);
  EXPECT_TRUE(image->alpha);
  EXPECT_EQ(manager.GetImage(L"b"), image);
}

TEST(PaintManagerImages, ReloadSkinRefreshesSharedAndDropsLostWindowImages) {
  TempFolder folder;
  const std::wstring windowImage = folder.Write(L"w.png", SolidPng(1, 1, 0xFFFF0000));
  const std::wstring sharedImage = folder.Write(L"s.png", SolidPng(1, 1, 0xFFFF0000));
  CPaintManagerUI manager;
  const TImageDataUI* shared = manager.AddImage(sharedImage, L"", 0, false, true);
  const TImageDataUI* own = manager.AddImage(windowImage);
  ASSERT_NE(shared, nullptr);
  ASSERT_NE(own, nullptr);

  folder.Write(L"w.png", SolidPng(1, 1, 0xFF00FF00));
  CSkinResource::ReloadSkin();
  ASSERT_EQ(manager.GetImage(windowImage), own);
  EXPECT_EQ(own->pixels[0], 0xFF00FF00u);

  ::DeleteFileW(windowImage.c_str());
  ::DeleteFileW(sharedImage.c_str());
  CSkinResource::ReloadSkin();
  EXPECT_EQ(manager.GetImage(windowImage), nullptr) << "a window image that no longer loads is removed";
  ASSERT_EQ(manager.GetImage(sharedImage), shared) << "a shared image keeps its old bitmap";
  EXPECT_EQ(shared->pixels[0], 0xFFFF0000u);
  manager.RemoveImage(sharedImage, true);
}

TEST(PaintManagerImages, ParsedDescriptorsAreCachedPerText) {
  CPaintManagerUI manager;
  const TImageDrawUI* first = manager.GetParsedDescriptor(L"file='a.png'", L" corner='1,1,1,1'");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager.GetParsedDescriptor(L"file='a.png'", L" corner='1,1,1,1'"), first);
  EXPECT_EQ(first->corner.right, 1);
  EXPECT_EQ(manager.GetParsedDescriptor(L"", L""), nullptr);
  EXPECT_NE(manager.GetParsedDescriptor(L"file='a.png'", L""), first);
  manager.ResetResources();
  EXPECT_EQ(manager.GetStyle(L"any"), nullptr);
}

TEST(PaintManagerFonts, UnreadableFontFileStillTakesASlot) {
  CPaintManagerUI manager;
  EXPECT_FALSE(manager.AddFontFile(L"C:\\no\\such\\font.ttf"));
  EXPECT_EQ(manager.GetPrivateFontCount(), 1u);
}

class CountingTextQuery : public IQueryControlText {
 public:
  bool QueryControlText(const std::wstring& id, const std::wstring& type, std::wstring& text) override {
    ++calls;
    if (id != L"known") return false;
    text = L"answer " + type + L" " + std::to_wstring(calls);
    return true;
  }
  int calls = 0;
};

TEST(SkinResourceIndex, TextsFallBackToTheIdAndCacheCallbackAnswers) {
  CSkinResourceIndex* index = CSkinResourceIndex::GetInstance();
  index->ResetTexts();
  EXPECT_EQ(index->GetText(L"caption"), L"caption");
  EXPECT_EQ(index->GetText(L""), L"");
  CountingTextQuery query;
  index->SetTextQuery(&query);
  EXPECT_EQ(index->GetText(L"known", L"t"), L"answer t 1");
  EXPECT_EQ(index->GetText(L"known", L"t"), L"answer t 1") << "cached";
  EXPECT_EQ(query.calls, 1);
  EXPECT_EQ(index->GetText(L"other"), L"other");
  index->ReloadTexts();
  EXPECT_EQ(index->GetText(L"known", L"t"), L"answer t 3");
  index->SetTextQuery(nullptr);
  index->ResetTexts();
  EXPECT_EQ(index->GetText(L"known"), L"known");
}

}  // namespace
}  // namespace SkinUI
