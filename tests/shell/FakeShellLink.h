#pragma once
// Stand-ins for the shell link object at the routines' factory seam: one that cannot be
// created, and one that takes the link's fields but has no IPersistFile, so it can never be
// saved.

#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "Shortcuts.h"

namespace shelltest {

constexpr HRESULT kClassNotRegistered = REGDB_E_CLASSNOTREG;  // 0x80040154

inline HRESULT FailingShellLinkFactory(IShellLinkW** link) {
  *link = nullptr;
  return kClassNotRegistered;
}

class UnsavableShellLink final : public IShellLinkW {
 public:
  // COM identity
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IShellLinkW) {
      *object = static_cast<IShellLinkW*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR file) override {
    target = file;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR name) override {
    description = name;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR dir) override {
    workingFolder = dir;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR path, int index) override {
    iconPath = path;
    iconIndex = index;
    return S_OK;
  }

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
  std::wstring target;
  std::wstring description;
  std::wstring workingFolder;
  std::wstring iconPath;
  int iconIndex = -1;
};

// The one instance handed out by UnsavableShellLinkFactory; tests reset it before use.
inline UnsavableShellLink& TheUnsavableShellLink() {
  static UnsavableShellLink link;
  return link;
}

inline HRESULT UnsavableShellLinkFactory(IShellLinkW** link) {
  *link = &TheUnsavableShellLink();
  (*link)->AddRef();
  return S_OK;
}

// Installs a factory for one scope.
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
