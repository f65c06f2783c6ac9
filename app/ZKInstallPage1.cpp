#include "ZKInstallPage1.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "DiskSpace.h"
#include "InstallOptions.h"
#include "ZkMessages.h"

namespace {

constexpr size_t kChooserBufferChars = 4096;  // 8192 bytes
constexpr UINT kChooserFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_UAHINT |
                               BIF_BROWSEINCLUDEFILES;  // 0x4151
constexpr const wchar_t* kChooserTitle = L"请选择文件路径";

struct CoTaskMemDeleter {
  void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::wstring ChooseFolder(HWND owner, const std::wstring& initialPath) {
  std::vector<wchar_t> buffer(kChooserBufferChars, L'\0');
  initialPath.copy(buffer.data(), kChooserBufferChars - 1);

  BROWSEINFOW browse = {};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;
  browse.pszDisplayName = buffer.data();
  browse.lpszTitle = kChooserTitle;
  browse.ulFlags = kChooserFlags;
  browse.lpfn = SelectInitialFolder;
  browse.lParam = reinterpret_cast<LPARAM>(buffer.data());

  std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter> item(SHBrowseForFolderW(&browse));
  if (!item) return std::wstring();
  // SHGetPathFromIDListW writes at most MAX_PATH characters.
  if (!SHGetPathFromIDListW(item.get(), buffer.data())) return std::wstring();
  std::wstring chosen(buffer.data());
  // The dialog lists files too; a file is no installation folder.
  const DWORD attributes = GetFileAttributesW(chosen.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
  while (chosen.size() > 3 && (chosen.back() == L'\\' || chosen.back() == L'/')) chosen.pop_back();
  return chosen;
}

SKINUI_BEGIN_NOTIFY_MAP(CZKInstallPage1, SkinUI::CNotifyPump)
SKINUI_NOTIFY_HANDLER(L"click", L"", OnClick)
SKINUI_NOTIFY_HANDLER(L"selectchanged", L"", OnSelectChanged)
SKINUI_END_NOTIFY_MAP()

void CZKInstallPage1::InitPage() {
  FindPageFrame(L"verroot1", L"minbtn1", L"closebtn1", L"Install_and_uninstall\\table_bg_install_02.png");
  m_backButton = Find<SkinUI::CButtonUI>(L"gobackbtn");
  m_installButton = Find<SkinUI::CButtonUI>(L"installBtn1");
  m_pathLabel = Find<SkinUI::CLabelUI>(L"pathLab");
  m_spaceLabel = Find<SkinUI::CLabelUI>(L"spaceLab");
  m_modifyButton = Find<SkinUI::CButtonUI>(L"modifyBtn");
  m_desktopOption = Find<SkinUI::COptionUI>(L"desktopShortCutOpt");
  m_taskbarOption = Find<SkinUI::COptionUI>(L"addtaskbarOpt");

  InstallOptions& options = GetInstallOptions();
  if (m_pathLabel) m_pathLabel->SetText(options.installDir);
  if (m_desktopOption) m_desktopOption->Selected(options.desktopShortcut, true);
  if (m_taskbarOption) m_taskbarOption->Selected(options.taskbarPin, true);
}

void CZKInstallPage1::OnShown() { RefreshSpace(); }

bool CZKInstallPage1::RefreshSpace() {
  const SpaceCheck check = CheckSpaceFor(GetInstallOptions().installDir);
  if (m_spaceLabel) m_spaceLabel->SetText(SpaceText(check));
  return check.enough();
}

void CZKInstallPage1::OnClick(SkinUI::TNotifyMsgUI& msg) {
  SkinUI::CControlUI* sender = msg.Sender;
  if (sender == nullptr) return;
  if (sender == m_minButton) {
    MinimizeFrame();
  } else if (sender == m_closeButton) {
    CloseFrame();
  } else if (sender == m_installButton) {
    if (RefreshSpace()) Deliver(kMsgSelectPage, 2, 0);
  } else if (sender == m_backButton) {
    Deliver(kMsgSelectPage, 0, 0);
  } else if (sender == m_modifyButton) {
    InstallOptions& options = GetInstallOptions();
    const std::wstring chosen = ChooseFolder(FrameWindow(), options.installDir);
    if (chosen.empty()) return;
    options.installDir = chosen;
    if (m_pathLabel) m_pathLabel->SetText(chosen);
    RefreshSpace();
  }
}

void CZKInstallPage1::OnSelectChanged(SkinUI::TNotifyMsgUI& msg) {
  if (msg.Sender == nullptr) return;
  InstallOptions& options = GetInstallOptions();
  if (msg.Sender == m_desktopOption) options.desktopShortcut = m_desktopOption->IsSelected();
  if (msg.Sender == m_taskbarOption) options.taskbarPin = m_taskbarOption->IsSelected();
}
