// Button, option and check box state machines, driven through Event with the records the
// paint manager builds; notifications are read from a real window's manager.

#include <gtest/gtest.h>

#include "ButtonUI.h"
#include "CheckBoxUI.h"
#include "ControlTestSupport.h"
#include "HorizontalLayoutUI.h"
#include "LabelUI.h"
#include "OptionUI.h"

namespace SkinUI {
namespace {

using test::ControlHost;
using test::Rect;
using test::Send;

constexpr POINT kInside = {50, 20};
constexpr POINT kOutside = {500, 300};

struct ButtonRow {
  explicit ButtonRow(ControlHost& host) {
    row = new CHorizontalLayoutUI();
    button = new CButtonUI();
    button->ApplyAttributeList(L"name=\"installBtn\" width=\"100\" height=\"40\"");
    other = new CButtonUI();
    other->ApplyAttributeList(L"name=\"otherBtn\" width=\"100\" height=\"40\"");
    row->Add(button);
    row->Add(other);
    host.Attach(row, Rect(0, 0, 700, 40));
  }
  CHorizontalLayoutUI* row;
  CButtonUI* button;
  CButtonUI* other;
};

TEST(ButtonState, PressAndReleaseInsideSendsOneClick) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::MouseEnter, kInside);
  EXPECT_EQ(kStateHot, ui.button->GetButtonState());
  Send(ui.button, UIEvent::ButtonDown, kInside);
  EXPECT_EQ(kStateHot | kStatePushed | kStateCaptured, ui.button->GetButtonState());
  EXPECT_EQ(0u, host.notes.Count(L"click"));
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(kStateHot, ui.button->GetButtonState());
  ASSERT_EQ(1u, host.notes.Count(L"click"));
  EXPECT_EQ(ui.button, host.notes.Last(L"click")->Sender);
  Send(ui.button, UIEvent::MouseLeave, kOutside);
  EXPECT_EQ(0u, ui.button->GetButtonState());
}

TEST(ButtonState, DragOutBeforeReleaseSendsNoClick) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::MouseMove, kOutside);
  EXPECT_EQ(kStateCaptured, ui.button->GetButtonState());
  Send(ui.button, UIEvent::ButtonUp, kOutside);
  EXPECT_EQ(0u, ui.button->GetButtonState());
  EXPECT_EQ(0u, host.notes.Count(L"click"));

  // Out and back in again before the release: the click counts.
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::MouseMove, kOutside);
  Send(ui.button, UIEvent::MouseMove, kInside);
  EXPECT_EQ(kStatePushed | kStateCaptured, ui.button->GetButtonState());
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(1u, host.notes.Count(L"click"));
}

TEST(ButtonState, ReleaseWithoutPressOrMovesWithoutCaptureDoNothing) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::MouseMove, kInside);
  EXPECT_EQ(0u, ui.button->GetButtonState());
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(0u, host.notes.Count(L"click"));
  // A press outside the item does not capture.
  Send(ui.button, UIEvent::ButtonDown, kOutside);
  EXPECT_EQ(0u, ui.button->GetButtonState());
  Send(ui.button, UIEvent::DoubleClick, kInside);
  EXPECT_EQ(kStatePushed | kStateCaptured, ui.button->GetButtonState());
}

TEST(ButtonState, SpaceAndEnterActivateTheButton) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::KeyDown, kInside, VK_SPACE);
  Send(ui.button, UIEvent::KeyDown, kInside, VK_RETURN);
  Send(ui.button, UIEvent::KeyDown, kInside, L'A');
  EXPECT_EQ(2u, host.notes.Count(L"click"));
  ui.button->SetKeyboardEnabled(false);
  Send(ui.button, UIEvent::KeyDown, kInside, VK_SPACE);
  EXPECT_EQ(2u, host.notes.Count(L"click"));
}

TEST(ButtonState, DisabledButtonIgnoresTheMouseAndSendsNoClick) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::MouseEnter, kInside);
  ui.button->SetEnabled(false);
  EXPECT_EQ(kStateDisabled, ui.button->GetButtonState());
  Send(ui.button, UIEvent::MouseEnter, kInside);
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(kStateDisabled, ui.button->GetButtonState());
  EXPECT_FALSE(ui.button->Activate());
  EXPECT_EQ(0u, host.notes.Count(L"click"));
  ui.button->SetVisible(false);
  ui.button->SetEnabled(true);
  EXPECT_FALSE(ui.button->Activate());
}

TEST(ButtonState, RichEventsAreSentOnlyWhenAskedFor) {
  ControlHost host;
  ButtonRow ui(host);
  Send(ui.button, UIEvent::MouseEnter, kInside);
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::MouseLeave, kInside);
  EXPECT_TRUE(host.notes.Actions().empty());
  ui.other->SetAttribute(L"richevent", L"true");
  Send(ui.other, UIEvent::MouseEnter, POINT{150, 20});
  Send(ui.other, UIEvent::ButtonDown, POINT{150, 20});
  Send(ui.other, UIEvent::MouseLeave, POINT{150, 20});
  EXPECT_EQ((std::vector<std::wstring>{L"mouseenter", L"buttondown", L"mouseleave"}), host.notes.Actions());
}

TEST(ButtonState, ContextMenuAndTimerBecomeNotifications) {
  ControlHost host;
  ButtonRow ui(host);
  TControlEventUI menu = test::MakeEvent(ui.button, UIEvent::ContextMenu, kInside);
  menu.WParam = 7;
  ui.button->Event(menu);
  EXPECT_EQ(0u, host.notes.Count(L"menu"));
  ui.button->SetAttribute(L"menu", L"true");
  ui.button->Event(menu);
  ASSERT_EQ(1u, host.notes.Count(L"menu"));
  EXPECT_EQ(7u, host.notes.Last(L"menu")->WParam);

  TControlEventUI timer = test::MakeEvent(ui.button, UIEvent::Timer, kInside);
  timer.WParam = 268;
  timer.LParam = 99;
  ui.button->Event(timer);
  ASSERT_EQ(1u, host.notes.Count(L"timer"));
  EXPECT_EQ(268u, host.notes.Last(L"timer")->WParam);
  EXPECT_EQ(99, host.notes.Last(L"timer")->LParam);
}

TEST(ButtonState, EventListenersCanSwallowAnEvent) {
  ControlHost host;
  ButtonRow ui(host);
  ui.button->OnEvent += [](void* param) {
    return static_cast<TControlEventUI*>(param)->Type != UIEvent::ButtonUp;
  };
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(0u, host.notes.Count(L"click"));
  EXPECT_NE(0u, ui.button->GetButtonState() & kStateCaptured);
}

TEST(ButtonState, MouseDisabledButtonHandsMouseEventsToItsParent) {
  ControlHost host;
  ButtonRow ui(host);
  ui.button->SetMouseEnabled(false);
  Send(ui.button, UIEvent::ButtonDown, kInside);
  Send(ui.button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(0u, ui.button->GetButtonState());
  EXPECT_EQ(0u, host.notes.Count(L"click"));
}

TEST(ButtonState, RemovingTheButtonFromItsOwnClickHandlerIsSafe) {
  ControlHost host;
  ButtonRow ui(host);
  static int destroyed = 0;
  destroyed = 0;
  ui.button->OnDestroy += [](void*) {
    ++destroyed;
    return true;
  };
  CHorizontalLayoutUI* row = ui.row;
  CButtonUI* button = ui.button;
  host.notes.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"click" && msg.Sender == button) {
      EXPECT_TRUE(row->Remove(button));
      EXPECT_EQ(0, destroyed);
    }
  };
  Send(button, UIEvent::ButtonDown, kInside);
  Send(button, UIEvent::ButtonUp, kInside);
  EXPECT_EQ(1u, host.notes.Count(L"click"));
  EXPECT_EQ(1, row->GetCount());
  EXPECT_EQ(0, destroyed);
  host.Pump();
  EXPECT_EQ(1, destroyed);
  EXPECT_EQ(nullptr, host.manager.FindControl(L"installBtn"));
  EXPECT_EQ(ui.other, host.manager.FindControl(L"otherBtn"));
}

TEST(OptionState, OptionRemovedByItsClickHandlerStillReportsItsSelection) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* option = new COptionUI();
  option->ApplyAttributeList(L"width=\"100\"");
  row->Add(option);
  host.Attach(row, Rect(0, 0, 700, 40));
  host.notes.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Sender == option) row->Remove(option);
  };
  Send(option, UIEvent::ButtonDown, kInside);
  Send(option, UIEvent::ButtonUp, kInside);
  EXPECT_EQ((std::vector<std::wstring>{L"click", L"selectchanged"}), host.notes.Actions());
  EXPECT_TRUE(option->IsSelected());
  EXPECT_EQ(0, row->GetCount());
  host.notes.onNotify = nullptr;
  host.Pump();
}

TEST(CheckBoxState, CheckBoxRemovedByItsCheckHandlerIsSafe) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* check = new CCheckBoxUI();
  check->ApplyAttributeList(L"width=\"100\" EnableAutoCheck=\"true\"");
  row->Add(check);
  host.Attach(row, Rect(0, 0, 700, 40));
  host.notes.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"selectchanged") row->Remove(check);
  };
  Send(check, UIEvent::ButtonDown, kInside);
  EXPECT_EQ((std::vector<std::wstring>{L"selectchanged", L"checkclick"}), host.notes.Actions());
  host.notes.onNotify = nullptr;
  host.Pump();
  EXPECT_EQ(0, row->GetCount());
}

TEST(ButtonState, HidingTheFocusedButtonClearsTheFocus) {
  ControlHost host;
  ButtonRow ui(host);
  host.manager.SetFocus(ui.button);
  ASSERT_EQ(ui.button, host.manager.GetFocus());
  EXPECT_TRUE(ui.button->IsFocused());
  ui.button->SetVisible(false);
  EXPECT_EQ(nullptr, host.manager.GetFocus());
  EXPECT_FALSE(ui.button->IsFocused());

  host.manager.SetFocus(ui.other);
  ui.row->SetVisible(false);
  EXPECT_EQ(nullptr, host.manager.GetFocus());
}

TEST(OptionState, UngroupedOptionTogglesAfterTheClick) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* option = new COptionUI();
  option->ApplyAttributeList(L"width=\"100\" selected=\"true\"");
  row->Add(option);
  host.Attach(row, Rect(0, 0, 700, 40));
  EXPECT_TRUE(option->IsSelected());
  Send(option, UIEvent::ButtonDown, kInside);
  Send(option, UIEvent::ButtonUp, kInside);
  EXPECT_FALSE(option->IsSelected());
  EXPECT_EQ((std::vector<std::wstring>{L"click", L"selectchanged"}), host.notes.Actions());
  EXPECT_EQ(0u, host.notes.Last(L"selectchanged")->WParam);
}

TEST(OptionState, GroupKeepsOneSelectedAndNotifiesOnlyTheNewOne) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* first = new COptionUI();
  first->ApplyAttributeList(L"width=\"100\" group=\"dir\" selected=\"true\"");
  auto* second = new COptionUI();
  second->ApplyAttributeList(L"width=\"100\" group=\"dir\"");
  auto* loose = new COptionUI();
  loose->ApplyAttributeList(L"width=\"100\" selected=\"true\"");
  row->Add(first);
  row->Add(second);
  row->Add(loose);
  host.Attach(row, Rect(0, 0, 700, 40));
  const CPaintManagerUI::ControlList* group = host.manager.GetOptionGroup(L"dir");
  ASSERT_NE(nullptr, group);
  EXPECT_EQ(2u, group->size());

  EXPECT_TRUE(second->Activate());
  EXPECT_TRUE(second->IsSelected());
  EXPECT_FALSE(first->IsSelected());
  EXPECT_TRUE(loose->IsSelected());
  ASSERT_EQ(1u, host.notes.Count(L"selectchanged"));
  EXPECT_EQ(second, host.notes.Last(L"selectchanged")->Sender);

  host.notes.records.clear();
  EXPECT_TRUE(second->Activate());
  EXPECT_TRUE(second->IsSelected());
  EXPECT_EQ((std::vector<std::wstring>{L"click"}), host.notes.Actions());

  // A dying option leaves its group.
  row->SetDeferredDelete(false);
  row->Remove(first);
  row->Remove(second);
  EXPECT_EQ(nullptr, host.manager.GetOptionGroup(L"dir"));
}

TEST(OptionState, ChangingTheGroupMovesTheOption) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* option = new COptionUI();
  option->SetGroup(L"a");
  row->Add(option);
  host.Attach(row);
  ASSERT_NE(nullptr, host.manager.GetOptionGroup(L"a"));
  option->SetGroup(L"b");
  EXPECT_EQ(nullptr, host.manager.GetOptionGroup(L"a"));
  ASSERT_NE(nullptr, host.manager.GetOptionGroup(L"b"));
  option->SetGroup(L"");
  EXPECT_EQ(nullptr, host.manager.GetOptionGroup(L"b"));
}

TEST(CheckBoxState, AutoCheckTogglesOnPressWithoutAClick) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* check = new CCheckBoxUI();
  check->ApplyAttributeList(L"width=\"100\" EnableAutoCheck=\"true\"");
  row->Add(check);
  host.Attach(row, Rect(0, 0, 700, 40));
  Send(check, UIEvent::ButtonDown, kInside);
  Send(check, UIEvent::ButtonUp, kInside);
  EXPECT_TRUE(check->GetCheck());
  EXPECT_EQ((std::vector<std::wstring>{L"selectchanged", L"checkclick"}), host.notes.Actions());
  EXPECT_EQ(1u, host.notes.Last(L"selectchanged")->WParam);
  Send(check, UIEvent::ButtonDown, kOutside);
  EXPECT_TRUE(check->GetCheck());
  Send(check, UIEvent::DoubleClick, kInside);
  EXPECT_FALSE(check->GetCheck());
  EXPECT_EQ(0u, host.notes.Last(L"selectchanged")->WParam);
  EXPECT_EQ(0u, host.notes.Count(L"click"));
}

TEST(CheckBoxState, WithoutAutoCheckItClicksLikeAnOption) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* check = new CCheckBoxUI();
  check->ApplyAttributeList(L"width=\"100\" selected=\"true\"");
  row->Add(check);
  host.Attach(row, Rect(0, 0, 700, 40));
  Send(check, UIEvent::ButtonDown, kInside);
  Send(check, UIEvent::ButtonUp, kInside);
  EXPECT_FALSE(check->GetCheck());
  EXPECT_EQ((std::vector<std::wstring>{L"click", L"selectchanged"}), host.notes.Actions());
  EXPECT_EQ(0u, host.notes.Last(L"selectchanged")->WParam);
  check->SetCheck(true);
  EXPECT_EQ(1u, host.notes.Last(L"selectchanged")->WParam);
}

TEST(LabelState, FocusEventsOnlyMarkTheLabel) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  auto* label = new CLabelUI();
  row->Add(label);
  host.Attach(row);
  Send(label, UIEvent::SetFocus);
  EXPECT_TRUE(label->IsFocused());
  Send(label, UIEvent::KillFocus);
  EXPECT_FALSE(label->IsFocused());
}

}  // namespace
}  // namespace SkinUI
