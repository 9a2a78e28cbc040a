#include "taskmenu/MenuMonitor.h"

#include "ui/DpiContext.h"

namespace taskmenu {

void MenuMonitor::Open(int x, int y) {
  const ui::PerMonitorDpiScope perMonitor;  // the point is in real pixels
  monitor_ = ::MonitorFromPoint({x, y}, MONITOR_DEFAULTTONEAREST);
  chosenByLetter_ = false;
}

// The choice's command is handled before the keys that came after it: the key state is still the
// one of the choice.
HMONITOR MenuMonitor::BringTo() const { return !chosenByLetter_ && ::GetKeyState(VK_SHIFT) < 0 ? monitor_ : nullptr; }

}  // namespace taskmenu
