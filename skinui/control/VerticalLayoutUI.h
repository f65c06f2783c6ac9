#pragma once
// Stacks its non-floating children from top to bottom: children with a height keep it, the
// others share what is left, and the last of them takes the rounding remainder.

#include "ContainerUI.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  CVerticalLayoutUI();
  ~CVerticalLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintOverlay(HDC dc, const RECT& paint) override;

  // Positive: a band at the bottom edge that resizes the layout; negative: at the top edge.
  int GetSepHeight() const;
  void SetSepHeight(int height);
  bool IsSepImmMode() const { return m_bImmMode; }
  void SetSepImmMode(bool immediate) { m_bImmMode = immediate; }

 protected:
  // The separator band of the current rectangle, or of the one being dragged to.
  RECT GetThumbRect(bool dragged) const;

  int m_iSepHeight = 0;
  bool m_bDragging = false;
  POINT m_ptDragStart = {};
  RECT m_rcDragStart = {};
  RECT m_rcNewPos = {};
  bool m_bImmMode = false;
};

}  // namespace SkinUI
