// One move-only owner type per kind of platform handle. Copying is deleted, so a handle
// can have exactly one owner and can never be released twice.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace base {

template <typename T, auto Release>
class unique_handle {
 public:
  unique_handle() = default;
  explicit unique_handle(T value) : value_(value) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept : value_(other.release()) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~unique_handle() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != T{}; }

  [[nodiscard]] T release() { return std::exchange(value_, T{}); }
  void reset(T value = T{}) {
    if (T old = std::exchange(value_, value); old != T{}) Release(old);
  }

 private:
  T value_{};
};

using unique_hwnd = unique_handle<HWND, &::DestroyWindow>;
using unique_hmenu = unique_handle<HMENU, &::DestroyMenu>;
using unique_hicon = unique_handle<HICON, &::DestroyIcon>;
using unique_himagelist = unique_handle<HIMAGELIST, &::ImageList_Destroy>;
using unique_hmodule = unique_handle<HMODULE, &::FreeLibrary>;
using unique_kernel_handle = unique_handle<HANDLE, &::CloseHandle>;
using unique_hfont = unique_handle<HFONT, &::DeleteObject>;
using unique_hbrush = unique_handle<HBRUSH, &::DeleteObject>;
using unique_hdc = unique_handle<HDC, &::DeleteDC>;
using unique_global_atom = unique_handle<ATOM, &::GlobalDeleteAtom>;

// CreateToolhelp32Snapshot and CreateFileA report failure as INVALID_HANDLE_VALUE, not 0.
inline unique_kernel_handle AdoptFileHandle(HANDLE handle) {
  return unique_kernel_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

using unique_find_handle = unique_handle<HANDLE, &::FindClose>;

// FindFirstFileA reports failure as INVALID_HANDLE_VALUE, not 0.
inline unique_find_handle AdoptFindHandle(HANDLE handle) {
  return unique_find_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Selects an object into a device context for one scope and restores the previous one.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace base
