#include "SkinResourceIndex.h"

#include <cwctype>

#include "SkinFileReader.h"

namespace SkinUI {

namespace {
std::unique_ptr<CSkinResourceIndex>& Instance() {
  static std::unique_ptr<CSkinResourceIndex> instance;
  return instance;
}
}  // namespace

CSkinResourceIndex* CSkinResourceIndex::GetInstance() {
  auto& instance = Instance();
  if (!instance) instance = std::make_unique<CSkinResourceIndex>();
  return instance.get();
}

void CSkinResourceIndex::Release() { Instance().reset(); }

bool CSkinResourceIndex::LoadDocument(const std::wstring& nameOrId, const std::wstring& resourceType) {
  if (nameOrId.empty()) return false;
  if (!resourceType.empty()) {
    std::vector<uint8_t> bytes;
    const bool numeric = std::iswdigit(nameOrId[0]) != 0;
    const UINT id = numeric ? static_cast<UINT>(static_cast<uint16_t>(std::wcstoul(nameOrId.c_str(), nullptr, 10))) : 0;
    if (!ReadModuleResource(nullptr, numeric ? MAKEINTRESOURCEW(id) : nameOrId.c_str(), resourceType.c_str(), bytes))
      return false;
    return markup_.LoadBuffer(bytes.data(), bytes.size(), CXmlMarkup::kEncodingUtf8);
  }
  if (nameOrId[0] == L'<') return markup_.LoadText(nameOrId.c_str());
  return markup_.LoadFile(nameOrId.c_str(), CXmlMarkup::kEncodingUtf8);
}

void CSkinResourceIndex::RegisterPaths(CXmlMarkupNode parent) {
  for (CXmlMarkupNode node = parent.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    if (node.HasChildren()) {
      RegisterPaths(node);
      continue;
    }
    const wchar_t* name = node.Name();
    Table* table = nullptr;
    if (_wcsicmp(name, L"Image") == 0) table = &imagePaths_;
    else if (_wcsicmp(name, L"Xml") == 0) table = &xmlPaths_;
    if (table == nullptr || !node.HasAttribute(L"id") || !node.HasAttribute(L"path")) continue;
    table->emplace(node.AttributeValue(L"id"), node.AttributeValue(L"path"));  // the first one wins
  }
}

bool CSkinResourceIndex::LoadResourceIndex(const std::wstring& nameOrId, const std::wstring& resourceType) {
  if (!LoadDocument(nameOrId, resourceType)) return false;
  RegisterPaths(markup_.Root());
  return true;
}

bool CSkinResourceIndex::LoadResourceIndex(UINT resourceId, const std::wstring& resourceType) {
  return LoadResourceIndex(std::to_wstring(resourceId), resourceType);
}

bool CSkinResourceIndex::LoadTexts(const std::wstring& document, const std::wstring& resourceType) {
  if (!LoadDocument(document, resourceType)) return false;
  for (CXmlMarkupNode node = markup_.Root().FirstChild(); node.IsValid(); node = node.NextSibling()) {
    if (_wcsicmp(node.Name(), L"Text") != 0 || !node.HasAttributes()) continue;
    if (!node.HasAttribute(L"id") || !node.HasAttribute(L"value")) continue;
    texts_[node.AttributeValue(L"id")] = node.AttributeValue(L"value");
  }
  return true;
}

const std::wstring* CSkinResourceIndex::GetImagePath(const std::wstring& id) const {
  auto it = imagePaths_.find(id);
  return it != imagePaths_.end() ? &it->second : nullptr;
}

const std::wstring* CSkinResourceIndex::GetXmlPath(const std::wstring& id) const {
  auto it = xmlPaths_.find(id);
  return it != xmlPaths_.end() ? &it->second : nullptr;
}

void CSkinResourceIndex::ResetResourceIndex() {
  imagePaths_.clear();
  xmlPaths_.clear();
}

std::wstring CSkinResourceIndex::GetText(const std::wstring& id, const std::wstring& type) {
  if (id.empty()) return std::wstring();
  auto it = texts_.find(id);
  if (it != texts_.end()) return it->second;
  std::wstring text;
  if (query_ != nullptr && query_->QueryControlText(id, type, text)) {
    texts_[id] = text;
    queried_[id] = type;
    return text;
  }
  return id;
}

void CSkinResourceIndex::ReloadTexts() {
  if (query_ == nullptr) return;
  for (const auto& [id, type] : queried_) {
    std::wstring text;
    if (query_->QueryControlText(id, type, text)) texts_[id] = text;
  }
}

void CSkinResourceIndex::ResetTexts() {
  texts_.clear();
  queried_.clear();
}

}  // namespace SkinUI
