#pragma once
// The base of every skinned top-level window: no native caption, a control tree built from the
// skin file the derived class names, caption dragging, resize borders, rounded corners and the
// standard system buttons. A skin that cannot be loaded ends the process with a message box.

#include <windows.h>

#include <string>

#include "NotifyMsgUI.h"
#include "NotifyPump.h"
#include "PaintManagerUI.h"
#include "SkinBuilder.h"
#include "SkinResourceIndex.h"
#include "WindowWnd.h"

namespace SkinUI {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
 public:
  WindowImplBase() = default;
  ~WindowImplBase() override = default;

  // Runs in OnCreate after the manager is attached to the window, before the skin is built.
  virtual void OnPrepareSkin() {}
  // The skin was built and attached.
  virtual void OnWindowReady() {}
  virtual void OnClick(TNotifyMsgUI& msg);
  virtual bool IsStaticControl(CControlUI* control);
  // Empty: the skin file is a file name; else the resource type of a resource numbered by it.
  virtual std::wstring QuerySkinSource() { return std::wstring(); }
  virtual std::wstring QuerySkinFile() = 0;
  virtual const wchar_t* GetManagerName() { return nullptr; }
  virtual bool HandleDefaultKey(WPARAM key);
  virtual LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Rescales for the new DPI and takes the rectangle the system suggests.
  virtual LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LONG GetStyle();

  UINT GetWindowClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND window) override;

  void Notify(TNotifyMsgUI& msg) override { NotifyPump(msg); }
  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  CControlUI* CreateControl(const wchar_t* elementName) override { return nullptr; }
  bool QueryControlText(const std::wstring& id, const std::wstring& type, std::wstring& text) override {
    return false;
  }

  CPaintManagerUI& GetPaintManager() { return m_pm; }

  SKINUI_DECLARE_NOTIFY_MAP(WindowImplBase);

 protected:
  void UpdateRoundRegion();
  // The visible, enabled close button ("closebtn", or a name that starts with it) clicked from
  // the window's queue, as Escape and the system close command do; false when there is none.
  bool ClickCloseButton();

  CPaintManagerUI m_pm;
};

}  // namespace SkinUI
