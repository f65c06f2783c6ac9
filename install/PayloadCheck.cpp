#include "PayloadCheck.h"

#include <bcrypt.h>

#include <vector>

#include "DllSearch.h"
#include "UniqueHandle.h"

namespace {

constexpr DWORD kReadChunk = 1 << 20;

#ifndef NT_SUCCESS
#define NT_SUCCESS(status) (static_cast<NTSTATUS>(status) >= 0)
#endif

// CNG's SHA-256 through bcrypt.dll loaded from System32 when first needed (no load-time import:
// bcrypt.dll is not a KnownDLL).
class CngSha256 {
 public:
  CngSha256() = default;
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;
  ~CngSha256() {
    if (hash_ != nullptr) destroyHash_(hash_);
    if (algorithm_ != nullptr) closeAlgorithm_(algorithm_, 0);
  }

  bool Open(std::wstring& error) {
    module_.reset(LoadSystemLibrary(L"bcrypt.dll"));
    if (!module_) return Fail(error, L"bcrypt.dll cannot be loaded");
    if (!Find("BCryptOpenAlgorithmProvider", openAlgorithm_) || !Find("BCryptCloseAlgorithmProvider", closeAlgorithm_) ||
        !Find("BCryptGetProperty", getProperty_) || !Find("BCryptCreateHash", createHash_) ||
        !Find("BCryptHashData", hashData_) || !Find("BCryptFinishHash", finishHash_) ||
        !Find("BCryptDestroyHash", destroyHash_)) {
      return Fail(error, L"bcrypt.dll lacks the hash functions");
    }
    if (!NT_SUCCESS(openAlgorithm_(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
      algorithm_ = nullptr;
      return Fail(error, L"SHA-256 is not available");
    }
    // Systems before Windows 8 want the caller to provide the hash object's memory.
    DWORD objectBytes = 0, written = 0;
    if (!NT_SUCCESS(getProperty_(algorithm_, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectBytes),
                                 sizeof(objectBytes), &written, 0))) {
      return Fail(error, L"the SHA-256 object size is unknown");
    }
    object_.resize(objectBytes);
    if (!NT_SUCCESS(createHash_(algorithm_, &hash_, object_.data(), objectBytes, nullptr, 0, 0))) {
      hash_ = nullptr;
      return Fail(error, L"no SHA-256 object");
    }
    return true;
  }

  bool Add(const void* data, DWORD bytes) {
    return NT_SUCCESS(hashData_(hash_, static_cast<PUCHAR>(const_cast<void*>(data)), bytes, 0));
  }

  bool Finish(Sha256Digest& digest) {
    return NT_SUCCESS(finishHash_(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
  }

 private:
  template <typename Function>
  bool Find(const char* name, Function& function) {
    function = FindExport<Function>(module_.get(), name);
    return function != nullptr;
  }
  static bool Fail(std::wstring& error, const wchar_t* text) {
    error = text;
    return false;
  }

  unique_module module_;
  decltype(&BCryptOpenAlgorithmProvider) openAlgorithm_ = nullptr;
  decltype(&BCryptCloseAlgorithmProvider) closeAlgorithm_ = nullptr;
  decltype(&BCryptGetProperty) getProperty_ = nullptr;
  decltype(&BCryptCreateHash) createHash_ = nullptr;
  decltype(&BCryptHashData) hashData_ = nullptr;
  decltype(&BCryptFinishHash) finishHash_ = nullptr;
  decltype(&BCryptDestroyHash) destroyHash_ = nullptr;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  std::vector<UCHAR> object_;
};

}  // namespace

bool ReadPayloadStamp(HMODULE module, PayloadStamp& stamp) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kPayloadStampId), kPayloadStampType);
  if (found == nullptr || SizeofResource(module, found) != kPayloadStampBytes) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = loaded == nullptr ? nullptr : static_cast<const uint8_t*>(LockResource(loaded));
  if (bytes == nullptr) return false;
  for (size_t i = 0; i < kDigestBytes; ++i) stamp.digest[i] = bytes[i];
  stamp.size = 0;
  for (size_t i = 0; i < 8; ++i) stamp.size |= static_cast<uint64_t>(bytes[kDigestBytes + i]) << (8 * i);
  return true;
}

bool HashOpenFile(HANDLE file, PayloadStamp& found, std::wstring& error) {
  CngSha256 sha;
  if (!sha.Open(error)) return false;
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
    error = L"cannot seek in the payload";
    return false;
  }
  std::vector<uint8_t> buffer(kReadChunk);
  found.size = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), kReadChunk, &read, nullptr)) {
      error = L"cannot read the payload (error " + std::to_wstring(GetLastError()) + L")";
      return false;
    }
    if (read == 0) break;
    if (!sha.Add(buffer.data(), read)) {
      error = L"hashing failed";
      return false;
    }
    found.size += read;
  }
  if (!sha.Finish(found.digest)) {
    error = L"hashing failed";
    return false;
  }
  return true;
}

std::wstring DigestText(const Sha256Digest& digest) {
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring text;
  for (uint8_t byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}
