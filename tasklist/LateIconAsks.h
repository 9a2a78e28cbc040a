// Asks the windows that were too slow to answer within the refresh for their icons once more, on
// a thread of its own, so that the menu opens without waiting for them. Each answer is posted to
// a window of the caller's as `message`, with the window's position in the list as wParam and
// `serial` as lParam; Answer() then gives the icon, borrowed from its window.
//
// The thread holds a reference to this module and ends with FreeLibraryAndExitThread: an unload
// while it still waits for a window does not free the code it runs. Destroying the object stops
// the asks not yet made and never waits for the thread; each ask waits at most kLateIconTimeoutMs.
#pragma once

#include <windows.h>

#include <vector>

namespace tasklist {

inline constexpr UINT kLateIconTimeoutMs = 1000;

class LateIconAsks {
 public:
  // Asks nobody when the thread cannot be started.
  LateIconAsks(const std::vector<HWND>& windows, bool bigFirst, HWND notify, UINT message, LPARAM serial);
  LateIconAsks(const LateIconAsks&) = delete;
  LateIconAsks& operator=(const LateIconAsks&) = delete;
  ~LateIconAsks();

  // The icon the window at `position` answered; null until then, or when it has none.
  [[nodiscard]] HICON Answer(size_t position) const;

 private:
  struct State;
  static DWORD WINAPI Run(void* state);

  State* state_ = nullptr;  // shared with the thread; the last one to let go deletes it
};

}  // namespace tasklist
