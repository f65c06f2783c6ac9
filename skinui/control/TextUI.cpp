#include "TextUI.h"

#include "AttributeText.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr WORD kHandCursor = 32649;
constexpr UINT kTextStyleMultiLine = kStyleWordBreak | kStyleEditControl;

}  // namespace

CTextUI::CTextUI() {
  m_uTextStyle = kTextStyleMultiLine;
  m_bShowHtml = true;
}

CTextUI::~CTextUI() = default;

std::wstring CTextUI::GetClassName() const { return L"TextUI"; }

void* CTextUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Text")) return this;
  return CLabelUI::GetInterface(typeName);
}

UINT CTextUI::GetFlags() const { return IsEnabled() ? kFlagSetCursor : 0; }

void CTextUI::HandleEvent(TControlEventUI& event) {
  if (!IsMouseEnabled() && UIEvent::IsMouseEvent(event.Type)) {
    CLabelUI::HandleEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEvent::SetCursor:
      if (IsEnabled() && LinkAt(event.MousePoint) >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(kHandCursor)));
        return;
      }
      break;
    case UIEvent::ButtonDown:
    case UIEvent::DoubleClick:
      m_iPressedLink = IsEnabled() ? LinkAt(event.MousePoint) : -1;
      return;
    case UIEvent::ButtonUp: {
      const int pressed = m_iPressedLink;
      m_iPressedLink = -1;
      if (pressed >= 0 && LinkAt(event.MousePoint) == pressed) Notify(kNotifyLink, static_cast<WPARAM>(pressed));
      return;
    }
    case UIEvent::MouseMove:
    case UIEvent::MouseLeave: {
      // The hovered link is drawn in the hover colour.
      const int hot = event.Type == UIEvent::MouseMove ? LinkAt(event.MousePoint) : -1;
      if (hot != m_iHotLink) {
        m_iHotLink = hot;
        Invalidate();
      }
      return;
    }
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CTextUI::PaintText(HDC dc) {
  TakeDefaultColors();
  m_nLinks = 0;
  const std::wstring text = GetText();
  if (text.empty() || m_pManager == nullptr) return;
  RECT rect = GetTextRect();
  const uint32_t color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  if (!m_bShowHtml) {
    CSkinRender::DrawText(dc, m_pManager, rect, text, color, m_iFont, m_uTextStyle);
    return;
  }
  m_nLinks = kMaxLinks;
  CSkinRender::DrawHtmlText(dc, m_pManager, rect, text, color, m_rcLinks, m_sLinks, &m_nLinks, m_iFont,
                            m_uTextStyle);
}

std::wstring CTextUI::GetLinkContent(int index) const {
  return index >= 0 && index < m_nLinks ? m_sLinks[index] : std::wstring();
}

int CTextUI::LinkAt(POINT point) const {
  for (int i = 0; i < m_nLinks; ++i)
    if (::PtInRect(&m_rcLinks[i], point)) return i;
  return -1;
}

}  // namespace SkinUI
