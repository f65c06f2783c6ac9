#include "ChildLayoutUI.h"

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinBuilder.h"

namespace SkinUI {

CChildLayoutUI::CChildLayoutUI() = default;
CChildLayoutUI::~CChildLayoutUI() = default;

std::wstring CChildLayoutUI::GetClassName() const { return L"ChildLayoutUI"; }

void* CChildLayoutUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ChildLayout")) return this;
  return CContainerUI::GetInterface(typeName);
}

void CChildLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize) {
  // The window initialises the tree: build first, so the new children are initialised with it.
  if (manager != nullptr && initialize && !m_bBuilt) BuildChildren(manager);
  CContainerUI::SetManager(manager, parent, initialize);
}

void CChildLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"xmlfile")) {
    SetChildLayoutXML(value);
    return;
  }
  CContainerUI::SetAttribute(name, value);
}

void CChildLayoutUI::SetChildLayoutXML(const std::wstring& file) {
  if (file == m_sXmlFile && m_bBuilt) return;
  m_sXmlFile = file;
  m_bBuilt = false;
  // In a live window (its parent is set only then) build now; while a skin is being built, the
  // window's initialisation builds later.
  if (m_pManager == nullptr || m_pParent == nullptr) return;
  if (!BuildChildren(m_pManager)) return;
  for (CControlUI* child : m_items) m_pManager->InitControls(child, this);
  NeedLayout();
}

bool CChildLayoutUI::BuildChildren(CPaintManagerUI* manager) {
  m_bBuilt = true;
  RemoveAll();
  if (m_sXmlFile.empty()) return false;
  CSkinBuilder builder;
  return builder.Create(m_sXmlFile, nullptr, nullptr, manager, this) != nullptr;
}

}  // namespace SkinUI
