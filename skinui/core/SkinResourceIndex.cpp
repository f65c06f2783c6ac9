#include "SkinResourceIndex.h"

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
