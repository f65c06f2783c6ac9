#include "ScrollBarUI.h"

#include "AttributeText.h"

namespace SkinUI {

namespace {
constexpr int kDefaultBarSize = 16;
}  // namespace

CScrollBarUI::CScrollBarUI() {
  m_cxyFixed.cx = kDefaultBarSize;
  m_cxyFixed.cy = 0;
}

std::wstring CScrollBarUI::GetClassName() const { return L"ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"ScrollBar")) return this;
  return CControlUI::GetInterface(typeName);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  if (horizontal) {
    m_cxyFixed.cy = m_cxyFixed.cx != 0 ? m_cxyFixed.cx : kDefaultBarSize;
    m_cxyFixed.cx = 0;
  } else {
    m_cxyFixed.cx = m_cxyFixed.cy != 0 ? m_cxyFixed.cy : kDefaultBarSize;
    m_cxyFixed.cy = 0;
  }
  NeedParentLayout();
}

void CScrollBarUI::SetScrollRange(int range) {
  if (range < 0) range = 0;
  if (m_nRange == range) return;
  m_nRange = range;
  if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
  Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
  if (pos < 0) pos = 0;
  if (pos > m_nRange) pos = m_nRange;
  if (m_nScrollPos == pos) return;
  m_nScrollPos = pos;
  Invalidate();
}

int CScrollBarUI::GetLineSize() const { return Scale(m_nLineSize); }

void CScrollBarUI::SetLineSize(int size) {
  if (size > 0) m_nLineSize = size;
}

void CScrollBarUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (attr::EqualsNoCase(name, L"hor")) {
    SetHorizontal(attr::ParseBool(value));
  } else if (attr::EqualsNoCase(name, L"linesize")) {
    SetLineSize(attr::ParseInt(value));
  } else if (attr::EqualsNoCase(name, L"range")) {
    SetScrollRange(attr::ParseInt(value));
  } else if (attr::EqualsNoCase(name, L"value")) {
    SetScrollPos(attr::ParseInt(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
