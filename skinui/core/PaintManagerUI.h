#pragma once
// One per skinned window: the window's resource tables (fonts, images, default attribute
// lists, styles, parsed image descriptors), its default font and colours and its display
// scale, each backed by a process-wide shared set. The resources are defined in
// PaintManagerResources.cpp; the window's message side lives in its own source file.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "AccessibleTreeUI.h"
#include "DpiScaler.h"
#include "GdiHandles.h"
#include "NotifyMsgUI.h"
#include "ResourceTable.h"
#include "UIResourceTypes.h"

namespace SkinUI {

class CPaintManagerUI {
  enum ColorIndex { kDisabledText, kText, kLinkText, kHoveredLinkText, kSelectedBackground, kColorCount };

 public:
  CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
  virtual ~CPaintManagerUI();

  // Window state the drawing code reads.
  HWND GetPaintWindow() const { return m_hWndPaint; }
  HDC GetPaintDC() const { return m_hDcPaint; }
  bool IsLayered() const { return m_bLayered; }
  POINT GetMousePos() const { return m_ptLastMousePos; }
  bool IsUseGdiplusText() const { return m_bUseGdiplusText; }
  void SetUseGdiplusText(bool use) { m_bUseGdiplusText = use; }
  int GetGdiplusTextRenderingHint() const { return m_trh; }
  void SetGdiplusTextRenderingHint(int hint) { m_trh = hint; }

  // Display scale.
  CDpiScaler* GetDpiScaler();
  int GetDpiScale() { return GetDpiScaler()->GetScale(); }
  int ScaleValue(int value) { return GetDpiScaler()->Scale(value); }
  RECT ScaleRect(RECT rect) { return GetDpiScaler()->Scale(rect); }
  SIZE ScaleSize(SIZE size) { return GetDpiScaler()->Scale(size); }
  // The window moved to a display of another DPI: fonts, images and layout follow its scale.
  void ApplyDpi(int dpi);

  // Sends every later registration of this window to the shared tables.
  void SetUseSharedResources(bool use) { m_bUseSharedResources = use; }
  bool IsUseSharedResources() const { return m_bUseSharedResources; }

  // Fonts.
  HFONT AddFont(int id, const std::wstring& faceName, int size, bool bold, bool underline, bool italic,
                bool shared = false);
  HFONT GetFont(int id);
  TFontDataUI* GetFontInfo(int id);
  TFontDataUI* GetFontInfo(HFONT font);
  HFONT FindFont(const std::wstring& faceName, int size, bool bold, bool underline, bool italic);
  int GetFontIndex(HFONT font, bool shared = false);
  int GetFontIndex(const std::wstring& faceName, int size, bool bold, bool underline, bool italic,
                   bool shared = false);
  bool RemoveFont(int id, bool shared = false);
  void SetDefaultFont(const std::wstring& faceName, int size, bool bold, bool underline, bool italic,
                      bool shared = false);
  TFontDataUI* GetDefaultFontInfo();
  // An id for a font that text tags create, clear of the ids a skin gives its fonts.
  int AllocateGeneratedFontId();
  bool AddFontFile(const std::wstring& fileName);
  size_t GetPrivateFontCount() const { return m_privateFonts.size(); }

  // Default colours, 0xAARRGGBB.
  uint32_t GetDefaultDisabledColor() const { return m_colors[kDisabledText]; }
  void SetDefaultDisabledColor(uint32_t color, bool shared = false) { SetColor(kDisabledText, color, shared); }
  uint32_t GetDefaultFontColor() const { return m_colors[kText]; }
  void SetDefaultFontColor(uint32_t color, bool shared = false) { SetColor(kText, color, shared); }
  uint32_t GetDefaultLinkFontColor() const { return m_colors[kLinkText]; }
  void SetDefaultLinkFontColor(uint32_t color, bool shared = false) { SetColor(kLinkText, color, shared); }
  uint32_t GetDefaultLinkHoverFontColor() const { return m_colors[kHoveredLinkText]; }
  void SetDefaultLinkHoverFontColor(uint32_t color, bool shared = false) {
    SetColor(kHoveredLinkText, color, shared);
  }
  uint32_t GetDefaultSelectedBkColor() const { return m_colors[kSelectedBackground]; }
  void SetDefaultSelectedBkColor(uint32_t color, bool shared = false) {
    SetColor(kSelectedBackground, color, shared);
  }

  // Images.
  const TImageDataUI* AddImage(const std::wstring& name, const std::wstring& resourceType = L"",
                               uint32_t mask = 0, bool hsl = false, bool shared = false,
                               HINSTANCE instance = nullptr);
  const TImageDataUI* AddImageBitmap(const std::wstring& name, HBITMAP bitmap, int width, int height,
                                     bool alpha, bool shared = false);
  const TImageDataUI* GetImage(const std::wstring& name);
  const TImageDataUI* GetOrLoadImage(const std::wstring& name, const std::wstring& resourceType = L"",
                                     uint32_t mask = 0, bool hsl = false, HINSTANCE instance = nullptr);
  bool RemoveImage(const std::wstring& name, bool shared = false);

  // Default attribute lists (by control element name) and styles.
  void AddDefaultAttributeList(const std::wstring& elementName, const std::wstring& attributes,
                               bool shared = false);
  const std::wstring* GetDefaultAttributeList(const std::wstring& elementName);
  bool RemoveDefaultAttributeList(const std::wstring& elementName, bool shared = false);
  void AddStyle(const std::wstring& name, const std::wstring& value, bool shared = false);
  const std::wstring* GetStyle(const std::wstring& name);

  // The parsed form of descriptor + modifier, parsed on first use and kept while the window lives.
  const TImageDrawUI* GetParsedDescriptor(const std::wstring& descriptor, const std::wstring& modifier);

  // Empties this window's tables and default font (the window is being reattached).
  void ResetResources();

  // Reloads every loaded image, shared and per window, from the current skin source.
  static void ReloadImages();
  // Frees the shared tables and the shared default font at toolkit shutdown.
  static void TermSharedResources();

  static HFONT GetSharedFont(int id);
  static const TImageDataUI* GetSharedImage(const std::wstring& name);

 protected:
  // Window state, owned by the message side.
  HWND m_hWndPaint = nullptr;
  HDC m_hDcPaint = nullptr;
  bool m_bLayered = false;
  POINT m_ptLastMousePos = {};
  bool m_bUseGdiplusText = false;
  int m_trh = 0;

 private:
  struct SharedResources;
  static SharedResources& Shared();

  CResourceTable<TFontDataUI>& FontTarget(bool shared);
  CResourceTable<TImageDataUI>& ImageTarget(bool shared);
  void ComputeMetrics(TFontDataUI& data);
  LOGFONTW DescribeFont(const std::wstring& faceName, int size, bool bold, bool underline, bool italic);
  std::unique_ptr<TImageDataUI> LoadImageRecord(const std::wstring& name, const std::wstring& resourceType,
                                                uint32_t mask, HINSTANCE instance) const;
  void SetColor(ColorIndex index, uint32_t color, bool shared);
  void ReloadOwnImages();

  CResourceTable<TFontDataUI> m_fonts;
  CResourceTable<TImageDataUI> m_images;
  CResourceTable<std::wstring> m_defaultAttributeLists;
  CResourceTable<std::wstring> m_styles;
  CResourceTable<TImageDrawUI> m_parsedDescriptors;
  TFontDataUI m_defaultFont;
  uint32_t m_colors[kColorCount] = {};
  bool m_bUseSharedResources = false;
  std::vector<unique_font_resource> m_privateFonts;
  std::unique_ptr<CDpiScaler> m_dpiScaler;
  int m_nextGeneratedFontId;

  // Window side: messages, focus, timers, notifications.
  // Defined in PaintManagerMessages.cpp.
 public:
  using ControlList = std::vector<CControlUI*>;

  void Init(HWND window, const wchar_t* name = nullptr);
  const std::wstring& GetName() const { return m_name; }
  // Only the window's own messages: the next paint lays the tree out, then "windowinit".
  bool AttachRoot(CControlUI* control);
  CControlUI* GetRoot() const { return m_pRoot; }
  void InitControls(CControlUI* control, CControlUI* parent = nullptr);
  CControlUI* FindControl(const std::wstring& name) const;
  CControlUI* FindControl(POINT point) const;
  // Called by a dying control: every reference the manager holds to it is dropped.
  void ReleaseDeferredObjects(CControlUI* control);
  // True for a control of the tree now attached (not one removed and waiting for clean-up).
  bool HoldsControl(const CControlUI* control) const;

  // Accessibility: the tree assistive technology reads, its events, and the focus ring, which
  // shows from the first Tab on, so a mouse user sees the skin as drawn. Defined in
  // PaintManagerAccessibility.cpp.
  void NotifyAccessibleEvent(CControlUI* control, DWORD event);
  // Runs the control's default action from the window's queue; false without a window.
  bool PostDefaultAction(CControlUI* control);
  bool IsFocusRingShown() const { return m_bFocusCues; }

  bool AddNotifyListener(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  bool AddMessageFilter(IMessageFilterUI* filter);
  bool RemoveMessageFilter(IMessageFilterUI* filter);
  bool AddTranslateAccelerator(ITranslateAccelerator* accelerator);
  bool RemoveTranslateAccelerator(ITranslateAccelerator* accelerator);
  bool AddPostPaint(CControlUI* control, int index = -1);
  bool RemovePostPaint(CControlUI* control);
  bool AddNativeWindow(CControlUI* control, HWND child);
  bool RemoveNativeWindow(HWND child);
  bool AddMouseLeaveNeeded(CControlUI* control);
  bool RemoveMouseLeaveNeeded(CControlUI* control);
  bool JoinOptionGroup(const std::wstring& group, CControlUI* option);
  void LeaveOptionGroup(const std::wstring& group, CControlUI* option);
  const ControlList* GetOptionGroup(const std::wstring& group) const;
  bool AddOptionGroup(const std::wstring& group, CControlUI* option) { return JoinOptionGroup(group, option); }
  void RemoveOptionGroup(const std::wstring& group, CControlUI* option) { LeaveOptionGroup(group, option); }
  void RemoveAllOptionGroups();

  // Detaches the control now and destroys it when the posted clean-up message arrives.
  void AddDeferredCleanup(CControlUI* control);
  void AddDelayedCleanup(CControlUI* control) { AddDeferredCleanup(control); }

  void SendNotify(CControlUI* sender, const std::wstring& type, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool async = false);
  void SendNotify(TNotifyMsgUI& msg, bool async = false);
  void UsedVirtualWnd(bool used) { m_bUsedVirtualWnd = used; }
  void SetUsedVirtualWnd(bool used) { m_bUsedVirtualWnd = used; }
  bool IsUsedVirtualWnd() const { return m_bUsedVirtualWnd; }

  CControlUI* GetFocus() const { return m_pFocus; }
  void SetFocus(CControlUI* control);
  void SetFocusNeeded(CControlUI* control) { RequestFocus(control); }
  void RequestFocus(CControlUI* control);
  bool MoveTabFocus(bool forward = true);
  bool SetNextTabControl(bool forward = true) { return MoveTabFocus(forward); }
  CControlUI* GetHover() const { return m_pHover; }

  bool SetTimer(CControlUI* control, UINT timerId, UINT elapse);
  bool KillTimer(CControlUI* control, UINT timerId);
  void KillTimer(CControlUI* control);
  void RemoveAllTimers();

  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured() const { return m_bMouseCapture; }

  void Invalidate();
  void Invalidate(const RECT& rect);
  void RequestUpdate() { m_bUpdateNeeded = true; }
  void NeedUpdate() { m_bUpdateNeeded = true; }
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  bool IsPainting() const { return m_bIsPainting; }

  // Translucency.
  void SetLayered(bool layered);
  RECT GetLayeredInset() const { return m_rcLayeredInset; }
  void SetLayeredInset(const RECT& inset);
  const std::wstring& GetLayeredImage() const { return m_layeredImage; }
  void SetLayeredImage(const std::wstring& descriptor);
  BYTE GetOpacity() const { return m_nOpacity; }
  void SetOpacity(BYTE opacity);
  void SetTransparent(int opacity);

  // Window settings the skin's Window element fills.
  SIZE GetInitSize() const { return m_szInitWindowSize; }
  void SetInitSize(int cx, int cy);
  RECT GetSizeBox() const { return m_rcSizeBox; }
  void SetSizeBox(const RECT& rect) { m_rcSizeBox = rect; }
  RECT GetCaptionRect() const { return m_rcCaption; }
  void SetCaptionRect(const RECT& rect) { m_rcCaption = rect; }
  SIZE GetRoundCorner() const { return m_szRoundCorner; }
  void SetRoundCorner(int cx, int cy) { m_szRoundCorner = {cx, cy}; }
  SIZE GetMinInfo() const { return m_szMinWindow; }
  void SetMinInfo(int cx, int cy) { m_szMinWindow = {cx, cy}; }
  SIZE GetMaxInfo() const { return m_szMaxWindow; }
  void SetMaxInfo(int cx, int cy) { m_szMaxWindow = {cx, cy}; }
  bool IsShowUpdateRect() const { return m_bShowUpdateRect; }
  void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
  bool IsNoActivate() const { return m_bNoActivate; }
  void SetNoActivate(bool noActivate) { m_bNoActivate = noActivate; }
  UINT GetHoverTime() const { return m_uHoverTime; }
  void SetHoverTime(UINT milliseconds) { m_uHoverTime = milliseconds; }
  HWND GetTooltipWindow() const { return m_hwndTooltip; }

  // The back buffer of the last offscreen paint: top-down 32-bit pixels of the client size.
  const uint32_t* GetOffscreenBits() const { return m_pOffscreenBits; }
  SIZE GetOffscreenSize() const { return m_szOffscreen; }

  bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Runs the filters of the managers the message's window belongs to; true = consumed.
  static bool TranslateUIMessage(const MSG* msg);
  // Pumps the thread's messages until WM_QUIT; returns the quit code.
  static int MessageLoop();

 private:
  struct TimerInfo {
    CControlUI* owner;
    UINT localId;
    HWND window;
    UINT_PTR nativeId;
    bool killed;
  };
  struct NativeWindowEntry {
    CControlUI* control;
    HWND window;
  };
  // One per delivery in progress, innermost first; the manager's end marks them all.
  struct DeliveryFrame {
    bool alive;
    DeliveryFrame* outer;
  };

  static constexpr UINT kMsgDefaultAction = WM_APP + 2;

  static std::vector<CPaintManagerUI*>& Managers();
  LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
  void RunDefaultAction(LONG id);
  void ShowFocusCues();
  void PaintFocusRing(HDC dc, const RECT& paint);
  bool HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnPaint();
  void PaintLayered(const RECT& paint, const RECT& client);
  void ComposeNativeWindows(HDC dc, const RECT& paint);
  void DrainAsyncNotifications();
  // False when a listener destroyed the manager.
  bool DeliverNotify(TNotifyMsgUI& msg);
  void SendEvent(CControlUI* control, int type, WPARAM wParam, LPARAM lParam, WORD keyState, WCHAR key = 0);
  void ShowTooltip(CControlUI* control);
  void HideTooltip();
  void ReleaseBuffers();
  bool OwnsControl(const CControlUI* control) const;
  void PostAsyncMessage();

  std::wstring m_name;
  unique_memory_dc m_hDcOffscreen;
  unique_memory_dc m_hDcBackground;
  unique_hbitmap m_hbmpOffscreen;
  unique_hbitmap m_hbmpBackground;
  uint32_t* m_pOffscreenBits = nullptr;
  uint32_t* m_pBackgroundBits = nullptr;
  SIZE m_szOffscreen = {};
  HWND m_hwndTooltip = nullptr;
  TOOLINFOW m_toolTip = {};
  std::wstring m_toolTipText;
  UINT m_uHoverTime = 400;
  bool m_bShowUpdateRect = false;
  bool m_bNoActivate = false;
  CControlUI* m_pRoot = nullptr;
  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pHover = nullptr;
  CControlUI* m_pClick = nullptr;
  CControlUI* m_pKey = nullptr;
  SIZE m_szMinWindow = {};
  SIZE m_szMaxWindow = {};
  SIZE m_szInitWindowSize = {};
  SIZE m_szRoundCorner = {};
  RECT m_rcSizeBox = {};
  RECT m_rcCaption = {};
  UINT m_uTimerId = 0x1000;
  bool m_bFirstLayout = true;
  bool m_bUpdateNeeded = false;
  bool m_bFocusNeeded = false;
  bool m_bOffscreenPaint = true;
  BYTE m_nOpacity = 255;
  RECT m_rcLayeredInset = {};
  bool m_bLayeredChanged = false;
  std::wstring m_layeredImage;
  RECT m_rcLayeredUpdate = {};
  bool m_bMouseTracking = false;
  bool m_bMouseCapture = false;
  bool m_bIsPainting = false;
  bool m_bUsedVirtualWnd = false;
  bool m_bAsyncNotifyPosted = false;
  std::vector<INotifyUI*> m_notifiers;
  std::vector<TimerInfo> m_timers;
  std::vector<ITranslateAccelerator*> m_translateAccelerators;
  std::vector<IMessageFilterUI*> m_preMessageFilters;
  std::vector<IMessageFilterUI*> m_messageFilters;
  ControlList m_postPaintControls;
  std::vector<NativeWindowEntry> m_nativeWindows;
  ControlList m_delayedCleanup;
  std::vector<std::unique_ptr<TNotifyMsgUI>> m_asyncNotify;
  std::vector<TNotifyMsgUI*> m_deliveringNotify;
  DeliveryFrame* m_pDelivery = nullptr;
  ControlList m_needMouseLeave;
  std::unordered_map<std::wstring, CControlUI*> m_nameTable;
  std::unordered_map<std::wstring, ControlList> m_optionGroups;
  std::shared_ptr<CAccessibleTreeUI> m_accessibleTree = std::make_shared<CAccessibleTreeUI>(this);
  bool m_bFocusCues = false;
  // Declared last so it runs first when the manager dies, while the tables above still exist.
  struct WindowSideCleanup {
    CPaintManagerUI* owner;
    ~WindowSideCleanup();
  };
  WindowSideCleanup m_windowSideCleanup{this};
};

}  // namespace SkinUI
