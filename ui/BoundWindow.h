// The one window procedure of every window of ours, and its creation: a window is bound to the
// C++ object passed at its creation and owned by it from its first message on; messages go to
// the object's handler, and what escapes the handler is shown in the error box.
//
// `Object` grants access with `friend class ui::BoundWindow<Object>;` and supplies
//   base::unique_hwnd& BoundHandle();                    the owner of its window's handle
//   LRESULT HandleMessage(UINT, WPARAM, LPARAM);         leaves what it does not take to
//                                                        DefWindowProc
#pragma once

#include "base/Error.h"
#include "base/Handle.h"
#include "base/Module.h"
#include "ui/DispatchScope.h"
#include "ui/ErrorBox.h"
#include "ui/WindowClass.h"

#include <string>

namespace ui {

// How a window of ours is created.
struct WindowDescription {
  const char* className;
  const char* caption;
  DWORD style;
  DWORD exStyle;
  int left;
  int top;
  int width;
  int height;
};

template <typename Object>
class BoundWindow {
 public:
  // Creates the window of `object` in the thread's DPI awareness. Throws base::Error when it
  // cannot be created; a failed creation leaves no window.
  static void Create(Object& object, const WindowDescription& d) {
    RegisterWindowClass(d.className, &Procedure);
    const HWND created = ::CreateWindowExA(d.exStyle, d.className, d.caption, d.style, d.left, d.top, d.width, d.height,
                                           nullptr, nullptr, base::ThisModule(), &object);
    if (!created || object.BoundHandle().get() != created) {
      throw base::Error(std::string("cannot create the window ") + d.className);
    }
  }

  // Detaches the window from the object before destroying it: no message of the destruction
  // reaches an object that is itself going away. The class goes too, also when someone else
  // destroyed the window: it must not outlive the library.
  static void Destroy(Object& object, const char* className) {
    DestroyBoundWindow(object.BoundHandle());
    UnregisterWindowClass(className);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DispatchScope dispatching;  // the object may be retired meanwhile; it goes when this returns
    // Destroyed by someone else, the window is made anew when it is next needed.
    if (auto* object = ObjectOfDestroyedWindow<Object>(wnd, msg)) ForgetDestroyedWindow(object->BoundHandle(), wnd);
    auto* object = BoundObject<Object>(wnd, msg, lParam);
    if (!object) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    OwnOnCreate(object->BoundHandle(), wnd, msg);
    return GuardedHandler([&] { return object->HandleMessage(msg, wParam, lParam); });
  }
};

}  // namespace ui
