#pragma once
// A single-line text field. The skin draws the text (bullets for a password, the prompt text
// while empty); while the control has the focus a native EDIT child window takes the keys.
// Sends "textchanged" when the user changes the text and "return" on Enter.

#include "GdiHandles.h"
#include "LabelUI.h"
#include "UniqueHandle.h"

namespace SkinUI {

constexpr const wchar_t* kNotifyTextChanged = L"textchanged";
constexpr const wchar_t* kNotifyReturn = L"return";

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  ~CEditUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void SetText(const std::wstring& text) override;
  void SetPos(RECT rect, bool invalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetParentVisible(bool visible = true) override;
  void SetEnabled(bool enable = true) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  void HandleEvent(TControlEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStateImage(HDC dc) override;
  void PaintText(HDC dc) override;
  bool IsAccessibleElement() const override;
  DWORD GetAccessibleRole() const override;
  // The tooltip, the "accname" attribute, else the prompt text; never the text itself.
  std::wstring GetAccessibleName() const override;
  DWORD GetAccessibleState() const override;
  // Empty for a password.
  std::wstring GetAccessibleValue() const override;

  bool IsReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(bool readOnly);
  bool IsPasswordMode() const { return m_bPasswordMode; }
  void SetPasswordMode(bool password);
  wchar_t GetPasswordChar() const { return m_chPassword; }
  void SetPasswordChar(wchar_t ch);
  bool IsNumberOnly() const { return m_bNumberOnly; }
  void SetNumberOnly(bool numberOnly);
  // 0: no limit beyond the platform's.
  int GetMaxChar() const { return m_nMaxChar; }
  void SetMaxChar(int count);
  const std::wstring& GetPromptText() const { return m_sPromptText; }
  void SetPromptText(const std::wstring& text);
  uint32_t GetPromptColor() const { return m_dwPromptColor; }
  void SetPromptColor(uint32_t color);
  uint32_t GetNativeBkColor() const { return m_dwNativeBkColor; }
  void SetNativeBkColor(uint32_t color);
  void SetNormalImage(const std::wstring& image);
  void SetHotImage(const std::wstring& image);
  void SetFocusedImage(const std::wstring& image);
  void SetDisabledImage(const std::wstring& image);

  // The native edit window while the control is being edited, else null.
  HWND GetNativeWindow() const;
  void SetSel(int start, int end);

 private:
  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  void BeginEdit();
  void EndEdit();
  bool CreateNativeWindow();
  void PlaceNativeWindow();
  void ApplyStyleBits();
  void OnNativeChange();
  std::wstring ShownText() const;

  unique_hwnd m_edit;
  unique_hbrush m_nativeBrush;
  bool m_bEditing = false;
  bool m_bHot = false;
  bool m_bReadOnly = false;
  bool m_bPasswordMode = false;
  bool m_bNumberOnly = false;
  wchar_t m_chPassword = L'*';
  int m_nMaxChar = 0;
  std::wstring m_sPromptText;
  uint32_t m_dwPromptColor = 0;
  uint32_t m_dwNativeBkColor = 0xFFFFFFFF;
  std::wstring m_sNormalImage;
  std::wstring m_sHotImage;
  std::wstring m_sFocusedImage;
  std::wstring m_sDisabledImage;
};

}  // namespace SkinUI
