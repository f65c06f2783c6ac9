#include "ButtonUI.h"

#include <oleacc.h>

#include <string>

#include "AttributeTableUI.h"
#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"
#include "TabLayoutUI.h"

namespace SkinUI {

namespace {

constexpr UINT kTextStyleButton = kStyleCenter | kStyleVCenter | kStyleSingleLine;
constexpr int kMaxSlices = 4;
constexpr const wchar_t* kPressAction = L"按下";

using Attributes = CAttributeTableUI<CButtonUI>;
const Attributes::Entry kButtonAttributes[] = {
    {L"normalimage", Attributes::Text<&CButtonUI::SetNormalImage>},
    {L"hotimage", Attributes::Text<&CButtonUI::SetHotImage>},
    {L"pushedimage", Attributes::Text<&CButtonUI::SetPushedImage>},
    {L"focusedimage", Attributes::Text<&CButtonUI::SetFocusedImage>},
    {L"disabledimage", Attributes::Text<&CButtonUI::SetDisabledImage>},
    {L"hotforeimage", Attributes::Text<&CButtonUI::SetHotForeImage>},
    {L"stateimage", Attributes::Text<&CButtonUI::SetStateImage>},
    {L"statecount", Attributes::Int<&CButtonUI::SetStateCount>},
    {L"bindtabindex", Attributes::Int<&CButtonUI::BindTabIndex>},
    {L"bindtablayoutname", Attributes::Text<&CButtonUI::BindTabLayoutName>},
    {L"hotbkcolor", Attributes::Color<&CButtonUI::SetHotBkColor>},
    {L"pushedbkcolor", Attributes::Color<&CButtonUI::SetPushedBkColor>},
    {L"disabledbkcolor", Attributes::Color<&CButtonUI::SetDisabledBkColor>},
    {L"hottextcolor", Attributes::Color<&CButtonUI::SetHotTextColor>},
    {L"pushedtextcolor", Attributes::Color<&CButtonUI::SetPushedTextColor>},
    {L"focusedtextcolor", Attributes::Color<&CButtonUI::SetFocusedTextColor>},
    {L"hotfont", Attributes::Int<&CButtonUI::SetHotFont>},
    {L"pushedfont", Attributes::Int<&CButtonUI::SetPushedFont>},
    // Spelled as the skins have long written it.
    {L"focuedfont", Attributes::Int<&CButtonUI::SetFocusedFont>},
};

}  // namespace

CButtonUI::CButtonUI() { m_uTextStyle = kTextStyleButton; }
CButtonUI::~CButtonUI() = default;

std::wstring CButtonUI::GetClassName() const { return L"ButtonUI"; }

void* CButtonUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Button")) return this;
  return CLabelUI::GetInterface(typeName);
}

UINT CButtonUI::GetFlags() const {
  if (!IsEnabled()) return 0;
  return kFlagSetCursor | (IsKeyboardEnabled() ? kFlagTabStop : 0);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"click");
    SelectBoundTab(-1);
  }
  return true;
}

DWORD CButtonUI::GetAccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

std::wstring CButtonUI::GetAccessibleDefaultAction() const { return kPressAction; }

void CButtonUI::SetEnabled(bool enable) {
  CControlUI::SetEnabled(enable);
  m_uButtonState = enable ? 0 : kStateDisabled;
}

void CButtonUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) {
      m_pParent->HandleEvent(event);
    } else {
      CLabelUI::HandleEvent(event);
    }
    return;
  }
  switch (event.Type) {
    case UIEvent::SetFocus:
    case UIEvent::KillFocus:
      Invalidate();
      CLabelUI::HandleEvent(event);
      return;
    case UIEvent::KeyDown:
      if (IsKeyboardEnabled() && (event.Key == VK_SPACE || event.Key == VK_RETURN)) {
        Activate();
        return;
      }
      break;
    case UIEvent::MouseMove:
      if ((m_uButtonState & kStateCaptured) != 0) {
        if (IsPointIn(m_rcItem, event.MousePoint)) {
          m_uButtonState |= kStatePushed;
        } else {
          m_uButtonState &= ~kStatePushed;
        }
        Invalidate();
      }
      return;
    case UIEvent::MouseEnter:
      if (IsEnabled()) {
        m_uButtonState |= kStateHot;
        Invalidate();
        if (IsRichEvent()) Notify(L"mouseenter");
      }
      return;
    case UIEvent::MouseLeave:
      if (IsEnabled()) {
        m_uButtonState &= ~kStateHot;
        Invalidate();
        if (IsRichEvent()) Notify(L"mouseleave");
      }
      return;
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      if (IsPointIn(m_rcItem, event.MousePoint) && IsEnabled()) {
        m_uButtonState |= kStatePushed | kStateCaptured;
        Invalidate();
        if (IsRichEvent()) Notify(L"buttondown");
      }
      return;
    case UIEvent::ButtonUp:
      if ((m_uButtonState & kStateCaptured) != 0) {
        m_uButtonState &= ~(kStatePushed | kStateCaptured);
        Invalidate();
        // A "click" handler may remove this button; nothing touches it after Activate.
        if (IsPointIn(m_rcItem, event.MousePoint)) Activate();
      }
      return;
    case UIEvent::ContextMenu:
      if (IsContextMenuUsed()) {
        Notify(L"menu", event.WParam, event.LParam);
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kButtonAttributes, *this, name, value)) CLabelUI::SetAttribute(name, value);
}

void CButtonUI::PaintBackgroundColor(HDC dc) {
  uint32_t color = 0;
  if ((m_uButtonState & kStateDisabled) != 0) {
    color = m_dwDisabledBkColor;
  } else if ((m_uButtonState & kStatePushed) != 0) {
    color = m_dwPushedBkColor;
  } else if ((m_uButtonState & kStateHot) != 0) {
    color = m_dwHotBkColor;
  }
  if (color != 0) {
    CSkinRender::DrawColor(dc, m_rcPaint, GetAdjustColor(color));
    return;
  }
  CLabelUI::PaintBackgroundColor(dc);
}

void CButtonUI::PaintStateImage(HDC dc) {
  if (!m_sStateImage.empty() && m_nStateCount > 0 && m_sNormalImage.empty()) {
    std::wstring slices[kMaxSlices];
    if (SliceStateImage(m_sStateImage, m_nStateCount, slices)) {
      m_sNormalImage = slices[0];
      if (m_nStateCount > 1) m_sHotImage = m_sPushedImage = slices[1];
      if (m_nStateCount > 2) m_sPushedImage = slices[2];
      if (m_nStateCount > 3) m_sDisabledImage = slices[3];
    }
  }
  RefreshState();

  const std::wstring* picked = nullptr;
  if ((m_uButtonState & kStateDisabled) != 0) {
    picked = &m_sDisabledImage;
  } else if ((m_uButtonState & kStatePushed) != 0) {
    picked = &m_sPushedImage;
  } else if ((m_uButtonState & kStateHot) != 0) {
    picked = &m_sHotImage;
  } else if ((m_uButtonState & kStateFocused) != 0) {
    picked = &m_sFocusedImage;
  }
  if (picked != nullptr && !picked->empty() && DrawImage(dc, *picked)) return;
  if (!m_sNormalImage.empty()) DrawImage(dc, m_sNormalImage);
}

void CButtonUI::PaintForeImage(HDC dc) {
  if ((m_uButtonState & kStatePushed) != 0) {
    if (!m_sPushedForeImage.empty() && DrawImage(dc, m_sPushedForeImage)) return;
  } else if ((m_uButtonState & kStateHot) != 0) {
    if (!m_sHotForeImage.empty() && DrawImage(dc, m_sHotForeImage)) return;
  }
  CLabelUI::PaintForeImage(dc);
}

void CButtonUI::PaintText(HDC dc) {
  RefreshState();
  TakeDefaultColors();
  const std::wstring text = GetText();
  if (text.empty()) return;
  RECT rect = GetTextRect();

  uint32_t color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  int font = m_iFont;
  if ((m_uButtonState & kStatePushed) != 0 && m_dwPushedTextColor != 0) {
    color = m_dwPushedTextColor;
  } else if ((m_uButtonState & kStateHot) != 0 && m_dwHotTextColor != 0) {
    color = m_dwHotTextColor;
  } else if ((m_uButtonState & kStateFocused) != 0 && m_dwFocusedTextColor != 0) {
    color = m_dwFocusedTextColor;
  }
  if ((m_uButtonState & kStatePushed) != 0 && m_iPushedFont != -1) {
    font = m_iPushedFont;
  } else if ((m_uButtonState & kStateHot) != 0 && m_iHotFont != -1) {
    font = m_iHotFont;
  } else if ((m_uButtonState & kStateFocused) != 0 && m_iFocusedFont != -1) {
    font = m_iFocusedFont;
  }
  DrawLabelText(dc, rect, text, color, font, m_uTextStyle);
}

const std::wstring& CButtonUI::GetNormalImage() const { return m_sNormalImage; }

void CButtonUI::SetNormalImage(const std::wstring& image) {
  m_sNormalImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetHotImage() const { return m_sHotImage; }

void CButtonUI::SetHotImage(const std::wstring& image) {
  m_sHotImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetPushedImage() const { return m_sPushedImage; }

void CButtonUI::SetPushedImage(const std::wstring& image) {
  m_sPushedImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetFocusedImage() const { return m_sFocusedImage; }

void CButtonUI::SetFocusedImage(const std::wstring& image) {
  m_sFocusedImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetDisabledImage() const { return m_sDisabledImage; }

void CButtonUI::SetDisabledImage(const std::wstring& image) {
  m_sDisabledImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetHotForeImage() const { return m_sHotForeImage; }

void CButtonUI::SetHotForeImage(const std::wstring& image) {
  m_sHotForeImage = image;
  Invalidate();
}

const std::wstring& CButtonUI::GetStateImage() const { return m_sStateImage; }

void CButtonUI::SetStateImage(const std::wstring& image) {
  m_sNormalImage.clear();
  m_sStateImage = image;
  Invalidate();
}

void CButtonUI::SetPushedForeImage(const std::wstring& image) {
  m_sPushedForeImage = image;
  Invalidate();
}

void CButtonUI::SetStateCount(int count) {
  m_nStateCount = count;
  Invalidate();
}

void CButtonUI::SelectBoundTab(int index) {
  if (m_sBindTabLayoutName.empty() || (m_iBindTabIndex < 0 && index < 0) || m_pManager == nullptr) return;
  CControlUI* found = m_pManager->FindControl(m_sBindTabLayoutName);
  auto* tab = found != nullptr ? static_cast<CTabLayoutUI*>(found->GetInterface(L"TabLayout")) : nullptr;
  if (tab == nullptr) return;
  tab->SelectItem(index >= 0 ? index : m_iBindTabIndex);
}

void CButtonUI::BindTabIndex(int index) {
  if (index >= 0) m_iBindTabIndex = index;
}

void CButtonUI::SetHotBkColor(uint32_t color) {
  m_dwHotBkColor = color;
  Invalidate();
}

void CButtonUI::SetPushedBkColor(uint32_t color) {
  m_dwPushedBkColor = color;
  Invalidate();
}

void CButtonUI::SetDisabledBkColor(uint32_t color) {
  m_dwDisabledBkColor = color;
  Invalidate();
}

void CButtonUI::SetHotFont(int index) {
  m_iHotFont = index;
  Invalidate();
}

void CButtonUI::SetPushedFont(int index) {
  m_iPushedFont = index;
  Invalidate();
}

void CButtonUI::SetFocusedFont(int index) {
  m_iFocusedFont = index;
  Invalidate();
}

void CButtonUI::RefreshState() {
  if (IsFocused()) {
    m_uButtonState |= kStateFocused;
  } else {
    m_uButtonState &= ~kStateFocused;
  }
  if (!IsEnabled()) {
    m_uButtonState |= kStateDisabled;
  } else {
    m_uButtonState &= ~kStateDisabled;
  }
  // Without a window (a control painted on its own) there is no window state to follow.
  HWND window = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
  if (window != nullptr && !::IsWindowEnabled(window)) m_uButtonState &= kStateDisabled;
}

bool CButtonUI::SliceStateImage(const std::wstring& stateImage, int count, std::wstring slices[4]) {
  if (m_pManager == nullptr || count <= 0) return false;
  TImageDrawUI info;
  CSkinRender::ParseImageDescriptor(info, stateImage, L"", nullptr);
  const TImageDataUI* image = m_pManager->GetOrLoadImage(info.imageName, info.resourceType, info.mask);
  if (image == nullptr || image->width <= 0) return false;
  const int width = image->width / count;
  const int height = image->height;
  const RECT& dest = info.dest;
  auto rectText = [](long left, long top, long right, long bottom) {
    return std::to_wstring(left) + L',' + std::to_wstring(top) + L',' + std::to_wstring(right) + L',' +
           std::to_wstring(bottom);
  };
  for (int i = 0; i < count && i < kMaxSlices; ++i) {
    slices[i] = L"res='" + info.imageName + L"' restype='" + info.resourceType + L"' dest='" +
                rectText(dest.left, dest.top, dest.right, dest.bottom) + L"' source='" +
                rectText(i * width, 0, (i + 1) * width, height) + L"'";
  }
  return true;
}

bool CButtonUI::IsPointIn(const RECT& rect, POINT point) { return ::PtInRect(&rect, point) != FALSE; }

}  // namespace SkinUI
