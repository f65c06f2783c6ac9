#pragma once
// A container whose children come from another skin file ("xmlfile": a document whose root,
// usually Window, holds the controls), built when the layout joins a window, or at once when
// the file is set on a layout already in one.

#include "ContainerUI.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
 public:
  CChildLayoutUI();
  ~CChildLayoutUI() override;

  std::wstring GetClassName() const override;
  void* GetInterface(const std::wstring& typeName) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  const std::wstring& GetChildLayoutXML() const { return m_sXmlFile; }
  void SetChildLayoutXML(const std::wstring& file);

 private:
  // Replaces the children with the file's controls; false when the file built nothing.
  bool BuildChildren(CPaintManagerUI* manager);

  std::wstring m_sXmlFile;
  bool m_bBuilt = false;
};

}  // namespace SkinUI
