// zkstamp.exe SETUP_EXE SHA256_HEX SIZE: writes the payload stamp (PayloadStamp.h) into a built
// setup.exe as a resource, in place. Exit code 0 when written, 1 when not, 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "PayloadStamp.h"
#include "UniqueHandle.h"

namespace {

// An update that ends without EndUpdateResourceW(..., FALSE) leaves the file as it was.
struct ResourceUpdate {
  using type = HANDLE;
  static type invalid() { return nullptr; }
  static void close(type update) { ::EndUpdateResourceW(update, TRUE); }
};
using unique_resource_update = unique_handle<ResourceUpdate>;

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  c = static_cast<wchar_t>(std::towlower(c));
  return c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
}

bool ParseDigest(const wchar_t* text, uint8_t* out) {
  if (std::wcslen(text) != 2 * kDigestBytes) return false;
  for (size_t i = 0; i < kDigestBytes; ++i) {
    const int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

bool ParseSize(const wchar_t* text, uint64_t& size) {
  if (*text == L'\0') return false;
  size = 0;
  for (; *text != L'\0'; ++text) {
    if (*text < L'0' || *text > L'9' || size > (UINT64_MAX - 9) / 10) return false;
    size = size * 10 + static_cast<uint64_t>(*text - L'0');
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  uint8_t stamp[kPayloadStampBytes] = {};
  uint64_t size = 0;
  if (argc != 4 || !ParseDigest(argv[2], stamp) || !ParseSize(argv[3], size)) {
    std::fwprintf(stderr, L"usage: zkstamp SETUP_EXE SHA256_HEX SIZE\n");
    return 2;
  }
  for (size_t i = 0; i < 8; ++i) stamp[kDigestBytes + i] = static_cast<uint8_t>(size >> (8 * i));

  unique_resource_update update(BeginUpdateResourceW(argv[1], FALSE));
  if (!update) {
    std::fwprintf(stderr, L"zkstamp: cannot open %ls (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  if (!UpdateResourceW(update.get(), kPayloadStampType, MAKEINTRESOURCEW(kPayloadStampId),
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), stamp, sizeof(stamp))) {
    std::fwprintf(stderr, L"zkstamp: cannot add the stamp (error %lu)\n", GetLastError());
    return 1;
  }
  if (!EndUpdateResourceW(update.release(), FALSE)) {
    std::fwprintf(stderr, L"zkstamp: cannot write %ls (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  return 0;
}
