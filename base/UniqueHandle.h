#pragma once
// Move-only owner of one Win32 handle: every kind names its release function once, in its
// traits below, and no code releases such a handle by hand.

#include <windows.h>

#include <utility>

template <typename Traits>
class unique_handle {
 public:
  using handle_type = typename Traits::type;

  unique_handle() = default;
  explicit unique_handle(handle_type handle) : handle_(handle) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~unique_handle() { reset(); }

  handle_type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::invalid(); }

  // Releases the current handle and returns the slot for an API that writes a new one.
  handle_type* put() {
    reset();
    return &handle_;
  }
  handle_type release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(handle_type handle = Traits::invalid()) {
    if (handle_ != Traits::invalid()) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  handle_type handle_ = Traits::invalid();
};

namespace handle_traits {

struct File {
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type handle) { ::CloseHandle(handle); }
};

struct Kernel {
  using type = HANDLE;
  static type invalid() { return nullptr; }
  static void close(type handle) { ::CloseHandle(handle); }
};

struct Key {
  using type = HKEY;
  static type invalid() { return nullptr; }
  static void close(type key) { ::RegCloseKey(key); }
};

struct Window {
  using type = HWND;
  static type invalid() { return nullptr; }
  static void close(type window) { ::DestroyWindow(window); }
};

struct Module {
  using type = HMODULE;
  static type invalid() { return nullptr; }
  static void close(type module) { ::FreeLibrary(module); }
};

}  // namespace handle_traits

using unique_file = unique_handle<handle_traits::File>;                // CreateFileW
using unique_kernel_handle = unique_handle<handle_traits::Kernel>;     // events, threads, processes
using unique_hkey = unique_handle<handle_traits::Key>;
using unique_module = unique_handle<handle_traits::Module>;            // LoadLibraryW
using unique_hwnd = unique_handle<handle_traits::Window>;              // CreateWindowExW
