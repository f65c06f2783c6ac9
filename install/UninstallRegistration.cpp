#include "UninstallRegistration.h"

#include <windows.h>

#include <cwchar>

#include "InstallOptions.h"
#include "SystemActions.h"
#include "ZKReg2.h"

namespace {

constexpr wchar_t kRootWow64[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kRootNative[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr REGSAM kFullAccess = KEY_ALL_ACCESS;  // 0xF003F, no registry-view flag

constexpr wchar_t kProductName[] = L"Tessaro";
constexpr wchar_t kDisplayVersion[] = L"9.0.3.0";
constexpr wchar_t kPublisher[] = L"Veltrane";
constexpr wchar_t kApplicationFile[] = L"\\VIDer.exe";
constexpr wchar_t kUninstallerFile[] = L"\\ZKUnInstall.exe";

constexpr DWORD kNoModify = 1;
constexpr DWORD kNoRepair = 1;

// An unquoted path with a space lets Windows try "C:\Program.exe" first.
std::wstring QuotedIfSpaced(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  return L"\"" + path + L"\"";
}

std::wstring TodayAsYyyymmdd() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t text[16] = {};
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04u%02u%02u", static_cast<unsigned>(now.wYear),
                static_cast<unsigned>(now.wMonth), static_cast<unsigned>(now.wDay));
  return text;
}

void WriteSixValues(ZKReg2& reg, const std::wstring& folder) {
  const std::wstring icon = folder + kApplicationFile;
  const std::wstring uninstaller = QuotedIfSpaced(folder + kUninstallerFile);
  // Each write stands alone: one failure does not stop the rest.
  reg.WriteString(L"DisplayName", kProductName);
  reg.WriteString(L"DisplayIcon", icon.c_str());
  reg.WriteString(L"UninstallString", uninstaller.c_str());
  reg.WriteString(L"InstallLocation", folder.c_str());
  reg.WriteString(L"DisplayVersion", kDisplayVersion);
  reg.WriteString(L"Publisher", kPublisher);
}

// What "installed programs" shows and administrators script against.
void WriteMaintenanceValues(ZKReg2& reg, uint64_t payloadBytes) {
  if (payloadBytes != kPayloadBytesUnknown) {
    reg.WriteDword(L"EstimatedSize", static_cast<DWORD>(EstimatedSizeKiB(payloadBytes)));
  }
  reg.WriteString(L"InstallDate", TodayAsYyyymmdd().c_str());
  reg.WriteDword(L"NoModify", kNoModify);
  reg.WriteDword(L"NoRepair", kNoRepair);
}

}  // namespace

std::wstring UninstallKeyPath(bool wow64) {
  return std::wstring(wow64 ? kRootWow64 : kRootNative) + L"\\" + kProductCode;
}

unsigned long EstimatedSizeKiB(uint64_t payloadBytes) {
  const uint64_t kib = payloadBytes / 1024 + (payloadBytes % 1024 != 0 ? 1 : 0);
  return kib > 0xFFFFFFFFu ? 0xFFFFFFFFul : static_cast<unsigned long>(kib);
}

void RegisterUninstall(const wchar_t* programFolder) {
  const uint64_t total = GetInstallOptions().bytesTotal.load();
  RegisterUninstall(programFolder, IsWow64() != 0, total);
}

void RegisterUninstall(const wchar_t* programFolder, bool wow64, uint64_t payloadBytes) {
  if (programFolder == nullptr) return;
  const std::wstring keyPath = UninstallKeyPath(wow64);
  ZKReg2 reg;
  if (reg.Create(HKEY_LOCAL_MACHINE, keyPath.c_str(), kFullAccess) == ERROR_SUCCESS) {
    WriteSixValues(reg, programFolder);
    WriteMaintenanceValues(reg, payloadBytes);
  }
  reg.Close();
}
