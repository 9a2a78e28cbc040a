// Window classes of this module, and the C++ object bound to each of their windows.
#pragma once

#include "base/Handle.h"

#include <windows.h>

namespace ui {

// Registers the class once; later calls find it registered.
void RegisterWindowClass(const char* className, WNDPROC proc);
// A class registered by a library outlives it unless unregistered; this fails quietly while
// another window of the class exists.
void UnregisterWindowClass(const char* className);

// For a window procedure: the object passed as the window's creation parameter, bound on
// WM_NCCREATE, the window's first message, so that the object can take ownership of its handle
// before any handler runs. Null for WM_NCDESTROY (which unbinds it) and for messages outside that
// span, which go to the default handling.
template <typename Object>
Object* BoundObject(HWND wnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* object = static_cast<Object*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    return nullptr;
  }
  return reinterpret_cast<Object*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

// Takes ownership of the window on its first message: a handler during creation already sees
// the object with its handle.
inline void OwnOnCreate(base::unique_hwnd& owner, HWND wnd, UINT msg) {
  if (msg == WM_NCCREATE) owner.reset(wnd);
}

// For a window procedure: on WM_NCDESTROY, the object still bound to the window, else null.
template <typename Object>
Object* ObjectOfDestroyedWindow(HWND wnd, UINT msg) {
  return msg == WM_NCDESTROY ? reinterpret_cast<Object*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA)) : nullptr;
}

// Lets the owner of a window that someone else destroyed forget its handle.
inline void ForgetDestroyedWindow(base::unique_hwnd& owner, HWND destroyed) {
  if (owner.get() == destroyed) (void)owner.release();
}

// Destroys the window after detaching it from its object: the messages of the destruction go to
// the default handling, never to an object that is itself going away.
inline void DestroyBoundWindow(base::unique_hwnd& wnd) {
  if (!wnd) return;
  ::SetWindowLongPtrA(wnd.get(), GWLP_USERDATA, 0);
  wnd.reset();
}

}  // namespace ui
