#include "ui/WorkArea.h"

#include <algorithm>

namespace ui {

RECT WorkAreaNear(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  RECT primary{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0)) {
    primary = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return primary;
}

POINT ClampIntoWorkArea(POINT point) {
  const RECT area = WorkAreaNear(point);
  if (area.right <= area.left || area.bottom <= area.top) return point;
  return {std::clamp(point.x, area.left, area.right - 1), std::clamp(point.y, area.top, area.bottom - 1)};
}

}  // namespace ui
