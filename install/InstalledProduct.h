#pragma once
// The product as an earlier setup registered it, for reinstalls and upgrades.

#include <memory>
#include <string>

#include "InstallOptions.h"

struct InstalledProduct {
  std::wstring location;  // InstallLocation: the program folder
  std::wstring version;   // DisplayVersion
  bool madeInstallFolder = false;  // a setup made the folder above it (kMadeInstallFolderValue)
};

// The uninstall entry of the scope (the same hive and view setup writes), or null when there is
// none or it names no location.
std::unique_ptr<InstalledProduct> FindInstalledProduct(InstallScope scope);

// The version this setup installs, as it registers it.
const wchar_t* ProductVersion();

// Compares dotted versions number by number ("9.0.10" > "9.0.9"; missing parts count as 0):
// negative, zero or positive as a is lower, equal or higher.
int CompareVersions(const std::wstring& a, const std::wstring& b);
