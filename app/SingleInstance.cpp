#include "SingleInstance.h"

namespace {

constexpr wchar_t kMachineMutex[] = L"Global\\Tessaro.Setup.{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}";
constexpr wchar_t kUserMutex[] = L"Local\\Tessaro.Setup.{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}";
constexpr wchar_t kWizardClass[] = L"zkmainframe";

}  // namespace

SingleSetupInstance::SingleSetupInstance(InstallScope scope) {
  mutex_.reset(CreateMutexW(nullptr, FALSE, scope == InstallScope::kPerUser ? kUserMutex : kMachineMutex));
  // Without a mutex nothing can be told; the installation goes on as it would have before.
  only_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool BringRunningWizardToFront() {
  HWND window = FindWindowW(kWizardClass, nullptr);
  if (window == nullptr) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}
