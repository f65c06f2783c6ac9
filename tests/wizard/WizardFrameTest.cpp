// The wizard's own classes in this process, with setup.exe's skin and manifest linked in.
#include <windows.h>
#include <gdiplus.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "DiskSpace.h"
#include "InstallOptions.h"
#include "LabelUI.h"
#include "PaintManagerUI.h"
#include "ProductStart.h"
#include "ScratchFolder.h"
#include "SkinRender.h"
#include "SkinResource.h"
#include "SkinSource.h"
#include "SystemActions.h"
#include "UninstallRegistration.h"
#include "ZKMainFrame.h"
#include "ZkMessages.h"

namespace {

constexpr DWORD kFrameStyle = 0x10CC0000;
constexpr DWORD kFrameExStyle = 0x100;
constexpr int kCompleteButtonX = 246 + 104;
constexpr int kCompleteButtonY = 202 + 22;

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg = {};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!SkinUI::CPaintManagerUI::TranslateUIMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
}

ZKMainFrame* OpenFrame() {
  return CreateObjectWnd<ZKMainFrame>(nullptr, nullptr, false, L"Tessaro", {}, {}, kFrameStyle, kFrameExStyle,
                                      SW_SHOWNOACTIVATE, 0);
}

void CloseFrame(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 40 && IsWindow(window); ++i) PumpFor(50);
}

class WizardFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    Gdiplus::GdiplusStartupInput startup;
    Gdiplus::GdiplusStartup(&gdiplusToken_, &startup, nullptr);
    SkinUI::CSkinResource::SetResourceInstance(GetModuleHandleW(nullptr));
    LoadSkinSource();
  }
  void TearDown() override {
    Gdiplus::GdiplusShutdown(gdiplusToken_);
    CoUninitialize();
  }

 private:
  ULONG_PTR gdiplusToken_ = 0;
};

struct ProductStartRecord {
  int calls = 0;
  std::wstring application;
  std::wstring folder;
  bool windowLivedThrough = false;
};
ProductStartRecord g_start;
HWND g_frameWindow = nullptr;

// What a shell does while it shows a security prompt: it runs a message loop of its own.
void StartBehindAPromptThatPumps(const std::wstring& application, const std::wstring& folder) {
  ++g_start.calls;
  g_start.application = application;
  g_start.folder = folder;
  PumpFor(500);
  g_start.windowLivedThrough = IsWindow(g_frameWindow) != FALSE;
}

void RemoveRegistrationAndLinks() {
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath(true).c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKeyPath(false).c_str());
  wchar_t programs[MAX_PATH] = {};
  if (SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE)) {
    RemoveTree(std::wstring(programs) + L"\\Tessaro");
  }
}

// The first frame needs neither comctl32.dll (loaded for an edit box or a tooltip) nor 7zCore.dll
// (for the options page's space figures). First in this program: later tests load both.
TEST_F(WizardFrame, FirstFrameLoadsNeitherCommonControlsNorTheComponent) {
  ZKMainFrame* frame = OpenFrame();
  ASSERT_NE(frame, nullptr);
  const HWND window = frame->GetHWND();
  PumpFor(300);
  EXPECT_NE(frame->GetPaintManager().GetImage(kWelcomeBackground), nullptr) << "no first frame";
  EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleW(L"7zCore.dll"), nullptr);
  CloseFrame(window);
}

// The start button finishes, starts the product and only then closes the wizard: the close is not
// handled while the product is being started, however long that takes.
TEST_F(WizardFrame, CompletionPageStartsTheProductBeforeTheWizardCloses) {
  ScratchFolder folder;
  InstallOptions& options = GetInstallOptions();
  options.installDir = folder.path();
  options.taskbarPin = false;
  RemoveRegistrationAndLinks();
  const ProductStarter previous = SetProductStarter(StartBehindAPromptThatPumps);

  ZKMainFrame* frame = OpenFrame();
  ASSERT_NE(frame, nullptr);
  g_frameWindow = frame->GetHWND();
  frame->OnMessage(kMsgSelectPage, 3, 0);
  PumpFor(200);
  const LPARAM at = MAKELPARAM(kCompleteButtonX, kCompleteButtonY);
  PostMessageW(g_frameWindow, WM_MOUSEMOVE, 0, at);
  PostMessageW(g_frameWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(g_frameWindow, WM_LBUTTONUP, 0, at);
  for (int i = 0; i < 100 && IsWindow(g_frameWindow); ++i) PumpFor(50);
  SetProductStarter(previous);

  EXPECT_EQ(g_start.calls, 1);
  EXPECT_EQ(g_start.application, folder.path() + L"\\zkbin\\VIDer.exe");
  EXPECT_EQ(g_start.folder, folder.path() + L"\\zkbin");
  EXPECT_TRUE(g_start.windowLivedThrough) << "the wizard closed while the product was being started";
  EXPECT_FALSE(IsWindow(g_frameWindow)) << "the wizard did not close after the start";
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyPath(IsWow64() != 0).c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS)
      << "the finishing steps did not run first";
  if (key != nullptr) RegCloseKey(key);
  RemoveRegistrationAndLinks();
}

// A fast unpack reports far more often than the window can repaint: reports made while one is
// still queued add no message, so input (the close button) is not held back behind them.
TEST_F(WizardFrame, ProgressReportsWaitingForTheWindowAreOneMessage) {
  ZKMainFrame* frame = OpenFrame();
  ASSERT_NE(frame, nullptr);
  const HWND window = frame->GetHWND();
  PumpFor(200);
  InstallOptions& options = GetInstallOptions();
  auto report = [&](int count) {
    std::thread worker([&] {
      for (int i = 1; i <= count; ++i) {
        options.bytesDone.store(static_cast<uint64_t>(i));
        options.bytesTotal.store(10000);
        frame->Deliver(kMsgPostToUiThread, kMsgProgress, 0);
      }
    });
    worker.join();
  };
  auto queued = [window] {
    int n = 0;
    MSG msg = {};
    while (PeekMessageW(&msg, window, kMsgRelay, kMsgRelay, PM_REMOVE)) {
      ++n;
      DispatchMessageW(&msg);
    }
    return n;
  };
  report(1000);
  EXPECT_EQ(queued(), 1);
  // Once handled, the next report is posted again.
  report(1);
  EXPECT_EQ(queued(), 1);
  DestroyWindow(window);
  PumpFor(100);
}

int g_unregistrableAlive = 0;

class UnregistrableWindow final : public CZKObjectWnd {
 public:
  UnregistrableWindow() {
    m_windowClassName = L"zkunregistrable";
    ++g_unregistrableAlive;
  }
  ~UnregistrableWindow() override { --g_unregistrableAlive; }
  // A superclass of a class nobody registered cannot be registered.
  const wchar_t* GetBaseWindowClassName() const override { return L"zkNoSuchBaseClass"; }
};

TEST_F(WizardFrame, WindowWhoseClassCannotBeRegisteredIsNotLeaked) {
  bool destroyCallbackRan = false;
  EXPECT_EQ(CreateObjectWnd<UnregistrableWindow>(nullptr, nullptr, false, L"x", [&] { destroyCallbackRan = true; },
                                                 {}, kFrameStyle, kFrameExStyle, SW_SHOW, 0),
            nullptr);
  EXPECT_EQ(g_unregistrableAlive, 0);
  EXPECT_TRUE(destroyCallbackRan);
}

// The same pixels as a decode of the skin file.
void ExpectSkinFilePixels(const SkinUI::TImageDataUI* image, const std::wstring& file) {
  ASSERT_NE(image, nullptr) << "not decoded: " << std::string(file.begin(), file.end());
  const auto fresh = SkinUI::CSkinRender::LoadImageData(file, L"", 0, nullptr);
  ASSERT_NE(fresh, nullptr);
  ASSERT_EQ(image->width, fresh->width);
  ASSERT_EQ(image->height, fresh->height);
  const size_t count = static_cast<size_t>(fresh->width) * static_cast<size_t>(fresh->height);
  EXPECT_TRUE(std::equal(fresh->pixels, fresh->pixels + count, image->pixels));
}

// Before the first frame only what the welcome page shows is decoded; another page's images are decoded when
// it is first painted, the options page's space figures read when it is selected.
TEST_F(WizardFrame, LaterPagesDecodeTheirImagesWhenFirstShown) {
  const std::wstring welcome = L"Install_and_uninstall\\table_bg_install_01.png";
  const std::wstring options = L"Install_and_uninstall\\table_bg_install_02.png";
  const std::wstring modify = L"Install_and_uninstall\\btn_modify.png";
  const std::wstring progress = L"Install_and_uninstall\\table_bg_install_03.png";
  ZKMainFrame* frame = OpenFrame();
  ASSERT_NE(frame, nullptr);
  const HWND window = frame->GetHWND();
  SkinUI::CPaintManagerUI& manager = frame->GetPaintManager();
  PumpFor(300);
  ExpectSkinFilePixels(manager.GetImage(welcome), welcome);
  EXPECT_EQ(manager.GetImage(options), nullptr);
  EXPECT_EQ(manager.GetImage(modify), nullptr);
  EXPECT_EQ(manager.GetImage(progress), nullptr);
  auto* space = dynamic_cast<SkinUI::CLabelUI*>(manager.FindControl(L"spaceLab"));
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(space->GetText(), L"");

  frame->OnMessage(kMsgSelectPage, 1, 0);
  PumpFor(300);
  ExpectSkinFilePixels(manager.GetImage(options), options);
  EXPECT_NE(manager.GetImage(modify), nullptr);
  EXPECT_EQ(manager.GetImage(progress), nullptr);
  EXPECT_EQ(space->GetText(), SpaceText(CheckSpaceFor(GetInstallOptions().installDir)));

  CloseFrame(window);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
