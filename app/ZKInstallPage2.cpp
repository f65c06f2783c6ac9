#include "ZKInstallPage2.h"

#include <cwchar>

#include "InstallOptions.h"
#include "InstallSteps.h"
#include "ZkMessages.h"

namespace {

const std::wstring kProgressPrefix = L"正在安装，请不要关闭";
constexpr const wchar_t* kFailedPrefix = L"安装失败：";
constexpr const wchar_t* kCloseProductText = L"请先关闭正在运行的 Tessaro";

}  // namespace

SKINUI_BEGIN_NOTIFY_MAP(CZKInstallPage2, SkinUI::CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnClick)
SKINUI_END_NOTIFY_MAP()

void CZKInstallPage2::InitPage() {
  FindPageFrame(L"verroot2", L"minbtn2", L"closebtn2", L"Install_and_uninstall\\table_bg_install_03.png");
  m_progress = Find<SkinUI::CProgressUI>(L"installPrg");
  m_progressLabel = Find<SkinUI::CLabelUI>(L"installproglab");
  if (m_progress) m_progress->SetValue(0);
}

void CZKInstallPage2::OnClick(SkinUI::TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr) return;
  if (msg.Sender == m_minButton) {
    MinimizeFrame();
  } else if (msg.Sender == m_closeButton) {
    CloseFrame();
  }
}

void CZKInstallPage2::OnProgChanged() {
  InstallOptions& options = GetInstallOptions();
  const double done = static_cast<double>(static_cast<int64_t>(options.bytesDone.load()));
  const double total = static_cast<double>(static_cast<int64_t>(options.bytesTotal.load()));
  // An empty payload is complete as soon as it is reported.
  const double percent = total == 0.0 ? 100.0 : done * 100.0 / total;

  wchar_t text[128] = {};
  std::swprintf(text, 128, L"%ls %.1f%%", kProgressPrefix.c_str(), percent);
  if (m_progressLabel) m_progressLabel->SetText(text);
  if (m_progress) m_progress->SetValue(static_cast<int>(percent));

  if (options.bytesDone.load() != options.bytesTotal.load() || m_finished == 1) return;
  m_finished = 1;
  ::SetTimer(FrameWindow(), kTimerCompletePage, kTimerCompletePageMs, nullptr);
  if (options.desktopShortcut) CreateDesktopShortcut();
}

void CZKInstallPage2::CreateDesktopShortcut() { CreateDesktopLink(L"CZKInstallPage2::OnProgChanged"); }

LRESULT CZKInstallPage2::OnPageTimer(UINT, WPARAM wParam, LPARAM, bool&) {
  if (wParam != kTimerCompletePage) return 0;
  ::KillTimer(FrameWindow(), kTimerCompletePage);
  Deliver(kMsgSelectPage, 3, 0);
  return 0;
}

void CZKInstallPage2::OnInstallFailed(const std::wstring& reason) {
  if (m_progressLabel) m_progressLabel->SetText(kFailedPrefix + reason);
}

void CZKInstallPage2::ShowWaitingForProduct() {
  if (m_progressLabel) m_progressLabel->SetText(kCloseProductText);
}

void CZKInstallPage2::ShowProgressText() {
  if (m_progressLabel) m_progressLabel->SetText(kProgressPrefix);
}
