#include "ZKMainFrame.h"

#include "InstallOptions.h"
#include "InstallSteps.h"
#include "Log.h"
#include "Paths.h"
#include "RunningPrograms.h"
#include "ZkMessages.h"

namespace {

constexpr const wchar_t* kSkinFile = L"ZKMainFrame.xml";
constexpr const wchar_t* kWindowClass = L"zkmainframe";
constexpr int kPageCount = 4;
constexpr int kOptionsPage = 1;
constexpr int kProgressPage = 2;
constexpr UINT kTimerWaitForProduct = 269;
constexpr UINT kTimerWaitForProductMs = 1000;

// What the user reads on the progress page; the worker's own words go to the log. With the
// "安装失败：" prefix at most 16 characters fit the label (232 pixels at 14).
std::wstring PlainFailureText(InstallFailure kind) {
  switch (kind) {
    case InstallFailure::kArchiveMissing:
      return L"找不到安装包 zk.7z";
    case InstallFailure::kComponentMissing:
      return L"缺少组件 7zCore.dll";
    case InstallFailure::kPayloadMismatch:
      return L"安装包校验失败";
    case InstallFailure::kUnpack:
      break;
  }
  return L"安装包损坏或目录不可写";
}

}  // namespace

SKINUI_BEGIN_NOTIFY_MAP(ZKMainFrame, CZKObjectWnd)
SKINUI_END_NOTIFY_MAP()

ZKMainFrame::ZKMainFrame()
    : m_page0(&m_pm), m_page1(&m_pm), m_page2(&m_pm), m_page3(&m_pm) {
  m_skinFileName = kSkinFile;
  m_windowClassName = kWindowClass;
  CZKInstallPageBase* pages[kPageCount] = {&m_page0, &m_page1, &m_page2, &m_page3};
  for (int i = 0; i < kPageCount; ++i) {
    RegisterVirtualWindow(L"install" + std::to_wstring(i), pages[i]);
    pages[i]->SetTarget(this);
  }
}

ZKMainFrame::~ZKMainFrame() {
  for (int i = 0; i < kPageCount; ++i) UnregisterVirtualWindow(L"install" + std::to_wstring(i));
  m_tabs = nullptr;
  m_root = nullptr;
  // An unpack under way stops at its next report and undoes itself, so the wait is short; its
  // failure (the cancel, or a fault met first) can no longer be shown, but is logged.
  m_installThread.CancelUnpack();
  m_installThread.Shutdown();
  std::lock_guard<std::mutex> lock(m_failureMutex);
  if (m_failurePending) LogUnpackFailure(m_failureReason);
}

void ZKMainFrame::OnWindowGone(HWND window) {
  // The worker posts to the window until here; from now on its reports are only recorded.
  m_relayWindow.store(nullptr);
  CZKObjectWnd::OnWindowGone(window);
  delete this;
}

void ZKMainFrame::OnWindowReady() {
  m_relayWindow.store(GetHWND());
  m_pm.SetLayered(true);
  m_root = m_pm.FindControl(L"verRoot");
  m_tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(m_pm.FindControl(L"tabInstall"));
  m_page0.InitPage();
  m_page1.InitPage();
  m_page2.InitPage();
  m_page3.InitPage();
  if (m_tabs) m_tabs->SelectItem(0);
}

LRESULT ZKMainFrame::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  if (message == WM_TIMER) {
    OnTimerMessage(message, wParam, lParam, handled);
  } else if (message == kMsgRelay) {
    OnMessage(static_cast<uint32_t>(wParam), 0, 0);
  }
  return 0;
}

LRESULT ZKMainFrame::OnTimerMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (wParam == kTimerWaitForProduct) {
    // Checked again every second; the window stays responsive and can be closed meanwhile.
    if (!FindProgramsRunningFrom(GetBinDir()).empty()) return 0;
    ::KillTimer(GetHWND(), kTimerWaitForProduct);
    m_page2.ShowProgressText();
    QueueUnpack();
    return 0;
  }
  return m_page2.OnPageTimer(message, wParam, lParam, handled);
}

void ZKMainFrame::OnMessage(uint32_t code, int32_t param1, int32_t) {
  switch (code) {
    case kMsgPostToUiThread:
      // Any thread: only posts, to the handle kept for that (the window wrapper's own is the UI
      // thread's). A progress report while one is still queued is not posted: the page reads the
      // newest counters when it handles that one, and a fast unpack's flood of reports would
      // keep the input (the close button) waiting behind it.
      if (param1 == static_cast<int32_t>(kMsgProgress) && m_progressQueued.exchange(true)) break;
      ::PostMessageW(m_relayWindow.load(), kMsgRelay, static_cast<WPARAM>(param1), 0);
      break;
    case kMsgSelectPage:
      if (param1 < 0 || param1 >= kPageCount) break;
      if (param1 == kOptionsPage) m_page1.OnShown();
      if (m_tabs) m_tabs->SelectItem(param1);
      if (param1 == kProgressPage) OnMessage(kMsgStartInstall, 0, 0);
      break;
    case kMsgStartInstall:
      StartInstallation();
      break;
    case kMsgProgress:
      m_progressQueued.store(false);
      m_page2.OnProgChanged();
      break;
    case kMsgInstallFailed:
      ShowFailure();
      break;
    default:
      break;
  }
}

void ZKMainFrame::StartInstallation() {
  // Nothing is replaced while the product runs from the folder.
  if (ProductIsRunning(GetBinDir())) {
    m_page2.ShowWaitingForProduct();
    ::SetTimer(GetHWND(), kTimerWaitForProduct, kTimerWaitForProductMs, nullptr);
    return;
  }
  QueueUnpack();
}

void ZKMainFrame::QueueUnpack() {
  const std::wstring binDir = GetBinDir();
  CreateProgramFolder(binDir);
  NINSTALL_INFO task;
  task.archivePath = GetSetupFolder() + L"\\zk.7z";
  task.targetDir = binDir;
  task.progress = MakeInstallProgress(*this);
  task.failed = [this](InstallFailure kind, const std::wstring& reason) { ReportFailure(kind, reason); };
  m_installThread.AddTask(task);
}

void ZKMainFrame::ReportFailure(InstallFailure kind, const std::wstring& reason) {
  {
    std::lock_guard<std::mutex> lock(m_failureMutex);
    m_failureKind = kind;
    m_failureReason = reason;
    m_failurePending = true;
  }
  Deliver(kMsgPostToUiThread, kMsgInstallFailed, 0);
}

void ZKMainFrame::ShowFailure() {
  std::wstring reason;
  InstallFailure kind;
  {
    std::lock_guard<std::mutex> lock(m_failureMutex);
    kind = m_failureKind;
    reason = m_failureReason;
    m_failurePending = false;
  }
  LogUnpackFailure(reason);
  m_page2.OnInstallFailed(PlainFailureText(kind));
}
