#include "SkinResource.h"

#include "TextConversion.h"
#include "UniqueHandle.h"
#include "ZipArchive.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace SkinUI {
namespace {

constexpr DWORD kMaxReadChunk = 1u << 20;

struct ArchiveCloser {
  void operator()(ZipArchive* archive) const { CloseZip(archive); }
};
using unique_archive = std::unique_ptr<ZipArchive, ArchiveCloser>;

struct SkinSource {
  HINSTANCE instance = nullptr;
  HINSTANCE resourceInstance = nullptr;
  std::wstring path;
  int type = kSkinResourceFolder;
  std::wstring zipName;
  bool cached = false;
  std::wstring password;
  unique_archive archive;  // the cached archive; closed at exit
  CSkinResource::ReloadSkinHandler reloadHandler = nullptr;
};

SkinSource& Source() {
  static SkinSource source;
  return source;
}

SkinFileStatus ReadFolderFile(const std::wstring& path, std::vector<uint8_t>& bytes,
                              size_t maxBytes) {
  unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SkinFileStatus::kOpenFailed;
  // Pipes and devices open by name too, but have no size to read by.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return SkinFileStatus::kReadFailed;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return SkinFileStatus::kReadFailed;
  if (size.QuadPart == 0) return SkinFileStatus::kEmpty;
  if (static_cast<uint64_t>(size.QuadPart) > maxBytes ||
      static_cast<uint64_t>(size.QuadPart) > std::numeric_limits<size_t>::max())
    return SkinFileStatus::kTooLarge;
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return SkinFileStatus::kTooLarge;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kMaxReadChunk));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  if (done != bytes.size()) return SkinFileStatus::kReadFailed;
  return SkinFileStatus::kOk;
}

SkinFileStatus ReadZipMember(ZipArchive* archive, const std::wstring& name,
                             std::vector<uint8_t>& bytes, size_t maxBytes) {
  std::wstring member = name;
  std::replace(member.begin(), member.end(), L'\\', L'/');
  int index = -1;
  ZipEntry entry;
  if (FindZipEntry(archive, member.c_str(), true, &index, &entry) != kZipOk)
    return SkinFileStatus::kMemberNotFound;
  const uint32_t size = static_cast<uint32_t>(entry.uncompressedSize);
  if (size == 0) return SkinFileStatus::kEmpty;
  if (size > maxBytes) return SkinFileStatus::kTooLarge;
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    return SkinFileStatus::kTooLarge;
  }
  const ZipResult r = UnzipItemToMemory(archive, index, bytes.data(), size);
  if (r != kZipOk && r != kZipMoreData) return SkinFileStatus::kUnzipFailed;
  return SkinFileStatus::kOk;
}

}  // namespace

void CSkinResource::SetInstance(HINSTANCE instance) { Source().instance = instance; }

HINSTANCE CSkinResource::GetInstance() { return Source().instance; }

void CSkinResource::SetResourceInstance(HINSTANCE instance) {
  Source().resourceInstance = instance;
}

HINSTANCE CSkinResource::GetResourceInstance() {
  const SkinSource& s = Source();
  return s.resourceInstance != nullptr ? s.resourceInstance : s.instance;
}

void CSkinResource::SetResourcePath(const std::wstring& path) {
  std::wstring& stored = Source().path;
  stored = path;
  if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
}

const std::wstring& CSkinResource::GetResourcePath() { return Source().path; }

void CSkinResource::SetResourceType(int type) { Source().type = type; }

int CSkinResource::GetResourceType() { return Source().type; }

void CSkinResource::SetResourceZip(const std::wstring& name, bool cached,
                                   const std::wstring& password) {
  SkinSource& s = Source();
  if (name == s.zipName && cached == s.cached) return;
  if (s.cached) s.archive.reset();
  s.zipName = name;
  s.cached = cached;
  s.password = password;
  if (cached) {
    const std::wstring path = s.path + name;
    s.archive.reset(OpenZipFile(path.c_str(), WideToAnsi(password).c_str()));
  }
}

void CSkinResource::SetResourceZipMemory(const void* bytes, size_t length,
                                         const std::wstring& password) {
  SkinSource& s = Source();
  if (s.zipName == kMemoryZipName) return;
  s.archive.reset();
  s.zipName = kMemoryZipName;
  s.cached = true;
  s.password = password;
  s.archive.reset(OpenZipMemory(bytes, length, WideToAnsi(password).c_str()));
}

const std::wstring& CSkinResource::GetResourceZip() { return Source().zipName; }

bool CSkinResource::IsResourceZipCached() { return Source().cached; }

const std::wstring& CSkinResource::GetResourceZipPassword() { return Source().password; }

ZipArchive* CSkinResource::GetResourceZipArchive() { return Source().archive.get(); }

void CSkinResource::ReloadSkin() {
  if (Source().reloadHandler != nullptr) Source().reloadHandler();
}

void CSkinResource::SetReloadSkinHandler(ReloadSkinHandler handler) {
  Source().reloadHandler = handler;
}

bool CSkinResource::ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
  return ReadSkinFile(name, bytes, std::numeric_limits<size_t>::max()) == SkinFileStatus::kOk;
}

SkinFileStatus CSkinResource::ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes,
                                           size_t maxBytes) {
  bytes.clear();
  SkinSource& s = Source();
  SkinFileStatus status;
  if (s.zipName.empty()) {
    status = ReadFolderFile(s.path + name, bytes, maxBytes);
  } else if (s.cached) {
    status = s.archive ? ReadZipMember(s.archive.get(), name, bytes, maxBytes)
                       : SkinFileStatus::kZipOpenFailed;
  } else {
    const std::wstring path = s.path + s.zipName;
    unique_archive archive(OpenZipFile(path.c_str(), WideToAnsi(s.password).c_str()));
    status = archive ? ReadZipMember(archive.get(), name, bytes, maxBytes)
                     : SkinFileStatus::kZipOpenFailed;
  }
  if (status != SkinFileStatus::kOk) bytes.clear();
  return status;
}

void CSkinResource::CloseResourceZip() { Source().archive.reset(); }

}  // namespace SkinUI
