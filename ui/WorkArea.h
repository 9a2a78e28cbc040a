// Where on the screens a menu may go: the work area (without taskbars and docked bars) of the
// monitor nearest a point.
#pragma once

#include <windows.h>

namespace ui {

[[nodiscard]] RECT WorkAreaNear(POINT point);

// The point moved into the work area of the monitor nearest to it: a place saved for a monitor
// that is no longer there lands on the edge of one that is.
[[nodiscard]] POINT ClampIntoWorkArea(POINT point);

}  // namespace ui
