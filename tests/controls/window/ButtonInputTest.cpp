// Buttons, options and check boxes driven by mouse and key messages posted to a real window.

#include <gtest/gtest.h>

#include "ContainerUI.h"
#include "OptionUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr const wchar_t* kButtons =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FF202020\">"
    L"<Button name=\"ok\" float=\"true\" pos=\"10,10,90,40\" text=\"OK\" shortcut=\"K\"/>"
    L"<Button name=\"cancel\" float=\"true\" pos=\"100,10,180,40\" text=\"Cancel\"/>"
    L"<Option name=\"o1\" group=\"g\" float=\"true\" pos=\"10,60,60,90\" selected=\"true\"/>"
    L"<Option name=\"o2\" group=\"g\" float=\"true\" pos=\"70,60,120,90\"/>"
    L"<CheckBox name=\"chk\" float=\"true\" pos=\"130,60,160,90\"/>"
    L"<HorizontalLayout name=\"box\" float=\"true\" pos=\"10,120,290,190\">"
    L"<Button name=\"self\" width=\"80\"/><Option name=\"selfoption\" width=\"80\"/>"
    L"</HorizontalLayout>"
    L"</VerticalLayout></Window>";

class ButtonInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  COptionUI* Option(const wchar_t* name) { return static_cast<COptionUI*>(window.Find(name)); }
  IContainerUI* Box() { return static_cast<IContainerUI*>(window.Find(L"box")->GetInterface(L"IContainer")); }
  TestWindow window{kButtons};
};

TEST_F(ButtonInput, PressAndReleaseInsideSendsOneClick) {
  window.Click(30, 20);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 1);
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 0);
}

TEST_F(ButtonInput, PressDragOutAndReleaseOutsideSendsNoClick) {
  window.MouseMove(30, 20);
  window.MouseDown(30, 20);
  window.MouseMove(150, 150);
  window.MouseUp(150, 150);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
  // Released over another button: that one is not clicked either.
  window.MouseMove(30, 20);
  window.MouseDown(30, 20);
  window.MouseMove(140, 20);
  window.MouseUp(140, 20);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 0);
}

TEST_F(ButtonInput, PressDragOutAndBackReleaseInsideSendsOneClick) {
  window.MouseMove(30, 20);
  window.MouseDown(30, 20);
  window.MouseMove(150, 150);
  window.MouseMove(40, 25);
  window.MouseUp(40, 25);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 1);
}

TEST_F(ButtonInput, SpaceAndEnterActivateTheFocusedButton) {
  window.Manager().SetFocus(window.Find(L"cancel"));
  window.Key(VK_SPACE);
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 1);
  window.Key(VK_RETURN);
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 2);
  window.Key('A');
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 2);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
}

TEST_F(ButtonInput, TabThenSpaceClicksTheNextButton) {
  window.Manager().SetFocus(window.Find(L"ok"));
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), window.Find(L"cancel"));
  window.Key(VK_SPACE);
  EXPECT_EQ(window.NoteCount(L"click:cancel"), 1);
}

TEST_F(ButtonInput, ShortcutKeyFocusesAndActivatesItsButton) {
  ::PostMessageW(window.GetHWND(), WM_SYSCHAR, 'k', 0x20000001);
  PumpPending();
  EXPECT_EQ(window.NoteCount(L"click:ok"), 1);
  EXPECT_EQ(window.Manager().GetFocus(), window.Find(L"ok"));
}

TEST_F(ButtonInput, SelectingAnOptionDeselectsTheOtherOfItsGroup) {
  ASSERT_TRUE(Option(L"o1")->IsSelected());
  window.Click(90, 75);
  EXPECT_TRUE(Option(L"o2")->IsSelected());
  EXPECT_FALSE(Option(L"o1")->IsSelected());
  EXPECT_EQ(window.NoteCount(L"click:o2"), 1);
  EXPECT_EQ(window.NoteCount(L"selectchanged:o2"), 1);
  EXPECT_EQ(window.NoteCount(L"selectchanged:o1"), 0);
  // The selected option clicked again: only the click.
  window.Click(90, 75);
  EXPECT_EQ(window.NoteCount(L"click:o2"), 2);
  EXPECT_EQ(window.NoteCount(L"selectchanged:o2"), 1);
  EXPECT_TRUE(Option(L"o2")->IsSelected());
  ASSERT_NE(window.Manager().GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(window.Manager().GetOptionGroup(L"g")->size(), 2u);
}

TEST_F(ButtonInput, CheckBoxTogglesOnEveryClick) {
  window.Click(145, 75);
  EXPECT_TRUE(Option(L"chk")->IsSelected());
  window.Click(145, 75);
  EXPECT_FALSE(Option(L"chk")->IsSelected());
  EXPECT_EQ(window.NoteCount(L"selectchanged:chk"), 2);
}

TEST_F(ButtonInput, RemovingAButtonFromItsOwnClickHandlerIsSafe) {
  int clicks = 0;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"click" && msg.Sender != nullptr && msg.Sender->GetName() == L"self") {
      ++clicks;
      EXPECT_TRUE(Box()->Remove(msg.Sender));
    }
  };
  window.Click(30, 150);
  EXPECT_EQ(clicks, 1);
  PumpPending();
  EXPECT_EQ(window.Manager().FindControl(std::wstring(L"self")), nullptr);
  EXPECT_EQ(Box()->GetCount(), 1);
  // The place where it was takes input and paints as usual.
  window.Click(30, 150);
  window.Key(VK_SPACE);
  window.Paint();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonInput, RemovingAnOptionFromItsOwnSelectChangedHandlerIsSafe) {
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Sender != nullptr && msg.Sender->GetName() == L"selfoption" && msg.Type == L"selectchanged")
      Box()->Remove(msg.Sender);
  };
  window.Click(120, 150);
  PumpPending();
  EXPECT_EQ(window.NoteCount(L"selectchanged:selfoption"), 1);
  EXPECT_EQ(window.Manager().FindControl(std::wstring(L"selfoption")), nullptr);
  window.Paint();
}

TEST_F(ButtonInput, RemovingTheWholeRowFromAFocusNotificationIsSafe) {
  auto* root = static_cast<IContainerUI*>(window.Find(L"root")->GetInterface(L"IContainer"));
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"setfocus" && msg.Sender != nullptr && msg.Sender->GetName() == L"self")
      root->Remove(window.Find(L"box"));
  };
  window.Click(30, 150);
  PumpPending();
  EXPECT_EQ(window.Manager().FindControl(std::wstring(L"box")), nullptr);
  EXPECT_EQ(window.NoteCount(L"click:self"), 0);
  window.MouseMove(35, 155);
  window.Paint();
}

TEST_F(ButtonInput, DisabledButtonIgnoresTheMouse) {
  window.Find(L"ok")->SetEnabled(false);
  window.Click(30, 20);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
}

}  // namespace
