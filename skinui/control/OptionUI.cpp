#include "OptionUI.h"

#include <oleacc.h>

#include <vector>

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {
constexpr int kMaxSlices = 4;
constexpr const wchar_t* kCheckAction = L"选中";
constexpr const wchar_t* kUncheckAction = L"取消选中";
}  // namespace

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
  if (!m_sGroupName.empty() && m_pManager != nullptr) m_pManager->LeaveOptionGroup(m_sGroupName, this);
}

std::wstring COptionUI::GetClassName() const { return L"OptionUI"; }

void* COptionUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Option")) return this;
  return CButtonUI::GetInterface(typeName);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize) {
  // A group lists only options of its own manager: the builder lends one while it sets the
  // attributes, and an option that is never attached must not stay behind in its group.
  if (m_pManager != nullptr && m_pManager != manager && !m_sGroupName.empty())
    m_pManager->LeaveOptionGroup(m_sGroupName, this);
  CButtonUI::SetManager(manager, parent, initialize);
  if (initialize && !m_sGroupName.empty() && m_pManager != nullptr) m_pManager->JoinOptionGroup(m_sGroupName, this);
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  Selected(m_sGroupName.empty() ? !m_bSelected : true, true);
  return true;
}

DWORD COptionUI::GetAccessibleRole() const {
  return m_sGroupName.empty() ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_RADIOBUTTON;
}

DWORD COptionUI::GetAccessibleState() const {
  return CButtonUI::GetAccessibleState() | (m_bSelected ? STATE_SYSTEM_CHECKED : 0);
}

std::wstring COptionUI::GetAccessibleDefaultAction() const {
  return m_bSelected && m_sGroupName.empty() ? kUncheckAction : kCheckAction;
}

void COptionUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  using attr::EqualsNoCase;
  if (EqualsNoCase(name, L"group")) {
    SetGroup(value);
  } else if (EqualsNoCase(name, L"selected")) {
    Selected(attr::ParseBool(value), true);
  } else if (EqualsNoCase(name, L"selectedimage")) {
    SetSelectedImage(value);
  } else if (EqualsNoCase(name, L"selectedhotimage")) {
    SetSelectedHotImage(value);
  } else if (EqualsNoCase(name, L"selectedpushedimage")) {
    SetSelectedPushedImage(value);
  } else if (EqualsNoCase(name, L"selecteddisableimage")) {
    SetSelectedDisabledImage(value);
  } else if (EqualsNoCase(name, L"selectedforeimage")) {
    SetSelectedForeImage(value);
  } else if (EqualsNoCase(name, L"selectedstateimage")) {
    SetSelectedStateImage(value);
  } else if (EqualsNoCase(name, L"selectedstatecount")) {
    SetSelectedStateCount(attr::ParseInt(value));
  } else if (EqualsNoCase(name, L"selectedbkcolor")) {
    SetSelectedBkColor(attr::ParseColor(value, false));
  } else if (EqualsNoCase(name, L"selectedtextcolor")) {
    SetSelectedTextColor(attr::ParseColor(value, false));
  } else if (EqualsNoCase(name, L"selectedfont")) {
    SetSelectedFont(attr::ParseInt(value));
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::PaintBackgroundColor(HDC dc) {
  if (!m_bSelected) {
    CButtonUI::PaintBackgroundColor(dc);
    return;
  }
  if (m_dwSelectedBkColor != 0) CSkinRender::DrawColor(dc, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
}

void COptionUI::PaintStateImage(HDC dc) {
  if (!m_bSelected) {
    CButtonUI::PaintStateImage(dc);
    return;
  }
  if (!m_sSelectedStateImage.empty() && m_nSelectedStateCount > 0 && m_sSelectedImage.empty()) {
    std::wstring slices[kMaxSlices];
    if (SliceStateImage(m_sSelectedStateImage, m_nSelectedStateCount, slices)) {
      m_sSelectedImage = slices[0];
      if (m_nSelectedStateCount > 1) m_sSelectedHotImage = m_sSelectedPushedImage = slices[1];
      if (m_nSelectedStateCount > 2) m_sSelectedPushedImage = slices[2];
    }
  }
  RefreshState();
  if ((m_uButtonState & kStatePushed) != 0 && !m_sSelectedPushedImage.empty()) {
    if (DrawImage(dc, m_sSelectedPushedImage)) return;
  } else if ((m_uButtonState & kStateHot) != 0 && !m_sSelectedHotImage.empty()) {
    if (DrawImage(dc, m_sSelectedHotImage)) return;
  } else if ((m_uButtonState & kStateDisabled) != 0 && !m_sSelectedDisabledImage.empty()) {
    if (DrawImage(dc, m_sSelectedDisabledImage)) return;
  }
  if (!m_sSelectedImage.empty()) DrawImage(dc, m_sSelectedImage);
}

void COptionUI::PaintForeImage(HDC dc) {
  if (m_bSelected && !m_sSelectedForeImage.empty() && DrawImage(dc, m_sSelectedForeImage)) return;
  CButtonUI::PaintForeImage(dc);
}

void COptionUI::PaintText(HDC dc) {
  if (!m_bSelected) {
    CButtonUI::PaintText(dc);
    return;
  }
  RefreshState();
  TakeDefaultColors();
  const std::wstring text = GetText();
  if (text.empty()) return;
  RECT rect = GetTextRect();
  uint32_t color = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
  if (!IsEnabled()) color = m_dwDisabledTextColor;
  const int font = m_iSelectedFont != -1 ? m_iSelectedFont : m_iFont;
  DrawLabelText(dc, rect, text, color, font, m_uTextStyle);
}

const std::wstring& COptionUI::GetSelectedStateImage() const { return m_sSelectedStateImage; }

void COptionUI::SetSelectedStateImage(const std::wstring& image) {
  m_sSelectedStateImage = image;
  Invalidate();
}

void COptionUI::Selected(bool selected, bool notify) {
  if (m_bSelected == selected) return;
  m_bSelected = selected;
  if (selected) {
    m_uButtonState |= kStateSelected;
  } else {
    m_uButtonState &= ~kStateSelected;
  }
  NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
  if (m_pManager != nullptr && !m_sGroupName.empty()) {
    if (!selected) {
      Invalidate();
      return;
    }
    // A copy: a deselected option's listener may change the group.
    std::vector<CControlUI*> group;
    if (const CPaintManagerUI::ControlList* members = m_pManager->GetOptionGroup(m_sGroupName)) group = *members;
    for (CControlUI* member : group) {
      if (member == this) continue;
      auto* option = static_cast<COptionUI*>(member->GetInterface(L"Option"));
      if (option != nullptr) option->Selected(false, notify);
    }
  }
  if (m_pManager != nullptr && notify) {
    m_pManager->SendNotify(this, L"selectchanged", m_bNotifyNewState ? static_cast<WPARAM>(selected) : 0, 0);
  }
  Invalidate();
}

void COptionUI::SetGroup(const std::wstring& name) {
  if (m_sGroupName == name) return;
  if (!m_sGroupName.empty() && m_pManager != nullptr) m_pManager->LeaveOptionGroup(m_sGroupName, this);
  m_sGroupName = name;
  if (!m_sGroupName.empty() && m_pManager != nullptr) m_pManager->JoinOptionGroup(m_sGroupName, this);
  Selected(m_bSelected, true);
}

void COptionUI::SetSelectedImage(const std::wstring& image) {
  m_sSelectedImage = image;
  Invalidate();
}

void COptionUI::SetSelectedHotImage(const std::wstring& image) {
  m_sSelectedHotImage = image;
  Invalidate();
}

void COptionUI::SetSelectedPushedImage(const std::wstring& image) {
  m_sSelectedPushedImage = image;
  Invalidate();
}

void COptionUI::SetSelectedDisabledImage(const std::wstring& image) {
  m_sSelectedDisabledImage = image;
  Invalidate();
}

void COptionUI::SetSelectedForeImage(const std::wstring& image) {
  m_sSelectedForeImage = image;
  Invalidate();
}

void COptionUI::SetSelectedStateCount(int count) {
  m_nSelectedStateCount = count;
  Invalidate();
}

void COptionUI::SetSelectedBkColor(uint32_t color) {
  m_dwSelectedBkColor = color;
  Invalidate();
}

void COptionUI::SetSelectedTextColor(uint32_t color) {
  m_dwSelectedTextColor = color;
  Invalidate();
}

void COptionUI::SetSelectedFont(int index) {
  m_iSelectedFont = index;
  Invalidate();
}

}  // namespace SkinUI
