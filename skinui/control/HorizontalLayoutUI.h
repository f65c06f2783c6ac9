#pragma once
// Places its non-floating children from left to right: children with a width keep it, the
// others share what is left, and the last of them takes the rounding remainder.

#include "ContainerUI.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  CHorizontalLayoutUI();
  ~CHorizontalLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintOverlay(HDC dc, const RECT& paint) override;

  // Positive: a band at the right edge that resizes the layout; negative: at the left edge.
  int GetSepWidth() const;
  void SetSepWidth(int width);
  bool IsSepImmMode() const { return m_bImmMode; }
  void SetSepImmMode(bool immediate) { m_bImmMode = immediate; }

 protected:
  // The separator band of the current rectangle, or of the one being dragged to.
  RECT GetThumbRect(bool dragged) const;

  int m_iSepWidth = 0;
  bool m_bDragging = false;
  POINT m_ptDragStart = {};
  RECT m_rcDragStart = {};
  RECT m_rcNewPos = {};
  bool m_bImmMode = false;
};

}  // namespace SkinUI
