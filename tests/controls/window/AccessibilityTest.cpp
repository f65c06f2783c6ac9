// What assistive technology sees of a skinned window: the IAccessible of its client area read
// through oleacc as a screen reader reads it (in-process here; the wizard's test reads it from
// another process), the events that follow changes, default actions, and the focus ring.

#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "IContainerUI.h"
#include "ProgressUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr const wchar_t* kTree =
    L"<Window size=\"400,300\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FF202020\">"
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

VARIANT Self() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::wstring Take(BSTR text) {
  std::wstring result = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return result;
}

// One object's facts, read as a client reads them.
struct Facts {
  std::wstring name;
  LONG role = 0;
  LONG state = 0;
  std::wstring action;
  std::wstring value;
  RECT place = {};
};

Facts Read(IAccessible* object) {
  Facts facts;
  BSTR text = nullptr;
  object->get_accName(Self(), &text);
  facts.name = Take(text);
  VARIANT out;
  ::VariantInit(&out);
  if (SUCCEEDED(object->get_accRole(Self(), &out)) && out.vt == VT_I4) facts.role = out.lVal;
  if (SUCCEEDED(object->get_accState(Self(), &out)) && out.vt == VT_I4) facts.state = out.lVal;
  text = nullptr;
  object->get_accDefaultAction(Self(), &text);
  facts.action = Take(text);
  text = nullptr;
  object->get_accValue(Self(), &text);
  facts.value = Take(text);
  long left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, Self());
  facts.place = RECT{left, top, left + width, top + height};
  return facts;
}

// The children as objects, through AccessibleChildren as screen readers list them.
std::vector<IAccessible*> Children(IAccessible* parent) {
  long count = 0;
  parent->get_accChildCount(&count);
  std::vector<VARIANT> items(static_cast<size_t>(count));
  long fetched = 0;
  std::vector<IAccessible*> children;
  if (count == 0 || FAILED(::AccessibleChildren(parent, 0, count, items.data(), &fetched))) return children;
  for (long i = 0; i < fetched; ++i) {
    IAccessible* child = nullptr;
    if (items[i].vt == VT_DISPATCH && items[i].pdispVal != nullptr)
      items[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
    ::VariantClear(&items[i]);
    children.push_back(child);
  }
  return children;
}

void ReleaseAll(std::vector<IAccessible*>& objects) {
  for (IAccessible* object : objects)
    if (object != nullptr) object->Release();
  objects.clear();
}

RECT ScreenPos(TestWindow& window, const wchar_t* name) {
  RECT rect = window.Find(name)->GetPos();
  ::OffsetRect(&rect, TestWindow::kLeft, TestWindow::kTop);
  return rect;
}

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
  }
  void TearDown() override {
    if (client != nullptr) client->Release();
    ::DestroyWindow(window.GetHWND());
    PumpPending();
    ::CoUninitialize();
  }

  // The object an event names, as a client resolves it.
  std::wstring NameOfChild(LONG child) {
    VARIANT id = Self();
    id.lVal = child;
    IDispatch* dispatch = nullptr;
    if (FAILED(client->get_accChild(id, &dispatch)) || dispatch == nullptr) return L"?";
    IAccessible* object = nullptr;
    dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
    dispatch->Release();
    const std::wstring name = Read(object).name;
    object->Release();
    return name;
  }

  TestWindow window{kTree};
  IAccessible* client = nullptr;
};

TEST_F(AccessibilityTest, ListsTheElementsInTabOrderWithTheirNamesRolesStatesAndPlaces) {
  const Facts root = Read(client);
  EXPECT_EQ(root.role, ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(root.name, L"SkinUI test");
  EXPECT_EQ(root.place.right - root.place.left, 400);

  // Nameless layouts are looked through, the nameless art and the hidden button are left out.
  std::vector<IAccessible*> top = Children(client);
  ASSERT_EQ(top.size(), 7u);
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
  for (size_t i = 0; i < top.size(); ++i) {
    ASSERT_NE(top[i], nullptr);
    const Facts facts = Read(top[i]);
    const auto& want = expected[i];
    EXPECT_EQ(facts.name, want.name) << i;
    EXPECT_EQ(facts.role, want.role) << i;
    EXPECT_EQ(facts.state & ~STATE_SYSTEM_FOCUSED, want.state) << i;
    EXPECT_EQ(facts.action, want.action) << i;
    const RECT place = ScreenPos(window, want.control);
    EXPECT_TRUE(::EqualRect(&facts.place, &place) != FALSE) << i;
  }
  EXPECT_EQ(Read(top[4]).value, L"25%");

  // The pane's own children, and a parent that leads back to it.
  std::vector<IAccessible*> options = Children(top[3]);
  ASSERT_EQ(options.size(), 4u);
  EXPECT_EQ(Read(options[0]).role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(Read(options[0]).state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Read(options[0]).action, L"取消选中");
  EXPECT_EQ(Read(options[1]).role, ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_EQ(Read(options[1]).state & STATE_SYSTEM_CHECKED, 0);
  EXPECT_EQ(Read(options[1]).action, L"选中");
  EXPECT_EQ(Read(options[2]).state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Read(options[3]).role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(Read(options[3]).name, L"勾选");
  IDispatch* parent = nullptr;
  ASSERT_EQ(options[1]->get_accParent(&parent), S_OK);
  IAccessible* pane = nullptr;
  parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pane));
  parent->Release();
  EXPECT_EQ(Read(pane).name, L"选项");
  pane->Release();

  // Hit tests answer the direct child at the point; navigation walks siblings.
  const RECT radio = ScreenPos(window, L"radioA");
  VARIANT hit;
  ::VariantInit(&hit);
  ASSERT_EQ(client->accHitTest(radio.left + 2, radio.top + 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  IAccessible* hitObject = nullptr;
  hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&hitObject));
  ::VariantClear(&hit);
  EXPECT_EQ(Read(hitObject).name, L"选项");
  ASSERT_EQ(hitObject->accHitTest(radio.left + 2, radio.top + 2, &hit), S_OK);
  IAccessible* radioObject = nullptr;
  hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&radioObject));
  ::VariantClear(&hit);
  EXPECT_EQ(Read(radioObject).name, L"甲");
  radioObject->Release();
  hitObject->Release();
  VARIANT next;
  ::VariantInit(&next);
  ASSERT_EQ(top[0]->accNavigate(NAVDIR_NEXT, Self(), &next), S_OK);
  IAccessible* nextObject = nullptr;
  next.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&nextObject));
  ::VariantClear(&next);
  EXPECT_EQ(Read(nextObject).name, L"关闭");
  nextObject->Release();

  ReleaseAll(options);
  ReleaseAll(top);
}

TEST_F(AccessibilityTest, DefaultActionsClickAndEventsFollowEveryChange) {
  std::vector<WinEvent> events;
  g_events = &events;
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, ::GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  std::vector<IAccessible*> top = Children(client);
  std::vector<IAccessible*> options = Children(top[3]);

  // The action runs from the window's queue, after the call returned.
  ASSERT_EQ(top[5]->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(window.NoteCount(L"click:ok"), 0);
  PumpPending();
  EXPECT_EQ(window.NoteCount(L"click:ok"), 1);
  ASSERT_EQ(options[3]->accDoDefaultAction(Self()), S_OK);
  PumpPending();
  EXPECT_EQ(Read(options[3]).state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Read(options[3]).action, L"取消选中");
  EXPECT_EQ(top[2]->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);

  ASSERT_EQ(top[1]->accSelect(SELFLAG_TAKEFOCUS, Self()), S_OK);
  EXPECT_EQ(window.Manager().GetFocus(), window.Find(L"closebtn"));
  EXPECT_EQ(Read(top[1]).state & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  window.Find(L"title")->SetText(L"新标题");
  static_cast<CProgressUI*>(window.Find(L"bar"))->SetValue(100);
  EXPECT_EQ(Read(top[4]).value, L"50%");
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

  // An object whose control is gone answers with an error, not with a dangling control.
  window.Find(L"group")->SetVisible(true);
  window.Manager().SetFocus(nullptr);
  static_cast<IContainerUI*>(window.Find(L"root")->GetInterface(L"IContainer"))->Remove(window.Find(L"ok"));
  PumpPending();
  BSTR name = nullptr;
  EXPECT_TRUE(FAILED(top[5]->get_accName(Self(), &name)));
  EXPECT_TRUE(FAILED(top[5]->accDoDefaultAction(Self())));

  ::UnhookWinEvent(hook);
  g_events = nullptr;
  ReleaseAll(options);
  ReleaseAll(top);
}

TEST_F(AccessibilityTest, TheKeyboardShowsTheFocusRingAndAltF4ClosesAsTheCloseButton) {
  window.Manager().SetFocus(window.Find(L"ok"));
  window.Paint();
  const RECT ok = window.Find(L"ok")->GetPos();
  const uint32_t plain = window.Pixel(ok.left, ok.top);
  EXPECT_FALSE(window.Manager().IsFocusRingShown());

  // The disabled button is no tab stop: from "ok" the focus wraps round to minbtn.
  window.Key(VK_TAB);
  window.Paint();
  ASSERT_TRUE(window.Manager().IsFocusRingShown());
  ASSERT_EQ(window.Manager().GetFocus(), window.Find(L"minbtn"));
  const RECT min = window.Find(L"minbtn")->GetPos();
  int dotted = 0;
  for (LONG x = min.left; x < min.right; ++x)
    if (window.Pixel(x, min.top) != window.Pixel(x, min.top + 3)) ++dotted;
  EXPECT_GT(dotted, (min.right - min.left) / 3) << "the default ring is a dotted rectangle";
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
  EXPECT_FALSE(::IsWindow(window.GetHWND()));
}

}  // namespace
