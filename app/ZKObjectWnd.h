#pragma once
// The installer's base for skinned top-level windows: the toolkit's skinned window joined with the
// message relay, the skin file and window class names kept as data, timer messages routed to an
// overridable handler, and monitor-aware centring. CreateObjectWnd creates and runs one.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "WindowImplBase.h"
#include "ZkBase.h"

class CZKObjectWnd : public SkinUI::WindowImplBase, public ZkBase {
 public:
  CZKObjectWnd() = default;
  ~CZKObjectWnd() override = default;

  const wchar_t* GetWindowClassName() const override { return m_windowClassName.c_str(); }
  std::wstring QuerySkinFile() override { return m_skinFileName; }
  LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // Centres the window on bounds (when not empty, and clamped to it), else horizontally on a
  // visible owner and vertically on the primary monitor, else on the primary monitor; then adds
  // offset. Returns the result of the final SetWindowPos.
  virtual BOOL CenterOnMonitor(const RECT& bounds, POINT offset);
  // Timer messages of the window; the base ignores them.
  virtual LRESULT OnTimerMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) { return 0; }

  SKINUI_DECLARE_NOTIFY_MAP(CZKObjectWnd);

 protected:
  // Set by the derived constructor: the skinned base reads both while the window is created.
  std::wstring m_skinFileName;
  std::wstring m_windowClassName;
};

constexpr UINT kIconGroupResource = 101;

// Creates a window of class Window, wires its callbacks, tag and relay target, centres it and
// either runs it modally (returns null: by then the object has deleted itself with its window)
// or shows it and returns it.
template <typename Window>
Window* CreateObjectWnd(HWND parent, ZkBase* target, bool modal, const std::wstring& title,
                        std::function<void()> onDestroy, std::function<void()> extra, DWORD style,
                        DWORD exStyle, int showFlag, int32_t tag) {
  auto* window = new Window();
  // The object deletes itself with its window; the flag tells whether that happened.
  auto gone = std::make_shared<bool>(false);
  window->SetDestroyCallback([gone, onDestroy] {
    *gone = true;
    if (onDestroy) onDestroy();
  });
  window->SetExtraCallback(extra);
  window->SetTag(tag);
  if (window->Create(parent, title.c_str(), style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                     CW_USEDEFAULT, nullptr) == nullptr) {
    // A window that existed for a moment has ended the object with it; one that never existed
    // (its class could not be registered) has not.
    if (!*gone) delete window;
    return nullptr;
  }
  window->SetIcon(kIconGroupResource);
  window->SetTarget(target);
  window->CenterOnMonitor(RECT{}, POINT{});
  if (modal) {
    window->ShowModal();
    return nullptr;
  }
  ::ShowWindow(window->GetHWND(), showFlag);
  ::SetFocus(window->GetHWND());
  return window;
}
