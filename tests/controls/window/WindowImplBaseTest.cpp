// The skinned window base: caption and border hit tests, system buttons, min/max sizes, the
// rounded region, modal loops, centring, notification maps and the skin-load failure.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "NotifyPump.h"
#include "TestIcon.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr const wchar_t* kFrame =
    L"<Window size=\"400,300\" caption=\"0,0,0,50\" sizebox=\"4,4,4,4\" roundcorner=\"6,6\" mininfo=\"200,150\" "
    L"maxinfo=\"640,480\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FF101010\">"
    L"<Button name=\"closebtn\" float=\"true\" pos=\"360,10,390,40\"/>"
    L"<Button name=\"minbtn\" float=\"true\" pos=\"320,10,350,40\"/>"
    L"<Button name=\"maxbtn\" float=\"true\" pos=\"280,10,310,40\"/>"
    L"<Button name=\"restorebtn\" float=\"true\" pos=\"280,10,310,40\" visible=\"false\"/>"
    L"<Label name=\"title\" float=\"true\" pos=\"10,10,200,40\" text=\"Title\"/>"
    L"<VerticalLayout name=\"page1\" virtualwnd=\"install1\" float=\"true\" pos=\"10,100,200,200\">"
    L"<Button name=\"inner\" height=\"40\"/><Button name=\"other\" height=\"40\"/></VerticalLayout>"
    L"</VerticalLayout></Window>";

constexpr const wchar_t* kFailureChildVariable = L"SKINUI_TEST_SKIN_FAILURE_CHILD";

LRESULT HitTest(HWND window, int x, int y) {
  return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(TestWindow::kLeft + x, TestWindow::kTop + y));
}

class WindowImplBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  TestWindow window{kFrame};
};

TEST_F(WindowImplBaseTest, TheCaptionDragsOverPlainControlsOnly) {
  HWND hwnd = window.GetHWND();
  EXPECT_EQ(HitTest(hwnd, 100, 49), HTCAPTION);
  EXPECT_EQ(HitTest(hwnd, 100, 50), HTCLIENT);
  EXPECT_EQ(HitTest(hwnd, 50, 20), HTCAPTION);  // over the label
  EXPECT_EQ(HitTest(hwnd, 370, 20), HTCLIENT);  // over a button
  EXPECT_EQ(HitTest(hwnd, 100, 150), HTCLIENT);
}

TEST_F(WindowImplBaseTest, TheSizeBoxMakesResizeBorders) {
  HWND hwnd = window.GetHWND();
  EXPECT_EQ(HitTest(hwnd, 1, 1), HTTOPLEFT);
  EXPECT_EQ(HitTest(hwnd, 200, 2), HTTOP);
  EXPECT_EQ(HitTest(hwnd, 398, 1), HTTOPRIGHT);
  EXPECT_EQ(HitTest(hwnd, 1, 150), HTLEFT);
  EXPECT_EQ(HitTest(hwnd, 398, 150), HTRIGHT);
  EXPECT_EQ(HitTest(hwnd, 1, 298), HTBOTTOMLEFT);
  EXPECT_EQ(HitTest(hwnd, 200, 298), HTBOTTOM);
  EXPECT_EQ(HitTest(hwnd, 398, 298), HTBOTTOMRIGHT);
  // Each band is four pixels wide on every side.
  EXPECT_EQ(HitTest(hwnd, 3, 150), HTLEFT);
  EXPECT_EQ(HitTest(hwnd, 4, 150), HTCLIENT);
  EXPECT_EQ(HitTest(hwnd, 396, 150), HTRIGHT);
  EXPECT_EQ(HitTest(hwnd, 395, 150), HTCLIENT);
  EXPECT_EQ(HitTest(hwnd, 200, 3), HTTOP);
  EXPECT_EQ(HitTest(hwnd, 200, 296), HTBOTTOM);
  EXPECT_EQ(HitTest(hwnd, 200, 295), HTCLIENT);
  EXPECT_EQ(HitTest(hwnd, 396, 296), HTBOTTOMRIGHT);
}

bool IconExists(HICON icon) {
  ICONINFO info = {};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return true;
}

HICON WindowIcon(HWND window, WPARAM which) {
  return reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, which, 0));
}

// GetGuiResources counts no USER objects under Wine (it answers 0), so the leak is shown by the
// icons themselves: those replaced by a later call, and those of a closed window, no longer exist.
TEST(WindowImplBaseIcon, SetIconDestroysTheIconsItReplacesAndTheLastOnesWithTheWindow) {
  auto window = std::make_unique<TestWindow>(kFrame);
  ASSERT_TRUE(window->Open());
  HWND hwnd = window->GetHWND();
  window->SetIcon(kTestIconId);
  const HICON big = WindowIcon(hwnd, ICON_BIG);
  const HICON small = WindowIcon(hwnd, ICON_SMALL);
  ASSERT_TRUE(IconExists(big));
  ASSERT_TRUE(IconExists(small));
  EXPECT_NE(big, small);
  window->SetIcon(kTestIconId);
  const HICON big2 = WindowIcon(hwnd, ICON_BIG);
  const HICON small2 = WindowIcon(hwnd, ICON_SMALL);
  EXPECT_TRUE(IconExists(big2));
  EXPECT_TRUE(IconExists(small2));
  EXPECT_FALSE(IconExists(big));
  EXPECT_FALSE(IconExists(small));
  window.reset();
  EXPECT_FALSE(IconExists(big2));
  EXPECT_FALSE(IconExists(small2));
}

TEST_F(WindowImplBaseTest, TheNativeCaptionIsRemoved) {
  const LONG style = ::GetWindowLongW(window.GetHWND(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_EQ(window.GetStyle() & WS_CAPTION, 0);
}

TEST_F(WindowImplBaseTest, MinMaxInfoComesFromTheSkinAndTheWorkArea) {
  MINMAXINFO info = {};
  ::SendMessageW(window.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 200);
  EXPECT_EQ(info.ptMinTrackSize.y, 150);
  EXPECT_EQ(info.ptMaxTrackSize.x, 640);
  EXPECT_EQ(info.ptMaxTrackSize.y, 480);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_EQ(info.ptMaxSize.x, monitor.rcWork.right - monitor.rcWork.left);
  EXPECT_EQ(info.ptMaxPosition.y, monitor.rcWork.top);
}

TEST_F(WindowImplBaseTest, TheWindowRegionHasRoundCorners) {
  unique_hrgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window.GetHWND(), region.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(region.get(), 399, 0));
  EXPECT_TRUE(::PtInRegion(region.get(), 200, 150));
  EXPECT_TRUE(::PtInRegion(region.get(), 0, 150));
  EXPECT_TRUE(::PtInRegion(region.get(), 399, 299 - 3));
}

TEST_F(WindowImplBaseTest, MinimizeButtonMinimizes) {
  window.Click(335, 25);
  EXPECT_TRUE(::IsIconic(window.GetHWND()));
  ::ShowWindow(window.GetHWND(), SW_RESTORE);
}

TEST_F(WindowImplBaseTest, MaximizeAndRestoreSwapTheirButtons) {
  window.Click(295, 25);
  ASSERT_TRUE(::IsZoomed(window.GetHWND()));
  EXPECT_FALSE(window.Find(L"maxbtn")->IsVisible());
  EXPECT_TRUE(window.Find(L"restorebtn")->IsVisible());
  window.Paint();
  window.Click(295, 25);
  EXPECT_FALSE(::IsZoomed(window.GetHWND()));
  EXPECT_TRUE(window.Find(L"maxbtn")->IsVisible());
  EXPECT_FALSE(window.Find(L"restorebtn")->IsVisible());
}

TEST_F(WindowImplBaseTest, EscapeReachesTheFocusedControlAndClicksTheCloseButton) {
  EXPECT_TRUE(window.HandleDefaultKey(VK_ESCAPE));
  EXPECT_FALSE(window.HandleDefaultKey(VK_RETURN));
  EventLog log;
  log.Watch(window.Find(L"inner"));
  window.Manager().SetFocus(window.Find(L"inner"));
  window.Key(VK_ESCAPE);
  EXPECT_GE(log.Find(L"inner:" + std::to_wstring(UIEvent::KeyDown)), 0);
  EXPECT_EQ(window.NoteCount(L"click:closebtn"), 1);
  EXPECT_FALSE(::IsWindow(window.GetHWND()));
}

TEST_F(WindowImplBaseTest, CenterWindowCentresOnTheWorkArea) {
  window.CenterWindow();
  RECT rect = {};
  ::GetWindowRect(window.GetHWND(), &rect);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  EXPECT_EQ(rect.left, (work.left + work.right) / 2 - 200);
  EXPECT_EQ(rect.top, (work.top + work.bottom) / 2 - 150);
  EXPECT_EQ(rect.right - rect.left, 400);
}

TEST(WindowImplBaseModal, CloseButtonEndsTheModalLoopWithResultOne) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  TestWindow window(kFrame);
  ASSERT_TRUE(window.Open(owner));
  bool ownerDisabledDuringModal = false;
  window.onNotify = [&](TNotifyMsgUI& msg) {
    if (msg.Type == L"click") ownerDisabledDuringModal = !::IsWindowEnabled(owner);
  };
  HWND hwnd = window.GetHWND();
  ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(375, 25));
  ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(375, 25));
  ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(375, 25));
  EXPECT_EQ(window.ShowModal(), 1u);
  EXPECT_TRUE(ownerDisabledDuringModal);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(window.GetHWND(), nullptr);
  ::DestroyWindow(owner);
  PumpPending();
}

TEST(WindowImplBaseModal, AQuitMessageEndsTheModalLoopAndIsPostedAgain) {
  TestWindow window(kFrame);
  ASSERT_TRUE(window.Open());
  ::PostQuitMessage(7);
  window.ShowModal();
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(::IsWindow(window.GetHWND()));
}

// A page object: handles the clicks of the "install1" subtree by control name.
class PageOne : public CNotifyPump {
 public:
  SKINUI_DECLARE_NOTIFY_MAP(PageOne);
  void OnInner(TNotifyMsgUI& msg) { clicks.push_back(msg.Sender->GetName()); }
  std::vector<std::wstring> clicks;
};

SKINUI_BEGIN_NOTIFY_MAP(PageOne, CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"inner", OnInner)
SKINUI_END_NOTIFY_MAP()

class CountingWindow : public TestWindow {
 public:
  CountingWindow() : TestWindow(kFrame) {}
  void OnClick(TNotifyMsgUI& msg) override {
    frameClicks.push_back(msg.Sender->GetName());
    TestWindow::OnClick(msg);
  }
  std::vector<std::wstring> frameClicks;
};

TEST(WindowImplBasePump, VirtualWindowPumpsGetTheirSubtreeFirst) {
  CountingWindow window;
  PageOne page;
  EXPECT_TRUE(window.RegisterVirtualWindow(L"install1", &page));
  EXPECT_FALSE(window.RegisterVirtualWindow(L"INSTALL1", &page));
  ASSERT_TRUE(window.Open());
  window.Click(50, 120);  // "inner": the page handles it
  window.Click(50, 160);  // "other": the page has no entry, the frame's table gets it
  window.Click(50, 20);   // the label is no button
  ASSERT_EQ(page.clicks.size(), 1u);
  EXPECT_EQ(page.clicks[0], L"inner");
  ASSERT_EQ(window.frameClicks.size(), 1u);
  EXPECT_EQ(window.frameClicks[0], L"other");
  EXPECT_TRUE(window.UnregisterVirtualWindow(L"Install1"));
  EXPECT_FALSE(window.UnregisterVirtualWindow(L"install1"));
  window.Click(50, 120);
  EXPECT_EQ(window.frameClicks.size(), 2u);
}

class MapOrder : public CNotifyPump {
 public:
  SKINUI_DECLARE_NOTIFY_MAP(MapOrder);
  void OnAnyFirst(TNotifyMsgUI&) { calls.push_back(L"any-first"); }
  void OnAnyLast(TNotifyMsgUI&) { calls.push_back(L"any-last"); }
  void OnB(TNotifyMsgUI&) { calls.push_back(L"b"); }
  void OnParams(WPARAM wParam, LPARAM lParam) {
    calls.push_back(L"params " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
  }
  std::vector<std::wstring> calls;
};

SKINUI_BEGIN_NOTIFY_MAP(MapOrder, CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnAnyFirst)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnAnyLast)
SKINUI_NOTIFY_HANDLER(L"click", L"b", OnB)
SKINUI_NOTIFY_PARAMS_HANDLER(L"tabselect", L"", OnParams)
SKINUI_END_NOTIFY_MAP()

TEST(NotifyPump, AnExactNameWinsOverTheLastEntryForAnyControl) {
  MapOrder pump;
  CControlUI b;
  b.SetName(L"b");
  CControlUI c;
  c.SetName(L"c");
  TNotifyMsgUI msg;
  msg.Type = L"click";
  msg.Sender = &b;
  EXPECT_TRUE(pump.RunMessageLoop(msg));
  msg.Sender = &c;
  EXPECT_TRUE(pump.RunMessageLoop(msg));
  msg.Type = L"Click";  // types compare exactly
  EXPECT_FALSE(pump.RunMessageLoop(msg));
  msg.Type = L"tabselect";
  msg.WParam = 2;
  msg.LParam = 1;
  EXPECT_TRUE(pump.RunMessageLoop(msg));
  ASSERT_EQ(pump.calls.size(), 3u);
  EXPECT_EQ(pump.calls[0], L"b");
  EXPECT_EQ(pump.calls[1], L"any-last");
  EXPECT_EQ(pump.calls[2], L"params 2 1");
}

TEST(NotifyPump, AnUnknownVirtualWindowFallsBackToThisPump) {
  MapOrder pump;
  MapOrder other;
  ASSERT_TRUE(pump.RegisterVirtualWindow(L"page", &other));
  CControlUI b;
  b.SetName(L"b");
  TNotifyMsgUI msg;
  msg.Type = L"click";
  msg.Sender = &b;
  msg.VirtualWnd = L"elsewhere";
  pump.NotifyPump(msg);
  msg.VirtualWnd = L"PAGE";
  pump.NotifyPump(msg);
  EXPECT_EQ(pump.calls.size(), 1u);
  EXPECT_EQ(other.calls.size(), 1u);
}

class StaticSuperclass : public CWindowWnd {
 public:
  const wchar_t* GetWindowClassName() const override { return L"SkinUITestStatic"; }
  const wchar_t* GetBaseWindowClassName() const override { return L"STATIC"; }
  void OnWindowGone(HWND window) override { gone = window; }
  HWND gone = nullptr;
};

TEST(WindowWnd, ASuperclassKeepsTheBaseProcedureAndReportsItsEnd) {
  StaticSuperclass window;
  HWND hwnd = window.Create(nullptr, L"static text", WS_POPUP, 0, 0, 0, 120, 30);
  ASSERT_NE(hwnd, nullptr);
  wchar_t text[32] = {};
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"static text");
  window.ResizeClient(150, 40);
  RECT client = {};
  ::GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 150);
  EXPECT_EQ(client.bottom, 40);
  ::DestroyWindow(hwnd);
  EXPECT_EQ(window.gone, hwnd);
  EXPECT_EQ(window.GetHWND(), nullptr);
}

// Runs only as the child process of the test below.
TEST(SkinLoadFailure, ChildShowsTheBoxAndEnds) {
  if (::GetEnvironmentVariableW(kFailureChildVariable, nullptr, 0) == 0) GTEST_SKIP() << "child process only";
  TestWindow window(L"no-such-skin.xml");
  window.Open();
  ADD_FAILURE() << "the process should have ended";
}

struct BoxContents {
  std::vector<std::wstring> texts;
  bool hasIcon = false;
};

BOOL CALLBACK CollectBoxChild(HWND child, LPARAM param) {
  auto* contents = reinterpret_cast<BoxContents*>(param);
  wchar_t text[256] = {};
  ::GetWindowTextW(child, text, 256);
  if (text[0] != L'\0') contents->texts.push_back(text);
  if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      ::SendMessageW(child, STM_GETICON, 0, 0) != 0)
    contents->hasIcon = true;
  return TRUE;
}

// The child is this test program itself, filtered to the test above; its message box is
// found by its caption, read and dismissed.
TEST(SkinLoadFailure, ShowsTheErrorBoxAndEndsWithExitCodeOne) {
  wchar_t self[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=SkinLoadFailure.ChildShowsTheBoxAndEnds";
  ::SetEnvironmentVariableW(kFailureChildVariable, L"1");
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process);
  ::SetEnvironmentVariableW(kFailureChildVariable, nullptr);
  ASSERT_TRUE(started);
  unique_kernel_handle processHandle(process.hProcess);
  unique_kernel_handle threadHandle(process.hThread);

  HWND box = nullptr;
  for (int i = 0; i < 300 && box == nullptr; ++i) {
    box = ::FindWindowW(L"#32770", L"SkinUI");
    if (box == nullptr && ::WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
  }
  ASSERT_NE(box, nullptr) << "no message box titled SkinUI appeared";
  BoxContents contents;
  ::EnumChildWindows(box, CollectBoxChild, reinterpret_cast<LPARAM>(&contents));
  const std::wstring expected = L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25\uff1ano-such-skin.xml";
  EXPECT_NE(std::find(contents.texts.begin(), contents.texts.end(), expected), contents.texts.end());
  EXPECT_TRUE(contents.hasIcon);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  ASSERT_TRUE(::GetExitCodeProcess(process.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 1u);
}

}  // namespace
