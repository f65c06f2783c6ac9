#include "SetupArguments.h"

#include <cwctype>

namespace {

bool SameSwitch(const std::wstring& argument, const wchar_t* name) {
  size_t i = 0;
  for (; i < argument.size() && name[i] != L'\0'; ++i) {
    if (std::towupper(argument[i]) != static_cast<std::wint_t>(name[i])) return false;
  }
  return i == argument.size() && name[i] == L'\0';
}

}  // namespace

SetupArguments ParseSetupArguments(const std::vector<std::wstring>& arguments) {
  SetupArguments parsed;
  for (const std::wstring& argument : arguments) {
    if (SameSwitch(argument, L"/ALLUSERS")) parsed.scope = ScopeRequest::kAllUsers;
    if (SameSwitch(argument, L"/CURRENTUSER")) parsed.scope = ScopeRequest::kCurrentUser;
  }
  return parsed;
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
