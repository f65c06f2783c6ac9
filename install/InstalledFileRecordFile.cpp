// Reading and writing the record's file.
#include <windows.h>

#include "InstalledFileRecord.h"
#include "UniqueHandle.h"

namespace {

// Far above any payload's list of names; a larger file is no record of ours.
constexpr DWORD kMaxRecordBytes = 64u << 20;

}  // namespace

std::wstring InstalledFileRecordPath(const std::wstring& programFolder) {
  return programFolder + L"\\" + kInstalledFileRecordName;
}

bool ReadInstalledFileRecord(const std::wstring& programFolder, InstalledFileRecord* out) {
  unique_file file(::CreateFileW(InstalledFileRecordPath(programFolder).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxRecordBytes) return false;
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!text.empty() && (!::ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) ||
                        read != text.size())) {
    return false;
  }
  return ParseInstalledFileRecord(text, out);
}

bool WriteInstalledFileRecord(const std::wstring& programFolder, const InstalledFileRecord& record) {
  const std::wstring path = InstalledFileRecordPath(programFolder);
  const std::wstring temporary = path + L".new";
  const std::string text = FormatInstalledFileRecord(record);
  {
    unique_file file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size() || !::FlushFileBuffers(file.get())) {
      const DWORD error = ::GetLastError();
      file.reset();
      ::DeleteFileW(temporary.c_str());
      ::SetLastError(error);
      return false;
    }
  }
  if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  const DWORD error = ::GetLastError();
  ::DeleteFileW(temporary.c_str());
  ::SetLastError(error);
  return false;
}
