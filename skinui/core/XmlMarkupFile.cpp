// Loading markup documents from the skin source (the Windows side of CXmlMarkup).
#include "XmlMarkup.h"

#include "SkinResource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

constexpr size_t kMaxMarkupFileBytes = 4194304;

const wchar_t* DescribeFailure(SkinFileStatus status) {
  switch (status) {
    case SkinFileStatus::kOpenFailed: return L"Error opening file";
    case SkinFileStatus::kEmpty: return L"File is empty";
    case SkinFileStatus::kTooLarge: return L"File too large";
    case SkinFileStatus::kReadFailed: return L"Could not read file";
    case SkinFileStatus::kZipOpenFailed: return L"Error opening zip file";
    case SkinFileStatus::kMemberNotFound: return L"Could not find ziped file";
    case SkinFileStatus::kUnzipFailed: return L"Could not unzip file";
    case SkinFileStatus::kOk: break;
  }
  return L"";
}

}  // namespace

bool CXmlMarkup::LoadFile(const wchar_t* name, int encoding) {
  Clear();
  if (name == nullptr) {
    FailLoad(L"Error opening file");
    return false;
  }
  std::vector<uint8_t> bytes;
  const SkinFileStatus status = CSkinResource::ReadSkinFile(name, bytes, kMaxMarkupFileBytes);
  if (status != SkinFileStatus::kOk) {
    FailLoad(DescribeFailure(status));
    return false;
  }
  return LoadBuffer(bytes.data(), bytes.size(), encoding);
}

}  // namespace SkinUI
