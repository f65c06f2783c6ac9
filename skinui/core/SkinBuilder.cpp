#include "SkinBuilder.h"

#include <cwchar>
#include <cwctype>
#include <memory>
#include <mutex>
#include <set>

#include "ControlFactory.h"
#include "ControlUI.h"
#include "IContainerUI.h"
#include "Log.h"
#include "PaintManagerUI.h"
#include "SkinResource.h"
#include "SkinResourceIndex.h"

namespace SkinUI {
namespace {

constexpr size_t kIncludeSourceChars = 500;  // at most 499 characters and a NUL
constexpr int kMaxIncludeDepth = 16;
constexpr int kDefaultFontSize = 12;

thread_local int g_includeDepth = 0;

// Each unknown element name is logged once per process, whichever file names it first.
void LogUnknownClass(const wchar_t* elementName, const std::wstring& documentName) {
  static std::mutex guard;
  static std::set<std::wstring> logged;
  std::wstring lowered = elementName;
  for (wchar_t& ch : lowered) ch = static_cast<wchar_t>(std::towlower(ch));
  {
    std::lock_guard<std::mutex> lock(guard);
    if (!logged.insert(lowered).second) return;
  }
  WriteLogFormat(L"SkinUI: skin %ls names the unknown control class \"%ls\"; the element is skipped",
                 documentName.c_str(), elementName);
}

bool IsName(const wchar_t* name, const wchar_t* expected) { return name != nullptr && _wcsicmp(name, expected) == 0; }

bool ParseBool(const wchar_t* value) { return value != nullptr && _wcsicmp(value, L"true") == 0; }

int ParseInt(const wchar_t* value) { return value != nullptr ? static_cast<int>(std::wcstol(value, nullptr, 10)) : 0; }

uint32_t ParseColor(const wchar_t* value) {
  if (value == nullptr) return 0;
  if (*value == L'#') ++value;
  return static_cast<uint32_t>(std::wcstoul(value, nullptr, 16));
}

// Numbers separated by one character each ("700,420", "0,0,0,50").
int ParseNumbers(const wchar_t* value, long* out, int count) {
  const wchar_t* cursor = value;
  int read = 0;
  for (; read < count && cursor != nullptr && *cursor != L'\0'; ++read) {
    wchar_t* end = nullptr;
    out[read] = std::wcstol(cursor, &end, 10);
    cursor = end;
    if (read + 1 < count) {
      if (*cursor == L'\0') {
        ++read;
        break;
      }
      ++cursor;
    }
  }
  for (int i = read; i < count; ++i) out[i] = 0;
  return read;
}

SIZE ParseSize(const wchar_t* value) {
  long numbers[2] = {};
  ParseNumbers(value, numbers, 2);
  return SIZE{numbers[0], numbers[1]};
}

RECT ParseRect(const wchar_t* value) {
  long numbers[4] = {};
  ParseNumbers(value, numbers, 4);
  return RECT{numbers[0], numbers[1], numbers[2], numbers[3]};
}

// Keeps include chains from recursing without end (a document that includes itself).
class IncludeDepthGuard {
 public:
  IncludeDepthGuard() { ++g_includeDepth; }
  ~IncludeDepthGuard() { --g_includeDepth; }
  IncludeDepthGuard(const IncludeDepthGuard&) = delete;
  IncludeDepthGuard& operator=(const IncludeDepthGuard&) = delete;
  bool TooDeep() const { return g_includeDepth > kMaxIncludeDepth; }
};

}  // namespace

CControlUI* CSkinBuilder::Create(const std::wstring& source, const wchar_t* /*type*/, IDialogBuilderCallback* callback,
                                 CPaintManagerUI* manager, CControlUI* parent) {
  std::wstring document = source;
  if (document.empty()) return nullptr;
  if (document[0] != L'<') {
    const std::wstring* path = CSkinResourceIndex::GetInstance()->GetXmlPath(document);
    if (path != nullptr) document = *path;
  }
  m_documentName = !document.empty() && document[0] == L'<' ? L"markup text" : L"file " + document;
  if (!document.empty() && document[0] == L'<') {
    if (!m_xml.LoadText(document.c_str())) return nullptr;
  } else if (!m_xml.LoadFile(document.c_str(), CXmlMarkup::kEncodingUtf8)) {
    return nullptr;
  }
  return Create(callback, manager, parent);
}

CControlUI* CSkinBuilder::Create(UINT resourceId, const wchar_t* type, IDialogBuilderCallback* callback,
                                 CPaintManagerUI* manager, CControlUI* parent) {
  if (type == nullptr) return nullptr;
  HINSTANCE instance = m_instance != nullptr ? m_instance : CSkinResource::GetResourceInstance();
  HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), type);
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(instance, resource);
  if (loaded == nullptr) return nullptr;
  const void* bytes = ::LockResource(loaded);
  const DWORD size = ::SizeofResource(instance, resource);
  const bool ok = bytes != nullptr && m_xml.LoadBuffer(bytes, size, CXmlMarkup::kEncodingUtf8);
  ::FreeResource(loaded);
  if (!ok) return nullptr;
  m_resourceType = type;
  m_documentName = L"resource " + std::to_wstring(resourceId);
  return Create(callback, manager, parent);
}

CControlUI* CSkinBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent) {
  m_callback = callback;
  CXmlMarkupNode root = m_xml.Root();
  if (!root.IsValid()) return nullptr;
  if (manager != nullptr) {
    RegisterResources(root, manager);
    if (IsName(root.Name(), L"Window") && manager->GetPaintWindow() != nullptr) ApplyWindowAttributes(root, manager);
  }
  return Parse(root, parent, manager);
}

std::wstring CSkinBuilder::GetLastErrorMessage() const {
  wchar_t buffer[128] = {};
  m_xml.GetErrorMessage(buffer, sizeof(buffer) / sizeof(buffer[0]));
  return buffer;
}

void CSkinBuilder::RegisterResources(CXmlMarkupNode& root, CPaintManagerUI* manager) {
  for (CXmlMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* name = node.Name();
    const int count = node.AttributeCount();
    if (IsName(name, L"Image")) {
      std::wstring imageName, resourceType;
      uint32_t mask = 0;
      bool shared = false;
      for (int i = 0; i < count; ++i) {
        const wchar_t* key = node.AttributeName(i);
        const wchar_t* value = node.AttributeValue(i);
        if (IsName(key, L"name")) imageName = value;
        else if (IsName(key, L"restype")) resourceType = value;
        else if (IsName(key, L"mask")) mask = ParseColor(value);
        else if (IsName(key, L"shared")) shared = ParseBool(value);
      }
      if (!imageName.empty()) manager->AddImage(imageName, resourceType, mask, false, shared);
    } else if (IsName(name, L"Font")) {
      int id = -1;
      int size = kDefaultFontSize;
      std::wstring face;
      bool bold = false, underline = false, italic = false, isDefault = false, shared = false;
      for (int i = 0; i < count; ++i) {
        const wchar_t* key = node.AttributeName(i);
        const wchar_t* value = node.AttributeValue(i);
        if (IsName(key, L"id")) id = ParseInt(value);
        else if (IsName(key, L"name")) face = value;
        else if (IsName(key, L"size")) size = ParseInt(value);
        else if (IsName(key, L"bold")) bold = ParseBool(value);
        else if (IsName(key, L"underline")) underline = ParseBool(value);
        else if (IsName(key, L"italic")) italic = ParseBool(value);
        else if (IsName(key, L"default")) isDefault = ParseBool(value);
        else if (IsName(key, L"shared")) shared = ParseBool(value);
      }
      if (id >= 0) {
        manager->AddFont(id, face, size, bold, underline, italic, shared);
        if (isDefault) manager->SetDefaultFont(face, size, bold, underline, italic, shared);
      }
    } else if (IsName(name, L"Default") || IsName(name, L"Style")) {
      std::wstring entryName, value;
      bool shared = false;
      for (int i = 0; i < count; ++i) {
        const wchar_t* key = node.AttributeName(i);
        if (IsName(key, L"name")) entryName = node.AttributeValue(i);
        else if (IsName(key, L"value")) value = node.AttributeValue(i);
        else if (IsName(key, L"shared")) shared = ParseBool(node.AttributeValue(i));
      }
      if (entryName.empty()) continue;
      if (IsName(name, L"Default"))
        manager->AddDefaultAttributeList(entryName, value, shared);
      else
        manager->AddStyle(entryName, value, shared);
    } else if (IsName(name, L"Import")) {
      std::wstring fontFile;
      for (int i = 0; i < count; ++i)
        if (IsName(node.AttributeName(i), L"fontfile")) fontFile = node.AttributeValue(i);
      if (!fontFile.empty()) manager->AddFontFile(fontFile);
    }
  }
}

void CSkinBuilder::ApplyWindowAttributes(CXmlMarkupNode& root, CPaintManagerUI* manager) {
  const int count = root.AttributeCount();
  for (int i = 0; i < count; ++i) {
    const wchar_t* key = root.AttributeName(i);
    const wchar_t* value = root.AttributeValue(i);
    if (IsName(key, L"size")) {
      const SIZE size = ParseSize(value);
      manager->SetInitSize(manager->ScaleValue(size.cx), manager->ScaleValue(size.cy));
    } else if (IsName(key, L"sizebox")) {
      manager->SetSizeBox(ParseRect(value));
    } else if (IsName(key, L"caption")) {
      manager->SetCaptionRect(ParseRect(value));
    } else if (IsName(key, L"roundcorner")) {
      const SIZE size = ParseSize(value);
      manager->SetRoundCorner(size.cx, size.cy);
    } else if (IsName(key, L"mininfo")) {
      const SIZE size = ParseSize(value);
      manager->SetMinInfo(size.cx, size.cy);
    } else if (IsName(key, L"maxinfo")) {
      const SIZE size = ParseSize(value);
      manager->SetMaxInfo(size.cx, size.cy);
    } else if (IsName(key, L"showdirty")) {
      manager->SetShowUpdateRect(ParseBool(value));
    } else if (IsName(key, L"opacity") || IsName(key, L"alpha")) {
      manager->SetTransparent(ParseInt(value));
    } else if (IsName(key, L"layeredopacity")) {
      manager->SetOpacity(static_cast<BYTE>(ParseInt(value)));
    } else if (IsName(key, L"layered") || IsName(key, L"bktrans")) {
      manager->SetLayered(ParseBool(value));
    } else if (IsName(key, L"layeredimage")) {
      manager->SetLayered(true);
      manager->SetLayeredImage(value);
    } else if (IsName(key, L"noactivate")) {
      manager->SetNoActivate(ParseBool(value));
    } else if (IsName(key, L"disabledfontcolor")) {
      manager->SetDefaultDisabledColor(ParseColor(value));
    } else if (IsName(key, L"defaultfontcolor")) {
      manager->SetDefaultFontColor(ParseColor(value));
    } else if (IsName(key, L"linkfontcolor")) {
      manager->SetDefaultLinkFontColor(ParseColor(value));
    } else if (IsName(key, L"linkhoverfontcolor")) {
      manager->SetDefaultLinkHoverFontColor(ParseColor(value));
    } else if (IsName(key, L"selectedcolor")) {
      manager->SetDefaultSelectedBkColor(ParseColor(value));
    } else if (IsName(key, L"gdiplustext")) {
      manager->SetUseGdiplusText(ParseBool(value));
    } else if (IsName(key, L"textrenderinghint")) {
      manager->SetGdiplusTextRenderingHint(ParseInt(value));
    } else if (IsName(key, L"tooltiphovertime")) {
      manager->SetHoverTime(static_cast<UINT>(ParseInt(value)));
    }
    // The drop-shadow attributes ("shadow...", "showshadow") have no shadow window to go to.
  }
}

CControlUI* CSkinBuilder::CreateByName(const wchar_t* elementName) {
  const std::wstring className = std::wstring(L"C") + elementName + L"UI";
  CControlUI* control = CControlFactory::GetInstance()->CreateControl(className);
  if (control == nullptr) {
    for (PluginCreator creator : CControlFactory::GetPlugins()) {
      control = creator(elementName);
      if (control != nullptr) break;
    }
  }
  if (control == nullptr && m_callback != nullptr) control = m_callback->CreateControl(elementName);
  if (control == nullptr) LogUnknownClass(elementName, m_documentName);
  return control;
}

CControlUI* CSkinBuilder::Include(CXmlMarkupNode& node, CControlUI* parent, CPaintManagerUI* manager) {
  if (!node.HasAttributes()) return nullptr;
  int count = 1;
  wchar_t source[kIncludeSourceChars] = {};
  bool hasSource = false;
  const int attributes = node.AttributeCount();
  for (int i = 0; i < attributes; ++i) {
    const wchar_t* key = node.AttributeName(i);
    if (IsName(key, L"count")) {
      count = ParseInt(node.AttributeValue(i));
    } else if (IsName(key, L"source")) {
      hasSource = node.CopyAttributeValue(i, source, kIncludeSourceChars);
    }
  }
  if (!hasSource || source[0] == L'\0') return nullptr;
  IncludeDepthGuard depth;
  if (depth.TooDeep()) return nullptr;
  std::unique_ptr<CControlUI> first;
  for (int i = 0; i < count; ++i) {
    CSkinBuilder builder;
    builder.SetInstance(m_instance);
    std::unique_ptr<CControlUI> built;
    if (!m_resourceType.empty())
      built.reset(builder.Create(static_cast<UINT>(static_cast<WORD>(ParseInt(source))), m_resourceType.c_str(),
                                 m_callback, manager, parent));
    else
      built.reset(builder.Create(std::wstring(source), nullptr, m_callback, manager, parent));
    // A parent owns what was added to it; without one only the first copy is kept.
    if (parent != nullptr) built.release();
    else if (!first) first = std::move(built);
  }
  return first.release();
}

CControlUI* CSkinBuilder::Parse(CXmlMarkupNode& parentNode, CControlUI* parent, CPaintManagerUI* manager) {
  IContainerUI* container = nullptr;
  bool containerChecked = false;
  CControlUI* first = nullptr;
  for (CXmlMarkupNode node = parentNode.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* name = node.Name();
    if (IsName(name, L"Image") || IsName(name, L"Font") || IsName(name, L"Default") || IsName(name, L"Style") ||
        IsName(name, L"Import"))
      continue;
    if (IsName(name, L"Include")) {
      std::unique_ptr<CControlUI> included(Include(node, parent, manager));
      // Nothing would own a second top-level control.
      if (included && first == nullptr) first = included.release();
      continue;
    }
    std::unique_ptr<CControlUI> control(CreateByName(name));
    if (!control) continue;
    if (node.HasChildren()) Parse(node, control.get(), manager);

    if (parent != nullptr) {
      if (!containerChecked) {
        container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
        containerChecked = true;
      }
      if (container == nullptr) return nullptr;
      if (!container->Add(control.get())) continue;
    } else if (first != nullptr) {
      // Nothing would own a second top-level control.
      continue;
    }
    CControlUI* created = control.release();
    if (manager != nullptr) {
      created->SetManager(manager, nullptr, false);
      const std::wstring* defaults = manager->GetDefaultAttributeList(name);
      if (defaults != nullptr) created->ApplyAttributeList(*defaults);
    }
    const int attributes = node.AttributeCount();
    for (int i = 0; i < attributes; ++i) created->SetAttribute(node.AttributeName(i), node.AttributeValue(i));
    if (manager != nullptr) created->SetManager(nullptr, nullptr, false);
    if (first == nullptr) first = created;
  }
  return first;
}

}  // namespace SkinUI
