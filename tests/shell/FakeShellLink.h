#pragma once
// Stand-ins for the shell link object at the routines' factory seam: one that cannot be
// created, and one without IPersistFile, so it can never be saved. The second counts its
// references so a test can see every one was given back.

#include <windows.h>
#include <shobjidl.h>

#include "Shortcuts.h"

namespace shelltest {

inline HRESULT FailingShellLinkFactory(IShellLinkW** link) {
  *link = nullptr;
  return REGDB_E_CLASSNOTREG;  // 0x80040154
}

class UnsavableShellLink final : public IShellLinkW {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IShellLinkW) return E_NOINTERFACE;
    *object = static_cast<IShellLinkW*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR) override { return setPathResult; }
  HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR, int) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPath(LPWSTR, int, WIN32_FIND_DATAW*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR, int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR, int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR, int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetHotkey(WORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetHotkey(WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetShowCmd(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetShowCmd(int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR, int, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetRelativePath(LPCWSTR, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Resolve(HWND, DWORD) override { return E_NOTIMPL; }

  ULONG references = 0;
  HRESULT setPathResult = S_OK;
};

// The one instance UnsavableShellLinkFactory hands out.
inline UnsavableShellLink& TheUnsavableShellLink() {
  static UnsavableShellLink link;
  return link;
}

inline HRESULT UnsavableShellLinkFactory(IShellLinkW** link) {
  *link = &TheUnsavableShellLink();
  (*link)->AddRef();
  return S_OK;
}

class ShellLinkFactoryOverride {
 public:
  explicit ShellLinkFactoryOverride(ShellLinkFactory factory) : previous_(SetShellLinkFactory(factory)) {}
  ShellLinkFactoryOverride(const ShellLinkFactoryOverride&) = delete;
  ShellLinkFactoryOverride& operator=(const ShellLinkFactoryOverride&) = delete;
  ~ShellLinkFactoryOverride() { SetShellLinkFactory(previous_); }

 private:
  ShellLinkFactory previous_;
};

}  // namespace shelltest
