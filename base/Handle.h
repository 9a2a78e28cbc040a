// One move-only owner type per kind of platform handle. Copying is deleted, so a handle
// can have exactly one owner and can never be released twice.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace base {

// Which values mean "no handle": 0 for most kinds; 0 and INVALID_HANDLE_VALUE for the kinds whose
// functions report failure with the latter (files, tool help snapshots, file searches). An owner
// of those kinds holds 0 for either, so a failed call can never be closed.
enum class NoneIs { kNull, kNullOrInvalid };

template <typename T, auto Release, NoneIs none = NoneIs::kNull>
class unique_handle {
 public:
  unique_handle() = default;
  explicit unique_handle(T value) : value_(Normalised(value)) {}
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
    if (T old = std::exchange(value_, Normalised(value)); old != T{}) Release(old);
  }

 private:
  static T Normalised(T value) {
    if constexpr (none == NoneIs::kNullOrInvalid) {
      if (value == INVALID_HANDLE_VALUE) return T{};
    }
    return value;
  }

  T value_{};
};

using unique_hwnd = unique_handle<HWND, &::DestroyWindow>;
using unique_hmenu = unique_handle<HMENU, &::DestroyMenu>;
using unique_hicon = unique_handle<HICON, &::DestroyIcon>;
using unique_himagelist = unique_handle<HIMAGELIST, &::ImageList_Destroy>;
using unique_hmodule = unique_handle<HMODULE, &::FreeLibrary>;
using unique_hhook = unique_handle<HHOOK, &::UnhookWindowsHookEx>;
// Process and thread handles: 0 when the call failed.
using unique_kernel_handle = unique_handle<HANDLE, &::CloseHandle>;
// Files and tool help snapshots: INVALID_HANDLE_VALUE when the call failed.
using unique_file_handle = unique_handle<HANDLE, &::CloseHandle, NoneIs::kNullOrInvalid>;
using unique_find_handle = unique_handle<HANDLE, &::FindClose, NoneIs::kNullOrInvalid>;
using unique_hfont = unique_handle<HFONT, &::DeleteObject>;
using unique_hbrush = unique_handle<HBRUSH, &::DeleteObject>;
using unique_hbitmap = unique_handle<HBITMAP, &::DeleteObject>;
using unique_hdc = unique_handle<HDC, &::DeleteDC>;
using unique_global_atom = unique_handle<ATOM, &::GlobalDeleteAtom>;

// A window's device context from GetDC, released to that window.
class WindowDc {
 public:
  explicit WindowDc(HWND wnd) : wnd_(wnd), dc_(::GetDC(wnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(wnd_, dc_);
  }

  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

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
