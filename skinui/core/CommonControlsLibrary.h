#pragma once
// comctl32.dll registers its window classes as it loads, and the first frame needs none of them:
// the toolkit does not import it but loads it on first use, for an edit box's subclass and before
// the first tooltip. The manifest's side-by-side assembly still decides which version loads.

#include <windows.h>
#include <commctrl.h>

#include "UniqueHandle.h"

namespace SkinUI {

class CCommonControlsLibrary {
 public:
  // The process-wide instance; loaded at the first call and kept until the process ends.
  static const CCommonControlsLibrary& Get();

  // As the comctl32 functions of the same names; false (or DefWindowProc) when comctl32 is missing.
  bool SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) const;
  bool RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) const;
  LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  using SetWindowSubclassProc = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
  using RemoveWindowSubclassProc = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
  using DefSubclassProcProc = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

  CCommonControlsLibrary();

  unique_module m_module;
  SetWindowSubclassProc m_setWindowSubclass = nullptr;
  RemoveWindowSubclassProc m_removeWindowSubclass = nullptr;
  DefSubclassProcProc m_defSubclassProc = nullptr;
};

}  // namespace SkinUI
