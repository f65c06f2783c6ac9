#include "ZKUninstaller.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <memory>
#include <utility>

#include "InstalledFileRecord.h"
#include "InstalledProduct.h"
#include "Log.h"
#include "Paths.h"
#include "Shortcuts.h"
#include "SystemActions.h"
#include "TextConversion.h"
#include "UninstallRegistration.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kLogSource[] = L"ZkUninstall\\ZKUninstaller";
constexpr wchar_t kProductName[] = L"Tessaro";
constexpr wchar_t kApplicationFile[] = L"\\VIDer.exe";
constexpr wchar_t kLinkExtension[] = L".lnk";
constexpr wchar_t kPinnedFolder[] = L"\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar";
constexpr wchar_t kUnpinVerb[] = L"taskbarunpin";
constexpr INT_PTR kShellExecuteFailureLimit = 32;

bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The target a shell link file points at; empty when it is no link.
std::wstring LinkTarget(const std::wstring& link) {
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink)))) {
    return std::wstring();
  }
  ComPtr<IPersistFile> file;
  if (FAILED(shellLink.As(&file)) || FAILED(file->Load(link.c_str(), STGM_READ))) return std::wstring();
  wchar_t target[kPathBufferChars * 4] = {};
  if (FAILED(shellLink->GetPath(target, static_cast<int>(sizeof(target) / sizeof(target[0])), nullptr, 0))) {
    return std::wstring();
  }
  return target;
}

void AnnounceDeleted(const std::wstring& path, bool folder) {
  SHChangeNotify(folder ? SHCNE_RMDIR : SHCNE_DELETE, SHCNF_PATHW, path.c_str(), nullptr);
}

}  // namespace

bool FindUninstallEntry(const std::wstring& programFolder, UninstallEntry* out) {
  for (const InstallScope scope : {InstallScope::kPerMachine, InstallScope::kPerUser}) {
    const std::unique_ptr<InstalledProduct> installed = FindInstalledProduct(scope);
    if (!installed || !SamePath(installed->location, programFolder)) continue;
    out->programFolder = programFolder;
    out->scope = scope;
    out->keyPath = UninstallKeyPath(scope == InstallScope::kPerMachine && IsWow64() != 0);
    out->madeInstallFolder = installed->madeInstallFolder;
    return true;
  }
  return false;
}

CZKUninstaller::CZKUninstaller(UninstallEntry entry, std::wstring deferredPath)
    : m_entry(std::move(entry)), m_deferredPath(std::move(deferredPath)) {}

bool CZKUninstaller::LoadRecord() {
  InstalledFileRecord record;
  m_hasRecord = ReadInstalledFileRecord(m_entry.programFolder, &record);
  m_paths.clear();
  m_isFolder.clear();
  m_next = 0;
  if (!m_hasRecord) {
    WriteLogFormat(L"%ls %ls no record of installed files in %ls: the folder is kept", kLogSource,
                   L"CZKUninstaller::LoadRecord", m_entry.programFolder.c_str());
    m_keptFolder = m_entry.programFolder;
    return false;
  }
  // The record keeps every folder before its contents; the reverse removes contents first.
  for (auto path = record.paths.rbegin(); path != record.paths.rend(); ++path) {
    const bool folder = path->back() == '\\';
    std::wstring full = m_entry.programFolder + L"\\" + Utf8ToWide(folder ? path->substr(0, path->size() - 1) : *path);
    m_paths.push_back(std::move(full));
    m_isFolder.push_back(folder);
  }
  return true;
}

bool CZKUninstaller::RemoveNextPath() {
  if (m_next >= m_paths.size()) return false;
  const std::wstring& path = m_paths[m_next];
  if (LiesBehindLink(path)) {
    WriteLogFormat(L"%ls %ls kept %ls: a folder above it is now a link to elsewhere", kLogSource,
                   L"CZKUninstaller::RemoveNextPath", path.c_str());
  } else if (m_isFolder[m_next]) {
    RemoveFolder(path);
  } else if (!SamePath(path, m_deferredPath)) {
    RemoveFile(path);
  }
  ++m_next;
  return true;
}

bool CZKUninstaller::LiesBehindLink(const std::wstring& path) const {
  // The record's names stay inside the folder only while no folder on the way leads elsewhere.
  for (size_t end = path.find(L'\\', m_entry.programFolder.size() + 1); end != std::wstring::npos;
       end = path.find(L'\\', end + 1)) {
    const DWORD attributes = GetFileAttributesW(path.substr(0, end).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;
  }
  return false;
}

void CZKUninstaller::RemoveShellItemsAndEntry() {
  const std::wstring application = m_entry.programFolder + kApplicationFile;
  RemoveLinkTo(GetDesktopFolder() + L"\\" + kProductName + kLinkExtension, application);
  RemoveStartMenu();
  RemoveTaskbarPin(application);
  RemoveEntry();
}

void CZKUninstaller::RemoveDeferred() {
  if (!m_hasRecord) return;
  if (!m_deferredPath.empty()) RemoveFile(m_deferredPath);
  RemoveFile(InstalledFileRecordPath(m_entry.programFolder));
  if (!RemoveFolder(m_entry.programFolder)) return;
  if (!m_entry.madeInstallFolder) return;
  const size_t separator = m_entry.programFolder.rfind(L'\\');
  // A drive root ("D:") is never removed.
  if (separator == std::wstring::npos || separator <= 2) return;
  const std::wstring installFolder = m_entry.programFolder.substr(0, separator);
  if (RemoveDirectoryW(installFolder.c_str())) {
    AnnounceDeleted(installFolder, true);
  } else if (GetLastError() != ERROR_DIR_NOT_EMPTY && !IsMissing(GetLastError())) {
    LogFailure(L"the installation folder", installFolder, GetLastError());
  }
}

void CZKUninstaller::RemoveAll() {
  if (LoadRecord()) {
    while (RemoveNextPath()) {
    }
  }
  RemoveShellItemsAndEntry();
}

int CZKUninstaller::ExitCode() const {
  if (m_failures != 0) return kExitNotAllRemoved;
  return m_hasRecord ? kUninstalled : kExitNoRecord;
}

void CZKUninstaller::RemoveFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return;
  DWORD error = GetLastError();
  if (IsMissing(error)) return;
  if (error == ERROR_ACCESS_DENIED) {
    // A read-only file is setup's as much as any other.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) && DeleteFileW(path.c_str())) {
      return;
    }
    error = GetLastError();
  }
  LogFailure(L"a file", path, error);
}

bool CZKUninstaller::RemoveFolder(const std::wstring& path) {
  if (RemoveDirectoryW(path.c_str())) return true;
  const DWORD error = GetLastError();
  if (IsMissing(error)) return true;
  if (error != ERROR_DIR_NOT_EMPTY) {
    LogFailure(L"a folder", path, error);
    return false;
  }
  WriteLogFormat(L"%ls %ls kept %ls: something is still in it", kLogSource, L"CZKUninstaller::RemoveFolder",
                 path.c_str());
  if (m_keptFolder.empty() || IsSameOrInsideFolder(m_keptFolder, path)) m_keptFolder = path;
  return false;
}

void CZKUninstaller::LogFailure(const wchar_t* what, const std::wstring& path, DWORD error) {
  ++m_failures;
  WriteLogFormat(L"%ls %ls cannot remove %ls %ls: error %lu", kLogSource, L"CZKUninstaller", what, path.c_str(),
                 static_cast<unsigned long>(error));
}

void CZKUninstaller::RemoveStartMenu() {
  const int csidl = m_entry.scope == InstallScope::kPerUser ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS;
  const std::wstring programs = GetSpecialFolder(csidl);
  if (programs.empty()) return;
  const std::wstring folder = programs + L"\\" + kProductName;
  for (const std::wstring& name :
       {std::wstring(kProductName), std::wstring(kUninstallLinkPrefix) + kProductName}) {
    const std::wstring link = folder + L"\\" + name + kLinkExtension;
    if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    RemoveFile(link);
    AnnounceDeleted(link, false);
  }
  if (RemoveDirectoryW(folder.c_str())) AnnounceDeleted(folder, true);
}

void CZKUninstaller::RemoveLinkTo(const std::wstring& link, const std::wstring& target) {
  if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  // A link of the same name that the user pointed elsewhere is not setup's.
  if (!SamePath(LinkTarget(link), target)) return;
  RemoveFile(link);
  AnnounceDeleted(link, false);
}

void CZKUninstaller::RemoveTaskbarPin(const std::wstring& application) {
  const std::wstring appData = GetSpecialFolder(CSIDL_APPDATA);
  if (appData.empty()) return;
  const std::wstring pin = appData + kPinnedFolder + L"\\" + kProductName + kLinkExtension;
  if (GetFileAttributesW(pin.c_str()) == INVALID_FILE_ATTRIBUTES || !SamePath(LinkTarget(pin), application)) return;
  const HINSTANCE shell = ShellExecuteW(nullptr, kUnpinVerb, pin.c_str(), nullptr, nullptr, SW_HIDE);
  if (reinterpret_cast<INT_PTR>(shell) <= kShellExecuteFailureLimit) {
    WriteLogFormat(L"%ls %ls the shell refused to unpin %ls", kLogSource, L"CZKUninstaller::RemoveTaskbarPin",
                   pin.c_str());
  }
  // The pinned link goes even where the verb did not take it away.
  RemoveLinkTo(pin, application);
}

void CZKUninstaller::RemoveEntry() {
  const LSTATUS status = RegDeleteKeyW(UninstallHive(m_entry.scope), m_entry.keyPath.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return;
  LogFailure(L"the uninstall entry", m_entry.keyPath, static_cast<DWORD>(status));
}
