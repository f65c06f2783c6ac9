#pragma once
// Welcome page: one-click installation, the way to the options page, the agreement box that
// must stay ticked for either, and the agreement link.

#include "ButtonUI.h"
#include "OptionUI.h"
#include "VerticalLayoutUI.h"
#include "ZKInstallPageBase.h"

// The page's background, the largest image of the wizard's first frame.
constexpr const wchar_t* kWelcomeBackground = L"Install_and_uninstall\\table_bg_install_01.png";

// The user agreement, opened in the default browser.
constexpr const wchar_t* kAgreementAddress = L"http://www.tessaro.example/agreement.html";

class CZKInstallPage0 final : public CZKInstallPageBase {
 public:
  explicit CZKInstallPage0(SkinUI::CPaintManagerUI* manager) : CZKInstallPageBase(manager) {}

  void InitPage();
  void OnClick(SkinUI::TNotifyMsgUI& msg);
  void OnSelectChanged(SkinUI::TNotifyMsgUI& msg);

  SKINUI_DECLARE_NOTIFY_MAP(CZKInstallPage0);

 private:
  SkinUI::COptionUI* m_agreementOption = nullptr;
  SkinUI::CButtonUI* m_installButton = nullptr;
  SkinUI::CButtonUI* m_agreementLink = nullptr;
  SkinUI::CButtonUI* m_customButton = nullptr;
};
