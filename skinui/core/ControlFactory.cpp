#include "ControlFactory.h"

#include <algorithm>
#include <cwctype>

#include "AnimationTabLayoutUI.h"
#include "ButtonUI.h"
#include "ChildLayoutUI.h"
#include "CheckBoxUI.h"
#include "ComboBoxUI.h"
#include "ComboUI.h"
#include "ContainerUI.h"
#include "ControlUI.h"
#include "DllSearch.h"
#include "EditUI.h"
#include "FadeButtonUI.h"
#include "GifAnimUI.h"
#include "GroupBoxUI.h"
#include "HorizontalLayoutUI.h"
#include "LabelUI.h"
#include "ListContainerElementUI.h"
#include "ListHeaderItemUI.h"
#include "ListHeaderUI.h"
#include "ListLabelElementUI.h"
#include "ListTextElementUI.h"
#include "ListUI.h"
#include "OptionUI.h"
#include "ProgressUI.h"
#include "RingUI.h"
#include "RollTextUI.h"
#include "ScrollBarUI.h"
#include "SliderUI.h"
#include "TabLayoutUI.h"
#include "TextUI.h"
#include "TileLayoutUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {
namespace {

constexpr const char* kPluginExport = "CreateControl";

std::wstring Lowered(const std::wstring& text) {
  std::wstring lower = text;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
  return lower;
}

template <typename T>
CControlUI* Make() {
  return new T();
}

struct Registration {
  const wchar_t* className;
  ControlCreator creator;
};

const Registration kBuiltIn[] = {
    {L"CControlUI", Make<CControlUI>},
    {L"CContainerUI", Make<CContainerUI>},
    {L"CLabelUI", Make<CLabelUI>},
    {L"CButtonUI", Make<CButtonUI>},
    {L"COptionUI", Make<COptionUI>},
    {L"CCheckBoxUI", Make<CCheckBoxUI>},
    {L"CProgressUI", Make<CProgressUI>},
    {L"CScrollBarUI", Make<CScrollBarUI>},
    {L"CHorizontalLayoutUI", Make<CHorizontalLayoutUI>},
    {L"CVerticalLayoutUI", Make<CVerticalLayoutUI>},
    {L"CTabLayoutUI", Make<CTabLayoutUI>},
    {L"CEditUI", Make<CEditUI>},
    {L"CSliderUI", Make<CSliderUI>},
    {L"CTextUI", Make<CTextUI>},
    {L"CGifAnimUI", Make<CGifAnimUI>},
    {L"CRingUI", Make<CRingUI>},
    {L"CFadeButtonUI", Make<CFadeButtonUI>},
    {L"CRollTextUI", Make<CRollTextUI>},
    {L"CGroupBoxUI", Make<CGroupBoxUI>},
    {L"CTileLayoutUI", Make<CTileLayoutUI>},
    {L"CChildLayoutUI", Make<CChildLayoutUI>},
    {L"CAnimationTabLayoutUI", Make<CAnimationTabLayoutUI>},
    {L"CComboUI", Make<CComboUI>},
    {L"CComboBoxUI", Make<CComboBoxUI>},
    {L"CListUI", Make<CListUI>},
    {L"CListHeaderUI", Make<CListHeaderUI>},
    {L"CListHeaderItemUI", Make<CListHeaderItemUI>},
    {L"CListLabelElementUI", Make<CListLabelElementUI>},
    {L"CListTextElementUI", Make<CListTextElementUI>},
    {L"CListContainerElementUI", Make<CListContainerElementUI>},
    // Classes not listed are not registered: a skin naming one has its element skipped (the
    // builder logs it).
};

std::vector<PluginCreator>& Plugins() {
  static std::vector<PluginCreator> plugins;
  return plugins;
}

}  // namespace

CControlFactory* CControlFactory::GetInstance() {
  static CControlFactory factory;
  return &factory;
}

CControlFactory::CControlFactory() {
  for (const Registration& entry : kBuiltIn) RegisterControl(entry.className, entry.creator);
}

CControlUI* CControlFactory::CreateControl(const std::wstring& className) const {
  auto it = m_creators.find(Lowered(className));
  return it != m_creators.end() ? it->second() : nullptr;
}

bool CControlFactory::RegisterControl(const std::wstring& className, ControlCreator creator) {
  if (className.empty() || creator == nullptr) return false;
  return m_creators.emplace(Lowered(className), creator).second;
}

bool CControlFactory::IsRegistered(const std::wstring& className) const {
  return m_creators.count(Lowered(className)) != 0;
}

bool CControlFactory::LoadPlugin(const wchar_t* libraryPath) {
  if (libraryPath == nullptr || *libraryPath == L'\0') return false;
  // A plug-in stays loaded for the life of the process: its creators are called at any time.
  HMODULE library = ::LoadLibraryW(libraryPath);
  if (library == nullptr) return false;
  const auto creator = FindExport<PluginCreator>(library, kPluginExport);
  if (creator == nullptr) {
    ::FreeLibrary(library);
    return false;
  }
  AddPlugin(creator);
  return true;
}

bool CControlFactory::AddPlugin(PluginCreator creator) {
  auto& plugins = Plugins();
  if (creator == nullptr || std::find(plugins.begin(), plugins.end(), creator) != plugins.end()) return false;
  plugins.push_back(creator);
  return true;
}

const std::vector<PluginCreator>& CControlFactory::GetPlugins() { return Plugins(); }

}  // namespace SkinUI
