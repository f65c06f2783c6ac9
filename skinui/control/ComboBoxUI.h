#pragma once
// A combo with a drop-down arrow at the right end of its face: a picture per state (normal,
// hot, pushed, disabled), or a drawn triangle in the text colour when the skin gives none. The
// text stays clear of the arrow.

#include "ComboUI.h"

namespace SkinUI {

class CComboBoxUI : public CComboUI {
 public:
  CComboBoxUI();
  ~CComboBoxUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStateImage(HDC dc) override;

  void SetArrowImage(const std::wstring& image);
  void SetArrowHotImage(const std::wstring& image);
  void SetArrowPushedImage(const std::wstring& image);
  void SetArrowDisabledImage(const std::wstring& image);
  // The square at the right end of the face the arrow takes.
  RECT GetArrowRect() const;

 protected:
  RECT GetTextArea() const override;

 private:
  std::wstring m_sArrowImage;
  std::wstring m_sArrowHotImage;
  std::wstring m_sArrowPushedImage;
  std::wstring m_sArrowDisabledImage;
};

}  // namespace SkinUI
