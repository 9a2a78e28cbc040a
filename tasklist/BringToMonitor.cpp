#include "tasklist/BringToMonitor.h"

#include "tasklist/WindowMonitor.h"

#include <algorithm>

namespace tasklist {
namespace {

[[nodiscard]] bool WorkAreaOf(HMONITOR monitor, RECT& workArea) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !::GetMonitorInfoW(monitor, &info)) return false;
  workArea = info.rcWork;
  return true;
}

}  // namespace

RECT MovedBetweenWorkAreas(const RECT& rect, const RECT& from, const RECT& to) {
  const LONG width = std::min(rect.right - rect.left, to.right - to.left);
  const LONG height = std::min(rect.bottom - rect.top, to.bottom - to.top);
  const LONG left = std::clamp(rect.left + to.left - from.left, to.left, to.right - width);
  const LONG top = std::clamp(rect.top + to.top - from.top, to.top, to.bottom - height);
  return {left, top, left + width, top + height};
}

// SetWindowPlacement would say it in one step, but it cannot be queued for another process's
// thread everywhere; ShowWindowAsync and SWP_ASYNCWINDOWPOS can, and keep their order.
bool BringToMonitor(HWND wnd, HMONITOR target) {
  const HMONITOR source = MonitorOfWindow(wnd);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT from{};
  RECT to{};
  if (source == target || !WorkAreaOf(source, from) || !WorkAreaOf(target, to) ||
      !::GetWindowPlacement(wnd, &placement)) {
    return false;
  }
  const bool minimised = ::IsIconic(wnd) != FALSE;
  const bool maximised = ::IsZoomed(wnd) != FALSE;
  RECT restored{};
  if (minimised || maximised) {
    restored = RestoredRect(placement);
  } else if (!::GetWindowRect(wnd, &restored)) {
    return false;
  }
  const RECT moved = MovedBetweenWorkAreas(restored, from, to);
  const bool maximiseThere = maximised || (minimised && (placement.flags & WPF_RESTORETOMAXIMIZED));
  // Shown normally at its old place first, so that the move is the restored place's. A window
  // minimised from maximised may come back maximised; a second step then makes it normal.
  if (minimised || maximised || !::IsWindowVisible(wnd)) ::ShowWindowAsync(wnd, SW_SHOWNOACTIVATE);
  if (minimised && maximiseThere) ::ShowWindowAsync(wnd, SW_SHOWNOACTIVATE);
  ::SetWindowPos(wnd, nullptr, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  if (maximiseThere) ::ShowWindowAsync(wnd, SW_SHOWMAXIMIZED);
  return true;
}

}  // namespace tasklist
