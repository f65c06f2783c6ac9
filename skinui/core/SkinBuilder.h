#pragma once
// Turns one skin document into a tree of controls: registers the document's fonts, images,
// default attribute lists and styles with the manager, applies the Window attributes, then
// creates one control per remaining element.

#include <windows.h>

#include <string>

#include "XmlMarkup.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class IDialogBuilderCallback {
 public:
  // A new control for an element name the factory does not know, or null.
  virtual CControlUI* CreateControl(const wchar_t* elementName) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

class CSkinBuilder {
 public:
  CSkinBuilder() = default;
  CSkinBuilder(const CSkinBuilder&) = delete;
  CSkinBuilder& operator=(const CSkinBuilder&) = delete;

  // source: a skin file name (or an id of the skin index), or markup text beginning with "<".
  // Returns the first control created at the top level, or null. Further top-level controls
  // go into parent; without one they are not kept.
  CControlUI* Create(const std::wstring& source, const wchar_t* type = nullptr,
                     IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                     CControlUI* parent = nullptr);
  // A document held in a module resource of the given type.
  CControlUI* Create(UINT resourceId, const wchar_t* type, IDialogBuilderCallback* callback = nullptr,
                     CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
  // Builds from the document already loaded.
  CControlUI* Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent = nullptr);

  CXmlMarkup* GetMarkup() { return &m_xml; }
  void SetInstance(HINSTANCE instance) { m_instance = instance; }
  std::wstring GetLastErrorMessage() const;

 private:
  void RegisterResources(CXmlMarkupNode& root, CPaintManagerUI* manager);
  void ApplyWindowAttributes(CXmlMarkupNode& root, CPaintManagerUI* manager);
  CControlUI* Parse(CXmlMarkupNode& node, CControlUI* parent, CPaintManagerUI* manager);
  // Without a parent the included document's first control is returned to the caller to own.
  CControlUI* Include(CXmlMarkupNode& node, CControlUI* parent, CPaintManagerUI* manager);
  CControlUI* CreateByName(const wchar_t* elementName);

  CXmlMarkup m_xml;
  IDialogBuilderCallback* m_callback = nullptr;
  std::wstring m_resourceType;  // empty unless the document came from a module resource
  std::wstring m_documentName;  // for the log: file name, resource id or "markup text"
  HINSTANCE m_instance = nullptr;
};

}  // namespace SkinUI
