#include "NotifyPump.h"

#include <cwctype>

#include "ControlUI.h"

namespace SkinUI {
namespace {

std::wstring Lowered(const std::wstring& text) {
  std::wstring lower = text;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
  return lower;
}

bool SameText(const wchar_t* a, const std::wstring& b) { return a != nullptr && b == a; }

// The entry that handles the notification in one table: an exact control name wins over the
// last entry for any control.
const NotifyMapEntry* FindEntry(const NotifyMapEntry* entries, const std::wstring& type,
                                const std::wstring& sender) {
  const NotifyMapEntry* anyControl = nullptr;
  for (const NotifyMapEntry* entry = entries; entry->kind != kNotifyMapEnd; ++entry) {
    if (!SameText(entry->type, type)) continue;
    const bool forAny = entry->control == nullptr || entry->control[0] == L'\0';
    if (forAny) {
      anyControl = entry;
    } else if (SameText(entry->control, sender)) {
      return entry;
    }
  }
  return anyControl;
}

}  // namespace

const NotifyMapEntry CNotifyPump::kNotifyEntries[] = {{L"", L"", kNotifyMapEnd, nullptr, nullptr}};
const NotifyMap CNotifyPump::kNotifyMap = {nullptr, &CNotifyPump::kNotifyEntries[0]};

const NotifyMap* CNotifyPump::GetMessageMap() const { return &kNotifyMap; }

bool CNotifyPump::RegisterVirtualWindow(const std::wstring& name, CNotifyPump* pump) {
  if (pump == nullptr) return false;
  return m_virtualWindows.emplace(Lowered(name), pump).second;
}

bool CNotifyPump::UnregisterVirtualWindow(const std::wstring& name) {
  return m_virtualWindows.erase(Lowered(name)) != 0;
}

void CNotifyPump::NotifyPump(TNotifyMsgUI& msg) {
  if (!msg.VirtualWnd.empty()) {
    auto it = m_virtualWindows.find(Lowered(msg.VirtualWnd));
    if (it != m_virtualWindows.end() && it->second->RunMessageLoop(msg)) return;
  }
  RunMessageLoop(msg);
}

bool CNotifyPump::RunMessageLoop(TNotifyMsgUI& msg) {
  const std::wstring sender = msg.Sender != nullptr ? msg.Sender->GetName() : std::wstring();
  for (const NotifyMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    const NotifyMapEntry* entry = FindEntry(map->entries, msg.Type, sender);
    if (entry == nullptr) continue;
    if (entry->kind == kNotifyHandlerParams && entry->paramsHandler != nullptr) {
      (this->*entry->paramsHandler)(msg.WParam, msg.LParam);
      return true;
    }
    if (entry->kind == kNotifyHandlerMsg && entry->msgHandler != nullptr) {
      (this->*entry->msgHandler)(msg);
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace SkinUI
