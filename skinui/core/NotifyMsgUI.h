#pragma once
// The notification record controls send to the application, and the listener interfaces a
// window's paint manager calls.

#include <windows.h>

#include <string>

namespace SkinUI {

class CControlUI;

// Notification names the toolkit sends.
constexpr const wchar_t* kNotifyWindowInit = L"windowinit";
constexpr const wchar_t* kNotifyWindowSize = L"windowsize";
constexpr const wchar_t* kNotifyClick = L"click";
constexpr const wchar_t* kNotifySelectChanged = L"selectchanged";
constexpr const wchar_t* kNotifySetFocus = L"setfocus";
constexpr const wchar_t* kNotifyKillFocus = L"killfocus";
constexpr const wchar_t* kNotifyTimer = L"timer";
constexpr const wchar_t* kNotifyMenu = L"menu";
constexpr const wchar_t* kNotifyTabSelect = L"tabselect";
constexpr const wchar_t* kNotifyCheckClick = L"checkclick";

struct TNotifyMsgUI {
  std::wstring Type;
  std::wstring VirtualWnd;     // filled only when the window uses virtual windows
  CControlUI* Sender = nullptr;  // null when the sender died while the record was queued
  DWORD Timestamp = 0;
  POINT MousePoint = {};
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

class INotifyUI {
 public:
  virtual void Notify(TNotifyMsgUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

class IMessageFilterUI {
 public:
  // Setting handled stops further processing of the message.
  virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

class ITranslateAccelerator {
 public:
  // 0 when the message was translated; it is then not dispatched.
  virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

 protected:
  ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
