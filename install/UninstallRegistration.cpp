#include "UninstallRegistration.h"

#include <windows.h>

#include <cwchar>

#include "InstallOptions.h"
#include "InstalledProduct.h"
#include "Log.h"
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

void LogWriteFailure(const ZKReg2& reg, const wchar_t* name, LSTATUS status) {
  WriteLogFormat(L"%ls %ls cannot write %ls\\%ls: registry error %ld", L"ZkInstall\\UninstallRegistration",
                 L"RegisterUninstall", reg.keyPath().c_str(), name, static_cast<long>(status));
}

void WriteString(ZKReg2& reg, const wchar_t* name, const std::wstring& text) {
  const LSTATUS status = reg.WriteString(name, text.c_str());
  if (status != ERROR_SUCCESS) LogWriteFailure(reg, name, status);
}

void WriteDword(ZKReg2& reg, const wchar_t* name, DWORD value) {
  const LSTATUS status = reg.WriteDword(name, value);
  if (status != ERROR_SUCCESS) LogWriteFailure(reg, name, status);
}

void WriteSixValues(ZKReg2& reg, const std::wstring& folder) {
  // An icon location is a path, quoted like a command line, then the icon's index.
  const std::wstring icon = QuotedIfSpaced(folder + kApplicationFile) + L",0";
  const std::wstring uninstaller = QuotedIfSpaced(folder + kUninstallerFile);
  // Each write stands alone: one failure does not stop the rest.
  WriteString(reg, L"DisplayName", kProductName);
  WriteString(reg, L"DisplayIcon", icon);
  WriteString(reg, L"UninstallString", uninstaller);
  WriteString(reg, L"InstallLocation", folder);
  WriteString(reg, L"DisplayVersion", kDisplayVersion);
  WriteString(reg, L"Publisher", kPublisher);
}

// The uninstaller's unattended form: always quoted, so the switch is never part of the path.
void WriteQuietUninstallString(ZKReg2& reg, const std::wstring& folder) {
  WriteString(reg, L"QuietUninstallString", L"\"" + folder + kUninstallerFile + L"\" /S");
}

// What "installed programs" shows and administrators script against.
void WriteMaintenanceValues(ZKReg2& reg, uint64_t payloadBytes) {
  if (payloadBytes != kPayloadBytesUnknown) {
    WriteDword(reg, L"EstimatedSize", static_cast<DWORD>(EstimatedSizeKiB(payloadBytes)));
  }
  WriteString(reg, L"InstallDate", TodayAsYyyymmdd());
  WriteDword(reg, L"NoModify", kNoModify);
  WriteDword(reg, L"NoRepair", kNoRepair);
}

}  // namespace

const wchar_t* ProductVersion() { return kDisplayVersion; }

std::wstring UninstallKeyPath(bool wow64) {
  return std::wstring(wow64 ? kRootWow64 : kRootNative) + L"\\" + kProductCode;
}

unsigned long EstimatedSizeKiB(uint64_t payloadBytes) {
  const uint64_t kib = payloadBytes / 1024 + (payloadBytes % 1024 != 0 ? 1 : 0);
  return kib > 0xFFFFFFFFu ? 0xFFFFFFFFul : static_cast<unsigned long>(kib);
}

HKEY UninstallHive(InstallScope scope) {
  return scope == InstallScope::kPerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void RegisterUninstall(const wchar_t* programFolder) {
  const InstallOptions& options = GetInstallOptions();
  RegisterUninstall(programFolder, options.scope, IsWow64() != 0, options.bytesTotal.load(), SetupMadeInstallFolder());
}

void RegisterUninstall(const wchar_t* programFolder, bool wow64, uint64_t payloadBytes) {
  RegisterUninstall(programFolder, InstallScope::kPerMachine, wow64, payloadBytes);
}

void RegisterUninstall(const wchar_t* programFolder, InstallScope scope, bool wow64, uint64_t payloadBytes,
                       bool madeInstallFolder) {
  if (programFolder == nullptr) return;
  const std::wstring keyPath = UninstallKeyPath(scope == InstallScope::kPerMachine && wow64);
  ZKReg2 reg;
  const LSTATUS status = reg.Create(UninstallHive(scope), keyPath.c_str(), kFullAccess);
  if (status == ERROR_SUCCESS) {
    WriteSixValues(reg, programFolder);
    WriteQuietUninstallString(reg, programFolder);
    WriteMaintenanceValues(reg, payloadBytes);
    // Never cleared: a reinstall into the folder an earlier setup made keeps the earlier answer.
    if (madeInstallFolder) WriteDword(reg, kMadeInstallFolderValue, 1);
  } else {
    WriteLogFormat(L"%ls %ls cannot create the uninstall key %ls: registry error %ld",
                   L"ZkInstall\\UninstallRegistration", L"RegisterUninstall", keyPath.c_str(),
                   static_cast<long>(status));
  }
  reg.Close();
}
