// The top-level windows of one moment, in z-order, with each window's owner, styles, class and
// switchability read at most once. A refresh asks for them several times per window, and with
// another process's window every read is a round trip to the window system.
#pragma once

#include "tasklist/Switchability.h"

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tasklist {

class WindowSnapshot {
 public:
  // Enumerates the top-level windows; their states are read on first use.
  WindowSnapshot();
  WindowSnapshot(const WindowSnapshot&) = delete;
  WindowSnapshot& operator=(const WindowSnapshot&) = delete;

  const std::vector<HWND>& Windows() const { return windows_; }

  HWND Owner(HWND wnd);
  // The last window reached by following owners from `wnd`; 0 when `wnd` has no owner.
  HWND TopmostOwner(HWND wnd);
  // Whether GetParent would return a window: an owner, or the parent of a child-styled window.
  bool HasOwnerOrParent(HWND wnd);
  LONG Style(HWND wnd);
  LONG ExStyle(HWND wnd);
  bool IsToolWindow(HWND wnd);
  const std::string& ClassName(HWND wnd);
  // Whether a user could switch to the window (kNone), or why not. Its system lookups are made
  // at the first window asked about.
  Exclusion SwitchExclusion(HWND wnd);
  bool IsSwitchable(HWND wnd) { return SwitchExclusion(wnd) == Exclusion::kNone; }

 private:
  struct State {
    std::optional<HWND> owner;
    std::optional<LONG> style;
    std::optional<LONG> exStyle;
    std::optional<std::string> className;
    std::optional<Exclusion> switchExclusion;
  };

  std::vector<HWND> windows_;
  std::unordered_map<HWND, State> states_;
  std::optional<SwitchTests> switchTests_;
};

}  // namespace tasklist
