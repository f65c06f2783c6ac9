#include "ZKInstallPage3.h"

#include <string>

#include "InstallOptions.h"
#include "InstallSteps.h"
#include "ProductStart.h"

SKINUI_BEGIN_NOTIFY_MAP(CZKInstallPage3, SkinUI::CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnClick)
SKINUI_END_NOTIFY_MAP()

void CZKInstallPage3::InitPage() {
  FindPageFrame(L"verroot3", L"minbtn3", L"closebtn3", L"Install_and_uninstall\\table_bg_install_04.png");
  m_completeButton = Find<SkinUI::CButtonUI>(L"completeBtn");
}

void CZKInstallPage3::OnClick(SkinUI::TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr) return;
  if (msg.Sender == m_minButton) {
    MinimizeFrame();
  } else if (msg.Sender == m_closeButton) {
    ZKUnZipAll();
    CloseFrame();
  } else if (msg.Sender == m_completeButton) {
    ZKUnZipAll();
    ::ShowWindow(FrameWindow(), SW_HIDE);
    // Started before the close is posted: a shell that pumps messages (a security prompt) would
    // otherwise handle the close and delete this page while this click is still running.
    const std::wstring binDir = GetBinDir();
    GetProductStarter()(binDir + L"\\VIDer.exe", binDir);
    CloseFrame();
  }
}

void CZKInstallPage3::ZKUnZipAll() { FinishInstallation(GetInstallOptions().taskbarPin); }
