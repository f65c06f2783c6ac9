#pragma once
// A minimal scroll bar: the range and position a container scrolls by, drawn as its
// background only. The installer's skin has none.

#include "ControlUI.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  CScrollBarUI();

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;

  CContainerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal);

  int GetScrollRange() const { return m_nRange; }
  // Negative ranges count as 0; the position is kept inside the range.
  void SetScrollRange(int range);
  int GetScrollPos() const { return m_nScrollPos; }
  void SetScrollPos(int pos);
  int GetLineSize() const;
  void SetLineSize(int size);

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 0;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
};

}  // namespace SkinUI
