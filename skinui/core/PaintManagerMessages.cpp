// The window side of the paint manager: window messages become control events, focus and
// tab order, per-control timers, notifications, layout passes and double-buffered painting.

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <utility>

#include "CommonControlsLibrary.h"
#include "ControlUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {
namespace {

constexpr UINT kMsgAsyncNotify = WM_APP + 1;
constexpr UINT kReflectOffset = 0x2000;
constexpr UINT kNativeTimerRange = 240;
constexpr uint32_t kNoRootColor = 0xFF000000;
constexpr UINT kHitTestFlags = kFindVisible | kFindHitTest | kFindTopFirst;
constexpr UINT kTabFlags = kFindMeFirst | kFindVisible | kFindEnabled;
constexpr UINT kShortcutFlags = kFindMeFirst | kFindEnabled | kFindTopFirst;
constexpr UINT kUpdateFlags = kFindVisible | kFindMeFirst | kFindUpdateTest;
constexpr WORD kKeyStateLButton = 0x01;
constexpr WORD kKeyStateRButton = 0x02;
constexpr WORD kKeyStateShift = 0x04;
constexpr WORD kKeyStateControl = 0x08;
constexpr WORD kKeyStateAlt = 0x20;
constexpr LPARAM kPointOutside = -1;
constexpr int kTooltipOffset = 16;
constexpr COLORREF kUpdateRectColor = RGB(255, 0, 0);

WORD CurrentKeyState() {
  WORD state = 0;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= kKeyStateLButton;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= kKeyStateRButton;
  if (::GetKeyState(VK_SHIFT) < 0) state |= kKeyStateShift;
  if (::GetKeyState(VK_CONTROL) < 0) state |= kKeyStateControl;
  if (::GetKeyState(VK_MENU) < 0) state |= kKeyStateAlt;
  return state;
}

POINT PointFromLParam(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

CControlUI* FindFromPoint(CControlUI* control, void* data) {
  const POINT* point = static_cast<const POINT*>(data);
  return ::PtInRect(&control->GetPos(), *point) ? control : nullptr;
}

struct NameCollector {
  std::unordered_map<std::wstring, CControlUI*>* table;
};

CControlUI* EnterName(CControlUI* control, void* data) {
  auto* collector = static_cast<NameCollector*>(data);
  const std::wstring name = control->GetName();
  if (!name.empty()) collector->table->emplace(name, control);
  return nullptr;
}

CControlUI* CollectTabStops(CControlUI* control, void* data) {
  if ((control->GetFlags() & kFlagTabStop) != 0) static_cast<CPaintManagerUI::ControlList*>(data)->push_back(control);
  return nullptr;
}

// The tab stops in tree order, and the focused control in its place among them.
struct TabOrder {
  const CControlUI* focus;
  CPaintManagerUI::ControlList stops;
};

CControlUI* CollectTabOrder(CControlUI* control, void* data) {
  auto* order = static_cast<TabOrder*>(data);
  if ((control->GetFlags() & kFlagTabStop) != 0 || control == order->focus) order->stops.push_back(control);
  return nullptr;
}

// Topmost controls that asked for layout: a container answered here is not searched further.
CControlUI* CollectLayoutNeeded(CControlUI* control, void* data) {
  if (!control->IsUpdateNeeded()) return nullptr;
  static_cast<CPaintManagerUI::ControlList*>(data)->push_back(control);
  return control->GetInterface(L"IContainer") != nullptr ? control : nullptr;
}

struct ShortcutSearch {
  wchar_t key;
  bool passOn;
};

CControlUI* MatchShortcut(CControlUI* control, void* data) {
  auto* search = static_cast<ShortcutSearch*>(data);
  if (!control->IsVisible()) return nullptr;
  const bool isLabel = control->GetClassName() == L"LabelUI";
  if (search->passOn && !isLabel) return control;
  if (static_cast<wchar_t>(std::towupper(control->GetShortcut())) != search->key) return nullptr;
  if (isLabel) {
    search->passOn = true;
    return nullptr;
  }
  return control;
}

// False for a control detached from the tree (removed, waiting for its clean-up).
bool IsInTree(const CControlUI* control, const CControlUI* root) {
  if (control == nullptr || root == nullptr) return false;
  while (control->GetParent() != nullptr) control = control->GetParent();
  return control == root;
}

template <typename T>
bool AddUnique(std::vector<T*>& list, T* item) {
  if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

std::vector<CPaintManagerUI*>& CPaintManagerUI::Managers() {
  static std::vector<CPaintManagerUI*> managers;
  return managers;
}

CPaintManagerUI::WindowSideCleanup::~WindowSideCleanup() {
  CPaintManagerUI* self = owner;
  for (DeliveryFrame* frame = self->m_pDelivery; frame != nullptr; frame = frame->outer) frame->alive = false;
  RemoveItem(Managers(), self);
  self->RemoveAllTimers();
  if (self->m_hwndTooltip != nullptr && ::IsWindow(self->m_hwndTooltip)) ::DestroyWindow(self->m_hwndTooltip);
  self->m_hwndTooltip = nullptr;
  // The manager owns its root and the controls waiting for clean-up.
  CControlUI* root = std::exchange(self->m_pRoot, nullptr);
  delete root;
  while (!self->m_delayedCleanup.empty()) {
    ControlList pending;
    pending.swap(self->m_delayedCleanup);
    for (CControlUI* control : pending) delete control;
  }
  self->m_asyncNotify.clear();
  self->m_accessibleTree->Detach();
  if (self->m_hDcPaint != nullptr && self->m_hWndPaint != nullptr && ::IsWindow(self->m_hWndPaint))
    ::ReleaseDC(self->m_hWndPaint, self->m_hDcPaint);
  self->m_hDcPaint = nullptr;
}

void CPaintManagerUI::Init(HWND window, const wchar_t* name) {
  m_nameTable.clear();
  ResetResources();
  RemoveAllOptionGroups();
  RemoveAllTimers();
  m_name = name != nullptr ? name : L"";
  if (window != m_hWndPaint) {
    if (m_hDcPaint != nullptr && m_hWndPaint != nullptr && ::IsWindow(m_hWndPaint))
      ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = window;
    m_hDcPaint = window != nullptr ? ::GetDC(window) : nullptr;
    ReleaseBuffers();
    AddUnique(Managers(), this);
  }
  if (window != nullptr) {
    CDpiScaler* scaler = GetDpiScaler();
    scaler->SetAwareness(CDpiScaler::EnableProcessAwareness());
    scaler->SetDpi(CDpiScaler::GetWindowDpi(window));
  }
  m_bFocusCues = false;
}

bool CPaintManagerUI::AttachRoot(CControlUI* control) {
  if (control == nullptr) return false;
  SetFocus(nullptr);
  m_pKey = nullptr;
  m_pHover = nullptr;
  m_pClick = nullptr;
  if (m_pRoot != nullptr && m_pRoot != control) {
    m_postPaintControls.clear();
    AddDeferredCleanup(m_pRoot);
  }
  m_pRoot = control;
  m_bFirstLayout = true;
  m_bUpdateNeeded = true;
  m_bFocusNeeded = true;
  InitControls(control, nullptr);
  return true;
}

void CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
  if (control == nullptr) return;
  control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
  NameCollector collector{&m_nameTable};
  control->FindControl(EnterName, &collector, 0);
}

CControlUI* CPaintManagerUI::FindControl(const std::wstring& name) const {
  auto it = m_nameTable.find(name);
  return it != m_nameTable.end() ? it->second : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(POINT point) const {
  if (m_pRoot == nullptr) return nullptr;
  return m_pRoot->FindControl(FindFromPoint, &point, kHitTestFlags);
}

void CPaintManagerUI::ReleaseDeferredObjects(CControlUI* control) {
  if (control == nullptr) return;
  if (m_pKey == control) m_pKey = nullptr;
  if (m_pHover == control) m_pHover = nullptr;
  if (m_pClick == control) m_pClick = nullptr;
  if (m_pFocus == control) m_pFocus = nullptr;
  KillTimer(control);
  const std::wstring name = control->GetName();
  auto it = m_nameTable.find(name);
  if (it != m_nameTable.end() && it->second == control) m_nameTable.erase(it);
  for (auto& queued : m_asyncNotify)
    if (queued->Sender == control) queued->Sender = nullptr;
  for (TNotifyMsgUI* delivering : m_deliveringNotify)
    if (delivering->Sender == control) delivering->Sender = nullptr;
  RemoveItem(m_postPaintControls, control);
  RemoveItem(m_needMouseLeave, control);
  RemoveItem(m_delayedCleanup, control);
  for (auto& entry : m_nativeWindows)
    if (entry.control == control) entry.control = nullptr;
  m_accessibleTree->Forget(control);
}

bool CPaintManagerUI::HoldsControl(const CControlUI* control) const { return IsInTree(control, m_pRoot); }

bool CPaintManagerUI::AddNotifyListener(INotifyUI* notifier) { return AddUnique(m_notifiers, notifier); }
bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) { return RemoveItem(m_notifiers, notifier); }
bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) { return AddUnique(m_preMessageFilters, filter); }
bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) {
  return RemoveItem(m_preMessageFilters, filter);
}
bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) { return AddUnique(m_messageFilters, filter); }
bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveItem(m_messageFilters, filter); }
bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return AddUnique(m_translateAccelerators, accelerator);
}
bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return RemoveItem(m_translateAccelerators, accelerator);
}

bool CPaintManagerUI::AddPostPaint(CControlUI* control, int index) {
  if (control == nullptr || std::find(m_postPaintControls.begin(), m_postPaintControls.end(), control) !=
                                m_postPaintControls.end())
    return false;
  if (index < 0 || index >= static_cast<int>(m_postPaintControls.size()))
    m_postPaintControls.push_back(control);
  else
    m_postPaintControls.insert(m_postPaintControls.begin() + index, control);
  return true;
}
bool CPaintManagerUI::RemovePostPaint(CControlUI* control) { return RemoveItem(m_postPaintControls, control); }

bool CPaintManagerUI::AddNativeWindow(CControlUI* control, HWND child) {
  if (control == nullptr || child == nullptr) return false;
  for (const auto& entry : m_nativeWindows)
    if (entry.window == child) return false;
  m_nativeWindows.push_back(NativeWindowEntry{control, child});
  return true;
}

bool CPaintManagerUI::RemoveNativeWindow(HWND child) {
  for (auto it = m_nativeWindows.begin(); it != m_nativeWindows.end(); ++it) {
    if (it->window == child) {
      m_nativeWindows.erase(it);
      return true;
    }
  }
  return false;
}

bool CPaintManagerUI::AddMouseLeaveNeeded(CControlUI* control) { return AddUnique(m_needMouseLeave, control); }
bool CPaintManagerUI::RemoveMouseLeaveNeeded(CControlUI* control) { return RemoveItem(m_needMouseLeave, control); }

bool CPaintManagerUI::JoinOptionGroup(const std::wstring& group, CControlUI* option) {
  if (option == nullptr || group.empty()) return false;
  return AddUnique(m_optionGroups[group], option);
}

void CPaintManagerUI::LeaveOptionGroup(const std::wstring& group, CControlUI* option) {
  auto it = m_optionGroups.find(group);
  if (it == m_optionGroups.end()) return;
  RemoveItem(it->second, option);
  if (it->second.empty()) m_optionGroups.erase(it);
}

const CPaintManagerUI::ControlList* CPaintManagerUI::GetOptionGroup(const std::wstring& group) const {
  auto it = m_optionGroups.find(group);
  return it != m_optionGroups.end() ? &it->second : nullptr;
}

void CPaintManagerUI::RemoveAllOptionGroups() { m_optionGroups.clear(); }

void CPaintManagerUI::AddDeferredCleanup(CControlUI* control) {
  if (control == nullptr) return;
  control->SetManager(this, nullptr, false);
  AddUnique(m_delayedCleanup, control);
  PostAsyncMessage();
}

void CPaintManagerUI::PostAsyncMessage() {
  if (m_bAsyncNotifyPosted || m_hWndPaint == nullptr) return;
  m_bAsyncNotifyPosted = ::PostMessageW(m_hWndPaint, kMsgAsyncNotify, 0, 0) != FALSE;
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const std::wstring& type, WPARAM wParam, LPARAM lParam,
                                 bool async) {
  TNotifyMsgUI msg;
  msg.Sender = sender;
  msg.Type = type;
  msg.WParam = wParam;
  msg.LParam = lParam;
  SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(TNotifyMsgUI& msg, bool async) {
  msg.MousePoint = m_ptLastMousePos;
  msg.Timestamp = ::GetTickCount();
  if (m_bUsedVirtualWnd && msg.Sender != nullptr) msg.VirtualWnd = msg.Sender->GetVirtualWindow();
  if (async) {
    m_asyncNotify.push_back(std::make_unique<TNotifyMsgUI>(msg));
    PostAsyncMessage();
    return;
  }
  DeliverNotify(msg);
}

// A listener may destroy the sender: the record is watched while it is delivered, so the
// sender turns null for the listeners that follow. A listener may also destroy the window and
// with it this manager: then the delivery ends without touching a member again.
bool CPaintManagerUI::DeliverNotify(TNotifyMsgUI& msg) {
  DeliveryFrame frame{true, m_pDelivery};
  m_pDelivery = &frame;
  m_deliveringNotify.push_back(&msg);
  if (msg.Sender != nullptr && !msg.Sender->OnNotify.IsEmpty()) msg.Sender->OnNotify.Fire(&msg);
  for (size_t i = 0; frame.alive && i < m_notifiers.size(); ++i) m_notifiers[i]->Notify(msg);
  if (!frame.alive) return false;
  RemoveItem(m_deliveringNotify, &msg);
  m_pDelivery = frame.outer;
  return true;
}

void CPaintManagerUI::DrainAsyncNotifications() {
  while (!m_delayedCleanup.empty()) {
    ControlList pending;
    pending.swap(m_delayedCleanup);
    for (CControlUI* control : pending) delete control;
  }
  m_bAsyncNotifyPosted = false;
  while (!m_asyncNotify.empty()) {
    std::unique_ptr<TNotifyMsgUI> msg = std::move(m_asyncNotify.front());
    m_asyncNotify.erase(m_asyncNotify.begin());
    if (!DeliverNotify(*msg)) return;
  }
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  HWND focusWindow = ::GetFocus();
  if (focusWindow != m_hWndPaint && control != m_pFocus && m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
  if (control == m_pFocus) return;
  if (m_pFocus != nullptr) {
    CControlUI* old = m_pFocus;
    TControlEventUI event;
    event.Type = UIEvent::KillFocus;
    event.Sender = control;
    event.Timestamp = ::GetTickCount();
    event.MousePoint = m_ptLastMousePos;
    old->Event(event);
    if (m_pFocus == old) {
      SendNotify(old, kNotifyKillFocus);
      if (m_pFocus == old) m_pFocus = nullptr;
    }
  }
  if (control != nullptr && control->GetManager() == this && control->IsVisible() && control->IsEnabled()) {
    m_pFocus = control;
    SendEvent(control, UIEvent::SetFocus, 0, 0, 0);
    if (m_pFocus == control) NotifyAccessibleEvent(control, EVENT_OBJECT_FOCUS);
    if (m_pFocus == control) SendNotify(control, kNotifySetFocus);
  }
}

void CPaintManagerUI::RequestFocus(CControlUI* control) {
  if (m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
  if (control == nullptr) return;
  if (m_pFocus != nullptr) {
    CControlUI* old = m_pFocus;
    TControlEventUI event;
    event.Type = UIEvent::KillFocus;
    event.Sender = control;
    event.Timestamp = ::GetTickCount();
    event.MousePoint = m_ptLastMousePos;
    old->Event(event);
    if (m_pFocus == old) SendNotify(old, kNotifyKillFocus);
    m_pFocus = nullptr;
  }
  if (m_pRoot != nullptr) {
    ControlList stops;
    m_pRoot->FindControl(CollectTabStops, &stops, kTabFlags);
    m_pFocus = stops.empty() ? nullptr : stops.front();
  }
  m_bFocusNeeded = true;
  if (m_pRoot != nullptr) m_pRoot->NeedLayout();
}

bool CPaintManagerUI::MoveTabFocus(bool forward) {
  if (m_bUpdateNeeded && forward) {
    m_bFocusNeeded = true;
    Invalidate();
    return true;
  }
  TabOrder order{m_pFocus, {}};
  if (m_pRoot != nullptr) m_pRoot->FindControl(CollectTabOrder, &order, kTabFlags);
  ControlList& stops = order.stops;
  const bool focusIsStop = m_pFocus != nullptr && (m_pFocus->GetFlags() & kFlagTabStop) != 0;
  if (stops.empty() || (stops.size() == 1 && stops.front() == m_pFocus && !focusIsStop)) {
    m_bFocusNeeded = false;
    return true;
  }
  auto current = std::find(stops.begin(), stops.end(), m_pFocus);
  CControlUI* next = nullptr;
  if (forward) {
    next = (current == stops.end() || current + 1 == stops.end()) ? stops.front() : *(current + 1);
  } else {
    next = (current == stops.end() || current == stops.begin()) ? stops.back() : *(current - 1);
  }
  SetFocus(next);
  m_bFocusNeeded = false;
  return true;
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT timerId, UINT elapse) {
  if (control == nullptr || m_hWndPaint == nullptr) return false;
  for (TimerInfo& timer : m_timers) {
    if (timer.owner == control && timer.window == m_hWndPaint && timer.localId == timerId) {
      if (!timer.killed) return false;
      if (::SetTimer(m_hWndPaint, timer.nativeId, elapse, nullptr) == 0) return false;
      timer.killed = false;
      return true;
    }
  }
  // Native ids cycle below 240; one still held by another record (or 0) is passed over, so
  // two timers never share a native timer.
  UINT nativeId = m_uTimerId;
  for (UINT tries = 0; tries < kNativeTimerRange; ++tries) {
    nativeId = (nativeId + 1) % kNativeTimerRange;
    const bool taken = nativeId == 0 || std::any_of(m_timers.begin(), m_timers.end(), [&](const TimerInfo& t) {
                         return t.window == m_hWndPaint && t.nativeId == nativeId;
                       });
    if (!taken) break;
    if (tries + 1 == kNativeTimerRange) return false;
  }
  m_uTimerId = nativeId;
  if (::SetTimer(m_hWndPaint, nativeId, elapse, nullptr) == 0) return false;
  m_timers.push_back(TimerInfo{control, timerId, m_hWndPaint, nativeId, false});
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT timerId) {
  for (TimerInfo& timer : m_timers) {
    if (timer.owner == control && timer.window == m_hWndPaint && timer.localId == timerId && !timer.killed) {
      if (::IsWindow(m_hWndPaint)) ::KillTimer(timer.window, timer.nativeId);
      timer.killed = true;
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    if (it->owner == control && it->window == m_hWndPaint) {
      if (!it->killed && ::IsWindow(it->window)) ::KillTimer(it->window, it->nativeId);
      it = m_timers.erase(it);
    } else {
      ++it;
    }
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (const TimerInfo& timer : m_timers)
    if (!timer.killed && timer.window != nullptr && ::IsWindow(timer.window)) ::KillTimer(timer.window, timer.nativeId);
  m_timers.clear();
}

void CPaintManagerUI::SetCapture() {
  ::SetCapture(m_hWndPaint);
  m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
  m_bMouseCapture = false;
  ::ReleaseCapture();
}

void CPaintManagerUI::Invalidate() {
  if (m_hWndPaint == nullptr) return;
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  Invalidate(client);
}

void CPaintManagerUI::Invalidate(const RECT& rect) {
  if (m_hWndPaint == nullptr) return;
  RECT area = rect;
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::max(area.right, area.left);
  area.bottom = std::max(area.bottom, area.top);
  // Controls not laid out yet (the whole tree while a skin is built) invalidate empty rectangles,
  // each a round trip to the Wine server.
  if (::IsRectEmpty(&area)) return;
  RECT merged = {};
  ::UnionRect(&merged, &m_rcLayeredUpdate, &area);
  m_rcLayeredUpdate = merged;
  ::InvalidateRect(m_hWndPaint, &area, FALSE);
}

void CPaintManagerUI::SetLayered(bool layered) {
  if (layered == m_bLayered || m_hWndPaint == nullptr) return;
  if ((::GetWindowLongW(m_hWndPaint, GWL_STYLE) & WS_CHILD) != 0) return;
  m_bLayered = layered;
  // Off, and on as well: UpdateLayeredWindow refuses a window whose layering was set up by
  // SetLayeredWindowAttributes ("opacity"), so the style is dropped and the paint sets it again;
  // the opacity then goes into every UpdateLayeredWindow.
  const LONG exStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
  if ((exStyle & WS_EX_LAYERED) != 0) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
  if (m_pRoot != nullptr) m_pRoot->NeedLayout();
  Invalidate();
}

void CPaintManagerUI::SetLayeredInset(const RECT& inset) {
  m_rcLayeredInset = inset;
  m_bLayeredChanged = true;
  Invalidate();
}

void CPaintManagerUI::SetLayeredImage(const std::wstring& descriptor) {
  m_layeredImage = descriptor;
  if (!descriptor.empty()) GetParsedDescriptor(descriptor, L"");
  m_bLayeredChanged = true;
  Invalidate();
}

void CPaintManagerUI::SetOpacity(BYTE opacity) {
  m_nOpacity = opacity;
  m_bLayeredChanged = true;
  Invalidate();
}

void CPaintManagerUI::SetTransparent(int opacity) {
  if (m_hWndPaint == nullptr) return;
  m_nOpacity = static_cast<BYTE>(std::clamp(opacity, 0, 255));
  if (m_bLayered) {
    m_bLayeredChanged = true;
    Invalidate();
    return;
  }
  const LONG exStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
  ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWndPaint, 0, m_nOpacity, LWA_ALPHA);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindowSize = {cx, cy};
  if (m_pRoot == nullptr && m_hWndPaint != nullptr)
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool CPaintManagerUI::OwnsControl(const CControlUI* control) const {
  return control != nullptr && control->GetManager() == this;
}

void CPaintManagerUI::SendEvent(CControlUI* control, int type, WPARAM wParam, LPARAM lParam, WORD keyState,
                                WCHAR key) {
  if (control == nullptr) return;
  TControlEventUI event;
  event.Type = static_cast<uint32_t>(type);
  event.Sender = control;
  event.Timestamp = ::GetTickCount();
  event.MousePoint = m_ptLastMousePos;
  event.Key = key;
  event.KeyState = keyState;
  event.WParam = wParam;
  event.LParam = lParam;
  control->Event(event);
}

void CPaintManagerUI::ShowTooltip(CControlUI* control) {
  m_toolTipText = control->GetToolTip();
  if (m_toolTipText.empty()) return;
  m_toolTip = {};
  m_toolTip.cbSize = sizeof(TOOLINFOW);
  m_toolTip.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  m_toolTip.hwnd = m_hWndPaint;
  m_toolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
  m_toolTip.hinst = ::GetModuleHandleW(nullptr);
  m_toolTip.lpszText = &m_toolTipText[0];
  m_toolTip.rect = control->GetPos();
  if (m_hwndTooltip == nullptr) {
    CCommonControlsLibrary::Get();  // registers the tooltip class
    m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                      nullptr, m_toolTip.hinst, nullptr);
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolTip));
  }
  ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
  if (!::IsWindowVisible(m_hwndTooltip)) {
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_toolTip));
    POINT at = {m_ptLastMousePos.x, m_ptLastMousePos.y + kTooltipOffset};
    ::ClientToScreen(m_hWndPaint, &at);
    ::SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolTip));
  }
}

void CPaintManagerUI::HideTooltip() {
  if (m_hwndTooltip != nullptr)
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolTip));
}

void CPaintManagerUI::ReleaseBuffers() {
  m_hbmpOffscreen.reset();
  m_hDcOffscreen.reset();
  m_hbmpBackground.reset();
  m_hDcBackground.reset();
  m_pOffscreenBits = nullptr;
  m_pBackgroundBits = nullptr;
  m_szOffscreen = {};
}

bool CPaintManagerUI::TranslateUIMessage(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr) return false;
  // A filter may destroy a window and its manager: each one is checked before it is used.
  const std::vector<CPaintManagerUI*> snapshot = Managers();
  auto alive = [](CPaintManagerUI* manager) {
    const auto& managers = Managers();
    return std::find(managers.begin(), managers.end(), manager) != managers.end();
  };
  auto translated = [](CPaintManagerUI* manager, const MSG* m) {
    for (size_t i = 0; i < manager->m_translateAccelerators.size(); ++i)
      if (manager->m_translateAccelerators[i]->TranslateAccelerator(const_cast<MSG*>(m)) == 0) return true;
    return false;
  };
  const bool isChild = (::GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
  if (isChild) {
    HWND parent = ::GetParent(msg->hwnd);
    for (CPaintManagerUI* manager : snapshot) {
      for (HWND walk = parent; walk != nullptr && alive(manager); walk = ::GetParent(walk)) {
        if (msg->hwnd == manager->m_hWndPaint || walk == manager->m_hWndPaint) {
          if (translated(manager, msg)) return true;
          LRESULT ignored = 0;
          manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, ignored);
        }
      }
    }
    return false;
  }
  for (CPaintManagerUI* manager : snapshot) {
    if (!alive(manager) || manager->m_hWndPaint != msg->hwnd) continue;
    if (translated(manager, msg)) return true;
    LRESULT result = 0;
    if (manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result)) return true;
    return false;
  }
  return false;
}

int CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  for (;;) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (!TranslateUIMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

bool CPaintManagerUI::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  for (size_t i = 0; i < m_preMessageFilters.size(); ++i) {
    bool handled = false;
    const LRESULT answer = m_preMessageFilters[i]->MessageHandler(message, wParam, lParam, handled);
    if (handled) {
      result = answer;
      return true;
    }
  }
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        ShowFocusCues();
        MoveTabFocus(::GetKeyState(VK_SHIFT) >= 0);
        return true;
      }
      break;
    case WM_SYSKEYDOWN:
      if (m_pFocus != nullptr) SendEvent(m_pFocus, UIEvent::SysKey, wParam, lParam, CurrentKeyState(),
                                         static_cast<WCHAR>(wParam));
      break;
    case WM_SYSCHAR: {
      if (m_pRoot == nullptr) break;
      ShortcutSearch search{static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wParam))), false};
      CControlUI* control = m_pRoot->FindControl(MatchShortcut, &search, kShortcutFlags);
      if (control != nullptr) {
        SetFocus(control);
        control->Activate();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return false;
}

bool CPaintManagerUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (m_hWndPaint == nullptr) return false;
  for (size_t i = 0; i < m_messageFilters.size(); ++i) {
    bool handled = false;
    const LRESULT answer = m_messageFilters[i]->MessageHandler(message, wParam, lParam, handled);
    if (!handled) continue;
    switch (message) {
      case WM_CONTEXTMENU:
      case WM_MOUSEWHEEL: {
        POINT point = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &point);
        m_ptLastMousePos = point;
        break;
      }
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_LBUTTONUP:
        m_ptLastMousePos = PointFromLParam(lParam);
        break;
      default:
        break;
    }
    result = answer;
    return true;
  }

  if (m_bLayered) {
    switch (message) {
      case WM_NCCALCSIZE:
      case WM_NCPAINT:
        result = 0;
        return true;
      case WM_NCACTIVATE:
        if (!::IsIconic(m_hWndPaint)) {
          result = wParam == 0 ? TRUE : FALSE;
          return true;
        }
        break;
      default:
        break;
    }
  }

  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child == nullptr) break;
      const LRESULT answer = ::SendMessageW(child, message + kReflectOffset, wParam, lParam);
      if (answer != 0) {
        result = answer;
        return true;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr || header->hwndFrom == nullptr) break;
      result = ::SendMessageW(header->hwndFrom, message + kReflectOffset, wParam, lParam);
      return true;
    }
    case WM_PAINT:
      OnPaint();
      result = 0;
      return true;
    case WM_PRINTCLIENT: {
      if (m_pRoot == nullptr) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client = {};
      ::GetClientRect(m_hWndPaint, &client);
      const int saved = ::SaveDC(dc);
      m_pRoot->Paint(dc, client, nullptr);
      ::RestoreDC(dc, saved);
      if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
          RECT rect = {};
          ::GetWindowRect(child, &rect);
          ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rect), 2);
          POINT origin = {};
          ::OffsetViewportOrgEx(dc, rect.left, rect.top, &origin);
          ::SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
          ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        }
      }
      break;
    }
    case WM_SIZE:
      if (m_pFocus != nullptr) SendEvent(m_pFocus, UIEvent::WindowSize, wParam, lParam, CurrentKeyState());
      if (m_pRoot != nullptr) m_pRoot->NeedLayout();
      result = 0;
      return true;
    case WM_SETFOCUS:
      if (m_pFocus != nullptr) SendEvent(m_pFocus, UIEvent::SetFocus, wParam, lParam, CurrentKeyState());
      break;
    case WM_KILLFOCUS:
      if (m_bMouseCapture) ReleaseCapture();
      break;
    case WM_CLOSE: {
      if (m_pHover != nullptr) SendEvent(m_pHover, UIEvent::MouseLeave, wParam, lParam, CurrentKeyState());
      m_pHover = nullptr;
      if (m_pClick != nullptr) {
        CControlUI* click = std::exchange(m_pClick, nullptr);
        if (m_bMouseCapture) ReleaseCapture();
        SendEvent(click, UIEvent::ButtonUp, wParam, lParam, CurrentKeyState());
      }
      SetFocus(nullptr);
      if (::GetActiveWindow() == m_hWndPaint) {
        HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (owner != nullptr) ::SetFocus(owner);
      }
      if (m_hwndTooltip != nullptr) {
        ::DestroyWindow(m_hwndTooltip);
        m_hwndTooltip = nullptr;
      }
      break;
    }
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SETCURSOR: {
      if (m_pRoot == nullptr || LOWORD(lParam) != HTCLIENT) break;
      if (m_bMouseCapture) {
        result = TRUE;
        return true;
      }
      POINT point = {};
      ::GetCursorPos(&point);
      ::ScreenToClient(m_hWndPaint, &point);
      CControlUI* control = FindControl(point);
      if (control == nullptr || (control->GetFlags() & kFlagSetCursor) == 0) break;
      SendEvent(control, UIEvent::SetCursor, wParam, lParam, CurrentKeyState());
      result = TRUE;
      return true;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (info == nullptr) break;
      if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
      if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
      if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = m_szMaxWindow.cx;
      if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = m_szMaxWindow.cy;
      break;
    }
    case WM_KEYDOWN:
      if (m_pRoot != nullptr && m_pFocus != nullptr) {
        m_pKey = m_pFocus;
        SendEvent(m_pFocus, UIEvent::KeyDown, wParam, lParam, CurrentKeyState(), static_cast<WCHAR>(wParam));
      }
      break;
    case WM_KEYUP:
      if (m_pKey != nullptr) {
        CControlUI* key = std::exchange(m_pKey, nullptr);
        SendEvent(key, UIEvent::KeyUp, wParam, lParam, CurrentKeyState(), static_cast<WCHAR>(wParam));
      }
      break;
    case WM_CHAR:
      if (m_pRoot != nullptr && m_pFocus != nullptr)
        SendEvent(m_pFocus, UIEvent::Char, wParam, lParam, CurrentKeyState(), static_cast<WCHAR>(wParam));
      break;
    case WM_TIMER:
      for (const TimerInfo& timer : m_timers) {
        if (timer.window == m_hWndPaint && timer.nativeId == LOWORD(wParam) && !timer.killed) {
          SendEvent(timer.owner, UIEvent::Timer, timer.localId, lParam, CurrentKeyState());
          break;
        }
      }
      break;
    case kMsgAsyncNotify:
      DrainAsyncNotifications();
      break;
    case kMsgDefaultAction:
      RunDefaultAction(static_cast<LONG>(wParam));
      result = 0;
      return true;
    case WM_GETOBJECT:
      result = AnswerGetObject(wParam, lParam);
      return result != 0;
    default:
      return HandleMouseMessage(message, wParam, lParam, result);
  }
  return false;
}

bool CPaintManagerUI::HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!m_bMouseTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWndPaint;
        track.dwHoverTime = m_hwndTooltip != nullptr
                                ? static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                                : m_uHoverTime;
        ::TrackMouseEvent(&track);
        m_bMouseTracking = true;
      }
      m_ptLastMousePos = PointFromLParam(lParam);
      CControlUI* control = FindControl(m_ptLastMousePos);
      if (control != nullptr && control->GetManager() != this) break;
      if (!m_bMouseCapture) {
        if (control != m_pHover && m_pHover != nullptr) {
          for (size_t i = 0; i < m_needMouseLeave.size(); ++i)
            SendEvent(m_needMouseLeave[i], UIEvent::MouseLeave, wParam, lParam, CurrentKeyState());
          CControlUI* left = std::exchange(m_pHover, nullptr);
          SendEvent(left, UIEvent::MouseLeave, wParam, lParam, CurrentKeyState());
          HideTooltip();
          // The leave may have removed the control under the mouse.
          control = FindControl(m_ptLastMousePos);
        }
        if (control != m_pHover && control != nullptr) {
          m_pHover = control;
          SendEvent(control, UIEvent::MouseEnter, wParam, lParam, CurrentKeyState());
          if (m_pHover != control) break;
        }
      }
      if (m_pClick != nullptr)
        SendEvent(m_pClick, UIEvent::MouseMove, wParam, lParam, CurrentKeyState());
      else if (control != nullptr)
        SendEvent(control, UIEvent::MouseMove, wParam, lParam, CurrentKeyState());
      break;
    }
    case WM_LBUTTONDOWN: {
      if (!m_bNoActivate) ::SetFocus(m_hWndPaint);
      if (m_pRoot == nullptr) break;
      m_ptLastMousePos = PointFromLParam(lParam);
      CControlUI* control = FindControl(m_ptLastMousePos);
      if (!OwnsControl(control)) break;
      SetCapture();
      m_pClick = control;
      SetFocus(control);
      // A focus listener may have removed the control: then the press goes nowhere.
      if (m_pClick != control || !IsInTree(control, m_pRoot)) {
        if (m_pClick == control) m_pClick = nullptr;
        ReleaseCapture();
        break;
      }
      SendEvent(control, UIEvent::ButtonDown, wParam, lParam, static_cast<WORD>(wParam));
      break;
    }
    case WM_LBUTTONUP: {
      m_ptLastMousePos = PointFromLParam(lParam);
      if (m_pClick == nullptr) break;
      ReleaseCapture();
      CControlUI* click = std::exchange(m_pClick, nullptr);
      SendEvent(click, UIEvent::ButtonUp, wParam, lParam, static_cast<WORD>(wParam));
      break;
    }
    case WM_LBUTTONDBLCLK: {
      if (!m_bNoActivate) ::SetFocus(m_hWndPaint);
      m_ptLastMousePos = PointFromLParam(lParam);
      CControlUI* control = FindControl(m_ptLastMousePos);
      if (!OwnsControl(control)) break;
      SetCapture();
      m_pClick = control;
      SendEvent(control, UIEvent::DoubleClick, wParam, lParam, static_cast<WORD>(wParam));
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (!m_bNoActivate) ::SetFocus(m_hWndPaint);
      m_ptLastMousePos = PointFromLParam(lParam);
      CControlUI* control = FindControl(m_ptLastMousePos);
      if (!OwnsControl(control)) break;
      SetFocus(control);
      SetCapture();
      m_pClick = control;
      SendEvent(control, message == WM_RBUTTONDOWN ? UIEvent::RButtonDown : UIEvent::MButtonDown, wParam, lParam,
                static_cast<WORD>(wParam));
      break;
    }
    case WM_RBUTTONUP: {
      if (m_bMouseCapture) ReleaseCapture();
      m_ptLastMousePos = PointFromLParam(lParam);
      // Stays the click control until the context menu that follows has been delivered.
      CControlUI* control = FindControl(m_ptLastMousePos);
      m_pClick = OwnsControl(control) ? control : nullptr;
      if (m_pClick != nullptr) SendEvent(m_pClick, UIEvent::RButtonUp, wParam, lParam, static_cast<WORD>(wParam));
      break;
    }
    case WM_MBUTTONUP: {
      if (m_bMouseCapture) ReleaseCapture();
      m_ptLastMousePos = PointFromLParam(lParam);
      // No context menu follows: nothing keeps the control as click control afterwards.
      m_pClick = nullptr;
      CControlUI* control = FindControl(m_ptLastMousePos);
      if (OwnsControl(control)) SendEvent(control, UIEvent::MButtonUp, wParam, lParam, static_cast<WORD>(wParam));
      break;
    }
    case WM_CONTEXTMENU: {
      if (m_pRoot == nullptr) break;
      POINT point = PointFromLParam(lParam);
      ::ScreenToClient(m_hWndPaint, &point);
      m_ptLastMousePos = point;
      if (m_pClick == nullptr) break;
      ReleaseCapture();
      CControlUI* click = std::exchange(m_pClick, nullptr);
      SendEvent(click, UIEvent::ContextMenu, wParam, reinterpret_cast<LPARAM>(click), CurrentKeyState());
      break;
    }
    case WM_MOUSEWHEEL: {
      if (m_pRoot == nullptr) break;
      POINT point = PointFromLParam(lParam);
      ::ScreenToClient(m_hWndPaint, &point);
      m_ptLastMousePos = point;
      CControlUI* control = FindControl(point);
      if (!OwnsControl(control)) break;
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      const WPARAM direction = MAKEWPARAM(delta < 0 ? 1 : 0, HIWORD(wParam));
      SendEvent(control, UIEvent::ScrollWheel, direction, lParam, CurrentKeyState());
      ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
      break;
    }
    case WM_MOUSEHOVER: {
      m_bMouseTracking = false;
      POINT point = PointFromLParam(lParam);
      CControlUI* control = FindControl(point);
      if (control == nullptr) break;
      if (m_pHover != nullptr) SendEvent(m_pHover, UIEvent::MouseHover, wParam, lParam, CurrentKeyState());
      if (OwnsControl(control)) ShowTooltip(control);
      result = 0;
      return true;
    }
    case WM_MOUSELEAVE: {
      HideTooltip();
      if (m_bMouseTracking) {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        RECT window = {};
        ::GetWindowRect(m_hWndPaint, &window);
        const bool inside = !::IsIconic(m_hWndPaint) && ::GetActiveWindow() == m_hWndPaint &&
                            ::PtInRect(&window, cursor) &&
                            ::SendMessageW(m_hWndPaint, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)) == HTCLIENT;
        if (inside) {
          ::ScreenToClient(m_hWndPaint, &cursor);
          ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
        } else {
          ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, kPointOutside);
        }
      }
      m_bMouseTracking = false;
      break;
    }
    default:
      break;
  }
  return false;
}

void CPaintManagerUI::OnPaint() {
  if (m_pRoot == nullptr) {
    PAINTSTRUCT ps = {};
    HDC dc = ::BeginPaint(m_hWndPaint, &ps);
    CSkinRender::DrawColor(dc, ps.rcPaint, kNoRootColor);
    ::EndPaint(m_hWndPaint, &ps);
    return;
  }
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  RECT update = {};
  if (!::GetUpdateRect(m_hWndPaint, &update, FALSE)) return;
  if (m_bFocusNeeded) MoveTabFocus(true);
  m_bIsPainting = true;
  bool laidOut = false;
  RECT layoutRect = client;
  if (m_bLayered) {
    layoutRect.left += m_rcLayeredInset.left;
    layoutRect.top += m_rcLayeredInset.top;
    layoutRect.right -= m_rcLayeredInset.right;
    layoutRect.bottom -= m_rcLayeredInset.bottom;
  }
  if (m_bUpdateNeeded) {
    m_bUpdateNeeded = false;
    if (!::IsRectEmpty(&client) && !::IsIconic(m_hWndPaint)) {
      if (m_pRoot->IsUpdateNeeded()) {
        ReleaseBuffers();
        m_pRoot->SetPos(layoutRect, true);
      } else {
        ControlList pending;
        m_pRoot->FindControl(CollectLayoutNeeded, &pending, kUpdateFlags);
        for (CControlUI* control : pending) control->SetPos(control->GetPos(), true);
      }
      if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, kNotifyWindowInit, 0, 0, false);
        if (m_pRoot == nullptr) {
          m_bIsPainting = false;
          ::ValidateRect(m_hWndPaint, nullptr);
          return;
        }
        if (m_bLayered && m_bLayeredChanged) {
          Invalidate();
          m_bIsPainting = false;
          return;
        }
      }
      laidOut = true;
    }
  } else if (m_bLayered && m_bLayeredChanged) {
    if (m_pOffscreenBits != nullptr)
      std::fill(m_pOffscreenBits, m_pOffscreenBits + m_szOffscreen.cx * m_szOffscreen.cy, 0u);
    m_pRoot->SetPos(layoutRect, true);
  }

  // A tab move asked for while a layout was pending would be lost with the invalidation that
  // BeginPaint below validates: it is made now that the tree is laid out.
  if (m_bFocusNeeded && !m_bUpdateNeeded) MoveTabFocus(true);

  RECT paint = update;
  if (m_bLayered) {
    const LONG exStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    m_bOffscreenPaint = true;
    RECT merged = {};
    ::UnionRect(&merged, &paint, &m_rcLayeredUpdate);
    ::IntersectRect(&paint, &merged, &client);
  }
  m_rcLayeredUpdate = {};

  PAINTSTRUCT ps = {};
  HDC windowDc = ::BeginPaint(m_hWndPaint, &ps);
  if (!m_bLayered) paint = ps.rcPaint;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (m_bOffscreenPaint && width > 0 && height > 0) {
    if (!m_hDcOffscreen || m_szOffscreen.cx != width || m_szOffscreen.cy != height) {
      ReleaseBuffers();
      m_hDcOffscreen.reset(::CreateCompatibleDC(m_hDcPaint));
      m_hbmpOffscreen.reset(CreateTopDownDib(m_hDcPaint, width, height, &m_pOffscreenBits));
      m_szOffscreen = {width, height};
    }
    if (m_hDcOffscreen && m_hbmpOffscreen) {
      HDC memoryDc = m_hDcOffscreen.get();
      {
        CSelectObjectGuard select(memoryDc, m_hbmpOffscreen.get());
        const int saved = ::SaveDC(memoryDc);
        if (m_bLayered) {
          for (LONG y = paint.top; y < paint.bottom; ++y)
            std::fill(m_pOffscreenBits + y * width + paint.left, m_pOffscreenBits + y * width + paint.right, 0u);
        }
        m_pRoot->Paint(memoryDc, paint, nullptr);
        if (m_bLayered) ComposeNativeWindows(memoryDc, paint);
        for (size_t i = 0; i < m_postPaintControls.size(); ++i) m_postPaintControls[i]->PaintOverlay(memoryDc, paint);
        PaintFocusRing(memoryDc, paint);
        ::RestoreDC(memoryDc, saved);
        ::GdiFlush();
        if (m_bLayered) {
          PaintLayered(paint, client);
        } else {
          ::BitBlt(windowDc, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top, memoryDc,
                   paint.left, paint.top, SRCCOPY);
        }
      }
      if (m_bShowUpdateRect && !m_bLayered) {
        unique_hbrush brush(::CreateSolidBrush(kUpdateRectColor));
        ::FrameRect(windowDc, &paint, brush.get());
      }
    }
  } else if (!m_bOffscreenPaint) {
    const int saved = ::SaveDC(windowDc);
    m_pRoot->Paint(windowDc, paint, nullptr);
    for (size_t i = 0; i < m_postPaintControls.size(); ++i) m_postPaintControls[i]->PaintOverlay(windowDc, paint);
    PaintFocusRing(windowDc, paint);
    ::RestoreDC(windowDc, saved);
  }
  ::EndPaint(m_hWndPaint, &ps);
  m_bIsPainting = false;
  m_bLayeredChanged = false;
  if (m_bUpdateNeeded) Invalidate();
  if (laidOut && m_pRoot != nullptr) SendNotify(m_pRoot, kNotifyWindowSize, 0, 0, true);
}

void CPaintManagerUI::ComposeNativeWindows(HDC dc, const RECT& paint) {
  for (auto it = m_nativeWindows.begin(); it != m_nativeWindows.end();) {
    HWND child = it->window;
    if (!::IsWindow(child)) {
      it = m_nativeWindows.erase(it);
      continue;
    }
    ++it;
    if (!::IsWindowVisible(child)) continue;
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rect), 2);
    RECT overlap = {};
    if (!::IntersectRect(&overlap, &rect, &paint)) continue;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    unique_memory_dc childDc(::CreateCompatibleDC(m_hDcPaint));
    uint32_t* bits = nullptr;
    unique_hbitmap bitmap(CreateTopDownDib(m_hDcPaint, width, height, &bits));
    if (!childDc || !bitmap || bits == nullptr) continue;
    CSelectObjectGuard select(childDc.get(), bitmap.get());
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(childDc.get()),
                   PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_NONCLIENT | PRF_OWNED);
    ::GdiFlush();
    for (int i = 0; i < width * height; ++i)
      if (bits[i] != 0) bits[i] |= 0xFF000000u;
    ::BitBlt(dc, rect.left, rect.top, width, height, childDc.get(), 0, 0, SRCCOPY);
  }
}

void CPaintManagerUI::PaintLayered(const RECT& paint, const RECT& client) {
  const int width = m_szOffscreen.cx;
  const int height = m_szOffscreen.cy;
  if (m_layeredImage.empty()) {
    for (LONG y = paint.top; y < paint.bottom; ++y) {
      uint32_t* row = m_pOffscreenBits + y * width;
      for (LONG x = paint.left; x < paint.right; ++x)
        if ((row[x] & 0xFF000000u) == 0 && (row[x] & 0x00FFFFFFu) != 0) row[x] |= 0xFF000000u;
    }
  } else {
    if (!m_hDcBackground) {
      m_hDcBackground.reset(::CreateCompatibleDC(m_hDcPaint));
      m_hbmpBackground.reset(CreateTopDownDib(m_hDcPaint, width, height, &m_pBackgroundBits));
    }
    if (m_hDcBackground && m_hbmpBackground && m_pBackgroundBits != nullptr) {
      std::fill(m_pBackgroundBits, m_pBackgroundBits + width * height, 0u);
      RECT item = client;
      item.left += m_rcLayeredInset.left;
      item.top += m_rcLayeredInset.top;
      item.right -= m_rcLayeredInset.right;
      item.bottom -= m_rcLayeredInset.bottom;
      {
        CSelectObjectGuard select(m_hDcBackground.get(), m_hbmpBackground.get());
        CSkinRender::DrawImageDescriptor(m_hDcBackground.get(), this, item, client, m_layeredImage);
      }
      ::GdiFlush();
      for (LONG y = paint.top; y < paint.bottom; ++y) {
        uint32_t* row = m_pOffscreenBits + y * width;
        const uint32_t* back = m_pBackgroundBits + y * width;
        for (LONG x = paint.left; x < paint.right; ++x) {
          const uint32_t a = back[x] >> 24;
          const uint32_t p = row[x];
          const uint32_t b = (p & 0xFF) * a / 255;
          const uint32_t g = ((p >> 8) & 0xFF) * a / 255;
          const uint32_t r = ((p >> 16) & 0xFF) * a / 255;
          row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
      }
    }
  }
  RECT window = {};
  ::GetWindowRect(m_hWndPaint, &window);
  POINT position = {window.left, window.top};
  SIZE size = {window.right - window.left, window.bottom - window.top};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_nOpacity, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(m_hWndPaint, nullptr, &position, &size, m_hDcOffscreen.get(), &source, 0, &blend, ULW_ALPHA);
}

}  // namespace SkinUI
