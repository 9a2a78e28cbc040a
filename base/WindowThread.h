// Which thread and process own a window.
#pragma once

#include <windows.h>

namespace base {

// As GetWindowThreadProcessId gives them; both 0 when the window no longer exists.
struct WindowThread {
  DWORD thread = 0;
  DWORD process = 0;
};

inline WindowThread ThreadOf(HWND wnd) {
  WindowThread owner;
  owner.thread = ::GetWindowThreadProcessId(wnd, &owner.process);
  return owner;
}

}  // namespace base
