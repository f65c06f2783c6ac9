#include "CommonControlsLibrary.h"

#include "DllSearch.h"

namespace SkinUI {

const CCommonControlsLibrary& CCommonControlsLibrary::Get() {
  static const CCommonControlsLibrary library;
  return library;
}

CCommonControlsLibrary::CCommonControlsLibrary()
    : m_module(LoadSystemLibrary(L"comctl32.dll")),
      m_setWindowSubclass(FindExport<SetWindowSubclassProc>(m_module.get(), "SetWindowSubclass")),
      m_removeWindowSubclass(FindExport<RemoveWindowSubclassProc>(m_module.get(), "RemoveWindowSubclass")),
      m_defSubclassProc(FindExport<DefSubclassProcProc>(m_module.get(), "DefSubclassProc")) {}

bool CCommonControlsLibrary::SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id,
                                               DWORD_PTR data) const {
  return m_setWindowSubclass != nullptr && m_setWindowSubclass(window, procedure, id, data) != FALSE;
}

bool CCommonControlsLibrary::RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) const {
  return m_removeWindowSubclass != nullptr && m_removeWindowSubclass(window, procedure, id) != FALSE;
}

LRESULT CCommonControlsLibrary::DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (m_defSubclassProc == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return m_defSubclassProc(window, message, wParam, lParam);
}

}  // namespace SkinUI
