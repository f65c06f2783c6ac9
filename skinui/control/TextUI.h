#pragma once
// Multi-line text in the label's html mark-up, word-wrapped. A click on a {a ...} link sends
// "link" with the link's index; GetLinkContent gives its argument.

#include "LabelUI.h"

namespace SkinUI {

constexpr const wchar_t* kNotifyLink = L"link";

class CTextUI : public CLabelUI {
 public:
  static constexpr int kMaxLinks = 8;

  CTextUI();
  ~CTextUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  UINT GetFlags() const override;
  void HandleEvent(TControlEventUI& event) override;
  void PaintText(HDC dc) override;

  int GetLinkCount() const { return m_nLinks; }
  // The argument of link index as of the last paint; empty when there is none.
  std::wstring GetLinkContent(int index) const;
  // The link under the point as of the last paint, or -1.
  int LinkAt(POINT point) const;

 private:
  RECT m_rcLinks[kMaxLinks] = {};
  std::wstring m_sLinks[kMaxLinks];
  int m_nLinks = 0;
  int m_iPressedLink = -1;
  int m_iHotLink = -1;
};

}  // namespace SkinUI
