#include "CheckBoxUI.h"

#include <oleacc.h>

#include "AttributeText.h"
#include "PaintManagerUI.h"

namespace SkinUI {

CCheckBoxUI::CCheckBoxUI() { m_bNotifyNewState = true; }
CCheckBoxUI::~CCheckBoxUI() = default;

std::wstring CCheckBoxUI::GetClassName() const { return L"CheckBoxUI"; }

void* CCheckBoxUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"CheckBox")) return this;
  return COptionUI::GetInterface(typeName);
}

DWORD CCheckBoxUI::GetAccessibleRole() const { return ROLE_SYSTEM_CHECKBUTTON; }

void CCheckBoxUI::HandleEvent(TControlEventUI& event) {
  if (m_bAutoCheck && IsMouseEnabled() &&
      (event.Type == UIEvent::ButtonDown || event.Type == UIEvent::DoubleClick)) {
    if (IsEnabled() && IsPointIn(m_rcItem, event.MousePoint)) {
      Selected(!m_bSelected, true);
      Notify(L"checkclick");
      Invalidate();
    }
    return;
  }
  COptionUI::HandleEvent(event);
}

void CCheckBoxUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"EnableAutoCheck")) SetAutoCheck(attr::ParseBool(value));
  COptionUI::SetAttribute(name, value);
}

}  // namespace SkinUI
