#pragma once
// Routes notifications through static per-class handler tables, optionally first to other
// pumps registered under a virtual window name (one page object per skin subtree).

#include <windows.h>

#include <map>
#include <string>

#include "NotifyMsgUI.h"

namespace SkinUI {

class CNotifyPump;

enum NotifyHandlerKind : int {
  kNotifyMapEnd = 0,
  kNotifyHandlerParams = 1,  // handler(WParam, LParam)
  kNotifyHandlerMsg = 2,     // handler(TNotifyMsgUI&)
};

using NotifyParamsHandler = void (CNotifyPump::*)(WPARAM wParam, LPARAM lParam);
using NotifyMsgHandler = void (CNotifyPump::*)(TNotifyMsgUI& msg);

struct NotifyMapEntry {
  const wchar_t* type;
  const wchar_t* control;  // empty: any control
  int kind;
  NotifyParamsHandler paramsHandler;
  NotifyMsgHandler msgHandler;
};

struct NotifyMap {
  const NotifyMap* base;
  const NotifyMapEntry* entries;  // ends with a kNotifyMapEnd entry
};

class CNotifyPump {
 public:
  CNotifyPump() = default;
  CNotifyPump(const CNotifyPump&) = delete;
  CNotifyPump& operator=(const CNotifyPump&) = delete;
  virtual ~CNotifyPump() = default;

  // Names are compared ignoring case; the pumps are not owned.
  bool RegisterVirtualWindow(const std::wstring& name, CNotifyPump* pump);
  bool UnregisterVirtualWindow(const std::wstring& name);
  void NotifyPump(TNotifyMsgUI& msg);
  bool RunMessageLoop(TNotifyMsgUI& msg);

  static const NotifyMap kNotifyMap;
  static const NotifyMapEntry kNotifyEntries[];
  virtual const NotifyMap* GetMessageMap() const;

 private:
  std::map<std::wstring, CNotifyPump*> m_virtualWindows;
};

}  // namespace SkinUI

// In the class body of a pump (public).
#define SKINUI_DECLARE_NOTIFY_MAP(theClass)            \
  using NotifyMapClass = theClass;                     \
  static const ::SkinUI::NotifyMap kNotifyMap;         \
  static const ::SkinUI::NotifyMapEntry kNotifyEntries[]; \
  const ::SkinUI::NotifyMap* GetMessageMap() const override

// In the source file: the table, chained to the base class's table.
#define SKINUI_BEGIN_NOTIFY_MAP(theClass, baseClass)                                            \
  const ::SkinUI::NotifyMap* theClass::GetMessageMap() const { return &theClass::kNotifyMap; } \
  const ::SkinUI::NotifyMap theClass::kNotifyMap = {&baseClass::kNotifyMap, &theClass::kNotifyEntries[0]}; \
  const ::SkinUI::NotifyMapEntry theClass::kNotifyEntries[] = {

#define SKINUI_NOTIFY_HANDLER(type, control, function) \
  {type, control, ::SkinUI::kNotifyHandlerMsg, nullptr,  \
   static_cast<::SkinUI::NotifyMsgHandler>(&NotifyMapClass::function)},

#define SKINUI_NOTIFY_PARAMS_HANDLER(type, control, function) \
  {type, control, ::SkinUI::kNotifyHandlerParams,              \
   static_cast<::SkinUI::NotifyParamsHandler>(&NotifyMapClass::function), nullptr},

#define SKINUI_END_NOTIFY_MAP() \
  {L"", L"", ::SkinUI::kNotifyMapEnd, nullptr, nullptr}};
