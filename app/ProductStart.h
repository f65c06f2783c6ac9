#pragma once
// Starting the installed application at the end of the wizard.

#include <string>

// Starts application with its program folder as the working folder. An elevated setup asks the
// desktop shell first, so the product runs as the signed-in user rather than as administrator,
// and starts it itself only when that fails; it logs which way ran. A setup that is not
// elevated starts it directly. A start that fails is logged.
void StartInstalledProduct(const std::wstring& application, const std::wstring& workingFolder);

// The routine the completion page calls; tests put a stand-in for the shell here (nullptr
// restores StartInstalledProduct). Returns the routine it replaces.
using ProductStarter = void (*)(const std::wstring& application, const std::wstring& workingFolder);
ProductStarter SetProductStarter(ProductStarter starter);
ProductStarter GetProductStarter();
