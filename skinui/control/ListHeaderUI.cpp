#include "ListHeaderUI.h"

#include "AttributeText.h"

namespace SkinUI {

namespace {
constexpr int kDefaultHeaderHeight = 24;
}  // namespace

CListHeaderUI::CListHeaderUI() { m_cxyFixed.cy = kDefaultHeaderHeight; }
CListHeaderUI::~CListHeaderUI() = default;

std::wstring CListHeaderUI::GetClassName() const { return L"ListHeaderUI"; }

void* CListHeaderUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ListHeader")) return this;
  return CHorizontalLayoutUI::GetInterface(typeName);
}

void CListHeaderUI::SetPos(RECT rect, bool invalidate) {
  CHorizontalLayoutUI::SetPos(rect, invalidate);
  if (m_pParent != nullptr) m_pParent->Invalidate();
}

}  // namespace SkinUI
