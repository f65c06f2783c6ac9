#include "ZKUninstallFrame.h"

#include <cwchar>

#include "InstallSteps.h"

namespace {

constexpr const wchar_t* kSkinFile = L"ZKUnInstall.xml";
constexpr const wchar_t* kWindowClass = L"zkuninstallframe";
constexpr int kConfirmPage = 0;
constexpr int kProgressPage = 1;
constexpr int kDonePage = 2;
constexpr UINT kTimerRemoveStep = 270;
constexpr UINT kTimerRemoveStepMs = 15;
constexpr size_t kPathsPerStep = 8;
// As the wizard's progress page: the full bar stays a moment before the last page.
constexpr UINT kTimerDonePage = 271;
constexpr UINT kTimerDonePageMs = 1000;

constexpr const wchar_t* kProgressPrefix = L"正在卸载，请稍候";
constexpr const wchar_t* kCloseProductText = L"请先关闭正在运行的 Tessaro，再点击卸载";
constexpr const wchar_t* kDoneTitle = L"卸载完成";
constexpr const wchar_t* kNotDoneTitle = L"卸载未全部完成";
constexpr const wchar_t* kRemovedText = L"Tessaro 已从这台电脑上移除";
constexpr const wchar_t* kKeptPrefix = L"文件夹中有其他文件，已保留：";
constexpr const wchar_t* kNoRecordPrefix = L"未找到安装记录，程序文件夹已保留：";
constexpr const wchar_t* kFailedText = L"有文件未能删除，详情见日志";

UninstallSession* g_session = nullptr;

}  // namespace

void SetUninstallSession(UninstallSession* session) { g_session = session; }

ZKUninstallFrame::ZKUninstallFrame() : m_session(g_session) {
  m_skinFileName = kSkinFile;
  m_windowClassName = kWindowClass;
}

void ZKUninstallFrame::OnWindowGone(HWND window) {
  CZKObjectWnd::OnWindowGone(window);
  delete this;
}

void ZKUninstallFrame::OnWindowReady() {
  m_pm.SetLayered(true);
  m_tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(m_pm.FindControl(L"tabUninstall"));
  m_uninstallButton = dynamic_cast<SkinUI::CButtonUI*>(m_pm.FindControl(L"uninstallBtn"));
  m_cancelButton = dynamic_cast<SkinUI::CButtonUI*>(m_pm.FindControl(L"cancelBtn"));
  m_finishButton = dynamic_cast<SkinUI::CButtonUI*>(m_pm.FindControl(L"finishBtn"));
  m_hintLabel = dynamic_cast<SkinUI::CLabelUI*>(m_pm.FindControl(L"hintLab"));
  m_progress = dynamic_cast<SkinUI::CProgressUI*>(m_pm.FindControl(L"uninstallPrg"));
  m_progressLabel = dynamic_cast<SkinUI::CLabelUI*>(m_pm.FindControl(L"uninstallproglab"));
  m_doneTitle = dynamic_cast<SkinUI::CLabelUI*>(m_pm.FindControl(L"doneTitleLab"));
  m_doneText = dynamic_cast<SkinUI::CLabelUI*>(m_pm.FindControl(L"doneLab"));
  if (m_tabs) m_tabs->SelectItem(kConfirmPage);
}

void ZKUninstallFrame::OnClick(SkinUI::TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr) return;
  const std::wstring name = msg.Sender->GetName();
  if (name.rfind(L"minbtn", 0) == 0) {
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name.rfind(L"closebtn", 0) == 0 || msg.Sender == m_cancelButton || msg.Sender == m_finishButton) {
    ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
  } else if (msg.Sender == m_uninstallButton) {
    StartRemoval();
  }
}

LRESULT ZKUninstallFrame::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  // Half a removal is worse than waiting for the rest of it.
  handled = m_removing;
  return 0;
}

LRESULT ZKUninstallFrame::OnTimerMessage(UINT, WPARAM wParam, LPARAM, bool&) {
  if (wParam == kTimerRemoveStep) {
    RemoveSomePaths();
  } else if (wParam == kTimerDonePage) {
    ::KillTimer(GetHWND(), kTimerDonePage);
    ShowDonePage();
  }
  return 0;
}

void ZKUninstallFrame::StartRemoval() {
  if (m_session == nullptr || m_removing) return;
  // Checked again: the product may have been started while the page was shown.
  if (ProductIsRunning(m_session->remover->ProgramFolder(), m_session->runningException)) {
    if (m_hintLabel) m_hintLabel->SetText(kCloseProductText);
    return;
  }
  m_removing = true;
  if (m_tabs) m_tabs->SelectItem(kProgressPage);
  m_session->remover->LoadRecord();
  ShowProgress(0, m_session->remover->PathsTotal());
  ::SetTimer(GetHWND(), kTimerRemoveStep, kTimerRemoveStepMs, nullptr);
}

void ZKUninstallFrame::RemoveSomePaths() {
  CZKUninstaller& remover = *m_session->remover;
  for (size_t i = 0; i < kPathsPerStep; ++i) {
    if (!remover.RemoveNextPath()) {
      ::KillTimer(GetHWND(), kTimerRemoveStep);
      FinishRemoval();
      return;
    }
  }
  ShowProgress(remover.PathsDone(), remover.PathsTotal());
}

void ZKUninstallFrame::FinishRemoval() {
  CZKUninstaller& remover = *m_session->remover;
  remover.RemoveShellItemsAndEntry();
  m_session->exitCode = remover.ExitCode();
  // The program that started this copy ends on the result; only then is its file free.
  m_session->parent->ReportResult(m_session->exitCode);
  m_session->parent->WaitForParent();
  remover.RemoveDeferred();
  m_session->exitCode = remover.ExitCode();
  ShowProgress(remover.PathsTotal(), remover.PathsTotal());
  ::SetTimer(GetHWND(), kTimerDonePage, kTimerDonePageMs, nullptr);
}

void ZKUninstallFrame::ShowDonePage() {
  m_removing = false;
  const CZKUninstaller& remover = *m_session->remover;
  std::wstring text = kRemovedText;
  if (!remover.AllRemoved()) {
    text = kFailedText;
  } else if (!remover.HasRecord()) {
    text = kNoRecordPrefix + remover.KeptFolder();
  } else if (!remover.KeptFolder().empty()) {
    text = kKeptPrefix + remover.KeptFolder();
  }
  if (m_doneTitle) m_doneTitle->SetText(remover.AllRemoved() ? kDoneTitle : kNotDoneTitle);
  if (m_doneText) m_doneText->SetText(text);
  if (m_tabs) m_tabs->SelectItem(kDonePage);
}

void ZKUninstallFrame::ShowProgress(size_t done, size_t total) {
  const double percent = total == 0 ? 100.0 : static_cast<double>(done) * 100.0 / static_cast<double>(total);
  wchar_t text[128] = {};
  std::swprintf(text, 128, L"%ls %.0f%%", kProgressPrefix, percent);
  if (m_progressLabel) m_progressLabel->SetText(text);
  if (m_progress) m_progress->SetValue(static_cast<int>(percent));
}
