#include "ZKInstallPage0.h"

#include "DiskSpace.h"
#include "InstallOptions.h"
#include "SystemActions.h"
#include "ZkMessages.h"

SKINUI_BEGIN_NOTIFY_MAP(CZKInstallPage0, SkinUI::CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnClick)
SKINUI_NOTIFY_HANDLER(L"selectchanged", L"", OnSelectChanged)
SKINUI_END_NOTIFY_MAP()

void CZKInstallPage0::InitPage() {
  FindPageFrame(L"verroot0", L"minbtn", L"closebtn", kWelcomeBackground);
  m_agreementOption = Find<SkinUI::COptionUI>(L"protocalOpt");
  m_installButton = Find<SkinUI::CButtonUI>(L"installBtn");
  m_agreementLink = Find<SkinUI::CButtonUI>(L"zk_btn_protocal");
  m_customButton = Find<SkinUI::CButtonUI>(L"customBtn");
}

void CZKInstallPage0::OnClick(SkinUI::TNotifyMsgUI& msg) {
  SkinUI::CControlUI* sender = msg.Sender;
  if (sender == nullptr) return;
  if (sender == m_minButton) {
    MinimizeFrame();
  } else if (sender == m_closeButton) {
    CloseFrame();
  } else if (sender == m_installButton) {
    // Too little room: the options page says so beside the folder, where another can be chosen.
    const bool fits = CheckSpaceFor(GetInstallOptions().installDir).enough();
    Deliver(kMsgSelectPage, fits ? 2 : 1, 0);
  } else if (sender == m_customButton) {
    Deliver(kMsgSelectPage, 1, 0);
  } else if (sender == m_agreementLink) {
    OpenWithShell(kAgreementAddress);
  }
}

void CZKInstallPage0::OnSelectChanged(SkinUI::TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr || msg.Sender != m_agreementOption || target() == nullptr) return;
  const bool accepted = m_agreementOption->IsSelected();
  if (m_customButton) m_customButton->SetEnabled(accepted);
  if (m_installButton) m_installButton->SetEnabled(accepted);
}
