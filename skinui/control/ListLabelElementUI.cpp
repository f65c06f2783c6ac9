#include "ListLabelElementUI.h"

#include "AttributeText.h"
#include "ClipUI.h"
#include "SkinRender.h"

namespace SkinUI {

CListLabelElementUI::CListLabelElementUI() = default;
CListLabelElementUI::~CListLabelElementUI() = default;

std::wstring CListLabelElementUI::GetClassName() const { return L"ListLabelElementUI"; }

void* CListLabelElementUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListLabelElement")) return this;
  return CListElementUI::GetInterface(typeName);
}

void CListLabelElementUI::PaintText(HDC dc) { DrawRowText(dc, m_rcItem, GetText()); }

std::wstring CListLabelElementUI::GetAccessibleName() const {
  if (m_pOwner == nullptr || !m_pOwner->GetListInfo()->showHtml || GetText().empty()) {
    return CListElementUI::GetAccessibleName();
  }
  return CSkinRender::HtmlPlainText(GetText());
}

void CListLabelElementUI::DrawRowText(HDC dc, const RECT& rect, const std::wstring& text) {
  if (text.empty() || m_pOwner == nullptr || m_pManager == nullptr) return;
  const TListInfoUI& info = *m_pOwner->GetListInfo();
  RECT area = rect;
  area.left += info.textPadding.left;
  area.top += info.textPadding.top;
  area.right -= info.textPadding.right;
  area.bottom -= info.textPadding.bottom;
  if (area.right <= area.left || area.bottom <= area.top) return;
  const uint32_t color = RowTextColor(*this, *this, m_bHot);
  // A text never runs into the next column.
  TClipUI clip;
  TClipUI::GenerateClip(dc, area, clip);
  if (info.showHtml) {
    int links = 0;
    CSkinRender::DrawHtmlText(dc, m_pManager, area, text, color, nullptr, nullptr, &links, info.font, info.textStyle);
  } else {
    CSkinRender::DrawText(dc, m_pManager, area, text, color, info.font, info.textStyle);
  }
}

}  // namespace SkinUI
