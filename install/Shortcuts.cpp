#include "Shortcuts.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "Paths.h"
#include "TextConversion.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr size_t kBufferChars = kPathBufferChars;  // 260, terminator included
constexpr DWORD kLinkServerContext = CLSCTX_ALL;   // 0x17
constexpr int kCsidlCommonPrograms = CSIDL_COMMON_PROGRAMS;
constexpr int kCsidlUserPrograms = CSIDL_PROGRAMS;
constexpr LONG kShellCreateEvent = SHCNE_CREATE | SHCNE_INTERRUPT;
constexpr UINT kShellNotifyFlags = SHCNF_PATHW | SHCNF_FLUSH;
constexpr wchar_t kLinkExtension[] = L".lnk";
constexpr wchar_t kPinVerb[] = L"TaskbarPin";
constexpr INT_PTR kShellExecuteFailureLimit = 32;
constexpr unsigned kChineseCodePage = 936;
// "指定的可执行文件路径或图标名称太长！"
constexpr wchar_t kTooLongMessage[] =
    L"\u6307\u5B9A\u7684\u53EF\u6267\u884C\u6587\u4EF6\u8DEF\u5F84\u6216\u56FE\u6807\u540D\u79F0\u592A\u957F\uFF01";
// "无法将快捷方式固定到任务栏！"
constexpr wchar_t kPinRefusedMessage[] =
    L"\u65E0\u6CD5\u5C06\u5FEB\u6377\u65B9\u5F0F\u56FA\u5B9A\u5230\u4EFB\u52A1\u680F\uFF01";

HRESULT CreateSystemShellLink(IShellLinkW** link) {
  return CoCreateInstance(CLSID_ShellLink, nullptr, kLinkServerContext, IID_IShellLinkW,
                          reinterpret_cast<void**>(link));
}

ShellLinkFactory g_shellLinkFactory = CreateSystemShellLink;

void PrintLine(std::FILE* stream, const std::string& text) {
  std::fputs(text.c_str(), stream);
  std::fputs("\n", stream);
  std::fflush(stream);
}

// Appends text when it fits the buffer whole; otherwise, with truncate, keeps the part that
// fits. Returns whether all of text was appended.
bool AppendBounded(wchar_t* buffer, const wchar_t* text, bool truncate) {
  const size_t used = std::wcslen(buffer);
  const size_t room = kBufferChars - 1 - used;
  const size_t length = std::wcslen(text);
  if (length <= room) {
    std::wmemcpy(buffer + used, text, length + 1);
    return true;
  }
  if (truncate) {
    std::wmemcpy(buffer + used, text, room);
    buffer[used + room] = L'\0';
  }
  return false;
}

// Link names become one file name inside the folder they are meant for.
bool IsSingleFileName(const wchar_t* name) {
  if (name == nullptr || name[0] == L'\0') return false;
  if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) return false;
  for (const wchar_t* c = name; *c != L'\0'; ++c) {
    if (*c < 0x20 || std::wcschr(L"\\/:*?\"<>|", *c) != nullptr) return false;
  }
  return true;
}

std::wstring ShortFormOr(const wchar_t* path) {
  const DWORD needed = GetShortPathNameW(path, nullptr, 0);
  if (needed == 0) return path;
  std::vector<wchar_t> buffer(needed, L'\0');
  const DWORD written = GetShortPathNameW(path, buffer.data(), needed);
  if (written == 0 || written >= needed) return path;
  return std::wstring(buffer.data(), written);
}

struct ItemListDeleter {
  void operator()(ITEMIDLIST_ABSOLUTE* items) const { CoTaskMemFree(items); }
};
using unique_item_list = std::unique_ptr<ITEMIDLIST_ABSOLUTE, ItemListDeleter>;

bool GetProgramsFolder(InstallScope scope, wchar_t (&path)[kBufferChars]) {
  const int csidl = scope == InstallScope::kPerUser ? kCsidlUserPrograms : kCsidlCommonPrograms;
  PIDLIST_ABSOLUTE raw = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &raw)) || raw == nullptr) return false;
  const unique_item_list items(raw);
  path[0] = L'\0';
  return SHGetPathFromIDListW(items.get(), path) != FALSE && path[0] != L'\0';
}

// folder + "\" + prefix + name + ".lnk"; false when it would not fit whole.
bool FormatLinkPath(wchar_t (&link)[kBufferChars], const wchar_t* folder, const wchar_t* prefix,
                    const wchar_t* name) {
  link[0] = L'\0';
  return AppendBounded(link, folder, false) && AppendBounded(link, L"\\", false) &&
         AppendBounded(link, prefix, false) && AppendBounded(link, name, false) &&
         AppendBounded(link, kLinkExtension, false);
}

void AnnounceCreated(const wchar_t* path) { SHChangeNotify(kShellCreateEvent, kShellNotifyFlags, path, nullptr); }

}  // namespace

ShellLinkFactory SetShellLinkFactory(ShellLinkFactory factory) {
  const ShellLinkFactory previous = g_shellLinkFactory;
  g_shellLinkFactory = factory != nullptr ? factory : CreateSystemShellLink;
  return previous;
}

int CreateShortcut(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                   const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath) {
  if (target == nullptr || workingFolder == nullptr || description == nullptr || iconPath == nullptr ||
      linkPath == nullptr) {
    return 0;
  }
  ComPtr<IShellLinkW> link;
  const HRESULT created = g_shellLinkFactory(link.GetAddressOf());
  std::fprintf(stdout, "%lx\n", static_cast<unsigned long>(created));
  std::fflush(stdout);
  if (FAILED(created) || !link) {
    PrintLine(stdout, "ERRO 1");
    return 0;
  }

  // A link that lost its target would be saved as an empty shortcut and reported as made.
  if (FAILED(link->SetPath(target))) return 0;
  link->SetDescription(description);
  link->SetIconLocation(ShortFormOr(iconPath).c_str(), iconIndex);
  link->SetWorkingDirectory(workingFolder);

  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file))) {
    PrintLine(stdout, "ERRO 2");
    return 0;
  }
  if (FAILED(file->Save(linkPath, TRUE))) return 0;
  return 1;
}

int CreateLinkFile(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                   const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath) {
  return CreateShortcut(target, workingFolder, description, iconPath, iconIndex, linkPath);
}

void CreateStartMenuShortcuts(const wchar_t* appPath, const wchar_t* uninstallerPath,
                              const wchar_t* workingFolder, const wchar_t* name, InstallScope scope) {
  if (appPath == nullptr || uninstallerPath == nullptr || workingFolder == nullptr || !IsSingleFileName(name)) {
    return;
  }
  wchar_t folder[kBufferChars] = {};
  if (!GetProgramsFolder(scope, folder)) return;
  // The folder name is cut to what fits; the links below are only written whole.
  AppendBounded(folder, L"\\", true);
  AppendBounded(folder, name, true);

  if (GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES) {
    CreateDirectoryW(folder, nullptr);
    AnnounceCreated(folder);
  }

  wchar_t link[kBufferChars] = {};
  if (FormatLinkPath(link, folder, L"", name)) {
    CreateShortcut(appPath, workingFolder, name, appPath, 0, link);
  }
  if (FormatLinkPath(link, folder, kUninstallLinkPrefix, name)) {
    CreateShortcut(uninstallerPath, workingFolder, name, uninstallerPath, 0, link);
    AnnounceCreated(link);
  }
}

int PinToTaskbar(const wchar_t* target, const wchar_t* workingFolder, const wchar_t* description,
                 const wchar_t* linkName, const wchar_t* /*unused*/, int iconIndex) {
  if (target == nullptr || !IsSingleFileName(linkName)) return 0;
  wchar_t link[kBufferChars] = {};
  const DWORD tempLength = GetTempPathW(static_cast<DWORD>(kBufferChars), link);
  if (tempLength == 0) return 0;
  if (tempLength >= kBufferChars || !AppendBounded(link, linkName, false) ||
      !AppendBounded(link, kLinkExtension, false)) {
    PrintLine(stderr, WideToCodePage(kTooLongMessage, kChineseCodePage));
    return 0;
  }

  const int created = CreateShortcut(target, workingFolder, description, target, iconIndex, link);
  if (created != 0) {
    const HINSTANCE shell = ShellExecuteW(nullptr, kPinVerb, link, nullptr, nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(shell) <= kShellExecuteFailureLimit) {
      PrintLine(stderr, WideToCodePage(kPinRefusedMessage, kChineseCodePage));
    }
    DeleteFileW(link);
  }
  return created;
}
