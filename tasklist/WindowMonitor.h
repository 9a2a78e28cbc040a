// Which monitor a task's window is on: the one nearest to it, or for a minimised window the one
// nearest to where it will be restored. The task list asks it to list the tasks of one monitor and
// to bring a window over to another.
#pragma once

#include <windows.h>

namespace tasklist {

// Of a window that is no tool window, as every task's window to activate is.
[[nodiscard]] HMONITOR MonitorOfWindow(HWND wnd);

// The placement's restored rectangle in screen coordinates: the placement gives it relative to
// the work area of its monitor, which starts past a taskbar at the monitor's left or top.
[[nodiscard]] RECT RestoredRect(const WINDOWPLACEMENT& placement);

}  // namespace tasklist
