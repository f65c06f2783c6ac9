#include "ZKObjectWnd.h"

namespace {

constexpr int kMonitorTableSize = 64;
constexpr int kMonitorsStored = 63;

struct MonitorEntry {
  HMONITOR handle;
  wchar_t deviceName[CCHDEVICENAME];
  RECT enumerated;
  RECT monitor;
  RECT workArea;
  bool primary;
};

struct MonitorTable {
  int count = 0;
  MonitorEntry entries[kMonitorTableSize] = {};
  MonitorEntry* primary = nullptr;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
  auto* table = reinterpret_cast<MonitorTable*>(data);
  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);  // 104 bytes
  GetMonitorInfoW(monitor, &info);
  if (table->count >= kMonitorsStored) return FALSE;
  MonitorEntry& entry = table->entries[table->count];
  entry.handle = monitor;
  lstrcpynW(entry.deviceName, info.szDevice, CCHDEVICENAME);
  if (rect != nullptr) entry.enumerated = *rect;
  entry.monitor = info.rcMonitor;
  entry.workArea = info.rcWork;
  entry.primary = info.dwFlags == MONITORINFOF_PRIMARY;
  if (entry.primary) table->primary = &entry;
  ++table->count;
  return TRUE;
}

bool IsEmpty(const RECT& rect) { return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0; }

}  // namespace

SKINUI_BEGIN_NOTIFY_MAP(CZKObjectWnd, SkinUI::WindowImplBase)
SKINUI_END_NOTIFY_MAP()

LRESULT CZKObjectWnd::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_TIMER) OnTimerMessage(message, wParam, lParam, handled);
  return WindowImplBase::HandleOtherMessage(message, wParam, lParam, handled);
}

BOOL CZKObjectWnd::CenterOnMonitor(const RECT& bounds, POINT offset) {
  RECT window = {};
  GetWindowRect(GetHWND(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HWND owner = GetWindow(GetHWND(), GW_OWNER);

  MonitorTable table;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&table));

  RECT reference = {};
  if (!IsEmpty(bounds)) {
    reference = bounds;
  } else if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
    RECT ownerRect = {};
    GetWindowRect(owner, &ownerRect);
    reference.left = ownerRect.left;
    reference.right = ownerRect.right;
    if (table.primary != nullptr) {
      reference.top = table.primary->enumerated.top;
      reference.bottom = table.primary->enumerated.bottom;
    }
  } else if (table.primary != nullptr) {
    reference = table.primary->enumerated;
  }

  int x = offset.x + (reference.left + reference.right) / 2 - width / 2;
  int y = offset.y + (reference.top + reference.bottom) / 2 - height / 2;
  if (!IsEmpty(bounds)) {
    if (x < bounds.left) {
      x = bounds.left;
    } else if (x + width > bounds.right) {
      x = bounds.right - width;
    }
    if (y < bounds.top) {
      y = bounds.top;
    } else if (y + height > bounds.bottom) {
      y = bounds.bottom - height;
    }
  }
  return SetWindowPos(GetHWND(), nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
