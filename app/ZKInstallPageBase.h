#pragma once
// What the four wizard pages share: the frame's paint manager, the relay of code-1 messages to the
// frame, and the title-bar actions on the frame's window.

#include <windows.h>

#include <cstdint>

#include "ButtonUI.h"
#include "NotifyPump.h"
#include "PaintManagerUI.h"
#include "ZkBase.h"

class CZKInstallPageBase : public SkinUI::CNotifyPump, public ZkBase {
 public:
  explicit CZKInstallPageBase(SkinUI::CPaintManagerUI* manager) : m_manager(manager) {}

  // Pages pass code 1 on to their target unchanged and drop everything else.
  void OnMessage(uint32_t code, int32_t param1, int32_t param2) override {
    RelayPostToTarget(code, param1, param2);
  }

 protected:
  HWND FrameWindow() const { return m_manager->GetPaintWindow(); }
  void MinimizeFrame() const { ::SendMessageW(FrameWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }
  void CloseFrame() const { ::PostMessageW(FrameWindow(), WM_CLOSE, 0, 0); }

  // A control of the skin by name, or null when it is missing or of another class.
  template <typename Control>
  Control* Find(const wchar_t* name) const {
    return dynamic_cast<Control*>(m_manager->FindControl(name));
  }

  // The page's root, given its background, and its title-bar buttons, by the page's names.
  void FindPageFrame(const wchar_t* root, const wchar_t* minButton, const wchar_t* closeButton,
                     const wchar_t* background) {
    m_root = Find<SkinUI::CControlUI>(root);
    m_minButton = Find<SkinUI::CButtonUI>(minButton);
    m_closeButton = Find<SkinUI::CButtonUI>(closeButton);
    if (m_root) m_root->SetBkImage(background);
  }

  SkinUI::CPaintManagerUI* m_manager;
  SkinUI::CControlUI* m_root = nullptr;
  SkinUI::CButtonUI* m_minButton = nullptr;
  SkinUI::CButtonUI* m_closeButton = nullptr;
};
