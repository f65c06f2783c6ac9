#pragma once
// The link from ZKUnInstall.exe's copy in the temporary folder back to the program that started
// it from the program folder: the inherited handle of that process and the write end of the
// pipe the result goes through.

#include <windows.h>

#include "UninstallRelaunch.h"
#include "UniqueHandle.h"

// The copy's side of the link to the program that started it; inert when there is none.
class CParentLink {
 public:
  explicit CParentLink(const UninstallArguments& arguments);

  bool HasParent() const { return static_cast<bool>(m_parent); }
  // Sends code once; later calls do nothing.
  void ReportResult(int code);
  // Returns once the parent has ended (it then holds no file of the program folder), or after
  // half a minute.
  void WaitForParent();

 private:
  unique_kernel_handle m_parent;
  unique_file m_result;
};
