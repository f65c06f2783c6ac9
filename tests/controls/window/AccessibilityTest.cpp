// What assistive technology sees of a skinned window, read through oleacc as a screen reader
// reads it (in-process here; the wizard's test reads it from another process): the elements,
// default actions, the events that follow changes, and the focus ring; then what each kind of
// control answers.

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "AccessibleReader.h"
#include "ComboUI.h"
#include "EditUI.h"
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

constexpr const wchar_t* kControlsTree =
    L"<Window size=\"400,420\"><VerticalLayout name=\"root\">"
    L"<Edit name=\"user\" height=\"24\" text=\"张三\" tooltip=\"姓名\" />"
    L"<Edit name=\"secret\" height=\"24\" text=\"口令123\" password=\"true\" prompttext=\"密码\" />"
    L"<Edit name=\"path\" height=\"24\" text=\"C:\\Tessaro\" readonly=\"true\" accname=\"安装位置\" />"
    L"<Slider name=\"volume\" height=\"20\" min=\"0\" max=\"10\" value=\"7\" accname=\"音量\" />"
    L"<List name=\"files\" height=\"90\" accname=\"文件\" itemshowhtml=\"true\">"
    L"<ListLabelElement text=\"说明.txt\" /><ListLabelElement text=\"{b}许可{/b}.txt\" />"
    L"<ListContainerElement height=\"24\" accname=\"附件\"><Button name=\"remove\" text=\"移除\" />"
    L"</ListContainerElement></List>"
    L"<Combo name=\"lang\" height=\"24\" tooltip=\"语言\">"
    L"<ListLabelElement text=\"中文\" /><ListLabelElement text=\"English\" /></Combo>"
    L"<Text name=\"terms\" height=\"30\" text=\"请阅读{a terms}{b}许可条款{/b}{/a}\" />"
    L"<GroupBox name=\"box\" height=\"60\" text=\"状态\">"
    L"<Ring name=\"busy\" width=\"20\" height=\"20\" accname=\"请稍候\" /></GroupBox>"
    L"<ScrollBar name=\"pos\" height=\"16\" hor=\"true\" range=\"100\" value=\"30\" accname=\"位置\" />"
    L"</VerticalLayout></Window>";

class AccessibleWindowTest : public ::testing::Test {
 protected:
  explicit AccessibleWindowTest(const wchar_t* tree) : window(tree) {}
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(window.Open());
    ASSERT_EQ(::AccessibleObjectFromWindow(window.GetHWND(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    top = AccessibleChildrenOf(client);
  }
  void TearDown() override {
    StopRecording();
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
  void StartRecording() {
    g_events = &events;
    hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, ::GetCurrentProcessId(), 0,
                             WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
  }
  void StopRecording() {
    if (hook != nullptr) ::UnhookWinEvent(hook);
    hook = nullptr;
    g_events = nullptr;
  }
  // The names of the objects the recorded events of one kind named, in order.
  std::vector<std::wstring> NamesOf(DWORD event) {
    std::vector<std::wstring> names;
    for (const WinEvent& seen : events)
      if (seen.event == event && seen.window == window.GetHWND() && seen.object == OBJID_CLIENT)
        names.push_back(NameOfChild(seen.child));
    return names;
  }

  TestWindow window;
  IAccessible* client = nullptr;
  std::vector<IAccessible*> top;
  std::vector<WinEvent> events;
  HWINEVENTHOOK hook = nullptr;
};

class AccessibilityTest : public AccessibleWindowTest {
 protected:
  AccessibilityTest() : AccessibleWindowTest(kTree) {}
};

class ControlAccessibilityTest : public AccessibleWindowTest {
 protected:
  ControlAccessibilityTest() : AccessibleWindowTest(kControlsTree) {}
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
  StartRecording();
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

  EXPECT_EQ(NamesOf(EVENT_OBJECT_STATECHANGE), std::vector<std::wstring>{L"勾选"});
  EXPECT_EQ(NamesOf(EVENT_OBJECT_FOCUS), std::vector<std::wstring>{L"关闭"});
  EXPECT_EQ(NamesOf(EVENT_OBJECT_NAMECHANGE), std::vector<std::wstring>{L"新标题"});
  EXPECT_EQ(NamesOf(EVENT_OBJECT_VALUECHANGE), std::vector<std::wstring>{L""});
  EXPECT_EQ(NamesOf(EVENT_OBJECT_HIDE), std::vector<std::wstring>{L"选项"});
  long count = 0;
  client->get_accChildCount(&count);
  EXPECT_EQ(count, 6);
  StopRecording();

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

TEST_F(ControlAccessibilityTest, EachControlAnswersWithItsRoleNameValueAndState) {
  // An edit is named by its tooltip, accname or prompt, never by its text; a password's text is
  // no value. Mark-up is read without its tags. A scroll bar of its own is an element.
  const struct {
    const wchar_t* name;
    LONG role;
    LONG state;
    const wchar_t* value;
    const wchar_t* action;
  } expected[] = {
      {L"姓名", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE, L"张三", L""},
      {L"密码", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_PROTECTED, L"", L""},
      {L"安装位置", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY, L"C:\\Tessaro", L""},
      {L"音量", ROLE_SYSTEM_SLIDER, STATE_SYSTEM_FOCUSABLE, L"7", L""},
      {L"文件", ROLE_SYSTEM_LIST, STATE_SYSTEM_FOCUSABLE, L"", L""},
      {L"语言", ROLE_SYSTEM_COMBOBOX, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HASPOPUP | STATE_SYSTEM_COLLAPSED, L"",
       L"打开"},
      {L"请阅读许可条款", ROLE_SYSTEM_STATICTEXT, 0, L"", L""},
      {L"状态", ROLE_SYSTEM_GROUPING, 0, L"", L""},
      {L"位置", ROLE_SYSTEM_SCROLLBAR, 0, L"30", L""},
  };
  ASSERT_EQ(top.size(), std::size(expected));
  for (size_t i = 0; i < top.size(); ++i) {
    const AccessibleFacts facts = ReadAccessible(top[i]);
    EXPECT_EQ(facts.name, expected[i].name) << i;
    EXPECT_EQ(facts.role, expected[i].role) << i;
    EXPECT_EQ(facts.state & ~STATE_SYSTEM_FOCUSED, expected[i].state) << i;
    EXPECT_EQ(facts.value, expected[i].value) << i;
    EXPECT_EQ(facts.action, expected[i].action) << i;
  }
  std::vector<IAccessible*> busy = AccessibleChildrenOf(top[7]);
  ASSERT_EQ(busy.size(), 1u);
  EXPECT_EQ(ReadAccessible(busy[0]).role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(ReadAccessible(busy[0]).name, L"请稍候");
  ReleaseAccessibles(busy);

  // The list's rows are its children (not the header or the body between), a row of controls
  // holding its own; the closed combo lists its rows too, as a Windows combo box lists its list's.
  std::vector<IAccessible*> rows = AccessibleChildrenOf(top[4]);
  ASSERT_EQ(rows.size(), 3u);
  const AccessibleFacts first = ReadAccessible(rows[0]), third = ReadAccessible(rows[2]);
  EXPECT_EQ(first.name, L"说明.txt");
  EXPECT_EQ(first.role, ROLE_SYSTEM_LISTITEM);
  EXPECT_EQ(first.state, STATE_SYSTEM_SELECTABLE);
  EXPECT_EQ(first.action, L"选中");
  EXPECT_EQ(third.name, L"附件");
  EXPECT_EQ(third.role, ROLE_SYSTEM_LISTITEM);
  std::vector<IAccessible*> inRow = AccessibleChildrenOf(rows[2]);
  ASSERT_EQ(inRow.size(), 1u);
  EXPECT_EQ(ReadAccessible(inRow[0]).name, L"移除");
  ReleaseAccessibles(inRow);
  std::vector<IAccessible*> choices = AccessibleChildrenOf(top[5]);
  ASSERT_EQ(choices.size(), 2u);
  EXPECT_EQ(ReadAccessible(choices[1]).role, ROLE_SYSTEM_LISTITEM);
  ReleaseAccessibles(choices);

  // The row's action selects it through the list; the user's typing, the slider's step and a
  // new choice in the combo change values; each change is announced.
  StartRecording();
  ASSERT_EQ(rows[1]->accDoDefaultAction(ChildSelf()), S_OK);
  PumpPending();
  EXPECT_EQ(ReadAccessible(rows[1]).state, STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED);
  EXPECT_EQ(window.NoteCount(L"itemselect:files"), 1);
  auto* user = static_cast<CEditUI*>(window.Find(L"user")->GetInterface(L"Edit"));
  window.Manager().SetFocus(user);
  ASSERT_NE(user->GetNativeWindow(), nullptr);
  ::SendMessageW(user->GetNativeWindow(), EM_SETSEL, 2, 2);
  ::PostMessageW(user->GetNativeWindow(), WM_CHAR, L'!', 1);
  PumpPending();
  EXPECT_EQ(ReadAccessible(top[0]).value, L"张三!");
  window.Manager().SetFocus(window.Find(L"volume"));
  window.Key(VK_RIGHT);
  EXPECT_EQ(ReadAccessible(top[3]).value, L"8");
  static_cast<CComboUI*>(window.Find(L"lang")->GetInterface(L"Combo"))->SelectItem(1);
  EXPECT_EQ(ReadAccessible(top[5]).value, L"English");
  EXPECT_EQ(ReadAccessible(top[5]).name, L"语言");
  PumpPending();
  EXPECT_EQ(NamesOf(EVENT_OBJECT_SELECTION), (std::vector<std::wstring>{L"许可.txt", L"English"}));
  EXPECT_EQ(NamesOf(EVENT_OBJECT_VALUECHANGE), (std::vector<std::wstring>{L"姓名", L"音量", L"语言"}));
  ReleaseAccessibles(rows);
}

}  // namespace
