#include "ZKMainFrame.h"

#include "InstallOptions.h"
#include "Log.h"
#include "Paths.h"
#include "ZkMessages.h"

namespace {

constexpr const wchar_t* kSkinFile = L"ZKMainFrame.xml";
constexpr const wchar_t* kWindowClass = L"zkmainframe";
constexpr int kPageCount = 4;
constexpr int kProgressPage = 2;

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
  // Members follow: pages 3 to 0, then the worker, whose join waits for an unpack under way, then
  // the failure record it may still write.
}

void ZKMainFrame::OnWindowGone(HWND window) {
  CZKObjectWnd::OnWindowGone(window);
  delete this;
}

void ZKMainFrame::OnWindowReady() {
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
  return m_page2.OnPageTimer(message, wParam, lParam, handled);
}

void ZKMainFrame::OnMessage(uint32_t code, int32_t param1, int32_t) {
  switch (code) {
    case kMsgPostToUiThread:
      // Any thread: only posts.
      ::PostMessageW(GetHWND(), kMsgRelay, static_cast<WPARAM>(param1), 0);
      break;
    case kMsgSelectPage:
      if (param1 < 0 || param1 >= kPageCount) break;
      if (m_tabs) m_tabs->SelectItem(param1);
      if (param1 == kProgressPage) OnMessage(kMsgStartInstall, 0, 0);
      break;
    case kMsgStartInstall:
      StartInstallation();
      break;
    case kMsgProgress:
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
  const std::wstring binDir = GetBinDir();
  CreateFolderPath(binDir);
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
  }
  WriteLogFormat(L"%ls %ls Unpack error: %ls", L"ZkInstall\\ZKMainFrame", L"ZKMainFrame::StartInstallation",
                 reason.c_str());
  m_page2.OnInstallFailed(PlainFailureText(kind));
}
