// Under Windows, 7zCore's reader unpacks one archive per branch filter, made by the host's 7zz
// (make-filter-archives.sh), to what 7zz itself unpacked.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "SevenZipExtractor.h"

namespace {

std::wstring FullPath(const std::wstring& relative) {
  std::vector<wchar_t> buffer(GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr) + 1, L'\0');
  GetFullPathNameW(relative.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  return buffer.data();
}

std::wstring Data(const std::wstring& name) { return FullPath(L"test-data\\filters\\" + name); }

TEST(FilterArchive, EveryBranchFilterUnpacksAs7zzDoes) {
  for (const wchar_t* filter : {L"ARM", L"ARMT", L"ARM64", L"PPC", L"SPARC", L"IA64", L"RISCV"}) {
    SCOPED_TRACE(std::string(filter, filter + wcslen(filter)));
    ScratchFolder scratch;
    zk7z::SevenZipExtractor extractor;
    ASSERT_TRUE(extractor.Extract(Data(std::wstring(filter) + L".7z"), scratch / L"out")) << extractor.error();
    for (const wchar_t* file : {L"code.bin", L"short.bin"}) {
      const std::string want = ReadWholeFile(Data(L"ref-" + std::wstring(filter) + L"\\" + file));
      ASSERT_FALSE(want.empty());
      EXPECT_TRUE(ReadWholeFile(scratch / (std::wstring(L"out\\") + file)) == want);
    }
  }
}

}  // namespace
