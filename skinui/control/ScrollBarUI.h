#pragma once
// A scroll bar: two arrow buttons, a rail and a thumb whose length shows how much of the content
// is in view. Arrows and rail clicks step (and repeat while held), the thumb drags, the wheel
// steps. With an owner container the bar scrolls it; alone it keeps its own position and sends
// "scroll".

#include <string>

#include "ControlUI.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  // The parts of the bar, each drawn by its own images.
  enum Part { kButton1, kButton2, kThumb, kRail, kPartCount, kNoPart = kPartCount };
  // The pictures of one part, one per state.
  enum PartState { kNormal, kHot, kPushed, kDisabled, kStateCount };

  CScrollBarUI();
  ~CScrollBarUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetEnabled(bool enable = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStateImage(HDC dc) override;
  // Only a bar of its own: a container's bar is part of the container.
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;
  std::wstring GetAccessibleValue() const override;

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
  bool IsButtonShown(Part button) const { return m_bShowButton[button == kButton2 ? 1 : 0]; }
  void ShowButton(Part button, bool show);

  const std::wstring& GetPartImage(Part part, PartState state) const { return m_sImages[part][state]; }
  void SetPartImage(Part part, PartState state, const std::wstring& image);
  uint32_t GetPartColor(Part part, PartState state) const { return m_dwColors[part][state]; }
  void SetPartColor(Part part, PartState state, uint32_t color);

  // Where a part lies now (empty when it is not shown), and the part under a point.
  RECT GetPartRect(Part part) const;
  Part PartAt(POINT point) const;

 protected:
  // One step back or forward (-1 / +1) by a line or a page, through the owner when there is one.
  void StepLine(int direction);
  void StepPage(int direction);
  // Moves to an absolute position, through the owner when there is one.
  void ScrollTo(int pos);
  void RepeatPressedPart();
  PartState StateOf(Part part) const;
  // The extent of the bar along its axis, and its thickness across it.
  int Length() const;
  int Thickness() const;

  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 0;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
  bool m_bShowButton[2] = {true, true};
  std::wstring m_sImages[kPartCount][kStateCount];
  uint32_t m_dwColors[kPartCount][kStateCount] = {};
  Part m_hotPart = kNoPart;
  Part m_pressedPart = kNoPart;
  int m_nPressDirection = 0;
  POINT m_ptDragStart = {};
  int m_nDragStartPos = 0;
};

}  // namespace SkinUI
