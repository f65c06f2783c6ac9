#pragma once
// The input event record the paint manager hands to a control's Event, and its codes.

#include <windows.h>

#include <cstdint>

namespace SkinUI {

class CControlUI;

namespace UIEvent {
enum : uint32_t {
  KeyDown = 3,
  KeyUp = 4,
  Char = 5,
  SysKey = 6,
  MouseMove = 9,
  MouseLeave = 10,
  MouseEnter = 11,
  MouseHover = 12,
  ButtonDown = 13,
  ButtonUp = 14,
  RButtonDown = 15,
  RButtonUp = 16,
  MButtonDown = 17,
  MButtonUp = 18,
  DoubleClick = 19,
  ContextMenu = 20,
  ScrollWheel = 21,
  KillFocus = 23,
  SetFocus = 24,
  WindowSize = 25,
  SetCursor = 26,
  Timer = 27,
};

// Mouse events: the ones a control that is not mouse-enabled hands to its parent.
constexpr uint32_t kMouseFirst = MouseMove;
constexpr uint32_t kMouseLast = ScrollWheel;

inline bool IsMouseEvent(uint32_t type) { return type >= kMouseFirst && type <= kMouseLast; }
}  // namespace UIEvent

struct TControlEventUI {
  uint32_t Type = 0;
  CControlUI* Sender = nullptr;
  DWORD Timestamp = 0;
  POINT MousePoint = {};
  wchar_t Key = 0;
  WORD KeyState = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

}  // namespace SkinUI
