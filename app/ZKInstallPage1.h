#pragma once
// Options page: the installation folder with the folder chooser, the desktop-shortcut and
// taskbar check boxes, back and install.

#include <string>

#include "ButtonUI.h"
#include "LabelUI.h"
#include "OptionUI.h"
#include "ZKInstallPageBase.h"

// The folder the user picks, starting at initialPath; empty when the dialog is cancelled or the
// choice is not a folder of the file system.
std::wstring ChooseFolder(HWND owner, const std::wstring& initialPath);

class CZKInstallPage1 final : public CZKInstallPageBase {
 public:
  explicit CZKInstallPage1(SkinUI::CPaintManagerUI* manager) : CZKInstallPageBase(manager) {}

  void InitPage();
  // Each time the page is selected: the space figures, read then and not before the first frame
  // (the payload's size takes 7zCore.dll).
  void OnShown();
  void OnClick(SkinUI::TNotifyMsgUI& msg);
  // The two check boxes govern the desktop shortcut and the taskbar pin.
  void OnSelectChanged(SkinUI::TNotifyMsgUI& msg);

  SKINUI_DECLARE_NOTIFY_MAP(CZKInstallPage1);

 private:
  // Shows what the payload needs and the drive has; false when it does not fit.
  bool RefreshSpace();

  SkinUI::CButtonUI* m_backButton = nullptr;
  SkinUI::CButtonUI* m_installButton = nullptr;
  SkinUI::COptionUI* m_desktopOption = nullptr;
  SkinUI::COptionUI* m_taskbarOption = nullptr;
  SkinUI::CLabelUI* m_pathLabel = nullptr;
  SkinUI::CLabelUI* m_spaceLabel = nullptr;
  SkinUI::CButtonUI* m_modifyButton = nullptr;
};
