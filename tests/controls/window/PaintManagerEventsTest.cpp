// The paint manager driven through a real window: hover and capture, focus and tab order,
// timers, notifications and the first paint.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ContainerUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr const wchar_t* kThreeControls =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FF202020\">"
    L"<Control name=\"a\" float=\"true\" pos=\"10,10,60,40\"/>"
    L"<Control name=\"b\" float=\"true\" pos=\"70,10,120,40\"/>"
    L"<Control name=\"c\" float=\"true\" pos=\"130,10,180,40\" tooltip=\"Third<n>control\"/>"
    L"</VerticalLayout></Window>";

std::wstring Ev(const wchar_t* name, uint32_t code) { return std::wstring(name) + L":" + std::to_wstring(code); }

class PaintManagerEvents : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  TestWindow window{kThreeControls};
};

TEST_F(PaintManagerEvents, WindowInitArrivesOnceAndBeforeWindowSize) {
  ASSERT_TRUE(PumpUntil([&] { return window.NoteCount(L"windowsize:root") >= 1; }));
  ::SetWindowPos(window.GetHWND(), nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
  window.Paint();
  ::SetWindowPos(window.GetHWND(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  window.Paint();
  ASSERT_TRUE(PumpUntil([&] { return window.NoteCount(L"windowsize:root") >= 3; }));
  EXPECT_EQ(window.NoteCount(L"windowinit:root"), 1);
  EXPECT_LT(window.NoteIndex(L"windowinit:root"), window.NoteIndex(L"windowsize:root"));
}

TEST_F(PaintManagerEvents, FirstLayoutPlacesTheTreeOnTheClientArea) {
  const RECT root = window.Find(L"root")->GetPos();
  EXPECT_EQ(root.right - root.left, 300);
  EXPECT_EQ(root.bottom - root.top, 200);
  const RECT b = window.Find(L"b")->GetPos();
  EXPECT_EQ(b.left, 70);
  EXPECT_EQ(b.right, 120);
}

TEST_F(PaintManagerEvents, MovingBetweenControlsLeavesTheFirstBeforeEnteringTheSecond) {
  EventLog log;
  log.Watch(window.Find(L"a"));
  log.Watch(window.Find(L"b"));
  window.MouseMove(20, 20);
  window.MouseMove(25, 22);
  window.MouseMove(80, 20);
  const int enterA = log.Find(Ev(L"a", UIEvent::MouseEnter));
  const int leaveA = log.Find(Ev(L"a", UIEvent::MouseLeave));
  const int enterB = log.Find(Ev(L"b", UIEvent::MouseEnter));
  ASSERT_GE(enterA, 0);
  ASSERT_GE(leaveA, 0);
  ASSERT_GE(enterB, 0);
  EXPECT_LT(enterA, leaveA);
  EXPECT_LT(leaveA, enterB);
  EXPECT_EQ(log.Count(Ev(L"a", UIEvent::MouseEnter)), 1);
  EXPECT_GT(log.Find(Ev(L"b", UIEvent::MouseMove), enterB), enterB);
  EXPECT_EQ(window.Manager().GetHover(), window.Find(L"b"));
}

TEST_F(PaintManagerEvents, PressedControlKeepsTheMouseUntilRelease) {
  EventLog log;
  log.Watch(window.Find(L"a"));
  log.Watch(window.Find(L"b"));
  window.MouseMove(20, 20);
  window.MouseDown(20, 20);
  EXPECT_TRUE(window.Manager().IsCaptured());
  log.Clear();
  window.MouseMove(80, 20);
  window.MouseUp(80, 20);
  EXPECT_EQ(log.Count(Ev(L"b", UIEvent::MouseEnter)), 0);
  EXPECT_GE(log.Find(Ev(L"a", UIEvent::MouseMove)), 0);
  EXPECT_GE(log.Find(Ev(L"a", UIEvent::ButtonUp)), 0);
  EXPECT_EQ(log.Count(Ev(L"b", UIEvent::ButtonUp)), 0);
  EXPECT_FALSE(window.Manager().IsCaptured());
}

TEST_F(PaintManagerEvents, TabWrapsForwardAndShiftTabWrapsBackward) {
  CControlUI* a = window.Find(L"a");
  CControlUI* b = window.Find(L"b");
  CControlUI* c = window.Find(L"c");
  for (CControlUI* control : {a, b, c}) control->SetFlags(kFlagTabStop);
  window.Manager().SetFocus(nullptr);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), a);
  window.Key(VK_TAB);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), c);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), a);
  EXPECT_GE(window.NoteIndex(L"killfocus:c"), 0);

  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  BYTE shifted[256];
  std::copy(keys, keys + 256, shifted);
  shifted[VK_SHIFT] = 0x80;
  ::SetKeyboardState(shifted);
  window.Key(VK_TAB);
  const CControlUI* afterShiftTab = window.Manager().GetFocus();
  window.Key(VK_TAB);
  const CControlUI* afterSecond = window.Manager().GetFocus();
  ::SetKeyboardState(keys);
  EXPECT_EQ(afterShiftTab, c);
  EXPECT_EQ(afterSecond, b);
}

TEST_F(PaintManagerEvents, HiddenControlsAreNoTabStops) {
  CControlUI* a = window.Find(L"a");
  CControlUI* b = window.Find(L"b");
  CControlUI* c = window.Find(L"c");
  for (CControlUI* control : {a, b, c}) control->SetFlags(kFlagTabStop);
  b->SetVisible(false);
  window.Manager().SetFocus(a);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), c);
}

// Shift+Tab as the keyboard state says while the key is handled.
void ShiftTab(TestWindow& window) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  BYTE shifted[256];
  std::copy(keys, keys + 256, shifted);
  shifted[VK_SHIFT] = 0x80;
  ::SetKeyboardState(shifted);
  window.Key(VK_TAB);
  ::SetKeyboardState(keys);
}

TEST_F(PaintManagerEvents, TabFromAFocusedControlThatIsNoTabStopGoesToItsNeighbours) {
  CControlUI* a = window.Find(L"a");
  CControlUI* b = window.Find(L"b");
  CControlUI* c = window.Find(L"c");
  a->SetFlags(kFlagTabStop);
  c->SetFlags(kFlagTabStop);
  window.Manager().SetFocus(b);
  ASSERT_EQ(window.Manager().GetFocus(), b);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), c);
  window.Manager().SetFocus(b);
  ShiftTab(window);
  EXPECT_EQ(window.Manager().GetFocus(), a);
  // With no tab stop but the focused control, Tab keeps the focus where it is.
  a->SetFlags(0);
  c->SetFlags(0);
  window.Manager().SetFocus(b);
  window.Key(VK_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), b);
}

// A window object that deletes itself after its last message, as the wizard's frames do. Its
// memory is kept as the destructor left it until the test ends, so a read of the destroyed
// manager shows as a listener called once too often rather than as a chance crash (the
// harness has no AddressSanitizer under Wine).
class SelfDeletingWindow : public WindowImplBase {
 public:
  static void* operator new(size_t size) { return ::operator new(size); }
  static void operator delete(void* memory) { kept.push_back(memory); }
  static std::vector<void*> kept;

  const wchar_t* GetWindowClassName() const override { return L"SkinUISelfDeletingWindow"; }
  std::wstring QuerySkinFile() override { return kThreeControls; }
  void Notify(TNotifyMsgUI& msg) override {
    if (msg.Type == L"closenow") ::DestroyWindow(m_hWnd);
  }
  void OnWindowGone(HWND window) override {
    WindowImplBase::OnWindowGone(window);
    delete this;
  }
};
std::vector<void*> SelfDeletingWindow::kept;

class CountingListener : public INotifyUI {
 public:
  void Notify(TNotifyMsgUI& msg) override { seen.push_back(msg.Type); }
  std::vector<std::wstring> seen;
};

TEST(PaintManagerDelivery, AListenerDestroyingTheWindowEndsTheDelivery) {
  auto* window = new SelfDeletingWindow();
  ASSERT_NE(window->Create(nullptr, L"self-deleting", WS_POPUP, WS_EX_TOOLWINDOW), nullptr);
  HWND hwnd = window->GetHWND();
  CPaintManagerUI* manager = &window->GetPaintManager();
  // The window listens first; as it goes it also takes itself off the list.
  CountingListener second;
  CountingListener third;
  manager->AddNotifyListener(&second);
  manager->AddNotifyListener(&third);
  manager->SendNotify(manager->GetRoot(), L"ping");
  ASSERT_EQ(third.seen.size(), 1u);
  manager->SendNotify(manager->GetRoot(), L"closenow");
  EXPECT_FALSE(::IsWindow(hwnd));
  ASSERT_EQ(SelfDeletingWindow::kept.size(), 1u);
  EXPECT_EQ(second.seen.size(), 1u);
  EXPECT_EQ(third.seen.size(), 1u);
  for (void* memory : SelfDeletingWindow::kept) ::operator delete(memory);
  SelfDeletingWindow::kept.clear();
}

TEST_F(PaintManagerEvents, HidingTheFocusedControlLeavesNoFocus) {
  CControlUI* a = window.Find(L"a");
  window.Manager().SetFocus(a);
  ASSERT_EQ(window.Manager().GetFocus(), a);
  EventLog log;
  log.Watch(a);
  a->SetVisible(false);
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  window.Key('X');
  EXPECT_EQ(log.Count(Ev(L"a", UIEvent::KeyDown)), 0);
}

TEST_F(PaintManagerEvents, KeysGoToTheFocusedControlAndKeyUpToTheSameOne) {
  CControlUI* a = window.Find(L"a");
  CControlUI* b = window.Find(L"b");
  EventLog log;
  log.Watch(a);
  log.Watch(b);
  window.Manager().SetFocus(a);
  ::PostMessageW(window.GetHWND(), WM_KEYDOWN, 'Q', 1);
  PumpPending();
  window.Manager().SetFocus(b);
  ::PostMessageW(window.GetHWND(), WM_KEYUP, 'Q', static_cast<LPARAM>(0xC0000001u));
  PumpPending();
  EXPECT_GE(log.Find(Ev(L"a", UIEvent::KeyDown)), 0);
  EXPECT_GE(log.Find(Ev(L"a", UIEvent::KeyUp)), 0);
  EXPECT_EQ(log.Count(Ev(L"b", UIEvent::KeyUp)), 0);
}

TEST_F(PaintManagerEvents, TimerIdSetTwiceFailsTheSecondTime) {
  CPaintManagerUI& manager = window.Manager();
  CControlUI* a = window.Find(L"a");
  EXPECT_TRUE(manager.SetTimer(a, 7, 100000));
  EXPECT_FALSE(manager.SetTimer(a, 7, 100000));
  EXPECT_TRUE(manager.SetTimer(window.Find(L"b"), 7, 100000));
  EXPECT_TRUE(manager.KillTimer(a, 7));
  EXPECT_FALSE(manager.KillTimer(a, 7));
  EXPECT_TRUE(manager.SetTimer(a, 7, 100000));
}

TEST_F(PaintManagerEvents, NativeTimerIdsStartAtSeventeenAndMapBackToControlIds) {
  CPaintManagerUI& manager = window.Manager();
  std::vector<std::pair<std::wstring, WPARAM>> timers;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"timer") timers.emplace_back(msg.Sender->GetName(), msg.WParam);
  };
  ASSERT_TRUE(manager.SetTimer(window.Find(L"a"), 7, 100000));
  ASSERT_TRUE(manager.SetTimer(window.Find(L"b"), 9, 100000));
  ::PostMessageW(window.GetHWND(), WM_TIMER, 17, 0);
  ::PostMessageW(window.GetHWND(), WM_TIMER, 18, 0);
  PumpPending();
  ASSERT_EQ(timers.size(), 2u);
  EXPECT_EQ(timers[0], std::make_pair(std::wstring(L"a"), WPARAM{7}));
  EXPECT_EQ(timers[1], std::make_pair(std::wstring(L"b"), WPARAM{9}));

  // A killed timer is silent; set again it keeps its native id.
  timers.clear();
  ASSERT_TRUE(manager.KillTimer(window.Find(L"a"), 7));
  ::PostMessageW(window.GetHWND(), WM_TIMER, 17, 0);
  PumpPending();
  EXPECT_TRUE(timers.empty());
  ASSERT_TRUE(manager.SetTimer(window.Find(L"a"), 7, 100000));
  ::PostMessageW(window.GetHWND(), WM_TIMER, 17, 0);
  PumpPending();
  ASSERT_EQ(timers.size(), 1u);
  EXPECT_EQ(timers[0].first, L"a");
}

TEST_F(PaintManagerEvents, NativeTimerIdsWrapBelowTwoHundredForty) {
  CPaintManagerUI& manager = window.Manager();
  CControlUI* a = window.Find(L"a");
  // 17 .. 239 are the first 223 native ids.
  for (UINT id = 1; id <= 223; ++id) ASSERT_TRUE(manager.SetTimer(a, id, 1000000)) << id;
  ASSERT_TRUE(manager.SetTimer(window.Find(L"b"), 1, 1000000));
  std::vector<std::wstring> senders;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"timer") senders.push_back(msg.Sender->GetName() + L"/" + std::to_wstring(msg.WParam));
  };
  ::PostMessageW(window.GetHWND(), WM_TIMER, 239, 0);
  ::PostMessageW(window.GetHWND(), WM_TIMER, 1, 0);
  PumpPending();
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[0], L"a/223");
  EXPECT_EQ(senders[1], L"b/1");
}

TEST_F(PaintManagerEvents, RunningTimerDeliversTimerNotifications) {
  int ticks = 0;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"timer" && msg.WParam == 3) ++ticks;
  };
  ASSERT_TRUE(window.Manager().SetTimer(window.Find(L"c"), 3, 10));
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  window.Manager().KillTimer(window.Find(L"c"));
  EXPECT_FALSE(window.Manager().KillTimer(window.Find(L"c"), 3));
}

TEST_F(PaintManagerEvents, AsyncNotificationFromANotifierArrivesAfterItReturns) {
  CPaintManagerUI& manager = window.Manager();
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"first") {
      manager.SendNotify(window.Find(L"b"), L"second", 0, 0, true);
      window.notes.push_back(L"first-returned");
    }
  };
  manager.SendNotify(window.Find(L"a"), L"first");
  EXPECT_EQ(window.NoteIndex(L"second:b"), -1);
  ASSERT_TRUE(PumpUntil([&] { return window.NoteIndex(L"second:b") >= 0; }));
  EXPECT_GT(window.NoteIndex(L"second:b"), window.NoteIndex(L"first-returned"));
}

TEST_F(PaintManagerEvents, QueuedNotificationOfARemovedControlHasNoSender) {
  CPaintManagerUI& manager = window.Manager();
  CControlUI* a = window.Find(L"a");
  manager.SendNotify(a, L"late", 0, 0, true);
  auto* root = static_cast<IContainerUI*>(window.Find(L"root")->GetInterface(L"IContainer"));
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(root->Remove(a));
  ASSERT_TRUE(PumpUntil([&] { return window.NoteIndex(L"late:") >= 0; }));
  EXPECT_EQ(manager.FindControl(std::wstring(L"a")), nullptr);
}

TEST_F(PaintManagerEvents, RemovingTheHoveredAndFocusedControlDropsEveryReference) {
  CPaintManagerUI& manager = window.Manager();
  CControlUI* a = window.Find(L"a");
  window.MouseMove(20, 20);
  window.MouseDown(20, 20);
  ASSERT_EQ(manager.GetHover(), a);
  ASSERT_TRUE(manager.SetTimer(a, 1, 100000));
  auto* root = static_cast<IContainerUI*>(window.Find(L"root")->GetInterface(L"IContainer"));
  ASSERT_TRUE(root->Remove(a));
  PumpPending();
  EXPECT_EQ(manager.GetHover(), nullptr);
  EXPECT_EQ(manager.GetFocus(), nullptr);
  window.MouseMove(30, 20);
  window.MouseUp(30, 20);
  window.Key(VK_RETURN);
  ::PostMessageW(window.GetHWND(), WM_TIMER, 17, 0);
  PumpPending();
  window.Paint();
  EXPECT_EQ(window.NoteCount(L"timer:"), 0);
}

TEST_F(PaintManagerEvents, LeavingTheWindowLeavesTheHoveredControl) {
  EventLog log;
  log.Watch(window.Find(L"a"));
  window.MouseMove(20, 20);
  ASSERT_EQ(window.Manager().GetHover(), window.Find(L"a"));
  ::SetCursorPos(1200, 1000);
  ::PostMessageW(window.GetHWND(), WM_MOUSELEAVE, 0, 0);
  PumpPending();
  EXPECT_GE(log.Find(Ev(L"a", UIEvent::MouseLeave)), 0);
  EXPECT_EQ(window.Manager().GetHover(), nullptr);
}

TEST_F(PaintManagerEvents, HoverShowsTheTooltipAndLeavingHidesIt) {
  window.MouseMove(150, 20);
  ::PostMessageW(window.GetHWND(), WM_MOUSEHOVER, 0, MAKELPARAM(150, 20));
  PumpPending();
  HWND tooltip = window.Manager().GetTooltipWindow();
  ASSERT_NE(tooltip, nullptr);
  EXPECT_TRUE(::IsWindowVisible(tooltip));
  wchar_t text[64] = {};
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window.GetHWND();
  tool.uId = reinterpret_cast<UINT_PTR>(window.GetHWND());
  tool.lpszText = text;
  ::SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Third\r\ncontrol");
  window.MouseMove(20, 20);
  EXPECT_FALSE(::IsWindowVisible(tooltip));
  // A control without a tooltip shows none.
  ::PostMessageW(window.GetHWND(), WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
  PumpPending();
  EXPECT_FALSE(::IsWindowVisible(tooltip));
}

TEST_F(PaintManagerEvents, NameTableFindsEveryNamedControl) {
  CPaintManagerUI& manager = window.Manager();
  for (const wchar_t* name : {L"root", L"a", L"b", L"c"})
    EXPECT_NE(manager.FindControl(std::wstring(name)), nullptr) << name;
  EXPECT_EQ(manager.FindControl(POINT{75, 15}), window.Find(L"b"));
  EXPECT_EQ(manager.FindControl(POINT{250, 150}), window.Find(L"root"));
}

TEST_F(PaintManagerEvents, BackBufferHoldsTheRootBackground) {
  EXPECT_EQ(window.Pixel(250, 150), 0x202020u);
  EXPECT_EQ(window.Pixel(0, 0), 0x202020u);
}

}  // namespace
