#pragma once
// The popup window a combo box shows its rows in: a window with its own paint manager whose
// root is a scrolling list layout. The rows stay the combo's: they are lent to the layout while
// the popup is open and given back when its window goes. The object deletes itself then.

#include "PaintManagerUI.h"
#include "WindowWnd.h"

namespace SkinUI {

class CComboUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd {
 public:
  // Creates and shows the popup under the combo; null when no window could be made.
  static CComboWnd* Open(CComboUI* owner);

  const wchar_t* GetWindowClassName() const override { return L"SkinUIComboWnd"; }
  UINT GetWindowClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND window) override;

  CPaintManagerUI& GetPaintManager() { return m_pm; }
  CVerticalLayoutUI* GetLayout() const { return m_pLayout; }
  // Scrolls the popup so that the row is wholly in view.
  void EnsureVisible(int index);

 private:
  explicit CComboWnd(CComboUI* owner) : m_pOwner(owner) {}
  ~CComboWnd() override = default;
  void BuildLayout();
  void GiveRowsBack();
  RECT PopupRect() const;

  CComboUI* m_pOwner;
  CPaintManagerUI m_pm;
  CVerticalLayoutUI* m_pLayout = nullptr;  // owned by m_pm as its root
};

}  // namespace SkinUI
