// Bringing a window over to another monitor without waiting for it: every step is queued for the
// window's own thread, which carries them out in order when it reads its messages. A window that
// stopped responding moves when it recovers, or never; the caller goes on at once.
#pragma once

#include <windows.h>

namespace tasklist {

// `rect`, on the monitor whose work area is `from`, moved by the offset between the work areas
// `from` and `to`; its size is kept as far as `to` allows, and it is moved into `to` as a whole.
[[nodiscard]] RECT MovedBetweenWorkAreas(const RECT& rect, const RECT& from, const RECT& to);

// Asks for the window's restored place to move to `target` as MovedBetweenWorkAreas says, the
// window shown there: maximised again when it was maximised (or minimised from maximised), else
// normal, restored also from minimised. Returns false, asking nothing, when the window is on
// `target` already or a monitor is not known.
[[nodiscard]] bool BringToMonitor(HWND wnd, HMONITOR target);

}  // namespace tasklist
