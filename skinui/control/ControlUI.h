#pragma once
// The root of every windowless element of the toolkit: name, texts, the position model,
// visibility, colours, images, borders, cursor and free-form attributes; painting in a fixed
// layer order and the input events every control shares.

#include <windows.h>

#include <cstdint>
#include <string>

#include "ControlEventUI.h"
#include "DelegateList.h"
#include "ResourceTable.h"

// Controls name their class with GetClassName; the platform's narrow/wide macro of the same
// name would rename it.
#ifdef GetClassName
#undef GetClassName
#endif

namespace SkinUI {

class CPaintManagerUI;

// FindControl flags.
constexpr UINT kFindVisible = 0x1;
constexpr UINT kFindEnabled = 0x2;
constexpr UINT kFindHitTest = 0x4;
constexpr UINT kFindUpdateTest = 0x8;
constexpr UINT kFindTopFirst = 0x10;
constexpr UINT kFindMeFirst = 0x80000000u;

// GetFlags bits.
constexpr UINT kFlagTabStop = 0x1;
constexpr UINT kFlagSetCursor = 0x2;

// Float alignment bits.
constexpr UINT kFloatAlignCenter = 0x1;
constexpr UINT kFloatAlignRight = 0x2;
constexpr UINT kFloatAlignVCenter = 0x4;
constexpr UINT kFloatAlignBottom = 0x8;

class CControlUI;
// With kFindHitTest the data is a POINT*.
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

struct TPercentInfo {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

class CControlUI {
 public:
  CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  virtual ~CControlUI();

  virtual std::wstring GetName() const;
  virtual void SetName(const std::wstring& name);
  virtual std::wstring GetClassName() const;
  virtual void* GetInterface(const std::wstring& typeName);
  virtual UINT GetFlags() const;
  virtual void SetFlags(UINT flags);
  virtual UINT GetFlagsWord() const;

  virtual bool Activate();
  virtual CPaintManagerUI* GetManager() const;
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize = true);
  virtual CControlUI* GetParent() const;

  virtual std::wstring GetText() const;
  virtual void SetText(const std::wstring& text);
  virtual bool IsResourceText() const;
  virtual void SetResourceText(bool resource);
  virtual bool IsDragEnabled() const;
  virtual void SetDragEnabled(bool enable);
  virtual bool IsDropEnabled() const;
  virtual void SetDropEnabled(bool enable);
  virtual bool IsRichEvent() const;
  virtual void SetRichEvent(bool enable);

  // Position.
  virtual RECT GetRelativePos() const;
  virtual RECT GetClientPos() const;
  virtual const RECT& GetPos() const;
  virtual void SetPos(RECT rect, bool invalidate = true);
  virtual void Move(SIZE offset, bool needInvalidate = true);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetLayoutWidth() const;
  virtual int GetLayoutHeight() const;
  virtual int GetX() const;
  virtual int GetY() const;
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT padding);
  virtual SIZE GetFixedOrigin() const;
  virtual void SetFixedOrigin(SIZE origin);
  virtual SIZE GetFixedSize() const;
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);
  virtual TPercentInfo GetFloatPercent() const;
  virtual void SetFloatPercent(TPercentInfo percent);
  virtual void SetFloatAlign(UINT align);
  virtual UINT GetFloatAlign() const;

  // Tooltip, cursor, shortcut, context menu, user data.
  virtual std::wstring GetToolTip() const;
  virtual void SetToolTip(const std::wstring& text);
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const;
  virtual WORD GetCursor() const;
  virtual std::wstring GetCursorName() const;
  virtual void SetCursor(WORD cursor);
  virtual wchar_t GetShortcut() const;
  virtual void SetShortcut(wchar_t ch);
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool used);
  virtual const std::wstring& GetUserData() const;
  virtual void SetUserData(const std::wstring& text);
  // What a screen reader is told when the control has no text, and how its keyboard focus shows.
  void SetAccessibleName(const std::wstring& name) { m_sAccessibleName = name; }
  void SetFocusRingImage(const std::wstring& image) { m_sFocusRingImage = image; }
  void SetFocusRingColor(uint32_t color) { m_dwFocusRingColor = color; }
  virtual UINT_PTR GetTag() const;
  virtual void SetTag(UINT_PTR tag);

  // State.
  virtual bool IsVisibleSelf() const;
  virtual bool IsVisible() const;
  virtual void SetVisible(bool visible = true);
  virtual void SetParentVisible(bool visible = true);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enable = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enable = true);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool enable = true);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool floating = true);

  virtual CControlUI* FindControl(FindControlProc proc, void* data, UINT flags);

  virtual void Initialize();
  virtual void OnInitialize();
  virtual void Event(TControlEventUI& event);
  virtual void HandleEvent(TControlEventUI& event);
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);

  virtual SIZE MeasureSize(SIZE available);

  // Painting, in the order the layers are drawn.
  virtual bool Paint(HDC dc, const RECT& paint, CControlUI* stopControl);
  virtual bool PaintContent(HDC dc, const RECT& paint, CControlUI* stopControl);
  virtual void PaintBackgroundColor(HDC dc);
  virtual void PaintBackgroundImage(HDC dc);
  virtual void PaintStateImage(HDC dc);
  virtual void PaintForeColor(HDC dc);
  virtual void PaintForeImage(HDC dc);
  virtual void PaintText(HDC dc);
  virtual void PaintBorder(HDC dc);
  virtual void PaintOverlay(HDC dc, const RECT& paint);
  // The focused control's ring: the "focusringimage", else a 1 px rectangle of
  // "focusringcolor", else the system's dotted focus rectangle.
  virtual void PaintFocusRing(HDC dc);

  // What assistive technology reads of this control. Role and state are MSAA's ROLE_SYSTEM_* and
  // STATE_SYSTEM_* values.
  virtual bool IsAccessibleElement() const;
  virtual DWORD GetAccessibleRole() const;
  // The text, else the tooltip, else the "accname" attribute.
  virtual std::wstring GetAccessibleName() const;
  virtual DWORD GetAccessibleState() const;
  virtual std::wstring GetAccessibleValue() const;
  // Empty when the control has no action.
  virtual std::wstring GetAccessibleDefaultAction() const;
  // What a click does; false when the control has no action or cannot take it now.
  virtual bool DoAccessibleDefaultAction();
  // The tooltip, else the "accname" attribute: the name of a control whose text is its value.
  std::wstring GetAccessibleLabel() const;

  // Layout requests.
  void Invalidate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  void NeedLayout();
  void NeedParentLayout();

  // Applies name="value" pairs separated by a space or a comma, or a style of that name.
  void ApplyAttributeList(const std::wstring& list);

  void AddCustomAttribute(const std::wstring& name, const std::wstring& value);
  const std::wstring* GetCustomAttribute(const std::wstring& name);
  bool RemoveCustomAttribute(const std::wstring& name);
  void RemoveAllCustomAttributes();

  bool DrawImage(HDC dc, const std::wstring& descriptor, const std::wstring& modifier = L"");

  std::wstring GetVirtualWindow() const;
  void SetVirtualWindow(const std::wstring& name);

  // Colours (0xAARRGGBB), images and borders.
  uint32_t GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(uint32_t color);
  uint32_t GetBkColor2() const { return m_dwBackColor2; }
  void SetBkColor2(uint32_t color);
  uint32_t GetBkColor3() const { return m_dwBackColor3; }
  void SetBkColor3(uint32_t color);
  uint32_t GetForeColor() const { return m_dwForeColor; }
  void SetForeColor(uint32_t color);
  const std::wstring& GetGradient() const { return m_sGradient; }
  void SetGradient(const std::wstring& gradient);
  const std::wstring& GetBkImage() const { return m_sBkImage; }
  void SetBkImage(const std::wstring& image);
  const std::wstring& GetForeImage() const { return m_sForeImage; }
  void SetForeImage(const std::wstring& image);
  uint32_t GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(uint32_t color);
  uint32_t GetFocusBorderColor() const { return m_dwFocusBorderColor; }
  void SetFocusBorderColor(uint32_t color);
  bool IsColorHSL() const { return m_bColorHSL; }
  void SetColorHSL(bool hsl);
  int GetBorderSize() const;
  void SetBorderSize(int size);
  // Per-side sizes; the uniform size stays as it is.
  void SetBorderSize(RECT sides);
  int GetLeftBorderSize() const;
  void SetLeftBorderSize(int size);
  int GetTopBorderSize() const;
  void SetTopBorderSize(int size);
  int GetRightBorderSize() const;
  void SetRightBorderSize(int size);
  int GetBottomBorderSize() const;
  void SetBottomBorderSize(int size);
  int GetBorderStyle() const { return m_nBorderStyle; }
  void SetBorderStyle(int style);
  SIZE GetBorderRound() const;
  void SetBorderRound(SIZE round);

  // Listener lists.
  CDelegateList OnInit;
  CDelegateList OnDestroy;
  CDelegateList OnSize;
  CDelegateList OnEvent;
  CDelegateList OnNotify;

 protected:
  // The manager's display scale applied to one stored value.
  int Scale(int value) const;
  RECT Scale(RECT rect) const;
  SIZE Scale(SIZE size) const;
  // Colour as drawn (the HSL adjustment is not applied by this toolkit).
  uint32_t GetAdjustColor(uint32_t color) const { return color; }
  // Sends a notification through the manager; nothing without one.
  void Notify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0, bool async = false);
  // Tells assistive technology (NotifyWinEvent) that this control changed; nothing while the
  // control is not in a window's tree.
  void NotifyAccessibleEvent(DWORD event);

  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  std::wstring m_sVirtualWnd;
  std::wstring m_sName;
  bool m_bUpdateNeeded = true;
  bool m_bMenuUsed = false;
  RECT m_rcItem = {};
  RECT m_rcPadding = {};
  SIZE m_cXY = {};
  SIZE m_cxyFixed = {};
  SIZE m_cxyMin = {};
  SIZE m_cxyMax = {9999, 9999};
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  TPercentInfo m_piFloatPercent;
  UINT m_uFloatAlign = 0;
  bool m_bSetPos = false;
  bool m_bRichEvent = false;
  bool m_bDragEnabled = false;
  bool m_bDropEnabled = false;
  bool m_bResourceText = false;
  std::wstring m_sText;
  std::wstring m_sToolTip;
  wchar_t m_chShortcut = 0;
  std::wstring m_sUserData;
  UINT_PTR m_pTag = 0;
  std::wstring m_sGradient;
  uint32_t m_dwBackColor = 0;
  uint32_t m_dwBackColor2 = 0;
  uint32_t m_dwBackColor3 = 0;
  uint32_t m_dwForeColor = 0;
  std::wstring m_sBkImage;
  std::wstring m_sForeImage;
  uint32_t m_dwBorderColor = 0;
  uint32_t m_dwFocusBorderColor = 0;
  bool m_bColorHSL = false;
  int m_nBorderSize = 0;
  int m_nBorderStyle = PS_SOLID;
  int m_nTooltipWidth = 300;
  WORD m_wCursor = 0;
  SIZE m_cxyBorderRound = {};
  RECT m_rcPaint = {};
  RECT m_rcBorderSize = {};
  CResourceTable<std::wstring> m_mCustomAttributes;
  UINT m_uControlFlags = 0;
  std::wstring m_sAccessibleName;
  std::wstring m_sFocusRingImage;
  uint32_t m_dwFocusRingColor = 0;
};

}  // namespace SkinUI
