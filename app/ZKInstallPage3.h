#pragma once
// Completion page: the finishing steps (uninstall entry, Start-menu links, taskbar pin) and the
// start of the installed application.

#include "ButtonUI.h"
#include "ZKInstallPageBase.h"

class CZKInstallPage3 final : public CZKInstallPageBase {
 public:
  explicit CZKInstallPage3(SkinUI::CPaintManagerUI* manager) : CZKInstallPageBase(manager) {}

  void InitPage();
  void OnClick(SkinUI::TNotifyMsgUI& msg);
  // The finishing steps; it unpacks nothing (that is over when the page shows).
  void ZKUnZipAll();

  SKINUI_DECLARE_NOTIFY_MAP(CZKInstallPage3);

 private:
  SkinUI::CButtonUI* m_completeButton = nullptr;
};
