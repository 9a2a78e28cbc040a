#include "tasklist/WindowMonitor.h"

namespace tasklist {

HMONITOR MonitorOfWindow(HWND wnd) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  // A minimised window is parked off the screens or in a corner; where it comes back counts.
  if (!::IsIconic(wnd) || !::GetWindowPlacement(wnd, &placement)) {
    return ::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST);
  }
  const RECT restored = RestoredRect(placement);
  return ::MonitorFromRect(&restored, MONITOR_DEFAULTTONEAREST);
}

RECT RestoredRect(const WINDOWPLACEMENT& placement) {
  RECT rect = placement.rcNormalPosition;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
    ::OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  }
  return rect;
}

}  // namespace tasklist
