#include "ListTextElementUI.h"

#include <algorithm>

#include "AttributeText.h"

namespace SkinUI {

namespace {
constexpr wchar_t kColumnSeparator = L'|';
}  // namespace

CListTextElementUI::CListTextElementUI() = default;
CListTextElementUI::~CListTextElementUI() = default;

std::wstring CListTextElementUI::GetClassName() const { return L"ListTextElementUI"; }

void* CListTextElementUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListTextElement")) return this;
  return CListLabelElementUI::GetInterface(typeName);
}

std::wstring CListTextElementUI::GetText(int column) const {
  if (column == 0) return m_sText;
  if (column < 0 || column > static_cast<int>(m_columnTexts.size())) return std::wstring();
  return m_columnTexts[static_cast<size_t>(column - 1)];
}

void CListTextElementUI::SetText(int column, const std::wstring& text) {
  if (column < 0) return;
  if (column == 0) {
    SetText(text);
    return;
  }
  if (column > static_cast<int>(m_columnTexts.size())) m_columnTexts.resize(static_cast<size_t>(column));
  m_columnTexts[static_cast<size_t>(column - 1)] = text;
  Invalidate();
}

void CListTextElementUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!attr::EqualsNoCase(name, L"text")) {
    CListLabelElementUI::SetAttribute(name, value);
    return;
  }
  m_columnTexts.clear();
  int column = 0;
  size_t start = 0;
  for (;;) {
    const size_t end = value.find(kColumnSeparator, start);
    SetText(column++, value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
}

void CListTextElementUI::PaintText(HDC dc) {
  if (m_pOwner == nullptr) return;
  const std::vector<RECT>& columns = m_pOwner->GetListInfo()->columns;
  if (columns.empty()) {
    DrawRowText(dc, m_rcItem, GetText(0));
    return;
  }
  const int count = std::min(GetColumnCount(), static_cast<int>(columns.size()));
  for (int i = 0; i < count; ++i) {
    const RECT& column = columns[static_cast<size_t>(i)];
    const RECT cell = {std::max(column.left, m_rcItem.left), m_rcItem.top, std::min(column.right, m_rcItem.right),
                       m_rcItem.bottom};
    DrawRowText(dc, cell, GetText(i));
  }
}

}  // namespace SkinUI
