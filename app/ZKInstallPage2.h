#pragma once
// Progress page: the shared byte counters as a percentage on a bar and a label; at completion the
// desktop shortcut, and one second later the completion page.

#include <string>

#include "ButtonUI.h"
#include "LabelUI.h"
#include "ProgressUI.h"
#include "ZKInstallPageBase.h"

constexpr UINT kTimerCompletePage = 268;
constexpr UINT kTimerCompletePageMs = 1000;

class CZKInstallPage2 final : public CZKInstallPageBase {
 public:
  explicit CZKInstallPage2(SkinUI::CPaintManagerUI* manager) : CZKInstallPageBase(manager) {}

  void InitPage();
  void OnClick(SkinUI::TNotifyMsgUI& msg);
  // A progress report arrived: redraw from the counters; the first report with done equal to
  // total completes the installation.
  void OnProgChanged();
  // Every WM_TIMER of the frame's window; never marks it handled.
  LRESULT OnPageTimer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // The unpack failed: the label says so in plain words; the page stays, its close buttons work.
  void OnInstallFailed(const std::wstring& reason);
  // The product runs from the program folder: the label asks the user to close it.
  void ShowWaitingForProduct();
  // It was closed: the label shows the progress text again.
  void ShowProgressText();

  bool IsFinished() const { return m_finished != 0; }

  SKINUI_DECLARE_NOTIFY_MAP(CZKInstallPage2);

 private:
  void CreateDesktopShortcut();

  int m_finished = 0;
  SkinUI::CProgressUI* m_progress = nullptr;
  SkinUI::CLabelUI* m_progressLabel = nullptr;
};
