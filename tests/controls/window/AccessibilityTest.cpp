// What assistive technology sees of a skinned window, read through oleacc as a screen reader
// reads it (in-process here; the wizard's test reads it from another process): the elements,
// default actions, the events that follow changes, and the focus ring.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccessibleReader.h"
#include "IContainerUI.h"
#include "ProgressUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr const wchar_t* kTree =
    L"<Window size=\"400,300\"><VerticalLayout name=\"root\" bkcolor=\"#FF202020\">"
    L"<HorizontalLayout height=\"40\"><Control />"
    L"<Button name=\"minbtn\" width=\"30\" tooltip=\"最小化\" />"
    L"<Button name=\"closebtn\" width=\"30\" accname=\"关闭\" focusringcolor=\"#FF00FF00\" /></HorizontalLayout>"
    L"<Label name=\"title\" height=\"30\" text=\"标题\" />"
    L"<VerticalLayout name=\"group\" height=\"80\" accname=\"选项\">"
    L"<Option name=\"single\" height=\"20\" text=\"单独\" selected=\"true\" />"
    L"<Option name=\"radioA\" height=\"20\" text=\"甲\" group=\"g\" />"
    L"<Option name=\"radioB\" height=\"20\" text=\"乙\" group=\"g\" selected=\"true\" />"
    L"<CheckBox name=\"check\" height=\"20\" text=\"勾选\" /></VerticalLayout>"
    L"<Progress name=\"bar\" height=\"14\" min=\"0\" max=\"200\" value=\"50\" />"
    L"<Button name=\"ok\" height=\"30\" text=\"确定\" />"
    L"<Button name=\"off\" height=\"30\" text=\"不可用\" enabled=\"false\" />"
    L"<Button name=\"hidden\" height=\"30\" text=\"隐藏\" visible=\"false\" />"
    L"<Control name=\"art\" height=\"10\" bkcolor=\"#FF0000FF\" />"
    L"</VerticalLayout></Window>";

struct WinEvent {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};
std::vector<WinEvent>* g_events = nullptr;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (g_events != nullptr) g_events->push_back(WinEvent{event, window, object, child});
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(window.Open());
    ASSERT_EQ(::AccessibleObjectFromWindow(window.GetHWND(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    top = AccessibleChildrenOf(client);
  }
  void TearDown() override {
    ReleaseAccessibles(top);
    if (client != nullptr) client->Release();
    ::DestroyWindow(window.GetHWND());
    PumpPending();
    ::CoUninitialize();
  }

  RECT ScreenPos(const wchar_t* name) {
    RECT rect = window.Find(name)->GetPos();
    ::OffsetRect(&rect, TestWindow::kLeft, TestWindow::kTop);
    return rect;
  }
  // The name of the object an event names, as a client resolves it.
  std::wstring NameOfChild(LONG child) {
    VARIANT id = ChildSelf();
    id.lVal = child;
    IDispatch* dispatch = nullptr;
    if (FAILED(client->get_accChild(id, &dispatch))) return L"?";
    VARIANT item;
    item.vt = VT_DISPATCH;
    item.pdispVal = dispatch;
    IAccessible* object = TakeAccessible(item);
    const std::wstring name = ReadAccessible(object).name;
    object->Release();
    return name;
  }

  TestWindow window{kTree};
  IAccessible* client = nullptr;
  std::vector<IAccessible*> top;
};

TEST_F(AccessibilityTest, ListsTheElementsInTabOrderWithTheirNamesRolesStatesAndPlaces) {
  const AccessibleFacts root = ReadAccessible(client);
  EXPECT_EQ(root.role, ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(root.name, L"SkinUI test");

  // Nameless layouts are looked through; the nameless art and the hidden button are left out.
  const struct {
    const wchar_t* control;
    const wchar_t* name;
    LONG role;
    LONG state;
    const wchar_t* action;
  } expected[] = {
      {L"minbtn", L"最小化", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, L"按下"},
      {L"closebtn", L"关闭", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, L"按下"},
      {L"title", L"标题", ROLE_SYSTEM_STATICTEXT, 0, L""},
      {L"group", L"选项", ROLE_SYSTEM_PANE, 0, L""},
      {L"bar", L"", ROLE_SYSTEM_PROGRESSBAR, 0, L""},
      {L"ok", L"确定", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, L"按下"},
      {L"off", L"不可用", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE, L"按下"},
  };
  ASSERT_EQ(top.size(), 7u);
  for (size_t i = 0; i < top.size(); ++i) {
    const AccessibleFacts facts = ReadAccessible(top[i]);
    EXPECT_EQ(facts.name, expected[i].name) << i;
    EXPECT_EQ(facts.role, expected[i].role) << i;
    EXPECT_EQ(facts.state & ~STATE_SYSTEM_FOCUSED, expected[i].state) << i;
    EXPECT_EQ(facts.action, expected[i].action) << i;
    const RECT place = ScreenPos(expected[i].control);
    EXPECT_TRUE(::EqualRect(&facts.place, &place)) << i;
  }
  EXPECT_EQ(ReadAccessible(top[4]).value, L"25%");

  // An option alone toggles like a check box; options of a group are radio buttons.
  std::vector<IAccessible*> options = AccessibleChildrenOf(top[3]);
  ASSERT_EQ(options.size(), 4u);
  const AccessibleFacts single = ReadAccessible(options[0]), radioA = ReadAccessible(options[1]);
  EXPECT_EQ(single.role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(single.state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_EQ(single.action, L"取消选中");
  EXPECT_EQ(radioA.role, ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_EQ(radioA.state & STATE_SYSTEM_CHECKED, 0);
  EXPECT_EQ(radioA.action, L"选中");
  EXPECT_EQ(ReadAccessible(options[3]).role, ROLE_SYSTEM_CHECKBUTTON);

  // Parent, hit test (the direct child at the point) and navigation among siblings.
  VARIANT answer;
  IDispatch* parent = nullptr;
  ASSERT_EQ(options[1]->get_accParent(&parent), S_OK);
  answer.vt = VT_DISPATCH;
  answer.pdispVal = parent;
  IAccessible* pane = TakeAccessible(answer);
  EXPECT_EQ(ReadAccessible(pane).name, L"选项");
  const RECT radio = ScreenPos(L"radioA");
  ASSERT_EQ(client->accHitTest(radio.left + 2, radio.top + 2, &answer), S_OK);
  IAccessible* hit = TakeAccessible(answer);
  EXPECT_EQ(ReadAccessible(hit).name, L"选项");
  ASSERT_EQ(hit->accHitTest(radio.left + 2, radio.top + 2, &answer), S_OK);
  IAccessible* inner = TakeAccessible(answer);
  EXPECT_EQ(ReadAccessible(inner).name, L"甲");
  ASSERT_EQ(top[0]->accNavigate(NAVDIR_NEXT, ChildSelf(), &answer), S_OK);
  IAccessible* next = TakeAccessible(answer);
  EXPECT_EQ(ReadAccessible(next).name, L"关闭");
  std::vector<IAccessible*> held = {pane, hit, inner, next};
  ReleaseAccessibles(held);
  ReleaseAccessibles(options);
}

TEST_F(AccessibilityTest, DefaultActionsClickAndEventsFollowEveryChange) {
  std::vector<WinEvent> events;
  g_events = &events;
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, ::GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  std::vector<IAccessible*> options = AccessibleChildrenOf(top[3]);
  ASSERT_EQ(options.size(), 4u);

  // The action runs from the window's queue, after the call returned.
  ASSERT_EQ(top[5]->accDoDefaultAction(ChildSelf()), S_OK);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
  PumpPending();
  EXPECT_EQ(window.NoteCount(L"click:ok"), 1);
  ASSERT_EQ(options[3]->accDoDefaultAction(ChildSelf()), S_OK);
  PumpPending();
  EXPECT_EQ(ReadAccessible(options[3]).state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_EQ(top[2]->accDoDefaultAction(ChildSelf()), DISP_E_MEMBERNOTFOUND);

  ASSERT_EQ(top[1]->accSelect(SELFLAG_TAKEFOCUS, ChildSelf()), S_OK);
  EXPECT_EQ(window.Manager().GetFocus(), window.Find(L"closebtn"));
  VARIANT focus;
  ASSERT_EQ(client->get_accFocus(&focus), S_OK);
  IAccessible* focused = TakeAccessible(focus);
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(ReadAccessible(focused).name, L"关闭");
  focused->Release();
  window.Find(L"title")->SetText(L"新标题");
  static_cast<CProgressUI*>(window.Find(L"bar"))->SetValue(100);
  EXPECT_EQ(ReadAccessible(top[4]).value, L"50%");
  window.Find(L"group")->SetVisible(false);
  PumpPending();

  auto named = [&](DWORD event) {
    std::vector<std::wstring> names;
    for (const WinEvent& seen : events)
      if (seen.event == event && seen.window == window.GetHWND() && seen.object == OBJID_CLIENT)
        names.push_back(NameOfChild(seen.child));
    return names;
  };
  EXPECT_EQ(named(EVENT_OBJECT_STATECHANGE), std::vector<std::wstring>{L"勾选"});
  EXPECT_EQ(named(EVENT_OBJECT_FOCUS), std::vector<std::wstring>{L"关闭"});
  EXPECT_EQ(named(EVENT_OBJECT_NAMECHANGE), std::vector<std::wstring>{L"新标题"});
  EXPECT_EQ(named(EVENT_OBJECT_VALUECHANGE), std::vector<std::wstring>{L""});
  EXPECT_EQ(named(EVENT_OBJECT_HIDE), std::vector<std::wstring>{L"选项"});
  long count = 0;
  client->get_accChildCount(&count);
  EXPECT_EQ(count, 6);
  ::UnhookWinEvent(hook);
  g_events = nullptr;

  // An object whose control is gone answers with an error, never with a dangling control.
  static_cast<IContainerUI*>(window.Find(L"root")->GetInterface(L"IContainer"))->Remove(window.Find(L"ok"));
  PumpPending();
  BSTR name = nullptr;
  EXPECT_TRUE(FAILED(top[5]->get_accName(ChildSelf(), &name)));
  EXPECT_TRUE(FAILED(top[5]->accDoDefaultAction(ChildSelf())));
  ReleaseAccessibles(options);
}

TEST_F(AccessibilityTest, TabShowsTheFocusRingAndAltF4ClosesAsTheCloseButton) {
  window.Manager().SetFocus(window.Find(L"ok"));
  window.Paint();
  const RECT ok = window.Find(L"ok")->GetPos();
  const uint32_t plain = window.Pixel(ok.left, ok.top);
  EXPECT_FALSE(window.Manager().IsFocusRingShown());

  // The disabled button is no tab stop: from "ok" the focus wraps round to minbtn, whose ring
  // is the default dotted rectangle.
  window.Key(VK_TAB);
  window.Paint();
  ASSERT_EQ(window.Manager().GetFocus(), window.Find(L"minbtn"));
  const RECT min = window.Find(L"minbtn")->GetPos();
  int dotted = 0;
  for (LONG x = min.left; x < min.right; ++x)
    if (window.Pixel(x, min.top) != window.Pixel(x, min.top + 3)) ++dotted;
  EXPECT_GT(dotted, (min.right - min.left) / 3);
  EXPECT_EQ(window.Pixel(ok.left, ok.top), plain);

  // A skin colour replaces the dotted ring.
  window.Key(VK_TAB);
  window.Paint();
  const RECT close = window.Find(L"closebtn")->GetPos();
  EXPECT_EQ(window.Pixel(close.left, close.top) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(window.Pixel(close.right - 1, close.bottom - 1) & 0xFFFFFF, 0x00FF00u);

  // Alt+F4 (the system close command) clicks the close button, whose base handling closes.
  ::PostMessageW(window.GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpUntil([&] { return !::IsWindow(window.GetHWND()); });
  EXPECT_EQ(window.NoteCount(L"click:closebtn"), 1);
}

}  // namespace
