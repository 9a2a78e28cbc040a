// The least any task list must do: enumerate the top-level windows once, read each one's styles
// and caption, look up the executable path once per process, and ask each visible window that is
// no tool window once for its icon (within the task list's bound).
#pragma once

namespace bench {

struct FloorResult {
  double ms = 0.0;
  int windows = 0;    // top-level windows on the desktop, ours and everybody else's
  int processes = 0;  // distinct processes owning them
};

FloorResult RunFloorPass();

}  // namespace bench
