#pragma once
// The control tree of one window as assistive technology sees it: which controls are elements,
// who their parent and children are, and the stable numbers (child ids) that events and
// accessible objects name them by. Shared between the window's manager and every accessible
// object handed out, which may outlive the window.

#include <windows.h>

#include <unordered_map>
#include <vector>

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class CAccessibleTreeUI {
 public:
  // The window's own part, CHILDID_SELF.
  static constexpr LONG kRootId = 0;

  explicit CAccessibleTreeUI(CPaintManagerUI* manager) : m_manager(manager) {}
  CAccessibleTreeUI(const CAccessibleTreeUI&) = delete;
  CAccessibleTreeUI& operator=(const CAccessibleTreeUI&) = delete;

  // The manager is going away; every object still held by a client fails from now on.
  void Detach();
  CPaintManagerUI* GetManager() const { return m_manager; }
  HWND GetWindow() const;

  // A number of the control's own, 1 and up, kept while the control lives.
  LONG IdOf(CControlUI* control);
  // The control of an id while it is in the window's tree; kRootId is the root; null otherwise.
  CControlUI* Resolve(LONG id) const;
  void Forget(CControlUI* control);

  // A visible control that assistive technology lists.
  static bool IsElement(const CControlUI* control);
  // The elements below the control in tab order; containers that are no element are looked
  // through.
  std::vector<CControlUI*> ChildrenOf(CControlUI* control) const;
  // The nearest element above the control, else the root.
  CControlUI* ParentOf(const CControlUI* control) const;
  // The child element of top that holds the control (the control itself or an element above
  // it); top when no element lies between them; null when the control is not below top.
  CControlUI* ChildFor(CControlUI* control, CControlUI* top) const;

 private:
  void CollectChildren(CControlUI* control, std::vector<CControlUI*>& children) const;

  CPaintManagerUI* m_manager;
  LONG m_nextId = 1;
  std::unordered_map<CControlUI*, LONG> m_ids;
  std::unordered_map<LONG, CControlUI*> m_controls;
};

}  // namespace SkinUI
