// The control gallery (assets/gallery) opened from its folder as skinui-demo opens it: every
// control builds from it and a few of them answer input.

#include <gtest/gtest.h>

#include "AnimationTabLayoutUI.h"
#include "ComboUI.h"
#include "GifAnimUI.h"
#include "IContainerUI.h"
#include "RingUI.h"
#include "SkinResource.h"
#include "TextUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

class GallerySkin : public ::testing::Test {
 protected:
  void SetUp() override {
    CSkinResource::SetResourceZip(L"");
    const std::string folder = ZK_GALLERY_DIR;
    CSkinResource::SetResourcePath(std::wstring(folder.begin(), folder.end()));
    ASSERT_TRUE(window.Open());
  }
  void TearDown() override { CSkinResource::SetResourcePath(L""); }
  void* Interface(const wchar_t* name, const wchar_t* typeName) {
    CControlUI* control = window.Find(name);
    return control != nullptr ? control->GetInterface(typeName) : nullptr;
  }
  TestWindow window{L"Gallery.xml"};
};

TEST_F(GallerySkin, ShowsEveryControlAndTheyWork) {
  const std::pair<const wchar_t*, const wchar_t*> controls[] = {
      {L"button", L"Button"},     {L"fadebutton", L"FadeButton"}, {L"option1", L"Option"},
      {L"check", L"CheckBox"},    {L"progress", L"Progress"},     {L"edit", L"Edit"},
      {L"password", L"Edit"},     {L"slider", L"Slider"},         {L"text", L"Text"},
      {L"gif", L"GifAnim"},       {L"ring", L"Ring"},             {L"rolltext", L"RollText"},
      {L"tiles", L"TileLayout"},  {L"pages", L"AnimationTabLayout"}, {L"child", L"ChildLayout"},
      {L"listslot", L"GroupBox"}, {L"comboslot", L"GroupBox"},    {L"partok", L"Button"},
      {L"list", L"List"},         {L"combo", L"Combo"},           {L"combobox", L"ComboBox"},
  };
  for (const auto& control : controls)
    EXPECT_NE(Interface(control.first, control.second), nullptr) << "no " << Utf8(control.second).c_str();

  EXPECT_EQ(static_cast<CGifAnimUI*>(Interface(L"gif", L"GifAnim"))->GetFrameCount(), 8);
  EXPECT_TRUE(static_cast<CRingUI*>(Interface(L"ring", L"Ring"))->IsSpinning());
  EXPECT_EQ(static_cast<CTextUI*>(Interface(L"text", L"Text"))->GetLinkContent(0), L"terms");

  // The second tab option selects the second page, which slides in.
  auto* pages = static_cast<CAnimationTabLayoutUI*>(Interface(L"pages", L"AnimationTabLayout"));
  const RECT tab = window.Find(L"tab1")->GetPos();
  window.Click((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  EXPECT_EQ(pages->GetCurSel(), 1);
  ASSERT_TRUE(PumpUntil([&] { return pages->GetSlideOffset() == 0; }));
  EXPECT_EQ(window.NoteCount(L"tabselect:pages"), 1);

  // A click on the list's fourth row selects it.
  auto* rows = static_cast<IContainerUI*>(Interface(L"list", L"IContainer"));
  ASSERT_NE(rows, nullptr);
  const RECT row = rows->GetItemAt(3)->GetPos();
  window.Click((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  EXPECT_EQ(window.NoteCount(L"itemselect:list"), 1);

  // The combo box steps through its rows by keys; the disabled one does not open.
  auto* combo = static_cast<CComboUI*>(Interface(L"combobox", L"ComboBox"));
  ASSERT_NE(combo, nullptr);
  window.Manager().SetFocus(combo);
  window.Key(VK_DOWN);
  EXPECT_EQ(combo->GetText(), L"Large");
  auto* disabled = static_cast<CComboUI*>(Interface(L"combodisabled", L"ComboBox"));
  ASSERT_NE(disabled, nullptr);
  EXPECT_EQ(disabled->GetText(), L"Disabled");
  const RECT face = disabled->GetPos();
  window.Click((face.left + face.right) / 2, (face.top + face.bottom) / 2);
  EXPECT_FALSE(disabled->IsDropped());
}

}  // namespace
