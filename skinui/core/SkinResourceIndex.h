#pragma once
// The process-wide index of a skin's resources: image paths and skin documents by id, and the
// texts controls show by id (from a texts document or an application callback).

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "XmlMarkup.h"

namespace SkinUI {

// Supplies texts the index has no entry for.
class IQueryControlText {
 public:
  virtual ~IQueryControlText() = default;
  // True with the text when the application knows one for (id, type).
  virtual bool QueryControlText(const std::wstring& id, const std::wstring& type, std::wstring& text) = 0;
};

class CSkinResourceIndex {
 public:
  static CSkinResourceIndex* GetInstance();
  // Destroys the instance (toolkit shutdown); the next GetInstance creates an empty one.
  static void Release();

  // A resource id (non-empty type) or the name of a skin file; a text that starts with "<" is
  // markup itself.
  bool LoadResourceIndex(const std::wstring& nameOrId, const std::wstring& resourceType = L"");
  bool LoadResourceIndex(UINT resourceId, const std::wstring& resourceType);
  const std::wstring* GetImagePath(const std::wstring& id) const;
  const std::wstring* GetXmlPath(const std::wstring& id) const;
  void ResetResourceIndex();

  std::wstring GetText(const std::wstring& id, const std::wstring& type = L"");
  bool LoadTexts(const std::wstring& document, const std::wstring& resourceType = L"");
  void SetTextQuery(IQueryControlText* query) { query_ = query; }
  // Asks the callback again for every text it answered before.
  void ReloadTexts();
  void ResetTexts();

 private:
  using Table = std::map<std::wstring, std::wstring>;

  bool LoadDocument(const std::wstring& nameOrId, const std::wstring& resourceType);
  void RegisterPaths(CXmlMarkupNode parent);

  std::map<std::wstring, std::wstring> texts_;
  std::map<std::wstring, std::wstring> queried_;  // id -> type of texts the callback gave
  Table imagePaths_;
  Table xmlPaths_;
  IQueryControlText* query_ = nullptr;
  CXmlMarkup markup_;
};

}  // namespace SkinUI
