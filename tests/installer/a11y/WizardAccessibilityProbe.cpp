// wizard-a11y-probe.exe: reads the running wizard from another process as a screen reader does,
// through oleacc's AccessibleObjectFromWindow (Wine 8 serves it across processes; its UI
// Automation client aborts on pattern calls, so none is used).
//   page PAGE [ACTION]  waits up to 60 s for the page (welcome, options, progress, done), prints
//                       its role/name table, checks it against the skin, then runs the default
//                       action of the element named ACTION, if given
//   focus               prints the name of the focused element
//   events MS           prints the wizard's events (kind and element name) until the wizard's
//                       window is gone, for at most MS milliseconds
// Exit code 0 when every check held, 1 when one failed, 2 when the wizard was not found.

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "AccessibleReader.h"

namespace {

constexpr DWORD kPageWaitMs = 60000;
constexpr DWORD kPollMs = 200;
constexpr int kWizardWidth = 700;
constexpr LONG kOperable = STATE_SYSTEM_FOCUSABLE;
constexpr LONG kChecked = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED;
constexpr LONG kFocused = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;

// One row of a page as the skin describes it. A name ending in '*' is a prefix: the text is
// filled in at run time (folder, free space, percentage).
struct Row {
  LONG role;
  const wchar_t* name;
  LONG state;  // bits that must be set; unavailable and invisible must never be
};

struct Page {
  const wchar_t* key;
  const wchar_t* pane;
  std::vector<Row> rows;
};

const Row kMinimize = {ROLE_SYSTEM_PUSHBUTTON, L"最小化", kOperable};
const Row kClose = {ROLE_SYSTEM_PUSHBUTTON, L"关闭", kOperable};

// Rows come in keyboard order; a page that is shown puts the focus on its first operable row.
const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {L"welcome", L"欢迎",
       {{ROLE_SYSTEM_PUSHBUTTON, L"立即安装", kFocused}, {ROLE_SYSTEM_CHECKBUTTON, L"同意用户协议", kChecked},
        {ROLE_SYSTEM_PUSHBUTTON, L"同意《用户协议》", kOperable}, {ROLE_SYSTEM_PUSHBUTTON, L"自定义安装>", kOperable},
        kMinimize, kClose}},
      {L"options", L"自定义安装",
       {{ROLE_SYSTEM_PUSHBUTTON, L"返回", kFocused}, {ROLE_SYSTEM_STATICTEXT, L"安装路径", 0},
        {ROLE_SYSTEM_STATICTEXT, L"C:\\*", 0}, {ROLE_SYSTEM_PUSHBUTTON, L"修改", kOperable},
        {ROLE_SYSTEM_STATICTEXT, L"*", 0}, {ROLE_SYSTEM_PUSHBUTTON, L"立即安装", kOperable},
        {ROLE_SYSTEM_CHECKBUTTON, L"创建桌面快捷方式", kChecked}, {ROLE_SYSTEM_STATICTEXT, L"创建桌面快捷方式", 0},
        {ROLE_SYSTEM_CHECKBUTTON, L"添加到快速启动栏", kChecked}, {ROLE_SYSTEM_STATICTEXT, L"添加到快速启动栏", 0},
        kMinimize, kClose}},
      {L"progress", L"正在安装",
       {{ROLE_SYSTEM_PROGRESSBAR, L"安装进度", 0}, {ROLE_SYSTEM_STATICTEXT, L"*", 0},
        {ROLE_SYSTEM_PUSHBUTTON, L"最小化", kFocused}, kClose}},
      {L"done", L"安装完成", {{ROLE_SYSTEM_PUSHBUTTON, L"立即体验", kFocused}, kMinimize, kClose}},
  };
  return pages;
}

// One element and what it told.
struct Element {
  IAccessible* object;
  AccessibleFacts facts;
};

void Print(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
  std::printf("%s\n", bytes.c_str());
  std::fflush(stdout);
}

// Depth first, in the order the wizard lists its children.
void Flatten(IAccessible* parent, std::vector<Element>& out) {
  for (IAccessible* child : AccessibleChildrenOf(parent)) {
    out.push_back(Element{child, ReadAccessible(child)});
    Flatten(child, out);
  }
}

void ReleaseAll(std::vector<Element>& elements) {
  for (Element& element : elements) element.object->Release();
  elements.clear();
}

struct WizardSearch {
  HWND found;
};

BOOL CALLBACK MatchWizard(HWND window, LPARAM data) {
  wchar_t title[32] = {};
  RECT rect = {};
  if (!::IsWindowVisible(window) || ::GetWindowTextW(window, title, 32) == 0 || std::wcscmp(title, L"Tessaro") != 0 ||
      !::GetWindowRect(window, &rect) || rect.right - rect.left != kWizardWidth)
    return TRUE;
  reinterpret_cast<WizardSearch*>(data)->found = window;
  return FALSE;
}

HWND FindWizard() {
  WizardSearch search{nullptr};
  ::EnumWindows(MatchWizard, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

IAccessible* ClientObject(HWND window) {
  IAccessible* client = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&client))))
    return nullptr;
  return client;
}

bool NameMatches(const std::wstring& name, const std::wstring& expected) {
  if (!expected.empty() && expected.back() == L'*') {
    const std::wstring prefix = expected.substr(0, expected.size() - 1);
    return !name.empty() && name.compare(0, prefix.size(), prefix) == 0;
  }
  return name == expected;
}

// The system's role texts follow the locale; the table reads the same everywhere.
std::wstring RoleText(LONG role) {
  const struct {
    LONG role;
    const wchar_t* word;
  } words[] = {{ROLE_SYSTEM_CLIENT, L"client"},           {ROLE_SYSTEM_PANE, L"pane"},
               {ROLE_SYSTEM_PUSHBUTTON, L"push button"},  {ROLE_SYSTEM_CHECKBUTTON, L"check button"},
               {ROLE_SYSTEM_RADIOBUTTON, L"radio button"}, {ROLE_SYSTEM_STATICTEXT, L"static text"},
               {ROLE_SYSTEM_PROGRESSBAR, L"progress bar"}, {ROLE_SYSTEM_GRAPHIC, L"graphic"}};
  for (const auto& word : words)
    if (word.role == role) return word.word;
  return std::to_wstring(role);
}

std::wstring StateText(LONG state) {
  std::wstring text;
  const struct {
    LONG bit;
    const wchar_t* word;
  } words[] = {{STATE_SYSTEM_FOCUSABLE, L"focusable"}, {STATE_SYSTEM_FOCUSED, L"focused"},
               {STATE_SYSTEM_CHECKED, L"checked"},     {STATE_SYSTEM_UNAVAILABLE, L"unavailable"},
               {STATE_SYSTEM_INVISIBLE, L"invisible"}};
  for (const auto& word : words)
    if ((state & word.bit) != 0) text += (text.empty() ? L"" : L",") + std::wstring(word.word);
  return text.empty() ? L"-" : text;
}

int Fail(const std::wstring& what) {
  Print(L"FAIL: " + what);
  return 1;
}

// The wizard's page pane once it shows the page; its elements in order in rows.
bool WaitForPage(HWND window, const Page& page, IAccessible** client, std::vector<Element>& rows) {
  const DWORD start = ::GetTickCount();
  do {
    *client = ClientObject(window);
    if (*client != nullptr) {
      Flatten(*client, rows);
      if (!rows.empty() && rows.front().facts.name == page.pane) return true;
      ReleaseAll(rows);
      (*client)->Release();
      *client = nullptr;
    }
    ::Sleep(kPollMs);
  } while (::GetTickCount() - start < kPageWaitMs);
  return false;
}

int CheckPage(HWND window, const Page& page, const wchar_t* action) {
  IAccessible* client = nullptr;
  std::vector<Element> rows;
  if (!WaitForPage(window, page, &client, rows)) return Fail(std::wstring(L"page ") + page.key + L" never showed");
  RECT frame = {};
  ::GetWindowRect(window, &frame);
  const AccessibleFacts root = ReadAccessible(client);
  int failures = 0;
  auto check = [&](bool ok, const std::wstring& what) {
    if (!ok) failures += Fail(what);
  };
  check(root.role == ROLE_SYSTEM_CLIENT && root.name == L"Tessaro", L"the client object is not the window's");
  Print(std::wstring(L"page ") + page.key);
  Print(L"  role | name | state | default action | value");
  Print(L"  " + RoleText(root.role) + L" | " + root.name + L" | " + StateText(root.state) + L" |  | ");
  for (const Element& row : rows)
    Print(L"  " + RoleText(row.facts.role) + L" | " + row.facts.name + L" | " + StateText(row.facts.state) + L" | " +
          row.facts.action + L" | " + row.facts.value);
  check(rows.front().facts.role == ROLE_SYSTEM_PANE, L"the page is no pane");
  check(rows.size() == page.rows.size() + 1, std::wstring(L"page ") + page.key + L" lists " +
                                                 std::to_wstring(rows.size() - 1) + L" elements, the skin has " +
                                                 std::to_wstring(page.rows.size()));
  for (size_t i = 0; i + 1 < rows.size() && i < page.rows.size(); ++i) {
    const AccessibleFacts& got = rows[i + 1].facts;
    const Row& want = page.rows[i];
    const std::wstring where = std::wstring(page.key) + L" row " + std::to_wstring(i + 1) + L" (" + got.name + L")";
    check(got.role == want.role, where + L": role " + RoleText(got.role));
    check(NameMatches(got.name, want.name), where + L": name is not " + want.name);
    check((got.state & want.state) == want.state, where + L": state " + StateText(got.state));
    check((got.state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE)) == 0, where + L": unavailable or hidden");
    RECT inside = {};
    check(::IntersectRect(&inside, &got.place, &frame) && ::EqualRect(&inside, &got.place),
          where + L": not inside the window");
    if (want.role == ROLE_SYSTEM_PUSHBUTTON) check(got.action == L"按下", where + L": default action " + got.action);
    if (want.role == ROLE_SYSTEM_CHECKBUTTON) check(got.action == L"取消选中", where + L": default action " + got.action);
    if (want.role == ROLE_SYSTEM_PROGRESSBAR)
      check(!got.value.empty() && got.value.back() == L'%', where + L": value " + got.value);
  }
  if (action != nullptr && failures == 0) {
    bool done = false;
    for (const Element& row : rows) {
      if (row.facts.name != action) continue;
      check(row.object->accDoDefaultAction(ChildSelf()) == S_OK, std::wstring(L"the default action of ") + action);
      done = true;
      break;
    }
    check(done, std::wstring(L"no element named ") + action);
  }
  ReleaseAll(rows);
  client->Release();
  return failures == 0 ? 0 : 1;
}

// Each event of the wizard's client area, with the name of the element it names.
void CALLBACK PrintEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_CLIENT) return;
  const struct {
    DWORD event;
    const wchar_t* word;
  } words[] = {{EVENT_OBJECT_SHOW, L"show"},           {EVENT_OBJECT_HIDE, L"hide"},
               {EVENT_OBJECT_FOCUS, L"focus"},         {EVENT_OBJECT_STATECHANGE, L"state"},
               {EVENT_OBJECT_NAMECHANGE, L"name"},     {EVENT_OBJECT_VALUECHANGE, L"value"}};
  for (const auto& word : words) {
    if (word.event != event) continue;
    IAccessible* source = nullptr;
    VARIANT id;
    ::VariantInit(&id);
    if (FAILED(::AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child), &source,
                                           &id)))
      return;
    BSTR name = nullptr;
    source->get_accName(id, &name);
    Print(std::wstring(L"event ") + word.word + L" | " + (name != nullptr ? name : L""));
    ::SysFreeString(name);
    source->Release();
  }
}

// Prints the events of the wizard's process until its window is gone, for at most the given time.
int PrintEvents(HWND window, DWORD milliseconds) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  HWINEVENTHOOK hook =
      ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, PrintEvent, process, 0,
                        WINEVENT_OUTOFCONTEXT);
  if (hook == nullptr) return Fail(L"no event hook");
  const DWORD start = ::GetTickCount();
  while (::IsWindow(window) && ::GetTickCount() - start < milliseconds) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  ::UnhookWinEvent(hook);
  return 0;
}

int PrintFocus(HWND window) {
  IAccessible* client = ClientObject(window);
  if (client == nullptr) return Fail(L"no client object");
  std::vector<Element> rows;
  Flatten(client, rows);
  std::wstring focused;
  for (const Element& row : rows)
    if ((row.facts.state & STATE_SYSTEM_FOCUSED) != 0) focused = row.facts.name;
  Print(focused);
  ReleaseAll(rows);
  client->Release();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  HWND window = nullptr;
  for (DWORD waited = 0; window == nullptr && waited < kPageWaitMs; waited += kPollMs) {
    window = FindWizard();
    if (window == nullptr) ::Sleep(kPollMs);
  }
  int code = 2;
  if (window != nullptr && std::wcscmp(argv[1], L"focus") == 0) {
    code = PrintFocus(window);
  } else if (window != nullptr && std::wcscmp(argv[1], L"events") == 0 && argc >= 3) {
    code = PrintEvents(window, static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
  } else if (window != nullptr && std::wcscmp(argv[1], L"page") == 0 && argc >= 3) {
    for (const Page& page : Pages())
      if (std::wcscmp(page.key, argv[2]) == 0) code = CheckPage(window, page, argc >= 4 ? argv[3] : nullptr);
  }
  ::CoUninitialize();
  return code;
}
