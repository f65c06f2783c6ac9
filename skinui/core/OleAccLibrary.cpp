#include "OleAccLibrary.h"

#include "DllSearch.h"

namespace SkinUI {

const COleAccLibrary& COleAccLibrary::Get() {
  static const COleAccLibrary library;
  return library;
}

COleAccLibrary::COleAccLibrary() : m_module(LoadSystemLibrary(L"oleacc.dll")) {
  if (!m_module) return;
  m_lresultFromObject = FindExport<LresultFromObjectProc>(m_module.get(), "LresultFromObject");
  m_objectFromWindow = FindExport<AccessibleObjectFromWindowProc>(m_module.get(), "AccessibleObjectFromWindow");
}

LRESULT COleAccLibrary::ResultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) const {
  if (m_lresultFromObject == nullptr) return 0;
  const LRESULT result = m_lresultFromObject(riid, wParam, object);
  return result > 0 ? result : 0;
}

HRESULT COleAccLibrary::ObjectFromWindow(HWND window, DWORD objectId, REFIID riid, void** object) const {
  *object = nullptr;
  if (m_objectFromWindow == nullptr) return E_NOTIMPL;
  return m_objectFromWindow(window, objectId, riid, object);
}

}  // namespace SkinUI
