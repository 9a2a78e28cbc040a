#include "MonitorColumns.h"

#include "tasklist/WindowMonitor.h"

#include <cstdio>
#include <string>

namespace {

// As the system names it, "\\.\DISPLAY1" say.
std::string DeviceName(HMONITOR monitor) {
  MONITORINFOEXA info{};
  info.cbSize = sizeof(info);
  return ::GetMonitorInfoA(monitor, &info) ? info.szDevice : "?";
}

}  // namespace

void PrintMonitors(const tasklist::TWinInfos& tasks, POINT menuPoint) {
  const HMONITOR menuMonitor = ::MonitorFromPoint(menuPoint, MONITOR_DEFAULTTONEAREST);
  std::printf("\nmenu at %ld,%ld on %s\n", menuPoint.x, menuPoint.y, DeviceName(menuMonitor).c_str());
  std::printf("%-10s %-14s %-9s %s\n", "window", "monitor", "Monitor=1", "caption");
  for (int i = 0; i < tasks.Count(); ++i) {
    const tasklist::TWinInfo& task = tasks.Items(i);
    const HMONITOR monitor = tasklist::MonitorOfWindow(task.Wnd);
    std::printf("%-10p %-14s %-9s %s\n", static_cast<void*>(task.Wnd), DeviceName(monitor).c_str(),
                monitor == menuMonitor ? "listed" : "left out", task.Caption.Ansi().c_str());
  }
}
