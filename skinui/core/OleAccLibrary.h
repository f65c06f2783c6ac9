#pragma once
// oleacc.dll is not a KnownDLL, so the toolkit does not import it: the two functions a skinned
// window needs to serve assistive technology are looked up from the System32 copy on first use.

#include <windows.h>
#include <oleacc.h>

#include "UniqueHandle.h"

namespace SkinUI {

class COleAccLibrary {
 public:
  using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID riid, WPARAM wParam, LPUNKNOWN object);
  using AccessibleObjectFromWindowProc = HRESULT(WINAPI*)(HWND window, DWORD objectId, REFIID riid,
                                                          void** object);

  // The process-wide instance; loaded at the first call and kept until the process ends.
  static const COleAccLibrary& Get();

  // 0 when oleacc is missing or refuses.
  LRESULT ResultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) const;
  // The system's accessible object for a part of a window (OBJID_WINDOW for a frame).
  HRESULT ObjectFromWindow(HWND window, DWORD objectId, REFIID riid, void** object) const;

 private:
  COleAccLibrary();

  unique_module m_module;
  LresultFromObjectProc m_lresultFromObject = nullptr;
  AccessibleObjectFromWindowProc m_objectFromWindow = nullptr;
};

}  // namespace SkinUI
