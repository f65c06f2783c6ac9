#include "EditUI.h"

#include <commctrl.h>
#include <oleacc.h>

#include "AttributeTableUI.h"
#include "CommonControlsLibrary.h"
#include "PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr UINT_PTR kSubclassId = 1;
// The paint manager hands WM_COMMAND and WM_CTLCOLOR* back to the child at this offset.
constexpr UINT kReflectOffset = 0x2000;
constexpr WORD kIBeamCursor = 32513;
constexpr int kNativeExtraHeight = 2;

constexpr RECT kDefaultTextPadding = {4, 3, 4, 3};

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

COLORREF ToColorRef(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

using Attributes = CAttributeTableUI<CEditUI>;
const Attributes::Entry kEditAttributes[] = {
    {L"readonly", Attributes::Bool<&CEditUI::SetReadOnly>},
    {L"password", Attributes::Bool<&CEditUI::SetPasswordMode>},
    {L"passwordchar", [](CEditUI& edit, const std::wstring& value) {
       if (!value.empty()) edit.SetPasswordChar(value[0]);
     }},
    {L"numberonly", Attributes::Bool<&CEditUI::SetNumberOnly>},
    {L"maxchar", Attributes::Int<&CEditUI::SetMaxChar>},
    {L"prompttext", Attributes::Text<&CEditUI::SetPromptText>},
    {L"promptcolor", Attributes::Color<&CEditUI::SetPromptColor>},
    {L"nativebkcolor", Attributes::Color<&CEditUI::SetNativeBkColor>},
    {L"normalimage", Attributes::Text<&CEditUI::SetNormalImage>},
    {L"hotimage", Attributes::Text<&CEditUI::SetHotImage>},
    {L"focusedimage", Attributes::Text<&CEditUI::SetFocusedImage>},
    {L"disabledimage", Attributes::Text<&CEditUI::SetDisabledImage>},
};

}  // namespace

CEditUI::CEditUI() { m_rcTextPadding = kDefaultTextPadding; }
CEditUI::~CEditUI() {
  // The native window's last messages reach this object: end it while every member lives.
  m_edit.reset();
}

std::wstring CEditUI::GetClassName() const { return L"EditUI"; }

void* CEditUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Edit")) return this;
  return CLabelUI::GetInterface(typeName);
}

UINT CEditUI::GetFlags() const { return IsEnabled() ? kFlagSetCursor | kFlagTabStop : 0; }

void CEditUI::SetText(const std::wstring& text) {
  CLabelUI::SetText(text);
  if (m_edit && WindowText(m_edit.get()) != m_sText) ::SetWindowTextW(m_edit.get(), m_sText.c_str());
}

void CEditUI::SetPos(RECT rect, bool invalidate) {
  CLabelUI::SetPos(rect, invalidate);
  if (m_bEditing) PlaceNativeWindow();
}

void CEditUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  if (!IsVisible()) EndEdit();
}

void CEditUI::SetParentVisible(bool visible) {
  CLabelUI::SetParentVisible(visible);
  if (!IsVisible()) EndEdit();
}

void CEditUI::SetEnabled(bool enable) {
  CLabelUI::SetEnabled(enable);
  if (!enable) EndEdit();
}

void CEditUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize) {
  // The native window belongs to the old manager's window.
  if (manager != m_pManager) {
    m_bEditing = false;
    m_edit.reset();
  }
  CLabelUI::SetManager(manager, parent, initialize);
}

void CEditUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    CLabelUI::HandleEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEvent::SetCursor:
      if (IsEnabled()) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(kIBeamCursor)));
        return;
      }
      break;
    case UIEvent::SetFocus:
      CLabelUI::HandleEvent(event);
      // The window taking the focus back from the native edit (WParam: the window that lost it)
      // means the edit is being left, not entered.
      if (!m_edit || reinterpret_cast<HWND>(event.WParam) != m_edit.get()) BeginEdit();
      Invalidate();
      return;
    case UIEvent::KillFocus:
      CLabelUI::HandleEvent(event);
      EndEdit();
      return;
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      // Focused already (the window was deactivated meanwhile): the manager sends no new SetFocus.
      if (IsEnabled() && m_pManager != nullptr && m_pManager->GetFocus() == this && !m_bEditing) BeginEdit();
      return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
      m_bHot = event.Type == UIEvent::MouseEnter;
      Invalidate();
      return;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CEditUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kEditAttributes, *this, name, value)) CLabelUI::SetAttribute(name, value);
}

void CEditUI::PaintStateImage(HDC dc) {
  const std::wstring* image = &m_sNormalImage;
  if (!IsEnabled()) {
    image = &m_sDisabledImage;
  } else if (IsFocused()) {
    image = &m_sFocusedImage;
  } else if (m_bHot) {
    image = &m_sHotImage;
  }
  if (image->empty() || !DrawImage(dc, *image)) {
    if (!m_sNormalImage.empty()) DrawImage(dc, m_sNormalImage);
  }
}

void CEditUI::PaintText(HDC dc) {
  TakeDefaultColors();
  // While editing the native window shows the text.
  if (m_bEditing) return;
  RECT rect = GetTextRect();
  const UINT style = (m_uTextStyle & ~kStyleWordBreak) | kStyleSingleLine | kStyleNoPrefix;
  if (m_sText.empty()) {
    const uint32_t color = m_dwPromptColor != 0 ? m_dwPromptColor : m_dwDisabledTextColor;
    DrawLabelText(dc, rect, m_sPromptText, color, m_iFont, style);
    return;
  }
  DrawLabelText(dc, rect, ShownText(), IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont, style);
}

void CEditUI::SetReadOnly(bool readOnly) {
  m_bReadOnly = readOnly;
  if (m_edit) ::SendMessageW(m_edit.get(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  Invalidate();
}

void CEditUI::SetPasswordMode(bool password) {
  m_bPasswordMode = password;
  ApplyStyleBits();
  Invalidate();
}

void CEditUI::SetPasswordChar(wchar_t ch) {
  m_chPassword = ch;
  ApplyStyleBits();
  Invalidate();
}

void CEditUI::SetNumberOnly(bool numberOnly) {
  m_bNumberOnly = numberOnly;
  ApplyStyleBits();
}

void CEditUI::SetMaxChar(int count) {
  m_nMaxChar = count < 0 ? 0 : count;
  if (m_edit) ::SendMessageW(m_edit.get(), EM_LIMITTEXT, static_cast<WPARAM>(m_nMaxChar), 0);
}

void CEditUI::SetPromptText(const std::wstring& text) {
  m_sPromptText = text;
  Invalidate();
}

void CEditUI::SetPromptColor(uint32_t color) {
  m_dwPromptColor = color;
  Invalidate();
}

void CEditUI::SetNativeBkColor(uint32_t color) {
  m_dwNativeBkColor = color;
  m_nativeBrush.reset();
  if (m_edit) ::InvalidateRect(m_edit.get(), nullptr, TRUE);
}

void CEditUI::SetNormalImage(const std::wstring& image) {
  m_sNormalImage = image;
  Invalidate();
}

void CEditUI::SetHotImage(const std::wstring& image) {
  m_sHotImage = image;
  Invalidate();
}

void CEditUI::SetFocusedImage(const std::wstring& image) {
  m_sFocusedImage = image;
  Invalidate();
}

void CEditUI::SetDisabledImage(const std::wstring& image) {
  m_sDisabledImage = image;
  Invalidate();
}

HWND CEditUI::GetNativeWindow() const { return m_bEditing ? m_edit.get() : nullptr; }

void CEditUI::SetSel(int start, int end) {
  if (m_edit) ::SendMessageW(m_edit.get(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

LRESULT CALLBACK CEditUI::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                   DWORD_PTR self) {
  auto* edit = reinterpret_cast<CEditUI*>(self);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        edit->Notify(kNotifyReturn);
        return 0;
      }
      break;
    case WM_CHAR:
      // A single-line edit beeps on these; Enter is reported above and Tab moves the focus.
      if (wParam == L'\r' || wParam == L'\t') return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = CCommonControlsLibrary::Get().DefSubclassProc(window, message, wParam, lParam);
      edit->EndEdit();
      return result;
    }
    case kReflectOffset + WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) edit->OnNativeChange();
      return 0;
    case kReflectOffset + WM_CTLCOLOREDIT:
    case kReflectOffset + WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const uint32_t text = edit->IsEnabled() ? edit->m_dwTextColor : edit->m_dwDisabledTextColor;
      ::SetTextColor(dc, ToColorRef(text));
      ::SetBkColor(dc, ToColorRef(edit->m_dwNativeBkColor));
      if (!edit->m_nativeBrush) edit->m_nativeBrush.reset(::CreateSolidBrush(ToColorRef(edit->m_dwNativeBkColor)));
      return reinterpret_cast<LRESULT>(edit->m_nativeBrush.get());
    }
    case WM_NCDESTROY:
      CCommonControlsLibrary::Get().RemoveWindowSubclass(window, &CEditUI::EditProc, kSubclassId);
      if (edit->m_pManager != nullptr) edit->m_pManager->RemoveNativeWindow(window);
      edit->m_edit.release();
      edit->m_bEditing = false;
      break;
    default:
      break;
  }
  return CCommonControlsLibrary::Get().DefSubclassProc(window, message, wParam, lParam);
}

void CEditUI::BeginEdit() {
  if (m_bEditing || !IsEnabled() || !IsVisible() || !CreateNativeWindow()) return;
  m_bEditing = true;
  ::SetWindowTextW(m_edit.get(), m_sText.c_str());
  PlaceNativeWindow();
  ::ShowWindow(m_edit.get(), SW_SHOW);
  ::SetFocus(m_edit.get());
  const LPARAM end = static_cast<LPARAM>(m_sText.size());
  ::SendMessageW(m_edit.get(), EM_SETSEL, static_cast<WPARAM>(end), end);
  Invalidate();
}

void CEditUI::EndEdit() {
  if (!m_bEditing) return;
  m_bEditing = false;
  if (m_edit) ::ShowWindow(m_edit.get(), SW_HIDE);
  Invalidate();
}

bool CEditUI::CreateNativeWindow() {
  if (m_edit) return true;
  if (m_pManager == nullptr || m_pManager->GetPaintWindow() == nullptr) return false;
  HWND parent = m_pManager->GetPaintWindow();
  m_edit.reset(::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, parent, nullptr,
                                 reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                                 nullptr));
  if (!m_edit) return false;
  CCommonControlsLibrary::Get().SetWindowSubclass(m_edit.get(), &CEditUI::EditProc, kSubclassId,
                                                  reinterpret_cast<DWORD_PTR>(this));
  TakeDefaultColors();
  HFONT font = m_pManager->GetFont(m_iFont);
  if (font != nullptr) ::SendMessageW(m_edit.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageW(m_edit.get(), EM_LIMITTEXT, static_cast<WPARAM>(m_nMaxChar), 0);
  ::SendMessageW(m_edit.get(), EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE, 0);
  ApplyStyleBits();
  m_pManager->AddNativeWindow(this, m_edit.get());
  return true;
}

void CEditUI::PlaceNativeWindow() {
  if (!m_edit) return;
  RECT rect = GetTextRect();
  // A single-line edit draws at its top: centre a window one line high.
  if (const TFontDataUI* font = m_pManager != nullptr ? m_pManager->GetFontInfo(m_iFont) : nullptr) {
    const int height = font->metrics.tmHeight + kNativeExtraHeight;
    if (height < rect.bottom - rect.top) {
      rect.top += (rect.bottom - rect.top - height) / 2;
      rect.bottom = rect.top + height;
    }
  }
  ::SetWindowPos(m_edit.get(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::ApplyStyleBits() {
  if (!m_edit) return;
  LONG style = ::GetWindowLongW(m_edit.get(), GWL_STYLE);
  style = m_bNumberOnly ? style | ES_NUMBER : style & ~ES_NUMBER;
  ::SetWindowLongW(m_edit.get(), GWL_STYLE, style);
  ::SendMessageW(m_edit.get(), EM_SETPASSWORDCHAR, m_bPasswordMode ? m_chPassword : 0, 0);
  ::InvalidateRect(m_edit.get(), nullptr, TRUE);
}

void CEditUI::OnNativeChange() {
  const std::wstring text = WindowText(m_edit.get());
  if (text == m_sText) return;
  CLabelUI::SetText(text);
  NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE);
  Notify(kNotifyTextChanged);
}

bool CEditUI::IsAccessibleElement() const { return true; }

DWORD CEditUI::GetAccessibleRole() const { return ROLE_SYSTEM_TEXT; }

std::wstring CEditUI::GetAccessibleName() const {
  std::wstring name = GetAccessibleLabel();
  return name.empty() ? m_sPromptText : name;
}

DWORD CEditUI::GetAccessibleState() const {
  return CLabelUI::GetAccessibleState() | (m_bPasswordMode ? STATE_SYSTEM_PROTECTED : 0) |
         (m_bReadOnly ? STATE_SYSTEM_READONLY : 0);
}

std::wstring CEditUI::GetAccessibleValue() const { return m_bPasswordMode ? std::wstring() : m_sText; }

std::wstring CEditUI::ShownText() const {
  return m_bPasswordMode ? std::wstring(m_sText.size(), m_chPassword) : m_sText;
}

}  // namespace SkinUI
