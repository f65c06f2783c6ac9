#include "AccessibleTreeUI.h"

#include "ControlUI.h"
#include "IContainerUI.h"
#include "PaintManagerUI.h"

namespace SkinUI {

void CAccessibleTreeUI::Detach() {
  m_manager = nullptr;
  m_ids.clear();
  m_controls.clear();
}

HWND CAccessibleTreeUI::GetWindow() const { return m_manager != nullptr ? m_manager->GetPaintWindow() : nullptr; }

LONG CAccessibleTreeUI::IdOf(CControlUI* control) {
  if (m_manager != nullptr && control == m_manager->GetRoot()) return kRootId;
  auto found = m_ids.find(control);
  if (found != m_ids.end()) return found->second;
  const LONG id = m_nextId++;
  m_ids.emplace(control, id);
  m_controls.emplace(id, control);
  return id;
}

CControlUI* CAccessibleTreeUI::Resolve(LONG id) const {
  if (m_manager == nullptr) return nullptr;
  if (id == kRootId) return m_manager->GetRoot();
  auto found = m_controls.find(id);
  if (found == m_controls.end() || !m_manager->HoldsControl(found->second)) return nullptr;
  return found->second;
}

void CAccessibleTreeUI::Forget(CControlUI* control) {
  auto found = m_ids.find(control);
  if (found == m_ids.end()) return;
  m_controls.erase(found->second);
  m_ids.erase(found);
}

bool CAccessibleTreeUI::IsElement(const CControlUI* control) {
  return control->IsVisible() && control->IsAccessibleElement();
}

std::vector<CControlUI*> CAccessibleTreeUI::ChildrenOf(CControlUI* control) const {
  std::vector<CControlUI*> children;
  if (control != nullptr) CollectChildren(control, children);
  return children;
}

void CAccessibleTreeUI::CollectChildren(CControlUI* control, std::vector<CControlUI*>& children) const {
  auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
  if (container == nullptr) return;
  for (int i = 0; i < container->GetCount(); ++i) {
    CControlUI* item = container->GetItemAt(i);
    if (item == nullptr || !item->IsVisible()) continue;
    if (item->IsAccessibleElement()) {
      children.push_back(item);
    } else {
      CollectChildren(item, children);
    }
  }
}

CControlUI* CAccessibleTreeUI::ParentOf(const CControlUI* control) const {
  CControlUI* root = m_manager != nullptr ? m_manager->GetRoot() : nullptr;
  for (CControlUI* parent = control->GetParent(); parent != nullptr; parent = parent->GetParent()) {
    if (parent == root || IsElement(parent)) return parent;
  }
  return root;
}

CControlUI* CAccessibleTreeUI::ChildFor(CControlUI* control, CControlUI* top) const {
  CControlUI* highest = nullptr;
  for (CControlUI* candidate = control; candidate != nullptr; candidate = candidate->GetParent()) {
    if (candidate == top) return highest != nullptr ? highest : top;
    if (IsElement(candidate)) highest = candidate;
  }
  return nullptr;
}

}  // namespace SkinUI
