#pragma once
// The wizard window: loads ZKMainFrame.xml, owns the installation worker and the four pages, and
// is the hub of the numbered messages (page switches, the start of the installation, progress
// reports relayed across threads).

#include <atomic>
#include <mutex>
#include <string>

#include "TabLayoutUI.h"
#include "ZKInstallPage0.h"
#include "ZKInstallPage1.h"
#include "ZKInstallPage2.h"
#include "ZKInstallPage3.h"
#include "ZKInstallThread.h"
#include "ZKObjectWnd.h"

// Posted to the frame's own window: wParam is a numbered message code.
constexpr UINT kMsgRelay = WM_USER + 0x202;  // 0x602

class ZKMainFrame final : public CZKObjectWnd {
 public:
  ZKMainFrame();
  ~ZKMainFrame() override;

  // The frame deletes itself after its window's last message.
  void OnWindowGone(HWND window) override;
  void OnWindowReady() override;
  LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnTimerMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void OnMessage(uint32_t code, int32_t param1, int32_t param2) override;

  SKINUI_DECLARE_NOTIFY_MAP(ZKMainFrame);

 private:
  void StartInstallation();
  void QueueUnpack();
  // Worker thread: the unpack ended without its final report.
  void ReportFailure(InstallFailure kind, const std::wstring& reason);
  void ShowFailure();

  // Before the worker: its join in the destructor may still let an unpack report a failure.
  std::mutex m_failureMutex;
  InstallFailure m_failureKind = InstallFailure::kUnpack;
  std::wstring m_failureReason;
  bool m_failurePending = false;  // reported by the worker, not yet logged
  // The window the worker posts to: set when it is ready, cleared when it is gone.
  std::atomic<HWND> m_relayWindow{nullptr};
  // A progress message is posted and not yet handled.
  std::atomic<bool> m_progressQueued{false};
  // Constructed early: the worker already waits while the wizard is built.
  CZKInstallThread m_installThread;
  CZKInstallPage0 m_page0;
  CZKInstallPage1 m_page1;
  CZKInstallPage2 m_page2;
  CZKInstallPage3 m_page3;
  SkinUI::CControlUI* m_root = nullptr;
  SkinUI::CTabLayoutUI* m_tabs = nullptr;
};
