#include "SetupArguments.h"

#include <cwctype>

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c))); }

// True when text starts with prefix, ignoring case; prefix is upper case.
bool StartsWithSwitch(const std::wstring& text, size_t at, const wchar_t* prefix) {
  for (size_t i = 0; prefix[i] != L'\0'; ++i) {
    if (at + i >= text.size() || Upper(text[at + i]) != prefix[i]) return false;
  }
  return true;
}

bool IsSwitch(const std::wstring& word, const wchar_t* name) {
  return word.size() == std::char_traits<wchar_t>::length(name) && StartsWithSwitch(word, 0, name);
}

// One word from pos: quotes group spaces and are dropped.
std::wstring NextWord(const std::wstring& line, size_t* pos) {
  std::wstring word;
  bool quoted = false;
  for (; *pos < line.size(); ++*pos) {
    const wchar_t c = line[*pos];
    if (c == L'"') {
      quoted = !quoted;
    } else if (IsSpace(c) && !quoted) {
      break;
    } else {
      word.push_back(c);
    }
  }
  return word;
}

void SkipSpaces(const std::wstring& line, size_t* pos) {
  while (*pos < line.size() && IsSpace(line[*pos])) ++*pos;
}

// A full path: "X:\..." or "\\server\share...".
bool IsAbsolutePath(const std::wstring& path) {
  if (path.size() >= 3 && std::iswalpha(static_cast<std::wint_t>(path[0])) && path[1] == L':' &&
      (path[2] == L'\\' || path[2] == L'/')) {
    return true;
  }
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

SetupArguments ParseSetupCommandLine(const std::wstring& line) {
  SetupArguments parsed;
  size_t pos = 0;
  SkipSpaces(line, &pos);
  NextWord(line, &pos);  // the program
  for (;;) {
    SkipSpaces(line, &pos);
    if (pos >= line.size()) break;
    // Launchers that quote every argument with a space send "/D=..." whole, or /D="...".
    const bool quotedWhole = StartsWithSwitch(line, pos, L"\"/D=");
    if (quotedWhole || StartsWithSwitch(line, pos, L"/D=")) {
      std::wstring path = line.substr(pos + (quotedWhole ? 4 : 3));
      while (!path.empty() && IsSpace(path.back())) path.pop_back();
      if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
      } else if (quotedWhole && !path.empty() && path.back() == L'"') {
        path.pop_back();
      }
      if (!IsAbsolutePath(path)) {
        parsed.error = L"/D= needs a full path, such as /D=C:\\Tools\\zk";
      } else {
        parsed.installDir = WithoutTrailingSeparators(path);
      }
      break;
    }
    const std::wstring word = NextWord(line, &pos);
    if (IsSwitch(word, L"/S")) {
      parsed.silent = true;
    } else if (IsSwitch(word, L"/?") || IsSwitch(word, L"/HELP")) {
      parsed.help = true;
    } else if (IsSwitch(word, L"/NODESKTOP")) {
      parsed.noDesktop = true;
    } else if (IsSwitch(word, L"/NOPIN")) {
      parsed.noPin = true;
    } else if (IsSwitch(word, L"/ALLUSERS")) {
      parsed.scope = ScopeRequest::kAllUsers;
    } else if (IsSwitch(word, L"/CURRENTUSER")) {
      parsed.scope = ScopeRequest::kCurrentUser;
    } else if (StartsWithSwitch(word, 0, L"/LOG=") && word.size() > 5) {
      parsed.logFile = word.substr(5);
    } else if (parsed.error.empty()) {
      parsed.error = L"unknown switch: " + word;
    }
  }
  return parsed;
}

std::wstring SetupUsageText() {
  return L"setup.exe [/S] [/ALLUSERS | /CURRENTUSER] [/NODESKTOP] [/NOPIN] [/LOG=FILE] [/D=PATH]\n"
         L"\n"
         L"/S\t\u9759\u9ED8\u5B89\u88C5\uFF0C\u4E0D\u663E\u793A\u7A97\u53E3\n"             // 静默安装，不显示窗口
         L"/D=PATH\t\u5B89\u88C5\u76EE\u5F55\uFF08\u5FC5\u987B\u653E\u5728\u6700\u540E\uFF09\n"  // 安装目录（必须放在最后）
         L"/LOG=FILE\t\u540C\u65F6\u5C06\u65E5\u5FD7\u5199\u5165 FILE\n"                      // 同时将日志写入 FILE
         L"/NODESKTOP\t\u4E0D\u521B\u5EFA\u684C\u9762\u5FEB\u6377\u65B9\u5F0F\n"              // 不创建桌面快捷方式
         L"/NOPIN\t\u4E0D\u56FA\u5B9A\u5230\u4EFB\u52A1\u680F\n"                              // 不固定到任务栏
         L"/ALLUSERS\t\u4E3A\u6240\u6709\u7528\u6237\u5B89\u88C5\n"                           // 为所有用户安装
         L"/CURRENTUSER\t\u4EC5\u4E3A\u5F53\u524D\u7528\u6237\u5B89\u88C5\n"                  // 仅为当前用户安装
         L"/? /HELP\t\u663E\u793A\u672C\u8BF4\u660E\n";                                      // 显示本说明
}

InstallScope DecideInstallScope(const SetupArguments& arguments, bool elevated) {
  switch (arguments.scope) {
    case ScopeRequest::kAllUsers:
      return InstallScope::kPerMachine;
    case ScopeRequest::kCurrentUser:
      return InstallScope::kPerUser;
    case ScopeRequest::kAutomatic:
      break;
  }
  return elevated ? InstallScope::kPerMachine : InstallScope::kPerUser;
}
