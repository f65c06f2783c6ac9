#pragma once
// The uninstaller's window: a confirm page, a progress page that removes the product a few
// paths at a time on the window's own timer, and a done page that says what was kept.

#include <string>

#include "ButtonUI.h"
#include "LabelUI.h"
#include "ParentLink.h"
#include "ProgressUI.h"
#include "TabLayoutUI.h"
#include "ZKObjectWnd.h"
#include "ZKUninstaller.h"

// What the window works on; set before CreateObjectWnd makes it (that builds it without
// arguments). The window writes exitCode.
struct UninstallSession {
  CZKUninstaller* remover = nullptr;
  CParentLink* parent = nullptr;
  std::wstring runningException;  // the program ProductIsRunning does not count
  int exitCode = kExitCancelled;
};
void SetUninstallSession(UninstallSession* session);

class ZKUninstallFrame final : public CZKObjectWnd {
 public:
  ZKUninstallFrame();

  // The frame deletes itself after its window's last message, as the wizard's does.
  void OnWindowGone(HWND window) override;
  void OnWindowReady() override;
  void OnClick(SkinUI::TNotifyMsgUI& msg) override;
  LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnTimerMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void StartRemoval();
  void RemoveSomePaths();
  void FinishRemoval();
  void ShowDonePage();
  void ShowProgress(size_t done, size_t total);

  UninstallSession* m_session;
  bool m_removing = false;
  SkinUI::CTabLayoutUI* m_tabs = nullptr;
  SkinUI::CButtonUI* m_uninstallButton = nullptr;
  SkinUI::CButtonUI* m_cancelButton = nullptr;
  SkinUI::CButtonUI* m_finishButton = nullptr;
  SkinUI::CLabelUI* m_hintLabel = nullptr;
  SkinUI::CProgressUI* m_progress = nullptr;
  SkinUI::CLabelUI* m_progressLabel = nullptr;
  SkinUI::CLabelUI* m_doneTitle = nullptr;
  SkinUI::CLabelUI* m_doneText = nullptr;
};
