#pragma once
// The process-wide table from control class name ("CButtonUI", matched ignoring case) to a
// creator, and the plug-in creators loaded from libraries.

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace SkinUI {

class CControlUI;

using ControlCreator = CControlUI* (*)();
// Exported as "CreateControl" by a plug-in library; takes the element name.
using PluginCreator = CControlUI* (*)(const wchar_t* elementName);

class CControlFactory {
 public:
  static CControlFactory* GetInstance();

  CControlUI* CreateControl(const std::wstring& className) const;
  // A name already registered keeps its first creator.
  bool RegisterControl(const std::wstring& className, ControlCreator creator);
  bool IsRegistered(const std::wstring& className) const;

  // Loads a library, looks up its "CreateControl" export and lists it unless listed already.
  static bool LoadPlugin(const wchar_t* libraryPath);
  static bool AddPlugin(PluginCreator creator);
  static const std::vector<PluginCreator>& GetPlugins();

 private:
  CControlFactory();
  std::map<std::wstring, ControlCreator> m_creators;
};

}  // namespace SkinUI
