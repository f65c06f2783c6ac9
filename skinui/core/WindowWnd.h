#pragma once
// A thin wrapper around one native window: registers its class, creates the window with the
// object as creation parameter and routes every message to HandleMessage.

#include <windows.h>

#include "GdiHandles.h"

namespace SkinUI {

class CWindowWnd {
 public:
  CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;
  virtual ~CWindowWnd() = default;

  HWND GetHWND() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
              HMENU menu = nullptr);
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect,
              HMENU menu = nullptr);
  // At (0,0) with no size: the skin's Window element gives the size.
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle);
  HWND Subclass(HWND window);
  void Unsubclass();
  void ShowWindow(bool show = true, bool takeFocus = true);
  UINT ShowModal();
  void Close(UINT result = IDOK);
  void CenterWindow();
  void ResizeClient(int cx = -1, int cy = -1);
  void SetIcon(UINT resourceId);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual const wchar_t* GetWindowClassName() const = 0;
  virtual const wchar_t* GetBaseWindowClassName() const { return nullptr; }
  virtual UINT GetWindowClassStyle() const { return 0; }
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnWindowGone(HWND window) {}

 protected:
  bool RegisterWindowClass();
  bool RegisterSuperclass();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PropertyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  WNDPROC m_oldWndProc = ::DefWindowProcW;
  bool m_bSubclassed = false;

 private:
  // The icons SetIcon gave the window, destroyed when replaced and when the window is gone.
  unique_hicon m_bigIcon;
  unique_hicon m_smallIcon;
};

}  // namespace SkinUI
