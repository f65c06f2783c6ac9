#pragma once
// Shared pieces of the control tests: a hidden real window whose messages go to a paint
// manager, a recorder of notifications, event records, and a 32-bit canvas to paint into.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ContainerUI.h"
#include "ControlUI.h"
#include "GdiHandles.h"
#include "NotifyMsgUI.h"
#include "PaintManagerUI.h"

namespace SkinUI {
namespace test {

class NotifyRecorder : public INotifyUI {
 public:
  void Notify(TNotifyMsgUI& msg) override {
    records.push_back(msg);
    if (onNotify) onNotify(msg);
  }
  std::vector<std::wstring> Types() const {
    std::vector<std::wstring> types;
    for (const TNotifyMsgUI& msg : records) types.push_back(msg.Type);
    return types;
  }
  // The notifications other than the focus moves that come with them.
  std::vector<std::wstring> Actions() const {
    std::vector<std::wstring> types;
    for (const TNotifyMsgUI& msg : records)
      if (msg.Type != L"setfocus" && msg.Type != L"killfocus") types.push_back(msg.Type);
    return types;
  }
  const TNotifyMsgUI* Last(const std::wstring& type) const {
    for (auto it = records.rbegin(); it != records.rend(); ++it)
      if (it->Type == type) return &*it;
    return nullptr;
  }
  size_t Count(const std::wstring& type) const {
    size_t count = 0;
    for (const TNotifyMsgUI& msg : records) count += msg.Type == type ? 1 : 0;
    return count;
  }

  std::vector<TNotifyMsgUI> records;
  std::function<void(TNotifyMsgUI&)> onNotify;
};

// A hidden top-level window bound to a paint manager. The manager owns the attached root.
class ControlHost {
 public:
  ControlHost() {
    static const wchar_t* const kClassName = L"SkinUIControlTestHost";
    static bool registered = false;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!registered) {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = &ControlHost::WindowProc;
      wc.hInstance = instance;
      wc.lpszClassName = kClassName;
      wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
      registered = ::RegisterClassW(&wc) != 0;
    }
    window_ = ::CreateWindowExW(0, kClassName, L"controls", WS_POPUP, 0, 0, 700, 420, nullptr, nullptr, instance,
                                nullptr);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
    manager.Init(window_, L"controls");
    manager.AddNotifyListener(&notes);
  }
  ~ControlHost() {
    manager.RemoveNotifier(&notes);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  // Attaches the tree (the manager then owns it) and lays it out over the rectangle.
  template <typename T>
  T* Attach(T* root, RECT rect = RECT{0, 0, 700, 420}) {
    manager.AttachRoot(root);
    root->SetPos(rect, false);
    return root;
  }

  // Runs every message already waiting for the window (deferred clean-up, queued notifications).
  void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }

  HWND window() const { return window_; }

  CPaintManagerUI manager;
  NotifyRecorder notes;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* manager = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (manager != nullptr) {
      LRESULT result = 0;
      if (manager->MessageHandler(message, wParam, lParam, result)) return result;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

inline TControlEventUI MakeEvent(CControlUI* target, uint32_t type, POINT point = POINT{}, wchar_t key = 0) {
  TControlEventUI event;
  event.Type = type;
  event.Sender = target;
  event.Timestamp = ::GetTickCount();
  event.MousePoint = point;
  event.Key = key;
  return event;
}

inline void Send(CControlUI* target, uint32_t type, POINT point = POINT{}, wchar_t key = 0) {
  TControlEventUI event = MakeEvent(target, type, point, key);
  target->Event(event);
}

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom) { return RECT{left, top, right, bottom}; }

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::string ToString(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// A top-down 32-bit DIB section selected into a memory device context.
class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill) : width_(width), height_(height) {
    dc_.reset(::CreateCompatibleDC(nullptr));
    bitmap_.reset(CreateTopDownDib(dc_.get(), width, height, &pixels_));
    old_ = ::SelectObject(dc_.get(), bitmap_.get());
    for (int i = 0; i < width * height; ++i) pixels_[i] = fill;
  }
  ~Canvas() { ::SelectObject(dc_.get(), old_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_.get(); }
  // The colour without its alpha byte, 0xRRGGBB.
  uint32_t Rgb(int x, int y) const {
    ::GdiFlush();
    return pixels_[y * width_ + x] & 0x00FFFFFFu;
  }
  int CountNot(uint32_t rgb, const RECT& area) const {
    ::GdiFlush();
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += (pixels_[y * width_ + x] & 0x00FFFFFFu) != rgb ? 1 : 0;
    return count;
  }
  RECT Whole() const { return RECT{0, 0, width_, height_}; }

 private:
  int width_;
  int height_;
  unique_memory_dc dc_;
  unique_hbitmap bitmap_;
  uint32_t* pixels_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace test
}  // namespace SkinUI
